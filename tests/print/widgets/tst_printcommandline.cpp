#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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
    env.remove(u"DISPLAY"_qs);
    env.remove(u"QT_QPA_PLATFORM"_qs); // must not need a display at all
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
    void failuresExitNonZero_data();
    void failuresExitNonZero();
    void listFormats();
};

void TestPrintCommandLine::printDataToStandardOutputAndFile()
{
    const QByteArray expected = readFile(Fixtures + u"copies13.expected"_qs);
    const QStringList args{
        u"--print-data"_qs, Fixtures + u"seven.tvx"_qs, Fixtures + u"pages.fmt"_qs, u"--copies"_qs, u"1,3"_qs,
        u"--titles"_qs,     u"控A,控B,\"控C\",控D"_qs};
    const Run r = torvane(args);
    QCOMPARE(r.err, QString());
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, expected);

    QTemporaryDir dir;
    const QString script = dir.filePath(u"script.txt"_qs);
    const Run toFile = torvane(args + QStringList{u"-o"_qs, script});
    QCOMPARE(toFile.code, 0);
    QVERIFY(toFile.out.isEmpty());
    QCOMPARE(readFile(script), expected);
}

void TestPrintCommandLine::failuresExitNonZero_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTemporaryDir dir;
    const QString slip = Fixtures + u"seven.tvx"_qs;
    const QString fmt = Fixtures + u"pages.fmt"_qs;
    QTest::newRow("missing slip") << QStringList{u"--print-data"_qs, u"/nonexistent/a.tvx"_qs, fmt} << 1
                                  << u"/nonexistent/a.tvx"_qs;
    QTest::newRow("missing format") << QStringList{u"--print-data"_qs, slip, u"/nonexistent/b.fmt"_qs} << 1
                                    << u"/nonexistent/b.fmt"_qs;
    QTest::newRow("format that does not fit")
        << QStringList{u"--print-data"_qs, slip, Fixtures + u"bad-page.fmt"_qs} << 1 << u"%.0f"_qs;
    QTest::newRow("copy 5") << QStringList{u"--print-data"_qs, slip, fmt, u"--copies"_qs, u"1,5"_qs} << 2
                            << u"--copies"_qs;
    QTest::newRow("one file") << QStringList{u"--print-data"_qs, slip} << 2 << u"使い方"_qs;
    QTest::newRow("unknown option") << QStringList{u"--print-data"_qs, slip, fmt, u"--colour"_qs} << 2
                                    << u"--colour"_qs;
    QTest::newRow("unwritable output")
        << QStringList{u"--print-data"_qs, slip, fmt, u"-o"_qs, u"/proc/x/y"_qs} << 1 << u"/proc/x/y"_qs;
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

void TestPrintCommandLine::listFormats()
{
    // The bundled formats, copied beside the program by the build.
    const Run r = torvane({u"--list-formats"_qs});
    QCOMPARE(r.code, 0);
    const QStringList names = QString::fromLocal8Bit(r.out).split(u'\n', Qt::SkipEmptyParts);
    QVERIFY2(names.size() >= 3, r.out.constData());
}

QTEST_GUILESS_MAIN(TestPrintCommandLine)
#include "tst_printcommandline.moc"
