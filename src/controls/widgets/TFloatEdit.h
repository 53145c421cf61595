#pragma once

#include "controls/FloatText.h"

#include <QLineEdit>

// A right-aligned edit for a decimal value between Min and Max with Digits
// decimals. Keys that would leave anything else are refused; Esc restores the
// value the edit had when it got the focus, and so does leaving it with a
// text that is not a number in range. OnChange fires for typing and for
// writes of Value alike.
class TFloatEdit : public QLineEdit {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFloatEdit)
    Q_PROPERTY(double Value READ Value WRITE setValue NOTIFY OnChange)
    Q_PROPERTY(int Digits READ Digits WRITE setDigits)
    Q_PROPERTY(double Min READ Min WRITE setMin)
    Q_PROPERTY(double Max READ Max WRITE setMax)
    Q_PROPERTY(
        bool SupportsThousandSeparator READ SupportsThousandSeparator WRITE setSupportsThousandSeparator)

public:
    explicit TFloatEdit(QWidget *parent = nullptr);

    // The text without grouping, clamped; Min when it is not a number.
    double Value() const;
    // Clamps and writes the value with Digits decimals.
    void setValue(double value);
    int Digits() const { return rules_.digits; }
    void setDigits(int digits);
    double Min() const { return rules_.min; }
    void setMin(double min);
    double Max() const { return rules_.max; }
    void setMax(double max);
    bool SupportsThousandSeparator() const { return rules_.grouping; }
    void setSupportsThousandSeparator(bool on);

Q_SIGNALS:
    void OnChange();

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    void reformat();

    FloatTextRules rules_;
    double entryValue_ = 0;
};
