#include "platform/CommaText.h"
#include "platform/Cp932.h"
#include "print/PrintPipeline.h"
#include "print/PrintProgress.h"
#include "print/TSlipMakeDBM.h"
#include "slip/SlipFile.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString Fixtures = QStringLiteral(TORVANE_FIXTURES "/print/");

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// "1,3" -> copies 1 and 3 enabled.
std::array<bool, 4> copies(const QString &list)
{
    std::array<bool, 4> on{};
    for (const QString &c : list.split(u','))
        on[size_t(c.toInt() - 1)] = true;
    return on;
}

PrintRunInputs inputs(const QString &format, const QString &slip, const QString &copyList = u"1"_s,
                      const QString &titles = QString())
{
    PrintRunInputs in;
    in.formatPath = format;
    in.snapshotPath = slip;
    in.logoPath = u"/tmp/logo 1.Dat"_s;
    in.enabled = copies(copyList);
    const QStringList t = CommaText::split(titles);
    for (qsizetype i = 0; i < 4 && i < t.size(); ++i)
        in.titles[size_t(i)] = t.at(i);
    return in;
}

// Runs the generation into memory; the error text when it fails.
QByteArray generate(const PrintRunInputs &in, QString *error = nullptr)
{
    TSlipMakeDBM dbm(in);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const bool ok = dbm.WritePrintData(buffer);
    if (error)
        *error = ok ? QString() : dbm.errorString();
    return buffer.data();
}

class RecordingProgress : public PrintProgress {
public:
    void begin(const QString &caption, const QString &text) override
    {
        events << u"open "_s + caption + u' ' + text;
    }
    void setMax(int max) override { events << u"max "_s + QString::number(max); }
    void setPosition(int position) override { last = position; }
    void end() override { events << u"close"_s; }
    QStringList events;
    int last = -1;
};

} // namespace

class TestSlipMakeDBM : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void goldenScripts_data();
    void goldenScripts();
    void bundledInvoiceLeavesBlanksOut_data();
    void bundledInvoiceLeavesBlanksOut();
    void bundledInvoiceOfTwoRates();
    void blankVehicleDatesPrintNothing();
    void splitScriptValue_data();
    void splitScriptValue();
    void pageKind();
    void smallFormats_data();
    void smallFormats();
    void userTextInMessagesStaysAsWritten_data();
    void userTextInMessagesStaysAsWritten();
    void hugeSectionEndsWithMessage();
    void makePrintDataWritesTheWorkingFile();
    void progressIsReportedAndClosed();
};

void TestSlipMakeDBM::goldenScripts_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("slip");
    QTest::addColumn<QString>("copyList");
    QTest::addColumn<QString>("titles");
    QTest::addColumn<QString>("expected");

    // Three pages of lines, copies 1 and 3: page numbers, a FIRST,LAST
    // section, the line index starting again for copy 3, a zero amount
    // writing nothing, one font line for the whole run.
    QTest::newRow("copies 1 and 3, three pages")
        << u"pages.fmt"_s << u"seven.tvx"_s << u"1,3"_s << u"控A,控B,控C,控D"_s << u"copies13.expected"_s;
    // No line items: one page per copy, of kind SINGLE, so the FIRST,LAST
    // section stays out.
    QTest::newRow("no line items") << u"pages.fmt"_s << u"empty.tvx"_s << u"1,2"_s << u"見積書,見積書(控),,"_s
                                   << u"nolines.expected"_s;
    // A FIRST header band, LAST footer band that no longer fits (an extra
    // page), page sums with SumRemoveName and a negative amount through
    // MDigit.
    QTest::newRow("bands, page sums")
        << u"bands.fmt"_s << u"bands.tvx"_s << u"1"_s << QString() << u"bands.expected"_s;
    // [global] in lower case, [Script] selectors with MultiPage, quoting,
    // commas and tabs; REPEAT header and FIRST footer; item fonts, a font
    // name without a size; DATE, CHECK, comma lists, a list section, logo.
    QTest::newRow("script, fonts, item types")
        << u"script.fmt"_s << u"script.tvx"_s << u"1"_s << QString() << u"script.expected"_s;
}

