#include "platform/AppFolder.h"
#include "platform/CommaText.h"
#include "platform/Cp932.h"
#include "print/PrintFormat.h"
#include "print/TSlipMakeDBM.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

void writeFile(const QString &path, const QString &text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(Cp932::encode(text));
}

QString global(const QString &type, const QString &name, const QString &code)
{
    return u"[Global]\r\nFormatType="_s + type + u"\r\nFormatName="_s + name + u"\r\nApplicationCode="_s +
           code + u"\r\n"_s;
}

} // namespace

class TestPrintFormat : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void catalogueRule();
    void missingFolderGivesEmptyList();
    void bundledFormats_data();
    void bundledFormats();
};

void TestPrintFormat::catalogueRule()
{
    QTemporaryDir dir;
    const QString appDir = dir.path() + u'/';
    const QString fmt = AppFolder(appDir).formatFolder();
    QVERIFY(QDir().mkpath(fmt));
    const QString slip = u"伝票"_s;
    const QString code = u"wrly_tolvo"_s;
    writeFile(fmt + u"見積書A.fmt"_s, global(slip, u"見積書A"_s, code));
    writeFile(fmt + u"納品書.v2.fmt"_s, global(slip, u"納品書.v2"_s, code));
    writeFile(fmt + u"lower.fmt"_s,
              u"[global]\r\nFormatType=伝票\r\nFormatName=lower\r\nApplicationCode=wrly_tolvo\r\n"_s);
    writeFile(fmt + u"case.fmt"_s, global(slip, u"Case"_s, code));
    writeFile(fmt + u"nocode.fmt"_s, global(slip, u"nocode"_s, QString()));
    writeFile(fmt + u"othercode.fmt"_s, global(slip, u"othercode"_s, u"WRLY_TOLVO"_s));
    writeFile(fmt + u"othertype.fmt"_s, global(u"請求書"_s, u"othertype"_s, code));
    writeFile(fmt + u"notype.fmt"_s, u"[Global]\r\nFormatName=notype\r\nApplicationCode=wrly_tolvo\r\n"_s);
    writeFile(fmt + u".hidden.fmt"_s, global(slip, u".hidden"_s, code));
    writeFile(fmt + u"text.txt"_s, global(slip, u"text"_s, code));
    QVERIFY(QDir().mkpath(fmt + u"folder.fmt"_s));

    QStringList names{u"stale"_s};
    PrintFormat::ListPrintFormats(appDir, slip, names);
    QCOMPARE(names, (QStringList{u"lower"_s, u"納品書.v2"_s, u"見積書A"_s}));

    PrintFormat::ListPrintFormats(appDir, u"請求書"_s, names);
    QCOMPARE(names, QStringList{u"othertype"_s});
}

void TestPrintFormat::missingFolderGivesEmptyList()
{
    QTemporaryDir dir;
    QStringList names{u"stale"_s};
    PrintFormat::ListPrintFormats(dir.path() + u'/', u"伝票"_s, names);
    QVERIFY(names.isEmpty());
}

void TestPrintFormat::bundledFormats_data()
{
    QTest::addColumn<QString>("path");
    const QDir fmt(QStringLiteral(TORVANE_DATA "/Dat/Fmt"));
    const QFileInfoList files = fmt.entryInfoList({u"*.fmt"_s}, QDir::Files, QDir::Name);
    QVERIFY(files.size() >= 3);
    for (const QFileInfo &fi : files)
        QTest::newRow(qPrintable(fi.fileName())) << fi.filePath();
}

// Every bundled format is offered, generates for a full sample slip (two
// copies, several pages) and keeps everything it draws on the A4 sheet.
void TestPrintFormat::bundledFormats()
{
    QFETCH(QString, path);
    QVERIFY(PrintFormat::isListed(path, u"伝票"_s));

    PrintRunInputs in;
    in.formatPath = path;
    in.snapshotPath = QStringLiteral(TORVANE_FIXTURES "/print/sample.tvx");
    in.logoPath = u"/opt/torvane/Dat/Etc/会社.Dat"_s;
    in.titles = {u"納品請求書"_s, u"納品請求書(控)"_s, QString(), QString()};
    in.enabled = {true, true, false, false};
    in.datePattern = QString::fromUtf16(DatePattern::Japanese);
    TSlipMakeDBM dbm(in);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QVERIFY2(dbm.WritePrintData(out), qPrintable(dbm.errorString()));

    const QStringList lines = Cp932::decode(out.data()).split(u"\r\n"_s, Qt::SkipEmptyParts);
    int pages = 1;
    int logos = 0;
    QStringList pageNumbers;
    for (const QString &line : lines) {
        const QStringList f = CommaText::split(line);
        const QString verb = f.value(0);
        if (verb == u"page"_s)
            ++pages;
        if (verb == u"logo"_s)
            ++logos;
        QList<int> xs, ys;
        if (verb == u"text"_s || verb == u"rtext"_s || verb == u"ctext"_s) {
            xs << f.value(2).toInt();
            ys << f.value(3).toInt();
            if (QRegularExpression(u"^\\d+/\\d+$"_s).match(f.value(1)).hasMatch())
                pageNumbers << f.value(1);
        } else if (verb == u"line"_s || verb == u"lbox"_s || verb == u"fill"_s || verb == u"logo"_s) {
            xs << f.value(1).toInt() << f.value(3).toInt();
            ys << f.value(2).toInt() << f.value(4).toInt();
        }
        for (int x : xs)
            QVERIFY2(x >= 0 && x <= 2100, qPrintable(line));
        for (int y : ys)
            QVERIFY2(y >= 0 && y <= 2970, qPrintable(line));
    }
    QVERIFY2(pages >= 4, qPrintable(QString::number(pages))); // the sample needs two pages a copy
    QCOMPARE(logos, pages);                                   // the company block on every page
    QCOMPARE(pageNumbers.size(), pages);
    QCOMPARE(pageNumbers.first(), u"1/"_s + QString::number(pages / 2));
}

QTEST_GUILESS_MAIN(TestPrintFormat)
#include "tst_printformat.moc"
