#include "platform/CommaText.h"

#include <QTest>

class TestCommaText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void join_data();
    void join();
    void split_data();
    void split();
    void roundTrip();
};

void TestCommaText::join_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << QStringList{u"整備"_qs, u"10"_qs} << u"整備,10"_qs;
    QTest::newRow("one empty field") << QStringList{QString()} << u"\"\""_qs;
    QTest::newRow("two empty fields") << QStringList{QString(), QString()} << u","_qs;
    QTest::newRow("three empty fields") << QStringList{QString(), QString(), QString()} << u",,"_qs;
    QTest::newRow("blank") << QStringList{u"a b"_qs} << u"\"a b\""_qs;
    QTest::newRow("comma") << QStringList{u"1,000"_qs, u"x"_qs} << u"\"1,000\",x"_qs;
    QTest::newRow("quote doubled") << QStringList{u"5\"tyre"_qs} << u"\"5\"\"tyre\""_qs;
    QTest::newRow("tab") << QStringList{u"a\tb"_qs} << u"\"a\tb\""_qs;
    QTest::newRow("full-width space is ordinary") << QStringList{u"山田　太郎"_qs} << u"山田　太郎"_qs;
    QTest::newRow("empty list") << QStringList{} << QString();
}

void TestCommaText::join()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, text);
    QCOMPARE(CommaText::join(fields), text);
}

void TestCommaText::split_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("plain") << u"a,b,c"_qs << QStringList{u"a"_qs, u"b"_qs, u"c"_qs};
    QTest::newRow("empty") << QString() << QStringList{};
    QTest::newRow("quoted empty") << u"\"\""_qs << QStringList{QString()};
    QTest::newRow("two empty") << u","_qs << QStringList{QString(), QString()};
    QTest::newRow("trailing comma") << u"a,"_qs << QStringList{u"a"_qs, QString()};
    QTest::newRow("trailing comma and blank") << u"a, "_qs << QStringList{u"a"_qs};
    QTest::newRow("blank run ends field") << u"a b"_qs << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("blank around comma") << u"a , b"_qs << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("empty inner fields") << u"a,,b"_qs << QStringList{u"a"_qs, QString(), u"b"_qs};
    QTest::newRow("blank inner field") << u"a, ,b"_qs << QStringList{u"a"_qs, QString(), u"b"_qs};
    QTest::newRow("doubled quotes") << u"\"5\"\"tyre\",x"_qs << QStringList{u"5\"tyre"_qs, u"x"_qs};
    QTest::newRow("quoted comma") << u"\"1,000\",2"_qs << QStringList{u"1,000"_qs, u"2"_qs};
    QTest::newRow("unclosed quote") << u"\"abc"_qs << QStringList{u"abc"_qs};
    QTest::newRow("leading control characters") << u"\x01\x02\t a,b"_qs << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("text after quote") << u"\"ab\"cd,e"_qs << QStringList{u"ab"_qs, u"cd"_qs, u"e"_qs};
    QTest::newRow("kanji") << u"部品,ブレーキパッド,,"_qs
                           << QStringList{u"部品"_qs, u"ブレーキパッド"_qs, QString(), QString()};
    QTest::newRow("nul ends text") << QString(u"a,b"_qs + QChar(0) + u",c"_qs)
                                   << QStringList{u"a"_qs, u"b"_qs};
}

void TestCommaText::split()
{
    QFETCH(QString, text);
    QFETCH(QStringList, fields);
    QCOMPARE(CommaText::split(text), fields);
}

void TestCommaText::roundTrip()
{
    const QList<QStringList> lists = {
        {u"整備"_qs, u"-1"_qs, u"オイル交換 (5W-30)"_qs, QString(), u"0.5"_qs, u"\"q\""_qs, u"1"_qs,
         u"1500"_qs, u"1500"_qs, u"EOL"_qs},
        {QString(), u"a,b"_qs, u" lead"_qs},
        {QString()},
    };
    for (const QStringList &l : lists)
        QCOMPARE(CommaText::split(CommaText::join(l)), l);
}

QTEST_GUILESS_MAIN(TestCommaText)
#include "tst_commatext.moc"