void TestSlipMakeDBM::goldenScripts()
{
    QFETCH(QString, format);
    QFETCH(QString, slip);
    QFETCH(QString, copyList);
    QFETCH(QString, titles);
    QFETCH(QString, expected);
    QString error;
    const QByteArray script = generate(inputs(Fixtures + format, Fixtures + slip, copyList, titles), &error);
    QCOMPARE(error, QString());
    const QByteArray want = readFile(Fixtures + expected);
    QVERIFY(!want.isEmpty());
    // Line by line first, for a readable failure; then byte for byte.
    QCOMPARE(Cp932::decode(script).split(u"\r\n"_s), Cp932::decode(want).split(u"\r\n"_s));
    QCOMPARE(script, want);
}

void TestSlipMakeDBM::bundledInvoiceLeavesBlanksOut_data()
{
    QTest::addColumn<QString>("slip");
    QTest::addColumn<bool>("eraDates");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("absent"); // texts that must not be printed
    QTest::addColumn<QStringList>("present");

    // No customer details: no postal-code mark, no "TEL", no lone honorific.
    QTest::newRow("empty customer") << u"nocustomer.tvx"_s << false << u"invoice-nocustomer.expected"_s
                                    << QStringList{u"〒"_s, u"-"_s, u"TEL"_s, u"  様"_s}
                                    << QStringList{u"登録番号"_s, u"2026/12/10"_s, u"2027/04/30"_s};
    // 車両なし: no vehicle table; era dates in the written form.
    QTest::newRow("no vehicle, era dates")
        << u"nocar.tvx"_s << true << u"invoice-nocar.expected"_s
        << QStringList{u"登録番号"_s, u"車検満了日"_s, u"初度登録"_s}
        << QStringList{u"〒"_s, u"TEL"_s, u"令和8年12月8日"_s, u"受領印"_s};
}

void TestSlipMakeDBM::bundledInvoiceLeavesBlanksOut()
{
    QFETCH(QString, slip);
    QFETCH(bool, eraDates);
    QFETCH(QString, expected);
    QFETCH(QStringList, absent);
    QFETCH(QStringList, present);
    PrintRunInputs in = inputs(QStringLiteral(TORVANE_DATA_DIR "/Fmt/納品請求書.fmt"), Fixtures + slip,
                               u"1"_s, u"納品請求書,納品請求書(控),,"_s);
    if (eraDates)
        in.datePattern = QString::fromUtf16(DatePattern::Japanese);
    QString error;
    const QByteArray script = generate(in, &error);
    QCOMPARE(error, QString());
    QStringList texts;
    for (const QString &line : Cp932::decode(script).split(u"\r\n"_s)) {
        const QStringList f = CommaText::split(line);
        if (f.value(0).endsWith(u"text"_s))
            texts << f.value(1);
    }
    for (const QString &t : absent)
        QVERIFY2(!texts.contains(t), qPrintable(t));
    for (const QString &t : present)
        QVERIFY2(texts.contains(t), qPrintable(t));
    QCOMPARE(Cp932::decode(script).split(u"\r\n"_s),
             Cp932::decode(readFile(Fixtures + expected)).split(u"\r\n"_s));
}

