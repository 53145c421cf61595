#pragma once

#include "controls/NumText.h"

#include <QColor>
#include <QMenu>
#include <QPointer>
#include <QWidget>

// A self-drawn edit for decimal numbers that works like a calculator display:
// characters are added at the end, Backspace takes the last one, the value is
// shown grouped and right-aligned, and the content is either selected as a
// whole or not at all. Every change by the user fires OnChange; changes made
// through the properties do not.
class TSaNumEdit : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSaNumEdit)
    Q_PROPERTY(QString Text READ Text WRITE setText)
    Q_PROPERTY(Qt::Alignment Alignment READ Alignment WRITE setAlignment)
    Q_PROPERTY(TVertAlignment VertAlignment READ VertAlignment WRITE setVertAlignment)
    Q_PROPERTY(int IntegerLength READ IntegerLength WRITE setIntegerLength)
    Q_PROPERTY(int DecimalLength READ DecimalLength WRITE setDecimalLength)
    Q_PROPERTY(bool Minus READ Minus WRITE setMinus)
    Q_PROPERTY(bool Comma READ Comma WRITE setComma)
    Q_PROPERTY(bool IntegerFixed READ IntegerFixed WRITE setIntegerFixed)
    Q_PROPERTY(bool DecimalFixed READ DecimalFixed WRITE setDecimalFixed)
    Q_PROPERTY(QString LeftMark READ LeftMark WRITE setLeftMark)
    Q_PROPERTY(QString RightMark READ RightMark WRITE setRightMark)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE setAutoSelect)
    Q_PROPERTY(bool HideSelection READ HideSelection WRITE setHideSelection)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE setReadOnly)
    Q_PROPERTY(bool ErrorBeep READ ErrorBeep WRITE setErrorBeep)
    Q_PROPERTY(bool EnterFocusMove READ EnterFocusMove WRITE setEnterFocusMove)
    Q_PROPERTY(bool ArrowFocusMove READ ArrowFocusMove WRITE setArrowFocusMove)
    Q_PROPERTY(bool ImageCopy READ ImageCopy WRITE setImageCopy)
    Q_PROPERTY(TSaNumEditOptions Options READ Options WRITE setOptions)
    Q_PROPERTY(TBorderStyle BorderStyle READ BorderStyle WRITE setBorderStyle)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(QColor DisabledColor READ DisabledColor WRITE setDisabledColor)

