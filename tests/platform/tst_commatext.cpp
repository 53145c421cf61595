#include "platform/CommaText.h"

#include <QTest>

using namespace Qt::StringLiterals;

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
    QTest::newRow("plain") << QStringList{u"整備"_s, u"10"_s} << u"整備,10"_s;
    QTest::newRow("one empty field") << QStringList{QString()} << u"\"\""_s;
    QTest::newRow("two empty fields") << QStringList{QString(), QString()} << u","_s;
    QTest::newRow("three empty fields") << QStringList{QString(), QString(), QString()} << u",,"_s;
    QTest::newRow("blank") << QStringList{u"a b"_s} << u"\"a b\""_s;
    QTest::newRow("comma") << QStringList{u"1,000"_s, u"x"_s} << u"\"1,000\",x"_s;
    QTest::newRow("quote doubled") << QStringList{u"5\"tyre"_s} << u"\"5\"\"tyre\""_s;
    QTest::newRow("tab") << QStringList{u"a\tb"_s} << u"\"a\tb\""_s;
    QTest::newRow("full-width space is ordinary") << QStringList{u"山田　太郎"_s} << u"山田　太郎"_s;
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
    QTest::newRow("plain") << u"a,b,c"_s << QStringList{u"a"_s, u"b"_s, u"c"_s};
    QTest::newRow("empty") << QString() << QStringList{};
    QTest::newRow("quoted empty") << u"\"\""_s << QStringList{QString()};
    QTest::newRow("two empty") << u","_s << QStringList{QString(), QString()};
    QTest::newRow("trailing comma") << u"a,"_s << QStringList{u"a"_s, QString()};
    QTest::newRow("trailing comma and blank") << u"a, "_s << QStringList{u"a"_s};
    QTest::newRow("blank run ends field") << u"a b"_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("blank around comma") << u"a , b"_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("empty inner fields") << u"a,,b"_s << QStringList{u"a"_s, QString(), u"b"_s};
    QTest::newRow("blank inner field") << u"a, ,b"_s << QStringList{u"a"_s, QString(), u"b"_s};
    QTest::newRow("doubled quotes") << u"\"5\"\"tyre\",x"_s << QStringList{u"5\"tyre"_s, u"x"_s};
    QTest::newRow("quoted comma") << u"\"1,000\",2"_s << QStringList{u"1,000"_s, u"2"_s};
    QTest::newRow("unclosed quote") << u"\"abc"_s << QStringList{u"abc"_s};
    QTest::newRow("leading control characters") << u"\x01\x02\t a,b"_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("text after quote") << u"\"ab\"cd,e"_s << QStringList{u"ab"_s, u"cd"_s, u"e"_s};
    QTest::newRow("kanji") << u"部品,ブレーキパッド,,"_s
                           << QStringList{u"部品"_s, u"ブレーキパッド"_s, QString(), QString()};
    QTest::newRow("nul ends text") << QString(u"a,b"_s + QChar(0) + u",c"_s)
                                   << QStringList{u"a"_s, u"b"_s};
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
        {u"整備"_s, u"-1"_s, u"オイル交換 (5W-30)"_s, QString(), u"0.5"_s, u"\"q\""_s, u"1"_s,
         u"1500"_s, u"1500"_s, u"EOL"_s},
        {QString(), u"a,b"_s, u" lead"_s},
        {QString()},
    };
    for (const QStringList &l : lists)
        QCOMPARE(CommaText::split(CommaText::join(l)), l);
}

QTEST_GUILESS_MAIN(TestCommaText)
#include "tst_commatext.moc"