// A slip at 10 % and 8 % computed per rate, printed as the command lines and
// the main window print it: the file's stale totals recomputed, the snapshot
// with each rate's base and tax, the registration number of a company-name
// setting of 24 lines and ※ on the reduced-rate lines. By hand: 10 % lines
// 2,400 + 4,620 + 1,655 + 1,970 and the taxable 3,000 of costs = 13,645, tax
// 1,364.5 -> 1,365; 8 % lines 105 + 105 = 210, tax 16.8 -> 17 (per line it
// would be 8 + 8); the untaxed 検査手数料 1,800; due 10,855 + 4,800 + 1,382 = 17,037.
void TestSlipMakeDBM::bundledInvoiceOfTwoRates()
{
    QTemporaryDir dir;
    const QString snapshot = dir.filePath(u"snapshot.tvx"_s);
    QString error;
    QVERIFY2(PrintPipeline::snapshotOfFile(Fixtures + u"two-rates.tvx"_s, snapshot,
                                           QStringLiteral(TORVANE_DATA_DIR "/.."),
                                           Fixtures + u"company-regno.Dat"_s, &error),
             qPrintable(error));
    // The company block's path is part of the script; the usual test path
    // keeps the expected file independent of the checkout.
    PrintRunInputs in = inputs(QStringLiteral(TORVANE_DATA_DIR "/Fmt/納品請求書.fmt"), snapshot, u"1"_s,
                               u"納品請求書,納品請求書(控),,"_s);
    const QByteArray script = generate(in, &error);
    QCOMPARE(error, QString());
    QCOMPARE(Cp932::decode(script).split(u"\r\n"_s),
             Cp932::decode(readFile(Fixtures + u"invoice-two-rates.expected"_s)).split(u"\r\n"_s));
}

// A new slip whose vehicle dates nobody entered: the file holds the no-date
// value and the page shows the labels of the vehicle table without dates.
void TestSlipMakeDBM::blankVehicleDatesPrintNothing()
{
    QTemporaryDir dir;
    const QString slipPath = dir.filePath(u"new.tvx"_s);
    SlipData slip = SlipData::newSlip(QDate(2026, 12, 10));
    slip.carName = u"プリウス"_s;
    IniFile ini(slipPath);
    QVERIFY(SlipFile::save(ini, slip, sstAll, {LineCategoryList(), QDate(2026, 12, 10)}, nullptr));
    QVERIFY(ini.flush());
    for (const QString &pattern :
         {QString::fromUtf16(DatePattern::Western), QString::fromUtf16(DatePattern::Japanese)}) {
        PrintRunInputs in = inputs(QStringLiteral(TORVANE_DATA_DIR "/Fmt/納品請求書.fmt"), slipPath);
        in.datePattern = pattern;
        QString error;
        const QString script = Cp932::decode(generate(in, &error));
        QCOMPARE(error, QString());
        QVERIFY(script.contains(u"車検満了日"_s));
        QVERIFY(script.contains(u"プリウス"_s));
        QVERIFY2(!script.contains(u"1899"_s) && !script.contains(u"明治"_s) &&
                     !script.contains(u"2026/12/10,272"_s),
                 qPrintable(script));
        QCOMPARE(script.count(u"2026/12/10"_s) + script.count(u"令和8年12月10日"_s),
                 1); // the issue date only
    }
}

void TestSlipMakeDBM::splitScriptValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("plain") << u"line,1,2,3,4"_s << QStringList{u"line"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s};
    QTest::newRow("tab separates") << u"a\tb"_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("trailing separator") << u"a,b,"_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("inner empty field") << u"a,,b"_s << QStringList{u"a"_s, QString(), u"b"_s};
    QTest::newRow("comma inside quotes splits") << u"\"x,y\""_s << QStringList{u"x"_s, u"y\""_s};
    QTest::newRow("doubled quote") << u"\"a\"\"b\""_s << QStringList{u"a\"b"_s};
    QTest::newRow("two quotes give empty") << u"\"\",1"_s << QStringList{QString(), u"1"_s};
    QTest::newRow("empty content kept as written") << u"\"\"x"_s << QStringList{u"\"\"x"_s};
    QTest::newRow("text after closing quote dropped") << u"\"ab\"cd"_s << QStringList{u"ab"_s};
    QTest::newRow("unclosed quote") << u"\"ab"_s << QStringList{u"ab"_s};
    QTest::newRow("blanks stay") << u"text, a"_s << QStringList{u"text"_s, u" a"_s};
    QTest::newRow("empty") << QString() << QStringList{};
    QTest::newRow("full-width comma is text") << u"会社，支店"_s << QStringList{u"会社，支店"_s};
}

