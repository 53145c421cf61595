#pragma once

#include "print/LogoSetting.h"

#include <QWidget>

#include <array>
#include <functional>

class MessageService;
class QComboBox;
class QDialog;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

// The options page "印刷設定": the copy titles of each slip kind, which
// copies print, the print design of each slip kind and the default
// company-name setting, kept in Dat/Mst/DefPrDat and written by SaveDefaults. The
// company-name settings themselves (edit, save under a name, delete,
// automatic creation) are written when they are made.
class TDefPrintFrame : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TDefPrintFrame)
public:
    TDefPrintFrame(const QString &appDir, MessageService &messages, QWidget *parent = nullptr);

    bool SaveDefaults(QString *error = nullptr);

    // The lines of the setting shown in the preview.
    const LogoSetting &setting() const { return setting_; }

    // Runs a dialog of the logo block modally; tests replace it.
    std::function<int(QDialog &)> execDialog;

    void ModButtonClick();  // 設定(&M)...
    void SaveButtonClick(); // 名前を付けて保存(&S)...
    void DelButtonClick();  // 削除(&D)
    void Button1Click();    // 自動生成(&A)...
    void JsComBoxChange();

    QLabel *Label5 = nullptr;
    QTableWidget *StringGrid1 = nullptr;
    QListWidget *CheckListBox1 = nullptr;
    // The design of each slip kind (見積書, 作業指示書, 納品請求書). The first
    // entry names no design: the kind prints with the common default.
    std::array<QComboBox *, 3> FormatComBox{};
    QComboBox *JsComBox = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *DelButton = nullptr;
    QPushButton *ModButton = nullptr;
    QPushButton *SaveButton = nullptr;
    QLabel *Image1 = nullptr;

private:
    QWidget *buildLogoBlock();
    void loadLogoList(const QString &select);
    void showSetting(const LogoSetting &setting);
    bool writeLogoList(QString *error);

    QString appDir_;
    MessageService &messages_;
    LogoSetting setting_;
    bool changingList_ = false;
};
