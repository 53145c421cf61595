#include "support/FakeMessageService.h"
#include "support/TestAppFolder.h"
#include "support/TestFiles.h"

#include "platform/AppFolder.h"
#include "platform/IniFile.h"
#include "platform/TextList.h"
#include "print/LogoSetting.h"
#include "print/PrintSettings.h"
#include "print/RegistrationNumber.h"
#include "print/widgets/TAutoLogoForm.h"
#include "print/widgets/TDefPrintFrame.h"
#include "print/widgets/TPrintLogoNameForm.h"
#include "print/widgets/TPrintOptionSaveForm.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

using Box = FakeMessageService::Box;

// A second named setting beside the default one.
void addSetting(const AppFolder &folder, const QString &name, const QString &company)
{
    QStringList lines = LogoSetting::defaults().lines();
    lines[4] = company;
    QVERIFY(LogoSetting::saveNamed(folder.path(), name, LogoSetting(lines)));
}

} // namespace

class TestDefPrintFrame : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void freshInstallation();
    void noFormatSelectedWritesEmptyFormat();
    void designShownPerKind_data();
    void designShownPerKind();
    void designChosenPerKindPrints_data();
    void designChosenPerKindPrints();
    void editingMakesTheSettingUnnamed_data();
    void editingMakesTheSettingUnnamed();
    void saveUnderAName_data();
    void saveUnderAName();
    void deleting();
    void automaticCreation_data();
    void automaticCreation();
    void editorDialog();
};

void TestDefPrintFrame::freshInstallation()
{
    TestAppFolder app;
    const AppFolder folder(app.path());
    QFile::remove(folder.printDefaultsFile());
    QFile::remove(folder.logoListFile());
    QFile::remove(folder.logoFile(LogoSetting::defaultName()));
    FakeMessageService messages;
    TDefPrintFrame page(app.path(), messages);
    QCOMPARE(page.StringGrid1->item(0, 0)->text(), u"見積書"_s);
    QCOMPARE(page.StringGrid1->item(1, 0)->text(), u"見積書(控)"_s);
    QCOMPARE(page.StringGrid1->item(0, 2)->text(), u"納品請求書"_s);
    QCOMPARE(page.StringGrid1->item(2, 0)->text(), QString());
    const QList<Qt::CheckState> copies = {Qt::Checked, Qt::Checked, Qt::Unchecked, Qt::Unchecked};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(page.CheckListBox1->item(i)->checkState(), copies[i]);
    // The list and the default setting are made; no [Def] Logo selects none.
    QCOMPARE(TextList::read(folder.logoListFile()), QStringList{LogoSetting::defaultName()});
    QVERIFY(QFile::exists(folder.logoFile(LogoSetting::defaultName())));
    QCOMPARE(page.JsComBox->currentIndex(), -1);
    QVERIFY(page.Image1->pixmap().isNull());
    // No design named anywhere: every kind shows the entry without one.
    for (QComboBox *box : page.FormatComBox) {
        QCOMPARE(box->currentIndex(), 0);
        QCOMPARE(box->currentText(), u"(なし)"_s);
    }
    QCOMPARE(messages.calls, {});
}

void TestDefPrintFrame::noFormatSelectedWritesEmptyFormat()
{
    TestAppFolder app;
    const AppFolder folder(app.path());
    FakeMessageService messages;
    TDefPrintFrame page(app.path(), messages);
    // The bundled file names a design per kind, and each is shown.
    const QStringList bundled = {u"見積書"_s, u"作業指示書"_s, u"納品請求書"_s};
    for (int kind = 0; kind < 3; ++kind)
        QCOMPARE(page.FormatComBox[size_t(kind)]->currentText(), bundled[kind]);
    QCOMPARE(page.JsComBox->currentText(), LogoSetting::defaultName());
    for (QComboBox *box : page.FormatComBox)
        box->setCurrentIndex(0);
    page.StringGrid1->item(2, 1)->setText(u"作業指示書(工場)"_s);
    page.CheckListBox1->item(2)->setCheckState(Qt::Checked);
    QVERIFY(page.SaveDefaults());
    const IniFile saved(folder.printDefaultsFile());
    for (const QString &section : {u"Mit"_s, u"Sig"_s, u"Nou"_s}) {
        QVERIFY(saved.valueExists(section, u"Fomat"_s));
        QCOMPARE(saved.readString(section, u"Fomat"_s), QString());
    }
    QCOMPARE(saved.readString(u"Def"_s, u"Logo"_s), LogoSetting::defaultName());
    QCOMPARE(saved.readString(u"Sig"_s, u"3"_s), u"作業指示書(工場)"_s);
    QCOMPARE(saved.readString(u"Fuk"_s, u"2"_s), u"1"_s);
    // The common default of older files is kept as it was.
    QCOMPARE(saved.readString(u"Def"_s, u"Fomat"_s), u"見積書"_s);
}

