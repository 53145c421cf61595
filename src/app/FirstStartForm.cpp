#include "FirstStartForm.h"

#include "platform/MessageService.h"
#include "print/LogoSetting.h"
#include "print/PrintSettings.h"
#include "print/RegistrationNumber.h"
#include "print/widgets/TAutoLogoForm.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QLineEdit *lineEdit(const QString &hint = {})
{
    auto *edit = new QLineEdit;
    edit->setPlaceholderText(hint);
    return edit;
}

} // namespace

bool FirstStartForm::needed(const QString &appDir)
{
    if (!qEnvironmentVariableIsEmpty("TORVANE_NO_FIRST_START"))
        return false;
    return LogoSetting::isPlaceholder(PrintSettings::load(appDir, QString()).logoPath);
}

FirstStartForm::FirstStartForm(const QString &appDir, MessageService &messages, QWidget *parent)
    : QDialog(parent), appDir_(appDir), messages_(messages)
{
    setWindowTitle(u"はじめの設定"_s);
    auto *intro = new QLabel(u"見積書・請求書に印刷する会社情報を入力してください。"
                             u"あとから「オプション設定」の「印刷設定」で変更できます。"_s);
    intro->setWordWrap(true);

    NameEdit1 = lineEdit(u"例: 有限会社 山田自動車"_s);
    NameEdit2 = lineEdit(u"例: 整備工場 (なければ空欄)"_s);
    Zip1Edit = digitsEdit(3);
    Zip2Edit = digitsEdit(4);
    PrefectureBox = new QComboBox;
    PrefectureBox->addItems(CompanyBlock::prefectures());
    PrefectureBox->setCurrentIndex(PrefectureBox->findText(u"東京都"_s));
    AddressEdit = lineEdit(u"市区町村・番地"_s);
    BuildingEdit = lineEdit(u"建物名など"_s);
    TelEdit = lineEdit(u"03-0000-0000"_s);
    FaxEdit = lineEdit(u"03-0000-0000"_s);
    WebEdit = lineEdit(u"メールアドレスまたはホームページ (任意)"_s);
    BankEdit = lineEdit(u"○○銀行"_s);
    BranchEdit = lineEdit(u"○○支店"_s);
    AccountTypeBox = new QComboBox;
    AccountTypeBox->addItems({u"普通"_s, u"当座"_s});
    AccountEdit = digitsEdit(8);
    HolderEdit = lineEdit(u"口座名義 (カナ)"_s);
    RegistrationEdit = lineEdit(u"T1234567890123 (任意)"_s);

    auto *company = new QGroupBox(u"会社"_s);
    auto *zip = new QHBoxLayout;
    zip->addWidget(new QLabel(u"〒"_s));
    zip->addWidget(Zip1Edit);
    zip->addWidget(new QLabel(u"-"_s));
    zip->addWidget(Zip2Edit);
    zip->addWidget(PrefectureBox);
    zip->addStretch();
    auto *phones = new QHBoxLayout;
    phones->addWidget(TelEdit);
    phones->addWidget(new QLabel(u"FAX"_s));
    phones->addWidget(FaxEdit);
    auto *companyForm = new QFormLayout(company);
    companyForm->addRow(u"社名(&N)"_s, NameEdit1);
    companyForm->addRow(u"社名の2行目"_s, NameEdit2);
    companyForm->addRow(rowLabel(u"郵便番号(&Z)"_s, Zip1Edit), zip);
    companyForm->addRow(u"住所(&A)"_s, AddressEdit);
    companyForm->addRow(QString(), BuildingEdit);
    companyForm->addRow(rowLabel(u"電話(&T)"_s, TelEdit), phones);
    companyForm->addRow(u"メール・HP"_s, WebEdit);
    companyForm->addRow(u"登録番号(&R)"_s, RegistrationEdit);

    auto *bank = new QGroupBox(u"振込先"_s);
    auto *bankRow = new QHBoxLayout;
    bankRow->addWidget(BankEdit);
    bankRow->addWidget(BranchEdit);
    auto *accountRow = new QHBoxLayout;
    accountRow->addWidget(AccountTypeBox);
    accountRow->addWidget(AccountEdit);
    accountRow->addStretch();
    auto *bankForm = new QFormLayout(bank);
    bankForm->addRow(rowLabel(u"銀行・支店(&B)"_s, BankEdit), bankRow);
    bankForm->addRow(rowLabel(u"口座(&K)"_s, AccountTypeBox), accountRow);
    bankForm->addRow(u"名義(&H)"_s, HolderEdit);

    auto *buttons = new QDialogButtonBox;
    buttons->addButton(u"保存"_s, QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(u"後で"_s, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &FirstStartForm::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(company);
    layout->addWidget(bank);
    layout->addWidget(buttons);
    setMinimumWidth(520);
}

CompanyBlock FirstStartForm::company() const
{
    CompanyBlock c;
    c.name1 = NameEdit1->text().trimmed();
    c.name2 = NameEdit2->text().trimmed();
    c.zip1 = Zip1Edit->text();
    c.zip2 = Zip2Edit->text();
    c.prefecture = PrefectureBox->currentText();
    c.address = AddressEdit->text().trimmed();
    c.building = BuildingEdit->text().trimmed();
    c.tel = TelEdit->text().trimmed();
    c.fax = FaxEdit->text().trimmed();
    c.web = WebEdit->text().trimmed();
    c.bank = BankEdit->text().trimmed();
    c.branch = BranchEdit->text().trimmed();
    c.accountType = AccountTypeBox->currentText();
    c.accountNumber = AccountEdit->text().trimmed();
    c.accountHolder = HolderEdit->text().trimmed();
    c.registration = RegistrationEdit->text();
    return c;
}

void FirstStartForm::accept()
{
    const CompanyBlock c = company();
    if (c.name1.isEmpty()) {
        messages_.show(MessageService::Kind::Warning, u"社名を入力してください"_s);
        NameEdit1->setFocus();
        return;
    }
    const QString number = RegistrationNumber::normalise(c.registration);
    if (!number.isEmpty() && !RegistrationNumber::isValid(number))
        messages_.show(MessageService::Kind::Warning, RegistrationNumber::checkWarning());
    PrintSettings defaults = PrintSettings::load(appDir_, QString());
    const bool chosen = !defaults.logoName.isEmpty();
    const QString name = chosen ? defaults.logoName : LogoSetting::defaultName();
    QString error;
    if (!LogoSetting::saveNamed(appDir_, name, c.setupSetting(), &error)) {
        messages_.show(MessageService::Kind::Error, error);
        return;
    }
    if (!chosen) {
        defaults.logoName = name;
        if (!defaults.writeDefaults(appDir_, &error)) {
            messages_.show(MessageService::Kind::Error, error);
            return;
        }
    }
    QDialog::accept();
}