void TestSlipMakeDBM::splitScriptValue()
{
    QFETCH(QString, text);
    QFETCH(QStringList, fields);
    QCOMPARE(TSlipMakeDBM::SplitScriptValue(text), fields);
}

void TestSlipMakeDBM::pageKind()
{
    QCOMPARE(TSlipMakeDBM::PageKind(0, 1), u"SINGLE"_s);
    QCOMPARE(TSlipMakeDBM::PageKind(0, 3), u"FIRST"_s);
    QCOMPARE(TSlipMakeDBM::PageKind(1, 3), u"NOMAL"_s);
    QCOMPARE(TSlipMakeDBM::PageKind(2, 3), u"LAST"_s);
    QCOMPARE(TSlipMakeDBM::PageKind(0, 2), u"FIRST"_s);
    QCOMPARE(TSlipMakeDBM::PageKind(1, 2), u"LAST"_s);
    QCOMPARE(TSlipMakeDBM::PageKind(3, 3), QString());
}

void TestSlipMakeDBM::smallFormats_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("slip");
    QTest::addColumn<QString>("outcome"); // the script, or "error:" and a part of the message

    const QString lines3 = u"[Line]\nCount=3\nTextA00000=a\nTextA00001=b\nTextA00002=c\n"_s;
    const QString repline = u"[Line]\nType=REPLINE\nColumn=1\nType1=STRING\nName1=TextA\n"_s;
    // Item sections print only on pages, and pages need a repeated-line
    // section with a pitch: this one gives a single page and prints nothing.
    const QString head = u"[Global]\nPageHeight=100\n"_s;
    const QString onePage = u"[Line]\nType=REPLINE\nLineHeight=20\n"_s;
    const QString fontLines = u"font,\"ＭＳ ゴシック\",10,0,0\r\nbrush,16777215,16777215\r\n"_s;

    QTest::newRow("no repeated-line section: no page content")
        << u"[Global]\n[Cust,Name]\nType=STRING\n"_s << u"[Cust]\nName=x\n"_s << u""_s;
    QTest::newRow("negative LineHeight: no page content")
        << u"[Global]\nPageHeight=100\n"_s + repline + u"LineHeight=-20\n"_s << lines3 << u""_s;
    QTest::newRow("unparseable LineHeight reads 0")
        << u"[Global]\nPageHeight=100\n"_s + repline + u"LineHeight=2O\n"_s << lines3 << u""_s;
    QTest::newRow("unparseable PageHeight: cannot paginate")
        << u"[Global]\nPageHeight=1OO\nTopAlign=40\n"_s + repline + u"LineHeight=20\n"_s << lines3
        << u"error:「bad」"_s;
    QTest::newRow("repeat band eats the page: cannot paginate")
        << u"[Global]\nPageHeight=100\nTopAlign=40\nHeaderType=REPEAT\nHeaderHeight=50\n"_s + repline +
               u"LineHeight=20\n"_s
        << lines3 << u"error:LineHeight=20"_s;
    QTest::newRow("first page holds none, later pages do")
        << u"[Global]\nPageHeight=100\nTopAlign=40\nHeaderType=FIRST\nHeaderAlign=TOP\nHeaderHeight=70\n"_s +
               repline + u"LineHeight=20\nLeft1=1\n"_s
        << lines3 << u"page\r\n"_s + fontLines + u"text,a,1,40\r\ntext,b,1,60\r\ntext,c,1,80\r\n"_s;
    QTest::newRow("absurd Column in an item section")
        << head + u"[SlipTitle]\nColumn=2000000000\n"_s + onePage << lines3 << u"error:Column=2000000000"_s;
    QTest::newRow("absurd Column in the repeated-line section")
        << u"[Global]\nPageHeight=100\n[Line]\nType=REPLINE\nLineHeight=20\nColumn=2000000000\n"_s << lines3
        << u"error:Column=2000000000"_s;
    QTest::newRow("Column out of integer range reads 1")
        << head + u"[Cust,Name]\nType=STRING\nColumn=99999999999\n"_s + onePage << u"[Cust]\nName=x\n"_s
        << fontLines + u"text,x,0,0\r\n"_s;
    QTest::newRow("more pages than allowed") << u"[Global]\nPageHeight=1\n"_s + repline + u"LineHeight=1\n"_s
                                             << u"[Line]\nCount=2000000000\n"_s << u"error:10000"_s;
    QTest::newRow("huge page with few lines")
        << u"[Global]\nPageHeight=2147483647\nTopAlign=-2147483648\n"_s + repline + u"LineHeight=1\n"_s
        << lines3
        << fontLines + u"text,a,0,-2147483648\r\ntext,b,0,-2147483647\r\ntext,c,0,-2147483646\r\n"_s;
    QTest::newRow("integer template for an amount")
        << head + u"[Price,Last]\nType=CURRENCY\nDigit=%d円\n"_s + onePage << u"[Price]\nLast=100\n"_s
        << u"error:\"%d円\""_s;
    QTest::newRow("float template for the page number")
        << head + u"[SlipPage]\nDigit=%.0f\n"_s + onePage << QString() << u"error:\"%.0f\""_s;
    QTest::newRow("absurd width in a template")
        << head + u"[Price,Last]\nType=CURRENCY\nDigit=%999999999f\n"_s + onePage << u"[Price]\nLast=100\n"_s
        << u"error:%999999999f"_s;
    QTest::newRow("comma-list element that is no number")
        << head + u"[Cost,LineA1]\nColumn=2\nType2=CURRENCY\nDigit2=%.0n\n"_s + onePage
        << u"[Cost]\nLineA1=代行料,1O00,1\n"_s << u"error:\"1O00\""_s;
    QTest::newRow("comma-list element that is no date")
        << head + u"[X,Dates]\nColumn=2\nType1=DATE\n"_s + onePage << u"[X]\nDates=2024/02/30,\n"_s
        << u"error:\"2024/02/30\""_s;
    QTest::newRow("unreadable single amount counts as zero")
        << head + u"[Price,Last]\nType=CURRENCY\nDigit=%.0n\nZeroDisp=1\n"_s + onePage
        << u"[Price]\nLast=abc\n"_s << fontLines + u"text,0,0,0\r\n"_s;
    QTest::newRow("zero amount with ZeroDisp=0 writes nothing")
        << head + u"[Price,Last]\nType=CURRENCY\nDigit=%.0n\n"_s + onePage << u"[Price]\nLast=0\n"_s << u""_s;
    QTest::newRow("one-item list section prints nothing")
        << head + u"[Note,Memo]\nType=LINE\n"_s + onePage << u"[Note]\nMemo1=a\n"_s << u""_s;
    QTest::newRow("FontName1 without FontSize1 keeps the font in force")
        << head +
               u"[A,X]\nType=STRING\nFontName=Big\nFontSize=40\nFontStyle=0\nFontColor=255\n"
               u"[A,Y]\nColumn=2\nType1=STRING\nFontName1=Bold\nLeft1=5\nType2=STRING\nLeft2=9\n"_s +
               onePage
        << u"[A]\nX=x\nY=p,q\n"_s
        << u"font,Big,40,0,255\r\ntext,x,0,0\r\ntext,p,5,0\r\n"_s + fontLines + u"text,q,9,0\r\n"_s;
    QTest::newRow("page sum index out of range")
        << head + u"SumColumnName=Price\n[PageSum,1]\nDigit=%.0n\n[PageSum,x]\nDigit=%.0n\n"_s + onePage
        << QString() << u""_s;
}

