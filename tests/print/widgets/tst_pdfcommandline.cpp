#include "support/RenderFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

// torvane --export-pdf, run as a whole process from a copy of the program
// beside its own data folder, without a display.
class TestPdfCommandLine : public QObject {
    Q_OBJECT

private:
    RenderFolder folder_;
    QString exe() const { return folder_.path() + u"torvane"_s; }

    int torvane(const QStringList &args, QString *err = nullptr)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(u"DISPLAY"_s);
        env.remove(u"QT_QPA_PLATFORM"_s);
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
        QVERIFY(folder_.isValid());
        QVERIFY(QFile::copy(QStringLiteral(TORVANE_EXE), exe()));
        QFile(exe()).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(QDir().mkpath(folder_.path() + u"Dat/Mst"_s));
        QVERIFY(QDir().mkpath(folder_.path() + u"Dat/Etc"_s));
        QVERIFY(QFile::copy(QStringLiteral(TORVANE_DATA "/Dat/Etc/デフォルト.Dat"),
                            folder_.path() + u"Dat/Etc/デフォルト.Dat"_s));
        QVERIFY(QFile::copy(QStringLiteral(TORVANE_FIXTURES "/print/bad-page.fmt"),
                            folder_.path() + u"Dat/Fmt/bad-page.fmt"_s));
        QVERIFY(QFile::copy(QStringLiteral(TORVANE_FIXTURES "/render/odd-fonts.fmt"),
                            folder_.path() + u"Dat/Fmt/odd-fonts.fmt"_s));
    }

    // An empty font name in the format, or a font size beyond any sheet,
    // prints in the default face instead of ending the process.
    void oddFontsPrintInTheDefaultFace()
    {
        const QString pdf = folder_.path() + u"odd.pdf"_s;
        QString err;
        QCOMPARE(torvane({u"--export-pdf"_s, pdf, QStringLiteral(TORVANE_FIXTURES "/render/invoice.tvx"),
                          u"--format"_s, u"odd-fonts"_s},
                         &err),
                 0);
        QVERIFY(QFile(pdf).size() > 0);
        QCOMPARE(QDir(folder_.tmp()).entryList(QDir::Files), QStringList());
    }

    void writesTheSlipWithJapaneseText()
    {
        if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        const QString pdf = folder_.path() + u"out.pdf"_s;
        QString err;
        QCOMPARE(torvane({u"--export-pdf"_s, pdf, QStringLiteral(TORVANE_FIXTURES "/render/invoice.tvx"),
                          u"--format"_s, u"invoice"_s, u"--logo"_s, u"デフォルト"_s},
                         &err),
                 0);
        const QString text = tool(u"pdftotext"_s, {u"-raw"_s, pdf, u"-"_s});
        QVERIFY2(text.contains(u"山田 太郎 様"_s), qPrintable(text));
        QVERIFY(text.contains(u"エンジンオイル交換 3,300"_s));
        QVERIFY(text.contains(u"社名を入力してください"_s));
        // The placeholder company is printed, and said once on standard error.
        QCOMPARE(err.count(u"会社名が未設定です。"_s), 1);
        QVERIFY(text.contains(u"21,000"_s));
        const QString info = tool(u"pdfinfo"_s, {pdf});
        QVERIFY2(info.contains(u"Pages:           2"_s), qPrintable(info)); // copies 1 and 2
        QVERIFY(info.contains(u"595.276 x 841.89 pts (A4)"_s) || info.contains(u"595 x 842 pts (A4)"_s));
        QVERIFY(tool(u"pdffonts"_s, {pdf}).contains(u"IPAMincho"_s));
        // No page file or script is left behind.
        QCOMPARE(QDir(folder_.tmp()).entryList(QDir::Files), QStringList());
    }

    // A slip whose stored totals are stale, per rate at 10 % and 8 %, through
    // the bundled invoice: the PDF carries the recomputed totals, each rate's
    // base and tax, the registration number and the reduced-rate marks.
    void invoiceOfTwoRatesShowsRecomputedTotals()
    {
        if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        const QString root = folder_.path();
        for (const auto &[from, to] :
             {std::pair{QStringLiteral(TORVANE_DATA "/Dat/Fmt/納品請求書.fmt"), u"Dat/Fmt/納品請求書.fmt"_s},
              std::pair{QStringLiteral(TORVANE_DATA "/Dat/Mst/LineDiv.dat"), u"Dat/Mst/LineDiv.dat"_s},
              std::pair{QStringLiteral(TORVANE_FIXTURES "/print/company-regno.Dat"),
                        u"Dat/Etc/栄モータース.Dat"_s}}) {
            QFile::remove(root + to);
            QVERIFY2(QFile::copy(from, root + to), qPrintable(to));
        }
        const QString pdf = root + u"two-rates.pdf"_s;
        QCOMPARE(torvane({u"--export-pdf"_s, pdf, QStringLiteral(TORVANE_FIXTURES "/print/two-rates.tvx"),
                          u"--format"_s, u"納品請求書"_s, u"--logo"_s, u"栄モータース"_s}),
                 0);
        const QString text =
            tool(u"pdftotext"_s, {u"-layout"_s, u"-f"_s, u"1"_s, u"-l"_s, u"1"_s, pdf, u"-"_s});
        // Each caption with its amounts on its printed line.
        const QList<QStringList> rows{{u"登録番号 T4180001234567"_s},
                                      {u"ご請求金額"_s, u"17,037"_s},
                                      {u"10%対象"_s, u"13,645"_s, u"消費税"_s, u"1,365"_s},
                                      {u"8%対象"_s, u"210"_s, u"消費税"_s, u"17"_s},
                                      {u"非課税・不課税"_s, u"1,800"_s},
                                      {u"※ ペットボトル茶"_s},
                                      {u"※は軽減税率対象"_s}};
        const QStringList lines = text.split(u'\n');
        for (const QStringList &row : rows) {
            const auto hit = std::find_if(lines.cbegin(), lines.cend(), [&row](const QString &line) {
                return std::all_of(row.cbegin(), row.cend(),
                                   [&line](const QString &t) { return line.contains(t); });
            });
            QVERIFY2(hit != lines.cend(), qPrintable(row.join(u' ')));
        }
        // The file's stale amount due is nowhere.
        QVERIFY2(!text.contains(u"9,900"_s), qPrintable(text));
    }

    // Text that CP932 cannot hold (here bytes of a damaged slip) prints as
    // "?", and the export says which characters.
    void unprintableCharactersAreSaid()
    {
        QFile source(QStringLiteral(TORVANE_FIXTURES "/render/invoice.tvx"));
        QVERIFY(source.open(QIODevice::ReadOnly));
        QByteArray bytes = source.readAll();
        bytes.replace("Title=", "Title=\xFF");
        const QString slip = folder_.path() + u"damaged.tvx"_s;
        QFile damaged(slip);
        QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write(bytes) == bytes.size());
        damaged.close();
        QString err;
        QCOMPARE(
            torvane({u"--export-pdf"_s, folder_.path() + u"damaged.pdf"_s, slip, u"--format"_s, u"invoice"_s},
                    &err),
            0);
        QVERIFY2(err.contains(u"警告: 次の文字は印刷できないため「?」になります: \uFFFD"_s), qPrintable(err));
        QFile::remove(slip);
    }

    void failures_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        const QString slip = QStringLiteral(TORVANE_FIXTURES "/render/invoice.tvx");
        QTest::newRow("no slip") << QStringList{u"--export-pdf"_s, u"x.pdf"_s} << 2;
        QTest::newRow("unknown option")
            << QStringList{u"--export-pdf"_s, u"x.pdf"_s, slip, u"--copies"_s} << 2;
        QTest::newRow("missing slip")
            << QStringList{u"--export-pdf"_s, u"x.pdf"_s, u"/nonexistent.tvx"_s} << 1;
        QTest::newRow("missing format")
            << QStringList{u"--export-pdf"_s, u"x.pdf"_s, slip, u"--format"_s, u"none"_s} << 1;
        QTest::newRow("format that does not fit")
            << QStringList{u"--export-pdf"_s, u"x.pdf"_s, slip, u"--format"_s, u"bad-page"_s} << 1;
        QTest::newRow("no default format") << QStringList{u"--export-pdf"_s, u"x.pdf"_s, slip} << 1;
        QTest::newRow("unwritable output")
            << QStringList{u"--export-pdf"_s, u"/nonexistent/dir/x.pdf"_s, slip, u"--format"_s, u"invoice"_s}
            << 1;
    }
    void failures()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QString err;
        QCOMPARE(torvane(args, &err), code);
        QVERIFY(!err.trimmed().isEmpty());
        QCOMPARE(QDir(folder_.tmp()).entryList(QDir::Files), QStringList());
    }
};

QTEST_MAIN(TestPdfCommandLine)
#include "tst_pdfcommandline.moc"
