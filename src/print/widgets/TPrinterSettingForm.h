#pragma once

#include <QDialog>
#include <QString>

#include <array>

class MessageService;
class PrinterService;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableWidget;

// What the caller hands to the printer settings dialog and reads back.
struct PrinterSettingValues {
    QString documentKind = QStringLiteral("伝票");
    QString slipKindName;
    std::array<QString, 4> titles;
    std::array<bool, 4> copies{true, true, false, false};
    QString formatPath; // in: the run's format; out: Dat/Fmt/<selected>.fmt when it exists, else empty
    QString logoPath;   // in: the run's setting; out: Dat/Etc/<selected>.Dat when it exists, else empty
    double fixX = 0;
    double fixY = 0;
};

// "プリンタの設定": printer, paper, source and orientation, which take effect
// at once and stay unless cancelled, and the slip settings of this run.
// Destroying it writes the two corrections to [Print] of the settings file.
class TPrinterSettingForm : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TPrinterSettingForm)
public:
    // Result of PreviewButton.
    static constexpr int PreviewResult = 2;

    TPrinterSettingForm(const QString &appDir, const QString &settingsFile, PrinterService &printers,
                        MessageService &messages, QWidget *parent = nullptr);
    ~TPrinterSettingForm() override;

    void setValues(const PrinterSettingValues &values);
    PrinterSettingValues values() const;

    // Shows the dialog modally: Accepted (OK), PreviewResult or Rejected.
    // Without an installed printer it says so and ends as cancelled.
    int run();

    QComboBox *PrComboBox;
    QPushButton *Button3;
    QLabel *StateLabel1;
    QLabel *StateLabel2;
    QLabel *StateLabel3;
    QLabel *StateLabel4;
    QComboBox *SzComboBox;
    QComboBox *BiComboBox;
    QLabel *OrImage;
    QRadioButton *OrRadioButton1;
    QRadioButton *OrRadioButton2;
    QTableWidget *StringGrid1;
    QListWidget *CheckListBox1;
    QComboBox *SlpComBox;
    QComboBox *JsComBox;
    QDoubleSpinBox *SpinFloatEditY;
    QDoubleSpinBox *SpinFloatEditX;
    QPushButton *PreviewButton;
    QPushButton *OkButton;
    QPushButton *CancelButton;
    QPushButton *Button1;

    void setHelpContext(int context) { helpContext_ = context; }
    int helpContext() const { return helpContext_; }

    // The 32 × 32 pictures of the orientations.
    static QPixmap orientationPicture(bool landscape);

public Q_SLOTS:
    void reject() override;

private:
    void buildLayout();
    void PrComboBoxChange();
    void SzComboBoxChange();
    void BiComboBoxChange();
    void OrRadioButtonClick();
    void Button3Click();
    void showOrientation();
    void selectByBaseName(QComboBox *box, const QString &path);

    QString appDir_;
    QString settingsFile_;
    PrinterService &printers_;
    MessageService &messages_;
    bool updating_ = false;
    int helpContext_ = 29;

    struct Remembered {
        int printer = -1;
        int paperSize = -1; // -1: not remembered (disabled)
        int paperSource = -1;
        bool orientationKnown = false;
        bool landscape = false;
    } remembered_;
};
