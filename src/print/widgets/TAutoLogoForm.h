#pragma once

#include "print/CompanyBlock.h"

#include <QDialog>

class MessageService;
class QComboBox;
class QLineEdit;
class QWidget;

// "社名ロゴの自動生成": makes a company-name setting from plain address
// data and stores it under the chosen name.
class TAutoLogoForm : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TAutoLogoForm)
public:
    TAutoLogoForm(const QString &appDir, MessageService &messages, QWidget *parent = nullptr);

    CompanyBlock company() const;
    QString settingName() const;

    // OK: checks the name, asks before overwriting, writes the setting and
    // its list entry, then closes.
    void accept() override;

    QComboBox *JsComBox = nullptr;
    QLineEdit *Edit1 = nullptr, *Edit2 = nullptr;
    QLineEdit *Zip1Edit = nullptr, *Zip2Edit = nullptr;
    QComboBox *CityComBox = nullptr;
    QLineEdit *Add1Edit = nullptr, *Add2Edit = nullptr;
    QLineEdit *TelEdit = nullptr, *FaxEdit = nullptr;
    QLineEdit *RegistrationEdit = nullptr;

private:
    QString appDir_;
    MessageService &messages_;
};

// Checks a name typed for a company-name setting; tells the user and gives
// false for one that cannot be a file name.
bool acceptLogoName(const QString &name, MessageService &messages);

class QLabel;
// A row label whose mnemonic moves the focus to buddy (the first field of a
// row that is a layout).
QLabel *rowLabel(const QString &text, QWidget *buddy);

// An edit for up to count digits (the parts of a postal code).
QLineEdit *digitsEdit(int count);