void TestDefPrintFrame::designShownPerKind_data()
{
    // [Sig] Fomat in the file, and the entry the 作業指示書 box shows.
    QTest::addColumn<QString>("named");
    QTest::addColumn<QString>("shown");
    QTest::newRow("listed design") << u"納品請求書"_s << u"納品請求書"_s;
    QTest::newRow("none: the common default") << QString() << u"(共通: 見積書)"_s;
    QTest::newRow("no such file") << u"消えた様式"_s << u"(共通: 見積書)"_s;
    // A file that is not a slip design is never offered.
    QTest::newRow("not a slip design") << u"社内メモ"_s << u"(共通: 見積書)"_s;
}

void TestDefPrintFrame::designShownPerKind()
{
    QFETCH(QString, named);
    QFETCH(QString, shown);
    TestAppFolder app;
    const AppFolder folder(app.path());
    QFile other(folder.formatFile(u"社内メモ"_s));
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.close();
    IniFile def(folder.printDefaultsFile());
    def.writeString(u"Sig"_s, u"Fomat"_s, named);
    QVERIFY(def.flush());
    FakeMessageService messages;
    TDefPrintFrame page(app.path(), messages);
    QComboBox *box = page.FormatComBox[1];
    QCOMPARE(box->currentText(), shown);
    QCOMPARE(box->findText(u"社内メモ"_s), -1);
    QCOMPARE(page.FormatComBox[0]->currentText(), u"見積書"_s);
    grabTo(page, u"TDefPrintFrame-"_s + QString::fromUtf8(QTest::currentDataTag()) + u".png"_s);
}

void TestDefPrintFrame::designChosenPerKindPrints_data()
{
    // The entry chosen for 見積書, 作業指示書 and 納品請求書 (empty: the entry
    // without a design), and the design each kind then prints with.
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<QStringList>("printed");
    QTest::newRow("each kind its own") << QStringList{u"見積書"_s, u"作業指示書"_s, u"納品請求書"_s}
                                       << QStringList{u"見積書"_s, u"作業指示書"_s, u"納品請求書"_s};
    QTest::newRow("one design for all") << QStringList{u"納品請求書"_s, u"納品請求書"_s, u"納品請求書"_s}
                                        << QStringList{u"納品請求書"_s, u"納品請求書"_s, u"納品請求書"_s};
    QTest::newRow("common default for one kind") << QStringList{u"作業指示書"_s, QString(), u"見積書"_s}
                                                 << QStringList{u"作業指示書"_s, u"見積書"_s, u"見積書"_s};
}

void TestDefPrintFrame::designChosenPerKindPrints()
{
    QFETCH(QStringList, chosen);
    QFETCH(QStringList, printed);
    TestAppFolder app;
    const AppFolder folder(app.path());
    FakeMessageService messages;
    {
        TDefPrintFrame page(app.path(), messages);
        for (int kind = 0; kind < 3; ++kind) {
            QComboBox *box = page.FormatComBox[size_t(kind)];
            box->setCurrentIndex(chosen[kind].isEmpty() ? 0 : box->findText(chosen[kind]));
            QVERIFY(box->currentIndex() >= 0);
        }
        QVERIFY(page.SaveDefaults());
    }
    const PrintSettings settings = PrintSettings::load(app.path(), QString());
    for (int kind = 0; kind < 3; ++kind)
        QCOMPARE(settings.formatOf(kind), folder.formatFile(printed[kind]));
    // The page shows again what was chosen.
    TDefPrintFrame again(app.path(), messages);
    for (int kind = 0; kind < 3; ++kind)
        QCOMPARE(again.FormatComBox[size_t(kind)]->currentData().toString(), chosen[kind]);
    QCOMPARE(messages.calls, {});
}

void TestDefPrintFrame::editingMakesTheSettingUnnamed_data()
{
    QTest::addColumn<QString>("company"); // typed into the dialog; empty: nothing typed
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<bool>("unnamed");
    QTest::newRow("changed, OK") << u"有限会社 山田自動車"_s << true << true;
    QTest::newRow("unchanged, OK") << QString() << true << false;
    QTest::newRow("changed, Cancel") << u"有限会社 山田自動車"_s << false << false;
}

