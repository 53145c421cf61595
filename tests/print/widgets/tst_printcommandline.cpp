#include "platform/CommaText.h"
#include "platform/Cp932.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString Fixtures = QStringLiteral(TORVANE_FIXTURES "/print/");

struct Run {
    int code = -1;
    QByteArray out;
    QString err;
};

Run torvane(const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(u"DISPLAY"_s);
    env.remove(u"QT_QPA_PLATFORM"_s); // must not need a display at all
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TORVANE_EXE), args);
    Run r;
    if (!p.waitForFinished(30000))
        return r;
    r.code = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestPrintCommandLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void printDataToStandardOutputAndFile();
    void printDataRecomputesStaleTotals();
    void failuresExitNonZero_data();
    void failuresExitNonZero();
    void failedRunKeepsTheOutputFile();
    void standardOutputWriteError();
    void warnings_data();
    void warnings();
    void listFormats();
};

void TestPrintCommandLine::printDataToStandardOutputAndFile()
{
    const QByteArray expected = readFile(Fixtures + u"copies13.expected"_s);
    const QStringList args{
        u"--print-data"_s, Fixtures + u"seven.tvx"_s, Fixtures + u"pages.fmt"_s, u"--copies"_s, u"1,3"_s,
        u"--titles"_s,     u"控A,控B,\"控C\",控D"_s};
    const Run r = torvane(args);
    // The bundled company-name setting is still the placeholder: one warning,
    // and the data is written all the same.
    QCOMPARE(r.err, u"会社名が未設定です。オプション設定で会社情報を入力してください。\n"_s);
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, expected);

    QTemporaryDir dir;
    const QString script = dir.filePath(u"script.txt"_s);
    const Run toFile = torvane(args + QStringList{u"-o"_s, script});
    QCOMPARE(toFile.code, 0);
    QVERIFY(toFile.out.isEmpty());
    QCOMPARE(readFile(script), expected);
}

// The file's totals are stale (9,900 due, 900 tax, nothing for the costs):
// what is printed is computed from its lines and costs, per rate as the
// slip says, as the main window would print it.
void TestPrintCommandLine::printDataRecomputesStaleTotals()
{
    const Run r = torvane({u"--print-data"_s, Fixtures + u"two-rates.tvx"_s, u"納品請求書"_s});
    QCOMPARE(r.code, 0);
    QStringList amounts; // the right-aligned texts: the figures of the page
    for (const QString &line : Cp932::decode(r.out).split(u"\r\n"_s)) {
        const QStringList f = CommaText::split(line);
        if (f.value(0) == u"rtext"_s)
            amounts << f.value(1);
    }
    // Due, tax, costs, and each rate's base and tax with the untaxed amount.
    for (const QString &due : {u"￥17,037"_s, u"1,382"_s, u"4,800"_s, u"￥13,645"_s, u"￥1,365"_s, u"￥210"_s,
                               u"￥17"_s, u"￥1,800"_s})
        QVERIFY2(amounts.contains(due), qPrintable(due + u" / "_s + amounts.join(u'|')));
    for (const QString &stale : {u"9,900"_s, u"900"_s})
        QVERIFY2(!amounts.contains(stale) && !amounts.contains(u"￥"_s + stale), qPrintable(stale));
}

