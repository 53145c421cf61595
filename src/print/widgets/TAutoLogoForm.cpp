#include "TAutoLogoForm.h"

#include "controls/widgets/DigitValidator.h"
#include "platform/AppFolder.h"
#include "platform/MessageService.h"
#include "platform/SafeFileName.h"
#include "print/LogoSetting.h"
#include "print/RegistrationNumber.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

bool acceptLogoName(const QString &name, MessageService &messages)
{
    if (SafeFileName::isSafe(name))
        return true;
    messages.show(MessageService::Kind::Warning, SafeFileName::refusal(name));
    return false;
}

QLabel *rowLabel(const QString &text, QWidget *buddy)
{
    auto *label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

QLineEdit *digitsEdit(int count)
{
    auto *edit = new QLineEdit;
    edit->setMaxLength(count);
    edit->setValidator(new DigitValidator(count, edit));
    edit->setFixedWidth(count * 14 + 16);
    return edit;
}

TAutoLogoForm::TAutoLogoForm(const QString &appDir, MessageService &messages, QWidget *parent)
    : QDialog(parent), appDir_(appDir), messages_(messages)
{
    setWindowTitle(u"社名ロゴの自動生成"_s);
    JsComBox = new QComboBox;
    JsComBox->setEditable(true);
    JsComBox->setInsertPolicy(QComboBox::NoInsert);
    if (QFileInfo::exists(AppFolder(appDir).logoListFile())) {
        JsComBox->addItems(LogoSetting::names(appDir));
        JsComBox->setCurrentIndex(-1);
    } else {
        JsComBox->addItem(LogoSetting::defaultName());
        JsComBox->setCurrentIndex(0);
        JsComBox->setEnabled(false);
    }
    Edit1 = new QLineEdit;
    Edit2 = new QLineEdit;
    Zip1Edit = digitsEdit(3);
    Zip2Edit = digitsEdit(4);
    CityComBox = new QComboBox;
    CityComBox->addItems(CompanyBlock::prefectures());
    Add1Edit = new QLineEdit;
    Add2Edit = new QLineEdit;
    TelEdit = new QLineEdit;
    FaxEdit = new QLineEdit;
    RegistrationEdit = new QLineEdit;
    RegistrationEdit->setPlaceholderText(u"T1234567890123"_s);

    auto *zip = new QHBoxLayout;
    zip->addWidget(Zip1Edit);
    zip->addWidget(new QLabel(u"-"_s));
    zip->addWidget(Zip2Edit);
    zip->addStretch();
    auto *company = new QVBoxLayout;
    company->addWidget(Edit1);
    company->addWidget(Edit2);
    auto *form = new QFormLayout;
    form->addRow(u"設定名(&N)"_s, JsComBox);
    form->addRow(rowLabel(u"会社名(&C)"_s, Edit1), company);
    form->addRow(rowLabel(u"郵便番号(&Z)"_s, Zip1Edit), zip);
    form->addRow(u"都道府県(&P)"_s, CityComBox);
    form->addRow(u"住所(&A)"_s, Add1Edit);
    form->addRow(u"建物名など"_s, Add2Edit);
    form->addRow(u"電話番号(&T)"_s, TelEdit);
    form->addRow(u"FAX(&F)"_s, FaxEdit);
    form->addRow(u"登録番号(&R)"_s, RegistrationEdit);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"キャンセル"_s);
    connect(buttons, &QDialogButtonBox::accepted, this, &TAutoLogoForm::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

CompanyBlock TAutoLogoForm::company() const
{
    CompanyBlock c;
    c.name1 = Edit1->text();
    c.name2 = Edit2->text();
    c.zip1 = Zip1Edit->text();
    c.zip2 = Zip2Edit->text();
    c.prefecture = CityComBox->currentText();
    c.address = Add1Edit->text();
    c.building = Add2Edit->text();
    c.tel = TelEdit->text();
    c.fax = FaxEdit->text();
    c.registration = RegistrationEdit->text();
    return c;
}

QString TAutoLogoForm::settingName() const
{
    return JsComBox->currentText().trimmed();
}

void TAutoLogoForm::accept()
{
    const QString name = settingName();
    if (JsComBox->isEnabled() && name.isEmpty()) {
        messages_.show(MessageService::Kind::Warning, u"設定名を入力してください"_s);
        JsComBox->setFocus();
        return;
    }
    if (!acceptLogoName(name, messages_))
        return;
    if (QFileInfo::exists(AppFolder(appDir_).logoFile(name)) &&
        messages_.ask(u"同名の設定があります\r上書きしますか？"_s) != MessageService::Answer::Yes)
        return;
    const CompanyBlock c = company();
    const QString number = RegistrationNumber::normalise(c.registration);
    if (!number.isEmpty() && !RegistrationNumber::isValid(number))
        messages_.show(MessageService::Kind::Warning, RegistrationNumber::checkWarning());
    QString error;
    if (!LogoSetting::saveNamed(appDir_, name, c.autoSetting(), &error)) {
        messages_.show(MessageService::Kind::Error, error);
        return;
    }
    QDialog::accept();
}