void TestSlipMakeDBM::smallFormats()
{
    QFETCH(QString, format);
    QFETCH(QString, slip);
    QFETCH(QString, outcome);
    QTemporaryDir dir;
    const QString formatPath = dir.filePath(u"bad.fmt"_s);
    const QString slipPath = dir.filePath(u"slip.tvx"_s);
    writeFile(formatPath, Cp932::encode(format));
    writeFile(slipPath, Cp932::encode(slip));
    QElapsedTimer timer;
    timer.start();
    QString error;
    const QByteArray script = generate(inputs(formatPath, slipPath), &error);
    QVERIFY(timer.elapsed() < 5000);
    if (outcome.startsWith(u"error:"_s)) {
        QVERIFY2(error.contains(outcome.mid(6)), qPrintable(error));
    } else {
        QCOMPARE(error, QString());
        QCOMPARE(Cp932::decode(script), outcome);
    }
}

void TestSlipMakeDBM::userTextInMessagesStaysAsWritten_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("slip");
    QTest::addColumn<QString>("message");
    // Format and section names are the user's text: a "%1" in them must
    // reach the message as written, with the numbers in their own places.
    const QString lines3 = u"[Line]\nCount=3\nTextA00000=a\nTextA00001=b\nTextA00002=c\n"_s;
    const QString onePage = u"[Line]\nType=REPLINE\nLineHeight=20\n"_s;
    QTest::newRow("too many pages")
        << u"[Global]\nPageHeight=1\n[Line]\nType=REPLINE\nColumn=1\nLineHeight=1\n"_s
        << u"[Line]\nCount=2000000000\n"_s
        << u"印刷書式「見積%1」では明細が 10000 ページを超えるため、印刷データを作成できません。"_s;
    QTest::newRow("line height above the room")
        << u"[Global]\nPageHeight=100\nTopAlign=40\nHeaderType=REPEAT\nHeaderHeight=50\n"_s + onePage
        << lines3
        << u"印刷書式「見積%1」は明細行をページに割り付けられません。2ページ目以降の明細欄"
           u"（PageHeight − TopAlign − 毎ページの帯の高さ）が行の高さ LineHeight=20 より狭くなっています。"_s;
    QTest::newRow("item section Column")
        << u"[Global]\nPageHeight=100\n[Title%1]\nColumn=2000000000\n"_s + onePage << lines3
        << u"印刷書式「見積%1」の [Title%1] の Column=2000000000 が大きすぎます（1024 まで）。"_s;
    QTest::newRow("repeated-line section Column")
        << u"[Global]\nPageHeight=100\n[Line%1]\nType=REPLINE\nLineHeight=20\nColumn=2000000000\n"_s << lines3
        << u"印刷書式「見積%1」の [Line%1] の Column=2000000000 が大きすぎます（1024 まで）。"_s;
}

