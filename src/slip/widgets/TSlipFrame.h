#pragma once

#include "lines/LineCategories.h"
#include "slip/SaveType.h"
#include "slip/SlipData.h"

#include <QWidget>

#include <array>
#include <optional>

class IniFile;
class MessageService;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QToolButton;
class SlipSection;
class SlipMoney;
class TCostPanel;
class TFloatEdit;
class TTotalsPanel;
class TSlipGridFrame;
class TWarekiDateEdit;
struct ZipRecord;

// The slip header editor: a scrolling form of a top bar (number, kind, date,
// division, person in charge) and seven collapsible sections that together
// hold every field of the slip. The slip lives in the controls; data() and
// setData() move it as a SlipData value, LoadSlip/SaveSlip to and from files.
//
// Controls carry their names as object names (CuNameEdit, TaxRNValEditC, ...).
//
// The controls inside the seven sections (their bodies) may wait until the
// frame has painted once: a new slip shows every section closed, and the
// window then appears without building what nobody sees yet. They are built
// in two parts: the upper sections 1 to 4 as soon as one of them is open,
// the lower sections 5 to 7 with the money and the change tracking when the
// first screen shows one of them open, or else once the frame has painted.
// Every member that reads or writes a body builds the bodies first, and so
// does the first user input into the frame; a slip set before they exist is
// kept and shown in them when they are built.
class TSlipFrame : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSlipFrame)
public:
    static constexpr int SectionCount = 7;
    static constexpr int UpperSectionCount = 4;

    // When the section bodies are built: in the constructor, or once the
    // frame has painted (or sooner, when something needs them).
    enum class Bodies { Now, AfterFirstPaint };

    // appDir: the application folder with a trailing "/", for Dat/Mst lists.
    // messages: the boxes of the date edits and the tax tables; it must
    // outlive the frame.
    TSlipFrame(const QString &appDir, MessageService &messages, QWidget *parent = nullptr,
               Bodies bodies = Bodies::Now);
    ~TSlipFrame() override;

    // Every section body is there.
    bool bodiesBuilt() const { return bodiesBuilt_; }
    // The bodies of sections 1 to 4 are there.
    bool upperBodiesBuilt() const { return upperBuilt_; }
    // Builds the section bodies now when they are still waiting.
    void ensureBodies();

    // ---- the document -----------------------------------------------------
    SlipData data() const;
    // Shows a whole slip; section states included. Does not mark modified.
    void setData(const SlipData &slip);

    // Writes the scope's groups into ini and flushes it. After a save into
    // the document's own file the document counts as unmodified.
    bool SaveSlip(IniFile &ini, TSlipSaveType scope, bool ownFile, QString *error);
    // Reads the scope's groups; a full load sets the sections as stored and
    // clears the modified flag, a partial one opens the sections it filled.
    void LoadSlip(const IniFile &ini, TSlipSaveType scope);

    // Values typed into the line-item grid whose typing pause is still
    // running reach the slip now (and mark it modified). Hosts call it before
    // any command, so that the command sees what the user typed.
    void commitEdits();

    // ---- state ------------------------------------------------------------
    bool isModified() const { return modified_; }
    void setModified(bool modified) { modified_ = modified; }
    bool notify() const { return notify_; }
    void setNotify(bool on);
    // Sets the modified flag and reports the change, when notify is on.
    void markModified();

    // ---- sections -----------------------------------------------------------
    SlipSection *section(int n) const; // n = 1..7 in screen order
    void openSection(int n);
    void closeSection(int n);
    void OpenAll();
    void CloseAll();
    // Runs the section's completion check and shows its status.
    void checkSection(int n);

    // ---- settings from the host ---------------------------------------------
    void setDateDisplay(bool eraDates);
    // Replaces the division list; the division selected before stays
    // selected by name, or none.
    void setSlipDivisions(const QStringList &names);
    void setWorkNames(const QStringList &names);
    const QStringList &workNames() const { return workNames_; }
    const LineCategoryList &categories() const { return categories_; }

    // A new slip as the program starts it: number, tax rate and rounding
    // from the settings, today's dates, the greeting of the first kind.
    void startNewSlip(const QString &slipCode, qint64 taxRate, int rounding, int calcMode, QDate today);

    // ---- bottom buttons bound by the host -------------------------------------
    QPushButton *printButton() const { return printButton_; }
    QPushButton *saveButton() const { return saveButton_; }
    QPushButton *exitButton() const { return exitButton_; }

    // Lets the user pick a note template; its three lines replace the note
    // field's text.
    void MemoSpeedButtonClick();

    // Lookups into the master data (buttons and Ctrl+Space in their fields).
    // The three pick dialogs mark the document modified on OK and recompute
    // the totals either way.
    void SpeedButton4Click();  // person in charge into ChargeEdit
    void SpeedButton9Click();  // maker and car name into CaNameEdit
    void SpeedButton12Click(); // a cost's name and amount into the current cost row
    // The kana picker under CaNumEllipsisEdit; on OK the kana replaces the
    // field's text, all selected.
    void CaNumEllipsisEditButtonClick();
    // Postal-code lookups: the search dialog started with the two code
    // fields joined (SpeedButton1) or with the address field (SpeedButton2);
    // its choice fills code, prefecture and address.
    void SpeedButton1Click();
    void SpeedButton2Click();

    TSlipGridFrame *grid() const;
    SlipMoney *money() const;
    // Every row, the labour and parts totals, then the slip's totals.
    void recomputeAll();
    // The slip's totals from the amounts as shown (before saving and printing).
    void recomputeTotals();