void TestDefPrintFrame::editingMakesTheSettingUnnamed()
{
    QFETCH(QString, company);
    QFETCH(bool, accepted);
    QFETCH(bool, unnamed);
    TestAppFolder app;
    const AppFolder folder(app.path());
    const QString tmp = folder.etcFolder() + u"Tmp.dat"_s;
    FakeMessageService messages;
    TDefPrintFrame page(app.path(), messages);
    bool sawTmp = false;
    page.execDialog = [&](QDialog &dialog) {
        sawTmp = QFile::exists(tmp);
        auto &form = static_cast<TPrintLogoNameForm &>(dialog);
        if (!company.isEmpty())
            form.SyameiEdit1->setText(company);
        if (accepted)
            form.accept();
        return accepted ? int(QDialog::Accepted) : int(QDialog::Rejected);
    };
    page.ModButton->click();
    QVERIFY(sawTmp);
    QVERIFY(!QFile::exists(tmp));
    QCOMPARE(page.JsComBox->currentIndex(), unnamed ? -1 : 0);
    QCOMPARE(page.SaveButton->isEnabled(), unnamed);
    QCOMPARE(page.DelButton->isEnabled(), !unnamed);
    QCOMPARE(page.setting().line(4), unnamed ? company : LogoSetting::defaults().line(4));
    // The named setting itself is untouched until saved under a name.
    QCOMPARE(LogoSetting::load(folder.logoFile(LogoSetting::defaultName())).line(4),
             LogoSetting::defaults().line(4));
}

void TestDefPrintFrame::saveUnderAName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("box"); // the one message expected
    QTest::newRow("new name") << u"本店"_s << int(MessageService::Answer::No) << true << QString();
    QTest::newRow("existing, No") << u"支店"_s << int(MessageService::Answer::No) << false
                                  << u"上書きしますか?"_s;
    QTest::newRow("existing, Yes") << u"支店"_s << int(MessageService::Answer::Yes) << true
                                   << u"上書きしますか?"_s;
    QTest::newRow("escaping name") << u"../本店"_s << int(MessageService::Answer::Yes) << false
                                   << u"refusal"_s;
    QTest::newRow("device name") << u"CON"_s << int(MessageService::Answer::Yes) << false << u"refusal"_s;
}

void TestDefPrintFrame::saveUnderAName()
{
    QFETCH(QString, name);
    QFETCH(int, answer);
    QFETCH(bool, written);
    QFETCH(QString, box);
    TestAppFolder app;
    const AppFolder folder(app.path());
    addSetting(folder, u"支店"_s, u"山田自動車 支店"_s);
    const QByteArray branchBefore = bytesOf(folder.logoFile(u"支店"_s));
    const QByteArray listBefore = bytesOf(folder.logoListFile());
    FakeMessageService messages;
    messages.answers = {MessageService::Answer(answer)};
    TDefPrintFrame page(app.path(), messages);
    page.execDialog = [&](QDialog &dialog) {
        auto &form = static_cast<TPrintLogoNameForm &>(dialog);
        form.SyameiEdit1->setText(u"有限会社 山田自動車"_s);
        form.accept();
        return int(QDialog::Accepted);
    };
    page.ModButton->click();
    page.execDialog = [&](QDialog &dialog) {
        static_cast<TPrintOptionSaveForm &>(dialog).ComboBox1->setCurrentText(name);
        return int(QDialog::Accepted);
    };
    page.SaveButton->click();
    if (box == u"refusal")
        QCOMPARE(messages.calls.value(0).box, Box::Warning);
    else if (!box.isEmpty())
        QCOMPARE(messages.calls, (QList<FakeMessageService::Call>{{Box::Question, box}}));
    else
        QCOMPARE(messages.calls, {});
    if (!written) {
        if (name == u"支店")
            QCOMPARE(bytesOf(folder.logoFile(u"支店"_s)), branchBefore);
        QCOMPARE(bytesOf(folder.logoListFile()), listBefore);
        QVERIFY(page.SaveButton->isEnabled());
        QVERIFY(!QDir(folder.path()).exists(u"本店.Dat"_s));
        return;
    }
    QCOMPARE(LogoSetting::load(folder.logoFile(name)).line(4), u"有限会社 山田自動車"_s);
    QVERIFY(QFile::exists(folder.etcFolder() + name + u".png"_s));
    QCOMPARE(TextList::read(folder.logoListFile()),
             (QStringList{LogoSetting::defaultName(), u"支店"_s}) +
                 (name == u"本店" ? QStringList{name} : QStringList{}));
    QCOMPARE(page.JsComBox->currentText(), name);
    QVERIFY(!page.SaveButton->isEnabled());
    QVERIFY(page.DelButton->isEnabled());
}