void TestSlipMakeDBM::userTextInMessagesStaysAsWritten()
{
    QFETCH(QString, format);
    QFETCH(QString, slip);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString formatPath = dir.filePath(u"見積%1.fmt"_s);
    const QString slipPath = dir.filePath(u"slip.tvx"_s);
    writeFile(formatPath, Cp932::encode(format));
    writeFile(slipPath, Cp932::encode(slip));
    QString error;
    generate(inputs(formatPath, slipPath), &error);
    QCOMPARE(error, message);
}

void TestSlipMakeDBM::hugeSectionEndsWithMessage()
{
    // A [Script] section of 10 MB, copied on each of 10 pages: the script
    // would pass its size limit, so the run stops with a message instead of
    // filling the disk.
    QTemporaryDir dir;
    QByteArray format =
        "[Global]\r\nPageHeight=100\r\n[Line]\r\nType=REPLINE\r\nLineHeight=100\r\n[Script]\r\n";
    const QByteArray line = "=text," + QByteArray(2000, 'x') + ",100,100\r\n";
    for (int i = 0; format.size() < 10 * 1024 * 1024; ++i)
        format += 'L' + QByteArray::number(i) + line;
    writeFile(dir.filePath(u"big.fmt"_s), format);
    writeFile(dir.filePath(u"slip.tvx"_s), "[Line]\r\nCount=10\r\n");
    PrintRunInputs in = inputs(dir.filePath(u"big.fmt"_s), dir.filePath(u"slip.tvx"_s));
    in.scriptPath = dir.filePath(u"out"_s);
    TSlipMakeDBM dbm(in);
    QString path;
    QVERIFY(!dbm.MakePrintData(path));
    QVERIFY2(dbm.errorString().contains(u"大きすぎます"_s), qPrintable(dbm.errorString()));
    QVERIFY(path.isEmpty());
    QVERIFY(QFileInfo(in.scriptPath).size() <= TSlipMakeDBM::MaxScriptBytes);
}

