#include "support/FakeMessageService.h"
#include "support/TestAppFolder.h"
#include "support/TestFiles.h"

#include "app/FirstStartForm.h"

#include "platform/AppFolder.h"
#include "print/LogoSetting.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// needed() with the switch the test environment sets taken away.
bool neededInteractively(const QString &appDir)
{
    const QByteArray saved = qgetenv("TORVANE_NO_FIRST_START");
    qunsetenv("TORVANE_NO_FIRST_START");
    const bool needed = FirstStartForm::needed(appDir);
    qputenv("TORVANE_NO_FIRST_START", saved);
    return needed;
}

void fill(FirstStartForm &form)
{
    form.NameEdit1->setText(u"有限会社 山田自動車"_s);
    form.NameEdit2->setText(u"車検・整備・鈑金塗装"_s);
    form.Zip1Edit->setText(u"333"_s);
    form.Zip2Edit->setText(u"0001"_s);
    form.PrefectureBox->setCurrentText(u"埼玉県"_s);
    form.AddressEdit->setText(u"川口市本町1-2-3"_s);
    form.TelEdit->setText(u"048-000-0000"_s);
    form.FaxEdit->setText(u"048-000-0001"_s);
    form.WebEdit->setText(u"info@yamada-jidosha.jp"_s);
    form.BankEdit->setText(u"武蔵野銀行"_s);
    form.BranchEdit->setText(u"川口支店"_s);
    form.AccountEdit->setText(u"1234567"_s);
    form.HolderEdit->setText(u"ﾕ)ﾔﾏﾀﾞｼﾞﾄﾞｳｼｬ"_s);
}

QString run(const QString &program, const QStringList &args, int *code = nullptr, QString *err = nullptr)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    if (code)
        *code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    if (err)
        *err = QString::fromLocal8Bit(p.readAllStandardError());
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestFirstStart : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void laterKeepsAsking();
    void emptyCompanyIsRefused();
    void setupPrintsTheWorkshop();
};

void TestFirstStart::laterKeepsAsking()
{
    TestAppFolder app;
    QVERIFY(neededInteractively(app.path()));
    QVERIFY(!FirstStartForm::needed(app.path())); // the tests' own switch
    FakeMessageService messages;
    FirstStartForm form(app.path(), messages);
    fill(form);
    form.reject();
    QVERIFY(neededInteractively(app.path()));
}

void TestFirstStart::emptyCompanyIsRefused()
{
    TestAppFolder app;
    FakeMessageService messages;
    FirstStartForm form(app.path(), messages);
    form.accept();
    QCOMPARE(messages.texts(), QStringList{u"社名を入力してください"_s});
    QVERIFY(form.result() != QDialog::Accepted);
    QVERIFY(neededInteractively(app.path()));
}

void TestFirstStart::setupPrintsTheWorkshop()
{
    TestAppFolder app;
    const AppFolder folder(app.path());
    QVERIFY(neededInteractively(app.path()));

    FakeMessageService messages;
    FirstStartForm form(app.path(), messages);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    fill(form);
    grabTo(form, u"FirstStartForm.png"_s);
    form.accept();
    QCOMPARE(messages.calls, {});
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QVERIFY(!neededInteractively(app.path()));
    const LogoSetting written = LogoSetting::load(folder.logoFile(LogoSetting::defaultName()));
    QCOMPARE(written.line(4), u"有限会社 山田自動車"_s);
    QCOMPARE(written.line(10), u"〒333-0001"_s);
    QCOMPARE(written.line(15), u"振込先 武蔵野銀行  川口支店  普通  1234567"_s);

    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    const QString exe = app.path() + u"torvane"_s;
    QVERIFY(QFile::copy(QStringLiteral(TORVANE_EXE), exe));
    QFile(exe).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString pdf = app.path() + u"first.pdf"_s;
    int code = -1;
    QString err;
    run(exe, {u"--export-pdf"_s, pdf, QStringLiteral(TORVANE_FIXTURES "/render/invoice.tvx")}, &code, &err);
    QVERIFY2(code == 0, qPrintable(err));
    QVERIFY2(!err.contains(LogoSetting::companyWarning()), qPrintable(err));
    const QString text = run(u"pdftotext"_s, {u"-raw"_s, pdf, u"-"_s});
    for (const QString &expected : {u"有限会社 山田自動車"_s, u"埼玉県川口市本町1-2-3"_s, u"〒333-0001"_s,
                                    u"武蔵野銀行"_s, u"1234567"_s})
        QVERIFY2(text.contains(expected), qPrintable(expected + u"\n"_s + text));
    QVERIFY(!text.contains(LogoSetting::defaults().line(4)));
}

QTEST_MAIN(TestFirstStart)
#include "tst_firststart.moc"
