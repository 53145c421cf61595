#pragma once

#include <QStringList>
#include <QWidget>

class MessageService;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class TFloatEdit;

// The options page "基本設定": the default tax rate, rounding and tax
// computation of new slips, the date display, and the list of slip
// divisions. It edits in memory; SaveDisplayOptions writes the settings
// file and the division list.
class TDispFrame : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TDispFrame)
public:
    TDispFrame(const QString &appDir, const QString &settingsPath, MessageService &messages,
               QWidget *parent = nullptr);

    // Whether the page differs from the settings file or the division file.
    bool IsDisplayModified() const;
    bool SaveDisplayOptions(QString *error = nullptr);

    QStringList divisions() const;

    void ListBox1Click();
    void Button1Click(); // 追加
    void Button2Click(); // 修正
    void Button3Click(); // 削除

    TFloatEdit *TaxRNValEditC = nullptr;
    QComboBox *TaxHComBox = nullptr;
    QComboBox *TaxCalcComBox = nullptr;
    QComboBox *DateComBox = nullptr;
    QListWidget *ListBox1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    QPushButton *Button3 = nullptr;

private:
    QString divisionsFile_;
    QString settingsPath_;
};
