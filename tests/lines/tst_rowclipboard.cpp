#include "lines/RowClipboard.h"
#include "lines/RowTransfer.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

LineCategoryList categories()
{
    return LineCategoryList::fromLines({u"部品,2"_s, u"値引,3"_s});
}

TRowData row(const QString &div, const QString &text, qint64 price)
{
    TRowData r;
    r.LineDiv = div;
    r.TextA = text;
    r.Price = price * Fixed::One;
    return r;
}

} // namespace

class TestRowClipboard : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void layoutKeepsMagnitudes();
    void foreignText_data();
    void foreignText();
    void exportTrimsTrailingBlankRows();
};

void TestRowClipboard::layoutKeepsMagnitudes()
{
    const QList<TRowData> rows{row(u"部品"_s, u"オイル, 5W-30"_s, 3000),
                               row(u"値引"_s, u"　値引"_s, 500)};
    const QString text = RowClipboard::make(rows);
    QCOMPARE(text, u"\r\n"_s + RowClipboard::Marker +
                       u"\r\n"
                       u"部品,-1,\"オイル, 5W-30\",,0,0,0,0,3000,EOL\r\n"
                       u"値引,-1,　値引,,0,0,0,0,500,EOL\r\n"_s);
    QCOMPARE(RowClipboard::parse(text), rows);
    // Other line breaks and short lines in between.
    QString bare = text;
    bare.replace(u"\r\n"_s, u"\n"_s).insert(bare.indexOf(u"値引"_s), u"a,b,c\n"_s);
    QCOMPARE(RowClipboard::parse(bare), rows);
}

void TestRowClipboard::foreignText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("plain text") << u"部品,-1,a,,0,0,0,0,1,EOL"_s;
    QTest::newRow("marker on the first line") << RowClipboard::Marker + u"\r\n部品,-1,a,,0,0,0,0,1,EOL"_s;
    QTest::newRow("marker with a blank after it") << u"\r\n"_s + RowClipboard::Marker + u" \r\n"_s;
    QTest::newRow("empty") << QString();
}

void TestRowClipboard::foreignText()
{
    QFETCH(QString, text);
    QVERIFY(!RowClipboard::parse(text));
}

void TestRowClipboard::exportTrimsTrailingBlankRows()
{
    const QList<TRowData> rows{row(u"部品"_s, u"a"_s, 100), row({}, u"memo"_s, 0), row(u"値引"_s, {}, 50),
                               row({}, u"left over"_s, 7), TRowData()};
    const QStringList texts = RowTransfer::exportTexts(rows, categories());
    QCOMPARE(texts, (QStringList{u"部品,-1,a,,0,0,0,0,100,EOL"_s, u",-1,memo,,0,0,0,0,0,EOL"_s,
                                 u"値引,-1,,,0,0,0,0,-50,EOL"_s}));
    QCOMPARE(RowTransfer::parseTexts(texts + QStringList{u"部品,1,2"_s}, categories()), rows.mid(0, 3));
}

QTEST_GUILESS_MAIN(TestRowClipboard)
#include "tst_rowclipboard.moc"