Q_SIGNALS:
    // A user change while notify is on (the host marks its title).
    void changed();
    // The line-item section's "検索ウィンドウ" button.
    void searchWindowRequested();
    // The line-item grid reported a change, after the frame recomputed the
    // slip's totals for it.
    void gridChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Scrolls the line-item grid when global lies over it and it can move
    // by steps wheel notches in that direction.
    bool scrollGridUnder(QPoint global, int steps);
    static QDate vehicleDate(const TWarekiDateEdit *edit);
    static void setVehicleDate(TWarekiDateEdit *edit, QDate date);
    void buildTopBar(QWidget *parent);
    void buildCustomer(SlipSection *s);
    void buildTax(SlipSection *s);
    void buildVehicle(SlipSection *s);
    void buildLines(SlipSection *s);
    void buildCosts(SlipSection *s);
    void buildTotals(SlipSection *s);
    void buildNotes(SlipSection *s);
    // Builds a section's body with build; inside a frame on the screen the
    // new controls show at once.
    void buildInto(SlipSection *s, void (TSlipFrame::*build)(SlipSection *));
    void ensureUpperBodies();
    void buildUpperBodies();
    void buildLowerBodies();
    // An open lower section starts within the scroll area's view.
    bool lowerSectionInView() const;
    void placeBodiesInTabOrder();
    // Change tracking and lookups of the top bar, and of the bodies.
    void connectTopBar();
    void connectTopBarLookups();
    void connectChangeTracking();
    void connectLookups();
    // The pick dialog of kind; on OK its name replaces the field's text.
    void pickIntoField(QLineEdit *field, int kind);
    // The postal-code lookups' buttons, Ctrl+Space in the code and address
    // fields, and the address filled in on leaving the second code field.
    void connectZipLookups(QToolButton *byCode, QToolButton *byAddress);
    void zipLookup(const QString &keyword, QLineEdit *focusAfter);
    void zipCodeLeft();
    void applyZipRecord(const ZipRecord &record);

    void sectionToggled(SlipSection *s);
    void setSectionStatus(SlipSection *s, const QString &text);
    void stepSlipNumber(int delta);
    void setGreetingForKind(int kind);
    // The greeting of a slip kind from the note options, when it has one.
    std::optional<QString> greetingForKind(int kind) const;
    void applyVehicleState();
    void applyLineCount();
    void alignLineTotals();
    void applyData(const SlipData &slip, bool sections);
    void applyUpperBodies(const SlipData &slip);
    void applyLowerBodies(const SlipData &slip);
    QStringList rowTexts(const QList<TRowData> &rows) const;

    QString appDir_;
    MessageService &messages_;
    LineCategoryList categories_;
    QStringList workNames_;
    bool notify_ = false;
    bool modified_ = false;
    bool upperBuilt_ = false;
    bool bodiesBuilt_ = false;
    QObject *inputGuard_ = nullptr; // child of this while the lower bodies wait
    bool bodiesQueued_ = false;
    bool eraDates_ = true;
    std::optional<SlipData> pending_; // set before the bodies were built
    int updating_ = 0;                // > 0 while the frame rewrites its own controls
    SlipMoney *money_ = nullptr;      // child of this

    QScrollArea *scroll_ = nullptr;
    std::array<SlipSection *, SectionCount> sections_{};

    // top bar
    QLineEdit *SlipCodeEdit = nullptr;
    QComboBox *DDvComBox = nullptr;
    TWarekiDateEdit *DateWDateEdit = nullptr;
    QComboBox *DTpComBox = nullptr;
    QLineEdit *ChargeEdit = nullptr;
    QToolButton *SpeedButton4 = nullptr; // 担当者の参照
    // customer
    QLineEdit *CuNameEdit = nullptr;
    QComboBox *CuTitleComBox = nullptr;
    QLineEdit *Zip1Edit = nullptr;
    QLineEdit *Zip2Edit = nullptr;
    QComboBox *CityComBox = nullptr;
    QLineEdit *Add1Edit = nullptr;
    QLineEdit *Add2Edit = nullptr;
    QLineEdit *TelEdit = nullptr;
    // tax
    TFloatEdit *TaxRNValEditC = nullptr;
    QComboBox *TaxHComBox = nullptr;
    QComboBox *TaxCalcComBox = nullptr; // 税計算: Totals::CalcMode
    // vehicle
    QCheckBox *CarCheckBox = nullptr;
    QWidget *vehiclePanel_ = nullptr;
    QComboBox *CaNumComBox = nullptr;
    QLineEdit *CaNumEdit1 = nullptr;
    QLineEdit *CaNumEllipsisEdit = nullptr;
    QToolButton *CaNumEllipsisButton = nullptr; // かな文字の選択
    QLineEdit *CaNumEdit2 = nullptr;
    QLineEdit *CaNameEdit = nullptr;
    QToolButton *SpeedButton9 = nullptr; // メーカー・車名の参照
    TFloatEdit *ESizeNValEditC = nullptr;
    TWarekiDateEdit *FirstWDateEdit = nullptr;
    QCheckBox *FirstCheckBox = nullptr;
    TWarekiDateEdit *CheckWDateEdit = nullptr;
    QCheckBox *CheckCheckBox = nullptr;
    TFloatEdit *KiroNValEditC = nullptr;
    QLineEdit *TypeCodeEdit = nullptr;
    QLineEdit *K1Edit = nullptr;
    QLineEdit *K2Edit = nullptr;
    QLineEdit *EngCodeEdit = nullptr;
    QLineEdit *BodyNumEdit = nullptr;
    // line items
    TFloatEdit *RavorNValEditC = nullptr;
    QComboBox *LineCntComBox = nullptr;
    QWidget *gridHost_ = nullptr;
    TSlipGridFrame *SlipGridFrame1 = nullptr;
    QWidget *lineTotalsBar_ = nullptr;
    QLabel *lineTotalsCaption_ = nullptr;
    TFloatEdit *TecNValLabel = nullptr;
    TFloatEdit *PartNValLabel = nullptr;
    // costs and totals
    TCostPanel *costPanel_ = nullptr;
    TTotalsPanel *totalsPanel_ = nullptr;
    // notes
    QLineEdit *InfoEdit = nullptr;
    QPlainTextEdit *NoteMemo = nullptr;
    // bottom
    QPushButton *printButton_ = nullptr;
    QPushButton *saveButton_ = nullptr;
    QPushButton *exitButton_ = nullptr;
};
