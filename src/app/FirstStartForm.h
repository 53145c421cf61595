#pragma once

#include "print/CompanyBlock.h"

#include <QDialog>

class MessageService;
class QComboBox;
class QLineEdit;

// The setup of a new installation: while the company-name setting in use
// still holds the bundled placeholder, the interactive start asks for what
// a business document needs, and writes it as that setting. "後で" skips it
// for this start only.
class FirstStartForm : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FirstStartForm)
public:
    FirstStartForm(const QString &appDir, MessageService &messages, QWidget *parent = nullptr);

    // Whether the interactive start should ask: the setting in use is a
    // placeholder, and TORVANE_NO_FIRST_START is not set (tests and
    // unattended runs set it).
    static bool needed(const QString &appDir);

    CompanyBlock company() const;
    // OK: writes the setting (and makes it the default when none is).
    void accept() override;

    QLineEdit *NameEdit1 = nullptr, *NameEdit2 = nullptr;
    QLineEdit *Zip1Edit = nullptr, *Zip2Edit = nullptr;
    QComboBox *PrefectureBox = nullptr;
    QLineEdit *AddressEdit = nullptr, *BuildingEdit = nullptr;
    QLineEdit *TelEdit = nullptr, *FaxEdit = nullptr, *WebEdit = nullptr;
    QLineEdit *BankEdit = nullptr, *BranchEdit = nullptr;
    QComboBox *AccountTypeBox = nullptr;
    QLineEdit *AccountEdit = nullptr, *HolderEdit = nullptr;
    QLineEdit *RegistrationEdit = nullptr;

private:
    QString appDir_;
    MessageService &messages_;
};