void TestPrintCommandLine::failuresExitNonZero_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTemporaryDir dir;
    const QString slip = Fixtures + u"seven.tvx"_s;
    const QString fmt = Fixtures + u"pages.fmt"_s;
    QTest::newRow("missing slip") << QStringList{u"--print-data"_s, u"/nonexistent/a.tvx"_s, fmt} << 1
                                  << u"/nonexistent/a.tvx"_s;
    QTest::newRow("missing format") << QStringList{u"--print-data"_s, slip, u"/nonexistent/b.fmt"_s} << 1
                                    << u"/nonexistent/b.fmt"_s;
    QTest::newRow("format that does not fit")
        << QStringList{u"--print-data"_s, slip, Fixtures + u"bad-page.fmt"_s} << 1 << u"%.0f"_s;
    QTest::newRow("copy 5") << QStringList{u"--print-data"_s, slip, fmt, u"--copies"_s, u"1,5"_s} << 2
                            << u"--copies"_s;
    QTest::newRow("one file") << QStringList{u"--print-data"_s, slip} << 2 << u"使い方"_s;
    QTest::newRow("unknown option") << QStringList{u"--print-data"_s, slip, fmt, u"--colour"_s} << 2
                                    << u"--colour"_s;
    QTest::newRow("unwritable output")
        << QStringList{u"--print-data"_s, slip, fmt, u"-o"_s, u"/proc/x/y"_s} << 1 << u"/proc/x/y"_s;
}

void TestPrintCommandLine::failuresExitNonZero()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, message);
    const Run r = torvane(args);
    QCOMPARE(r.code, code);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(r.out.isEmpty());
}

void TestPrintCommandLine::failedRunKeepsTheOutputFile()
{
    QTemporaryDir dir;
    const QString script = dir.filePath(u"script.txt"_s);
    QFile f(script);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write("earlier run\r\n") > 0);
    f.close();
    const Run r = torvane(
        {u"--print-data"_s, Fixtures + u"seven.tvx"_s, Fixtures + u"bad-page.fmt"_s, u"-o"_s, script});
    QCOMPARE(r.code, 1);
    QCOMPARE(readFile(script), QByteArray("earlier run\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"script.txt"_s});
}

void TestPrintCommandLine::standardOutputWriteError()
{
    if (!QFile::exists(u"/dev/full"_s))
        QSKIP("no /dev/full here");
    QProcess p;
    p.setStandardOutputFile(u"/dev/full"_s);
    p.start(QStringLiteral(TORVANE_EXE),
            {u"--print-data"_s, Fixtures + u"seven.tvx"_s, Fixtures + u"pages.fmt"_s});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 1);
    QVERIFY(QString::fromLocal8Bit(p.readAllStandardError()).contains(u"標準出力に書き込めません"_s));
}

void TestPrintCommandLine::warnings_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("warning");
    const QString slip = Fixtures + u"seven.tvx"_s;
    const QString fmt = Fixtures + u"pages.fmt"_s;
    QTest::newRow("title outside CP932")
        << QStringList{u"--print-data"_s, slip, fmt, u"--copies"_s, u"1"_s, u"--titles"_s, u"見積書🚗"_s}
        << u"「?」になります: 🚗"_s;
    // A byte that is no CP932 character still prints, as "?".
    QTest::newRow("damaged slip") << QStringList{u"--print-data"_s, Fixtures + u"damaged-byte.tvx"_s, fmt}
                                  << u"「?」になります: \uFFFD"_s;
    QTest::newRow("not a print format")
        << QStringList{u"--print-data"_s, slip, slip} << u"印刷書式ではありません"_s;
    QTest::newRow("ordinary run") << QStringList{u"--print-data"_s, slip, fmt} << QString();
}

void TestPrintCommandLine::warnings()
{
    QFETCH(QStringList, args);
    QFETCH(QString, warning);
    const Run r = torvane(args);
    QCOMPARE(r.code, 0);
    if (warning.isEmpty())
        QVERIFY2(!r.err.contains(u"警告"_s), qPrintable(r.err));
    else
        QVERIFY2(r.err.contains(warning), qPrintable(r.err));
}

void TestPrintCommandLine::listFormats()
{
    // The bundled formats, copied beside the program by the build.
    const Run r = torvane({u"--list-formats"_s});
    QCOMPARE(r.code, 0);
    const QStringList names = QString::fromLocal8Bit(r.out).split(u'\n', Qt::SkipEmptyParts);
    QVERIFY2(names.size() >= 3, r.out.constData());
}

QTEST_GUILESS_MAIN(TestPrintCommandLine)
#include "tst_printcommandline.moc"
