#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// torvane --export-pdf, run as a whole process from a copy of the program
// beside its own data folder, without a display.
class TestPdfCommandLine : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString exe() const { return dir_.path() + u"/torvane"_qs; }

    int torvane(const QStringList &args, QString *err = nullptr)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(u"DISPLAY"_qs);
        env.remove(u"QT_QPA_PLATFORM"_qs);
        p.setProcessEnvironment(env);
        p.start(exe(), args);
        if (!p.waitForFinished(30000))
            return -1;
        if (err)
            *err = QString::fromLocal8Bit(p.readAllStandardError());
        return p.exitCode();
    }

    static QString tool(const QString &name, const QStringList &args)
    {
        QProcess p;
        p.start(name, args);
        p.waitForFinished(30000);
        return QString::fromUtf8(p.readAllStandardOutput());
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        QVERIFY(QFile::copy(QStringLiteral(TORVANE_EXE), exe()));
        QFile(exe()).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        for (const char16_t *sub : {u"/Dat/Fmt", u"/Dat/Tmp", u"/Dat/Mst", u"/Dat/Etc"})
            QVERIFY(QDir().mkpath(dir_.path() + QString::fromUtf16(sub)));
        QVERIFY(QFile::copy(QStringLiteral(TORVANE_FIXTURES "/render/invoice.fmt"),
                            dir_.path() + u"/Dat/Fmt/invoice.fmt"_qs));
        QVERIFY(QFile::copy(QStringLiteral(TORVANE_DATA "/Dat/Etc/デフォルト.Dat"),
                            dir_.path() + u"/Dat/Etc/デフォルト.Dat"_qs));
    }

    void writesTheSlipWithJapaneseText()
    {
        if (QStandardPaths::findExecutable(u"pdftotext"_qs).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        const QString pdf = dir_.path() + u"/out.pdf"_qs;
        QString err;
        QCOMPARE(torvane({u"--export-pdf"_qs, pdf, QStringLiteral(TORVANE_FIXTURES "/render/invoice.tvx"),
                          u"--format"_qs, u"invoice"_qs, u"--logo"_qs, u"デフォルト"_qs},
                         &err),
                 0);
        const QString text = tool(u"pdftotext"_qs, {u"-raw"_qs, pdf, u"-"_qs});
        QVERIFY2(text.contains(u"山田 太郎 様"_qs), qPrintable(text));
        QVERIFY(text.contains(u"エンジンオイル交換 3,300"_qs));
        QVERIFY(text.contains(u"社名を入力してください"_qs));
        QVERIFY(text.contains(u"21,000"_qs));
        const QString info = tool(u"pdfinfo"_qs, {pdf});
        QVERIFY2(info.contains(u"Pages:           2"_qs), qPrintable(info)); // copies 1 and 2
        QVERIFY(info.contains(u"595.276 x 841.89 pts (A4)"_qs) || info.contains(u"595 x 842 pts (A4)"_qs));
        QVERIFY(tool(u"pdffonts"_qs, {pdf}).contains(u"IPAMincho"_qs));
        // No page file or script is left behind.
        QCOMPARE(QDir(dir_.path() + u"/Dat/Tmp"_qs).entryList(QDir::Files), QStringList());
    }

    void failures_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        const QString slip = QStringLiteral(TORVANE_FIXTURES "/render/invoice.tvx");
        QTest::newRow("no slip") << QStringList{u"--export-pdf"_qs, u"x.pdf"_qs} << 2;
        QTest::newRow("unknown option")
            << QStringList{u"--export-pdf"_qs, u"x.pdf"_qs, slip, u"--copies"_qs} << 2;
        QTest::newRow("missing slip")
            << QStringList{u"--export-pdf"_qs, u"x.pdf"_qs, u"/nonexistent.tvx"_qs} << 1;
        QTest::newRow("missing format")
            << QStringList{u"--export-pdf"_qs, u"x.pdf"_qs, slip, u"--format"_qs, u"none"_qs} << 1;
        QTest::newRow("no default format") << QStringList{u"--export-pdf"_qs, u"x.pdf"_qs, slip} << 1;
        QTest::newRow("unwritable output") << QStringList{u"--export-pdf"_qs, u"/nonexistent/dir/x.pdf"_qs,
                                                          slip, u"--format"_qs, u"invoice"_qs}
                                           << 1;
    }
    void failures()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QString err;
        QCOMPARE(torvane(args, &err), code);
        QVERIFY(!err.trimmed().isEmpty());
        QCOMPARE(QDir(dir_.path() + u"/Dat/Tmp"_qs).entryList(QDir::Files), QStringList());
    }
};

QTEST_MAIN(TestPdfCommandLine)
#include "tst_pdfcommandline.moc"
