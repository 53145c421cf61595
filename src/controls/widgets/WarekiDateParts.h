#pragma once

#include "controls/WarekiDate.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

class TWarekiDateEdit;

// The parts of the era date edit. Each reports its keys, mouse and focus to
// the owning TWarekiDateEdit, which keeps the date.

// Era field: read-only, borderless, shows the era name.
class TEditW : public QLineEdit {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TEditW)
public:
    explicit TEditW(TWarekiDateEdit *owner);

protected:
    void keyPressEvent(QKeyEvent *e) override;

private:
    TWarekiDateEdit *owner_;
};

// Era spinner: two small arrow buttons; the position is the era index.
class TUpDownW : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TUpDownW)
public:
    explicit TUpDownW(QWidget *parent);
    int position() const { return position_; }
    void setPosition(int p) { position_ = qBound(min_, p, max_); }
    void setRange(int min, int max);
    int maximum() const { return max_; }

Q_SIGNALS:
    // The user moved the position with the buttons.
    void positionClicked(int position);

protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;

private:
    int position_ = 0;
    int min_ = 0;
    int max_ = 0;
};

// Date text: the masked year/month/day text with the selected part.
class TMaskEditW : public QLineEdit {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TMaskEditW)
public:
    explicit TMaskEditW(TWarekiDateEdit *owner);
    WarekiDate::Part selectedPart() const { return part_; }
    // Highlights the part in the text and remembers it.
    void selectPart(WarekiDate::Part part);
    // Called by the owner's destructor: the focus-out that the base class
    // sends while it deletes this part must not reach a half-destroyed owner.
    void detach() { owner_ = nullptr; }

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    TWarekiDateEdit *owner_;
    WarekiDate::Part part_ = WarekiDate::Part::Year;
};

// Drop-down button: a flat button with a down-pointing triangle.
class TSpeedButtonW : public QToolButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSpeedButtonW)
public:
    explicit TSpeedButtonW(QWidget *parent);
};

// The drop-down month calendar: a bordered tool window on top, without a
// parent, that never takes the focus from the date text.
class TCalenderPanel : public QCalendarWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCalenderPanel)
public:
    TCalenderPanel();
};
