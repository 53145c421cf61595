#include "platform/Cp932.h"

#include <QTest>

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
    QTest::newRow("ascii") << u"Count=3"_qs << QByteArray("Count=3");
    QTest::newRow("kanji") << u"見積書"_qs << QByteArray("\x8c\xa9\x90\xcf\x8f\x91");
    QTest::newRow("half-width kana") << u"ｶﾞｿﾘﾝ"_qs << QByteArray("\xb6\xde\xbf\xd8\xdd");
    QTest::newRow("yen byte 0x5C") << u"C:\\Dat\\Fmt"_qs << QByteArray("C:\\Dat\\Fmt");
    QTest::newRow("trail byte 0x5C") << u"表示"_qs << QByteArray("\x95\x5c\x8e\xa6");
    QTest::newRow("NEC circled digit") << u"①"_qs << QByteArray("\x87\x40");
    QTest::newRow("NEC kabushiki") << u"㈱"_qs << QByteArray("\x87\x8a");
    QTest::newRow("IBM extension kanji") << u"髙"_qs << QByteArray("\xfb\xfc");
    QTest::newRow("IBM small roman numeral") << u"ⅰ"_qs << QByteArray("\xfa\x40");
    QTest::newRow("wave dash form") << u"～"_qs << QByteArray("\x81\x60");
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
    QTest::newRow("lead byte at end") << QByteArray("ab\x82") << u"ab\uFFFD"_qs;
    QTest::newRow("bad trail byte") << QByteArray("\x82\x0a"
                                                  "x")
                                    << u"\uFFFD\nx"_qs;
    QTest::newRow("undefined byte 0x80") << QByteArray("\x80"
                                                       "A")
                                         << u"\uFFFDA"_qs;
    QTest::newRow("NUL kept") << QByteArray("a\0b", 3) << QString(u"a"_qs + QChar(0) + u"b"_qs);
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
    const QByteArray out = Cp932::encode(u"𠮷野家の€と한"_qs, &bad);
    QCOMPARE(bad, u"𠮷€한"_qs);
    QCOMPARE(out, Cp932::encode(u"?野家の?と?"_qs));
    QVERIFY(!Cp932::canEncode(u"한"_qs));
    QVERIFY(Cp932::canEncode(u"髙橋①"_qs));
}

QTEST_GUILESS_MAIN(TestCp932)
#include "tst_cp932.moc"
