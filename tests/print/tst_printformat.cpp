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

namespace {

void writeFile(const QString &path, const QString &text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(Cp932::encode(text));
}

QString global(const QString &type, const QString &name, const QString &code)
{
    return u"[Global]\r\nFormatType="_qs + type + u"\r\nFormatName="_qs + name + u"\r\nApplicationCode="_qs +
           code + u"\r\n"_qs;
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
    const QString fmt = PrintFormat::folder(appDir);
    QVERIFY(QDir().mkpath(fmt));
    const QString slip = u"伝票"_qs;
    const QString code = u"wrly_tolvo"_qs;
    writeFile(fmt + u"見積書A.fmt"_qs, global(slip, u"見積書A"_qs, code));
    writeFile(fmt + u"納品書.v2.fmt"_qs, global(slip, u"納品書.v2"_qs, code));
    writeFile(fmt + u"lower.fmt"_qs,
              u"[global]\r\nFormatType=伝票\r\nFormatName=lower\r\nApplicationCode=wrly_tolvo\r\n"_qs);
    writeFile(fmt + u"case.fmt"_qs, global(slip, u"Case"_qs, code));
    writeFile(fmt + u"nocode.fmt"_qs, global(slip, u"nocode"_qs, QString()));
    writeFile(fmt + u"othercode.fmt"_qs, global(slip, u"othercode"_qs, u"WRLY_TOLVO"_qs));
    writeFile(fmt + u"othertype.fmt"_qs, global(u"請求書"_qs, u"othertype"_qs, code));
    writeFile(fmt + u"notype.fmt"_qs, u"[Global]\r\nFormatName=notype\r\nApplicationCode=wrly_tolvo\r\n"_qs);
    writeFile(fmt + u".hidden.fmt"_qs, global(slip, u".hidden"_qs, code));
    writeFile(fmt + u"text.txt"_qs, global(slip, u"text"_qs, code));
    QVERIFY(QDir().mkpath(fmt + u"folder.fmt"_qs));

    QStringList names{u"stale"_qs};
    PrintFormat::ListPrintFormats(appDir, slip, names);
    QCOMPARE(names, (QStringList{u"lower"_qs, u"納品書.v2"_qs, u"見積書A"_qs}));

    PrintFormat::ListPrintFormats(appDir, u"請求書"_qs, names);
    QCOMPARE(names, QStringList{u"othertype"_qs});
}

void TestPrintFormat::missingFolderGivesEmptyList()
{
    QTemporaryDir dir;
    QStringList names{u"stale"_qs};
    PrintFormat::ListPrintFormats(dir.path() + u'/', u"伝票"_qs, names);
    QVERIFY(names.isEmpty());
}

void TestPrintFormat::bundledFormats_data()
{
    QTest::addColumn<QString>("path");
    const QDir fmt(QStringLiteral(TORVANE_DATA "/Dat/Fmt"));
    const QFileInfoList files = fmt.entryInfoList({u"*.fmt"_qs}, QDir::Files, QDir::Name);
    QVERIFY(files.size() >= 3);
    for (const QFileInfo &fi : files)
        QTest::newRow(qPrintable(fi.fileName())) << fi.filePath();
}

// Every bundled format is offered, generates for a full sample slip (two
// copies, several pages) and keeps everything it draws on the A4 sheet.
void TestPrintFormat::bundledFormats()
{
    QFETCH(QString, path);
    QVERIFY(PrintFormat::isListed(path, u"伝票"_qs));

    PrintRunInputs in;
    in.formatPath = path;
    in.snapshotPath = QStringLiteral(TORVANE_FIXTURES "/print/sample.tvx");
    in.logoPath = u"/opt/torvane/Dat/Etc/会社.Dat"_qs;
    in.titles = {u"納品請求書"_qs, u"納品請求書(控)"_qs, QString(), QString()};
    in.enabled = {true, true, false, false};
    in.datePattern = QString::fromUtf16(DatePattern::Japanese);
    TSlipMakeDBM dbm(in);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QVERIFY2(dbm.WritePrintData(out), qPrintable(dbm.errorString()));

    const QStringList lines = Cp932::decode(out.data()).split(u"\r\n"_qs, Qt::SkipEmptyParts);
    int pages = 1;
    int logos = 0;
    QStringList pageNumbers;
    for (const QString &line : lines) {
        const QStringList f = CommaText::split(line);
        const QString verb = f.value(0);
        if (verb == u"page"_qs)
            ++pages;
        if (verb == u"logo"_qs)
            ++logos;
        QList<int> xs, ys;
        if (verb == u"text"_qs || verb == u"rtext"_qs || verb == u"ctext"_qs) {
            xs << f.value(2).toInt();
            ys << f.value(3).toInt();
            if (QRegularExpression(u"^\\d+/\\d+$"_qs).match(f.value(1)).hasMatch())
                pageNumbers << f.value(1);
        } else if (verb == u"line"_qs || verb == u"lbox"_qs || verb == u"fill"_qs || verb == u"logo"_qs) {
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
    QCOMPARE(pageNumbers.first(), u"1/"_qs + QString::number(pages / 2));
}

QTEST_GUILESS_MAIN(TestPrintFormat)
#include "tst_printformat.moc"
