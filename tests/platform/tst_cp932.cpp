#include "platform/Cp932.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCp932 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void invalidBytesDecodeToReplacement_data();
    void invalidBytesDecodeToReplacement();
    void unmappableCharactersAreReported();
};

void TestCp932::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << u"Count=3"_s << QByteArray("Count=3");
    QTest::newRow("kanji") << u"見積書"_s << QByteArray("\x8c\xa9\x90\xcf\x8f\x91");
    QTest::newRow("half-width kana") << u"ｶﾞｿﾘﾝ"_s << QByteArray("\xb6\xde\xbf\xd8\xdd");
    QTest::newRow("yen byte 0x5C") << u"C:\\Dat\\Fmt"_s << QByteArray("C:\\Dat\\Fmt");
    QTest::newRow("trail byte 0x5C") << u"表示"_s << QByteArray("\x95\x5c\x8e\xa6");
    QTest::newRow("NEC circled digit") << u"①"_s << QByteArray("\x87\x40");
    QTest::newRow("NEC kabushiki") << u"㈱"_s << QByteArray("\x87\x8a");
    QTest::newRow("IBM extension kanji") << u"髙"_s << QByteArray("\xfb\xfc");
    QTest::newRow("IBM small roman numeral") << u"ⅰ"_s << QByteArray("\xfa\x40");
    QTest::newRow("wave dash form") << u"～"_s << QByteArray("\x81\x60");
}

void TestCp932::roundTrip()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QString bad;
    QCOMPARE(Cp932::encode(text, &bad), bytes);
    QVERIFY(bad.isEmpty());
    QCOMPARE(Cp932::decode(bytes), text);
}

void TestCp932::invalidBytesDecodeToReplacement_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("lead byte at end") << QByteArray("ab\x82") << u"ab\uFFFD"_s;
    QTest::newRow("bad trail byte") << QByteArray("\x82\x0a"
                                                  "x")
                                    << u"\uFFFD\nx"_s;
    QTest::newRow("undefined byte 0x80") << QByteArray("\x80"
                                                       "A")
                                         << u"\uFFFDA"_s;
    QTest::newRow("NUL kept") << QByteArray("a\0b", 3) << QString(u"a"_s + QChar(0) + u"b"_s);
}

void TestCp932::invalidBytesDecodeToReplacement()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(Cp932::decode(bytes), text);
}

void TestCp932::unmappableCharactersAreReported()
{
    QString bad;
    const QByteArray out = Cp932::encode(u"𠮷野家の€と한"_s, &bad);
    QCOMPARE(bad, u"𠮷€한"_s);
    QCOMPARE(out, Cp932::encode(u"?野家の?と?"_s));
    QVERIFY(!Cp932::canEncode(u"한"_s));
    QVERIFY(Cp932::canEncode(u"髙橋①"_s));
}

QTEST_GUILESS_MAIN(TestCp932)
#include "tst_cp932.moc"
