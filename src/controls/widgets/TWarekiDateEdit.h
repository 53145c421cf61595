#pragma once

#include "controls/EraTable.h"
#include "controls/WarekiDate.h"

#include <QDate>
#include <QFrame>

#include <memory>
#include <optional>

class MessageService;
class TEditW;
class TUpDownW;
class TMaskEditW;
class TSpeedButtonW;
class TCalenderPanel;

// Colours of the drop-down calendar; invalid colours keep the style's own.
struct TCalColors {
    QColor BackColor;
    QColor TextColor;
    QColor TitleBackColor;
    QColor TitleTextColor;
    QColor MonthBackColor;
    QColor TrailingTextColor;
};

// Date entry with the Japanese era form (era name, era year, month, day) or
// the western form. The user types digits, steps the selected part with the
// arrow keys, switches the era, or picks a day from a drop-down calendar.
//
// OnChange fires after every write of Date, a step, an era switch or a
// calendar pick, after a digit of the numeric keypad, and when the focus
// leaves the control. Plain typing updates Date at once but is reported at
// the latest when the focus leaves.
class TWarekiDateEdit : public QFrame {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TWarekiDateEdit)
    Q_PROPERTY(QDate Date READ Date WRITE setDate NOTIFY OnChange)
    Q_PROPERTY(TDateType DateType READ DateType WRITE setDateType)
    Q_PROPERTY(bool DayEnabled READ DayEnabled WRITE setDayEnabled)

public:
    enum TDateType { dtWareki, dtSeireki };
    Q_ENUM(TDateType)

    explicit TWarekiDateEdit(QWidget *parent = nullptr);
    ~TWarekiDateEdit() override;

    QDate Date() const { return date_; }
    // Clamps to the dates the control can show, shows the date, closes an
    // open calendar and fires OnChange.
    void setDate(QDate date);

    // A blank edit shows no date until one is entered: a digit typed, an
    // arrow step (which shows Date, the reference date, first) or a calendar
    // pick ends it. With AllowBlank, erasing every digit makes it blank
    // again. Date keeps the reference date meanwhile.
    bool isBlank() const { return blank_; }
    void setBlank();
    bool AllowBlank() const { return allowBlank_; }
    void setAllowBlank(bool on) { allowBlank_ = on; }
    TDateType DateType() const { return dateType_; }
    void setDateType(TDateType type);
    bool DayEnabled() const { return dayEnabled_; }
    void setDayEnabled(bool on);
    TCalColors CalColors() const { return calColors_; }
    void setCalColors(const TCalColors &colors);

    // Appends an era whose start is given as "YYYY/MM/DD". A start not
    // after the last era's start adds nothing and warns through the message
    // service, when there is one.
    bool AddEra(const QString &name, const QString &startText);
    const EraTable &eras() const { return eras_; }

    // The service AddEra warns through; not owned, and it must outlive the edit.
    void setMessages(MessageService *messages) { messages_ = messages; }

    // Opens or closes the drop-down calendar, as the drop-down button does.
    void toggleCalendar();
    bool isCalendarShown() const;
    // Whether any date edit of the application has its calendar open.
    static bool isCalendarOpen();

    TEditW *eraField() const { return eraField_; }
    TUpDownW *eraSpinner() const { return spinner_; }
    TMaskEditW *dateText() const { return dateText_; }
    TSpeedButtonW *dropDownButton() const { return button_; }
    // The drop-down calendar, made when it is first needed: a calendar is a
    // whole month of cells, and a slip shows several date edits at start.
    TCalenderPanel *calendar();

    WarekiDate::Form form() const
    {
        return dateType_ == dtWareki ? WarekiDate::Form::Era : WarekiDate::Form::Western;
    }

Q_SIGNALS:
    void OnChange();
    void OnEnter();
    void OnExit();

protected:
    void changeEvent(QEvent *e) override;

private:
    friend class TEditW;
    friend class TMaskEditW;

    // Part callbacks; the key handlers return true when they consumed the key.
    bool eraFieldKey(QKeyEvent *e);
    bool dateTextKey(QKeyEvent *e);
    void dateTextKeyDone(QKeyEvent *e);
    void dateTextFocusOut();
    void dateTextMouseRelease(qreal x);

    void showDate();
    void parseDateText();
    void selectEra(int index);
    void stepSelectedPart(int n);
    void applyMask();
    void relayout();
    void closeCalendar(std::optional<QDate> date = std::nullopt);
    void calendarClicked(QDate date);
    void calendarPageChanged(int year, int month);
    void focusChanged(QWidget *old, QWidget *now);
    void applyCalColors();

    EraTable eras_ = EraTable::standard();
    QDate date_;
    TDateType dateType_ = dtWareki;
    bool dayEnabled_ = true;
    bool blank_ = false;
    bool allowBlank_ = false;
    int eraIndex_ = 3;
    bool updating_ = false;
    bool focusInside_ = false;
    QDate calendarReference_;
    TCalColors calColors_;
    MessageService *messages_ = nullptr;

    TEditW *eraField_;
    TUpDownW *spinner_;
    TMaskEditW *dateText_;
    TSpeedButtonW *button_;
    // A top-level window of its own, so owned here rather than by a parent;
    // null until calendar() first makes it.
    std::unique_ptr<TCalenderPanel> calendar_;
};