void TestDefPrintFrame::deleting()
{
    TestAppFolder app;
    const AppFolder folder(app.path());
    addSetting(folder, u"支店"_s, u"山田自動車 支店"_s);
    addSetting(folder, u"本店"_s, u"山田自動車 本店"_s);
    QFile(folder.etcFolder() + u"本店.png"_s).open(QIODevice::WriteOnly);
    FakeMessageService messages;
    TDefPrintFrame page(app.path(), messages);
    // The default setting is refused, whatever it holds.
    page.DelButton->click();
    QCOMPARE(messages.calls,
             (QList<FakeMessageService::Call>{{Box::Information, u"デフォルト設定は削除できません"_s}}));
    // No keeps the setting.
    messages.calls.clear();
    page.JsComBox->setCurrentIndex(2);
    page.DelButton->click();
    QCOMPARE(messages.calls, (QList<FakeMessageService::Call>{{Box::Question, u"本店を削除しますか？"_s}}));
    QVERIFY(QFile::exists(folder.logoFile(u"本店"_s)));
    // Yes deletes the files and selects the entry before.
    messages.answers = {MessageService::Answer::Yes};
    page.DelButton->click();
    QVERIFY(!QFile::exists(folder.logoFile(u"本店"_s)));
    QVERIFY(!QFile::exists(folder.etcFolder() + u"本店.png"_s));
    QCOMPARE(TextList::read(folder.logoListFile()), (QStringList{LogoSetting::defaultName(), u"支店"_s}));
    QCOMPARE(page.JsComBox->currentText(), u"支店"_s);
    QCOMPARE(page.setting().line(4), u"山田自動車 支店"_s);
}

void TestDefPrintFrame::automaticCreation_data()
{
    QTest::addColumn<bool>("withList");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("warning"); // empty: the setting is made
    QTest::newRow("empty name") << true << QString() << u"設定名を入力してください"_s;
    QTest::newRow("new name") << true << u"本店"_s << QString();
    QTest::newRow("no list: the default") << false << LogoSetting::defaultName() << QString();
}

void TestDefPrintFrame::automaticCreation()
{
    QFETCH(bool, withList);
    QFETCH(QString, name);
    QFETCH(QString, warning);
    TestAppFolder app;
    const AppFolder folder(app.path());
    if (!withList)
        QFile::remove(folder.logoListFile());
    FakeMessageService messages;
    messages.answers = {MessageService::Answer::Yes};
    TAutoLogoForm form(app.path(), messages);
    QCOMPARE(form.JsComBox->isEnabled(), withList);
    if (withList)
        form.JsComBox->setCurrentText(name);
    form.Edit1->setText(u"有限会社 山田自動車"_s);
    form.Zip1Edit->setText(u"123"_s);
    form.Zip2Edit->setText(u"4567"_s);
    form.CityComBox->setCurrentText(u"埼玉県"_s);
    form.Add1Edit->setText(u"川口市本町1-2-3"_s);
    form.TelEdit->setText(u"048-000-0000"_s);
    form.accept();
    if (!warning.isEmpty()) {
        QCOMPARE(messages.calls, (QList<FakeMessageService::Call>{{Box::Warning, warning}}));
        QVERIFY(form.result() != QDialog::Accepted);
        return;
    }
    QCOMPARE(form.result(), int(QDialog::Accepted));
    const LogoSetting made = LogoSetting::load(folder.logoFile(name));
    QCOMPARE(made.lines().mid(3, 12),
             (QStringList{u"20"_s, u"有限会社 山田自動車"_s, QString(), u"ＭＳ ゴシック"_s, u"0"_s, u"0"_s,
                          u"12"_s, u"123-4567"_s, u"埼玉県川口市本町1-2-3"_s, QString(),
                          u"TEL 048-000-0000"_s, u"FAX "_s}));
    QCOMPARE(made.lines().size(), LogoSetting::LineCount);
    QVERIFY(TextList::read(folder.logoListFile()).contains(name));
    // The page reloads its list and shows the new setting.
    TDefPrintFrame page(app.path(), messages);
    page.execDialog = [&](QDialog &dialog) {
        auto &again = static_cast<TAutoLogoForm &>(dialog);
        if (again.JsComBox->isEnabled())
            again.JsComBox->setCurrentText(name);
        again.Edit1->setText(u"山田モータース"_s);
        again.accept();
        return again.result();
    };
    messages.calls.clear();
    messages.answers = {MessageService::Answer::Yes};
    page.Button1->click();
    QCOMPARE(messages.calls,
             (QList<FakeMessageService::Call>{{Box::Question, u"同名の設定があります\r上書きしますか？"_s}}));
    QCOMPARE(page.JsComBox->currentText(), name);
    QCOMPARE(page.setting().line(4), u"山田モータース"_s);
}