public:
    enum TVertAlignment { taTopJustify, taBottomJustify, taVCenter };
    Q_ENUM(TVertAlignment)
    enum TSaNumEditOption {
        eoMinusOnly = 0x01,
        eoArrowUp = 0x02,
        eoArrowDown = 0x04,
        eoAutoWidthSize = 0x08,
        eoORInputStop = 0x10,
    };
    Q_DECLARE_FLAGS(TSaNumEditOptions, TSaNumEditOption)
    Q_FLAG(TSaNumEditOptions)
    enum TBorderStyle { bsNone, bsSingle };
    Q_ENUM(TBorderStyle)

    explicit TSaNumEdit(QWidget *parent = nullptr);
    ~TSaNumEdit() override;

    // The raw text; a write is cleaned under the current limits.
    QString Text() const { return raw_; }
    void setText(const QString &text);
    // What the control shows: marks around the formatted value, or empty.
    QString displayImage() const;

    Qt::Alignment Alignment() const { return alignment_; }
    void setAlignment(Qt::Alignment a);
    TVertAlignment VertAlignment() const { return vertAlignment_; }
    void setVertAlignment(TVertAlignment a);
    int IntegerLength() const { return rules_.integerLength; }
    void setIntegerLength(int n);
    int DecimalLength() const { return rules_.decimalLength; }
    void setDecimalLength(int n);
    bool Minus() const { return rules_.minus; }
    void setMinus(bool on);
    bool Comma() const { return rules_.comma; }
    void setComma(bool on);
    bool IntegerFixed() const { return rules_.integerFixed; }
    void setIntegerFixed(bool on);
    bool DecimalFixed() const { return rules_.decimalFixed; }
    void setDecimalFixed(bool on);
    QString LeftMark() const { return leftMark_; }
    void setLeftMark(const QString &mark);
    QString RightMark() const { return rightMark_; }
    void setRightMark(const QString &mark);
    // Inner margins in pixels; negative values are ignored.
    QMargins margins() const { return margins_; }
    void setMargins(const QMargins &m);
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool on);
    bool AutoSelect() const { return autoSelect_; }
    void setAutoSelect(bool on) { autoSelect_ = on; }
    bool HideSelection() const { return hideSelection_; }
    void setHideSelection(bool on) { hideSelection_ = on; }
    bool ReadOnly() const { return readOnly_; }
    void setReadOnly(bool on) { readOnly_ = on; }
    bool ErrorBeep() const { return errorBeep_; }
    void setErrorBeep(bool on) { errorBeep_ = on; }
    bool EnterFocusMove() const { return enterFocusMove_; }
    void setEnterFocusMove(bool on) { enterFocusMove_ = on; }
    bool ArrowFocusMove() const { return arrowFocusMove_; }
    void setArrowFocusMove(bool on) { arrowFocusMove_ = on; }
    bool ImageCopy() const { return imageCopy_; }
    void setImageCopy(bool on) { imageCopy_ = on; }
    TSaNumEditOptions Options() const { return options_; }
    void setOptions(TSaNumEditOptions o);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void setBorderStyle(TBorderStyle s);
    QColor Color() const { return color_; }
    void setColor(const QColor &c);
    QColor DisabledColor() const { return disabledColor_; }
    void setDisabledColor(const QColor &c);
    // A menu shown instead of the built-in one; not owned.
    QMenu *PopupMenu() const { return popupMenu_; }
    void setPopupMenu(QMenu *menu) { popupMenu_ = menu; }

    bool isAllSelected() const { return selected_; }
    bool isUndoAvailable() const { return undoAvailable_; }
    void selectAll();
    void deselect();
    void copy();
    void cut();
    void paste();
    // Empties the value (undo-able) without firing OnChange.
    void clear();
    void undo();
    // The built-in context menu with its entries enabled for the current
    // state, owned by this control; the caller deletes it after use.
    QMenu *createStandardContextMenu();

    QSize sizeHint() const override;

Q_SIGNALS:
    void OnChange();

protected:
    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void inputMethodEvent(QInputMethodEvent *e) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;
    void changeEvent(QEvent *e) override;

private:
    void typeChar(QChar c);
    void refuse();
    // Stores a value changed by the user: keeps the old one for undo,
    // drops the selection and fires OnChange.
    void commitUserChange(const QString &raw);
    bool fitsWidth(const QString &raw) const;
    int borderWidth() const;
    void recleanAfterRuleChange();
    void updateAutoHeight();

    QString raw_;
    QString undo_;
    bool undoAvailable_ = false;
    bool selected_ = false;
    NumTextRules rules_;
    Qt::Alignment alignment_ = Qt::AlignRight;
    TVertAlignment vertAlignment_ = taVCenter;
    QString leftMark_, rightMark_;
    QMargins margins_{2, 2, 2, 2};
    bool autoSize_ = true;
    bool autoSelect_ = true;
    bool hideSelection_ = true;
    bool readOnly_ = false;
    bool errorBeep_ = true;
    bool enterFocusMove_ = false;
    bool arrowFocusMove_ = false;
    bool imageCopy_ = false;
    TSaNumEditOptions options_{eoArrowUp | eoArrowDown};
    TBorderStyle borderStyle_ = bsSingle;
    QColor color_;
    QColor disabledColor_;
    QPointer<QMenu> popupMenu_;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TSaNumEdit::TSaNumEditOptions)
