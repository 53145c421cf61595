#pragma once

#include "print/LogoSetting.h"

#include <QDialog>

#include <functional>

class MessageService;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSlider;
class QSpinBox;
class QToolButton;

// "自社名ロゴ編集": edits the lines of a company-name setting file with a
// live preview at one logo unit per pixel. Every change updates the lines
// at once; the caller takes them on OK.
class TPrintLogoNameForm : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TPrintLogoNameForm)
public:
    // Loads path when it holds a setting (23 lines, or 24 with the
    // registration number); otherwise says so and starts empty.
    TPrintLogoNameForm(const QString &path, MessageService &messages, QWidget *parent = nullptr);

    LogoSetting setting() const { return LogoSetting(lines_); }
    // The fonts offered: the Japanese faces of the system, without the
    // vertical-writing ones ("@…").
    static QStringList japaneseFaces();

    // "参照...": a picture file, or empty for Cancel. A file dialog unless
    // replaced.
    std::function<QString()> choosePicture;

    void accept() override;

    QComboBox *NameComBox = nullptr;
    QToolButton *SMBoldSpeedButton = nullptr;
    QToolButton *SMItalicSpeedButton = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QLineEdit *SyameiEdit1 = nullptr;
    QLineEdit *SyameiEdit2 = nullptr;
    QComboBox *AdressComBox = nullptr;
    QToolButton *AdrBoldSpeedButton = nullptr;
    QToolButton *AdrItalicSpeedButton = nullptr;
    QComboBox *ComboBox2 = nullptr;
    QPlainTextEdit *AdrMemo = nullptr;
    QLineEdit *RegistrationEdit = nullptr;
    QCheckBox *GazoChBox = nullptr;
    QWidget *GazoPanel = nullptr;
    QLineEdit *GazoFileEdit = nullptr;
    QSlider *TrBar1 = nullptr, *TrBar2 = nullptr, *TrBar3 = nullptr, *TrBar4 = nullptr;
    QSpinBox *SpinFloatEdit1 = nullptr, *SpinFloatEdit2 = nullptr, *SpinFloatEdit3 = nullptr,
             *SpinFloatEdit4 = nullptr;
    QLabel *Image1 = nullptr;

private:
    QWidget *buildCompanyBox();
    QWidget *buildAddressBox();
    QWidget *buildPictureBox();
    void fill();
    void connectAll();
    void store(int line, const QString &value);
    void storeStyle(int line, const QToolButton *bold, const QToolButton *italic);
    void storeFace(int line, const QComboBox *box);
    void storeMemo();
    void browse();
    void render();

    MessageService &messages_;
    QStringList lines_;
    bool filling_ = false;
};