void TestDefPrintFrame::editorDialog()
{
    TestAppFolder app;
    const AppFolder folder(app.path());
    FakeMessageService messages;
    // A file of another length is refused and leaves the fields empty.
    const QString bad = folder.etcFolder() + u"Bad.dat"_s;
    QVERIFY(TextList::write(bad, {u"a"_s, u"b"_s}));
    {
        TPrintLogoNameForm form(bad, messages);
        QCOMPARE(messages.calls,
                 (QList<FakeMessageService::Call>{{Box::Error, u"設定ファイルが読み込めません"_s}}));
        QCOMPARE(form.SyameiEdit1->text(), QString());
    }
    messages.calls.clear();
    for (const QString &face : TPrintLogoNameForm::japaneseFaces())
        QVERIFY(!face.startsWith(u'@'));
    QStringList lines = LogoSetting::defaults().lines();
    lines[4] = u"有限会社 山田自動車"_s;
    lines[5] = u"車検・整備・鈑金塗装"_s;
    lines[10] = u"〒333-0001 埼玉県川口市本町1-2-3"_s;
    lines[11] = u"TEL 048-000-0000  FAX 048-000-0001"_s;
    lines[12] = u"振込先 武蔵野銀行 川口支店 普通 1234567"_s;
    for (int i = 13; i < 18; ++i)
        lines[i].clear();
    LogoSetting setting(lines);
    setting.setRegistrationNumber(u"T1234567890123"_s);
    const QString path = folder.etcFolder() + u"Yamada.dat"_s;
    QVERIFY(TextList::write(path, setting.lines()));
    TPrintLogoNameForm form(path, messages);
    QCOMPARE(form.RegistrationEdit->text(), u"T1234567890123"_s);
    QCOMPARE(form.AdrMemo->toPlainText().split(u'\n').value(2), lines[12]);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    grabTo(form, u"TPrintLogoNameForm.png"_s);
    const QImage before = form.Image1->pixmap().toImage();
    QCOMPARE(before.size(), QSize(LogoSetting::CanvasWidth, LogoSetting::CanvasHeight));
    // Styles, sizes, memo and geometry reach the lines; the preview follows.
    form.SMBoldSpeedButton->click();
    form.SMItalicSpeedButton->click();
    QCOMPARE(form.setting().line(1), u"3"_s);
    form.ComboBox1->setCurrentText(u"24"_s);
    QCOMPARE(form.setting().line(3), u"24"_s);
    QVERIFY(form.Image1->pixmap().toImage() != before);
    form.SpinFloatEdit2->setValue(300);
    QCOMPARE(form.TrBar2->value(), 300);
    QCOMPARE(form.setting().line(19), u"300"_s);
    form.TrBar3->setValue(50);
    QCOMPARE(form.SpinFloatEdit3->value(), 50);
    QCOMPARE(form.setting().line(22), u"50"_s);
    form.AdrMemo->setPlainText(u"一\n二"_s);
    QCOMPARE(form.setting().lines().mid(10, 8), (QStringList{u"一"_s, u"二"_s} + QStringList(6)));
    // A face that is not in the list is not stored.
    form.NameComBox->setCurrentText(u"存在しない書体"_s);
    QCOMPARE(form.setting().line(0), lines[0]);
    // A failed registration number check warns and is kept all the same.
    const QString twelve = u"234567890123"_s;
    const QString wrong = QString::number((RegistrationNumber::checkDigit(twelve) + 1) % 10) + twelve;
    form.RegistrationEdit->setText(u"t "_s + wrong);
    form.accept();
    QCOMPARE(messages.calls,
             (QList<FakeMessageService::Call>{{Box::Warning, RegistrationNumber::checkWarning()}}));
    QCOMPARE(form.setting().registrationNumber(), u"T"_s + wrong);
}

QTEST_MAIN(TestDefPrintFrame)
#include "tst_defprintframe.moc"