void TestSlipMakeDBM::makePrintDataWritesTheWorkingFile()
{
    QTemporaryDir dir;
    const QString appDir = dir.path() + u'/';
    PrintRunInputs in = inputs(Fixtures + u"pages.fmt"_s, TSlipMakeDBM::snapshotPath(appDir, u"123"_s));
    in.scriptPath = TSlipMakeDBM::scriptPath(appDir, u"123"_s);
    QCOMPARE(in.scriptPath, appDir + u"Dat/Tmp/123PrTmpDat"_s);
    QString path = u"stale"_s;

    // No snapshot: nothing to print, no file, no message.
    {
        TSlipMakeDBM dbm(in);
        QVERIFY(dbm.MakePrintData(path));
        QVERIFY(path.isEmpty());
        QVERIFY(!QFile::exists(in.scriptPath));
    }
    QVERIFY(QDir().mkpath(appDir + u"Dat/Tmp"_s));
    QVERIFY(QFile::copy(Fixtures + u"empty.tvx"_s, in.snapshotPath));
    writeFile(in.scriptPath, "an older script that is longer than the new one\r\n");
    {
        TSlipMakeDBM dbm(in);
        QVERIFY(dbm.MakePrintData(path));
        QCOMPARE(path, in.scriptPath);
        QCOMPARE(readFile(path), generate(in));
    }
    // A failed run returns no path and leaves the partial script.
    in.formatPath = Fixtures + u"missing.fmt"_s;
    {
        TSlipMakeDBM dbm(in);
        QVERIFY(!dbm.MakePrintData(path));
        QVERIFY(path.isEmpty());
        QVERIFY(dbm.errorString().contains(u"missing.fmt"_s));
    }
}

void TestSlipMakeDBM::progressIsReportedAndClosed()
{
    RecordingProgress progress;
    {
        TSlipMakeDBM dbm(inputs(Fixtures + u"pages.fmt"_s, Fixtures + u"seven.tvx"_s, u"1,3"_s), &progress);
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QVERIFY(dbm.WritePrintData(out));
    }
    // Five sections (Global included) × 4 × 3 pages; copy 3 ends at its full share.
    QCOMPARE(progress.events,
             (QStringList{u"open 処理中... 印刷データを作成しています..."_s, u"max 60"_s, u"close"_s}));
    QCOMPARE(progress.last, 5 * 3 * 2 + 5 * 2 + 5);

    RecordingProgress failing;
    QTemporaryDir dir;
    writeFile(dir.filePath(u"bad.fmt"_s), "[Global]\r\nPageHeight=100\r\n[SlipPage]\r\nDigit=%f\r\n[Line]"
                                          "\r\nType=REPLINE\r\nLineHeight=20\r\n");
    {
        TSlipMakeDBM dbm(inputs(dir.filePath(u"bad.fmt"_s), Fixtures + u"empty.tvx"_s), &failing);
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QVERIFY(!dbm.WritePrintData(out));
    }
    QCOMPARE(failing.events.last(), u"close"_s);
}

QTEST_GUILESS_MAIN(TestSlipMakeDBM)
#include "tst_slipmakedbm.moc"
