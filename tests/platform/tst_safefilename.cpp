#include "platform/SafeFileName.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestSafeFileName : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void names_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("safe");
        QTest::newRow("japanese") << u"トヨタ"_s << true;
        QTest::newRow("with dot inside") << u"Ver.2 設定"_s << true;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("dot") << u"."_s << false;
        QTest::newRow("dot dot") << u".."_s << false;
        QTest::newRow("slash") << u"../Etc/x"_s << false;
        QTest::newRow("backslash") << u"a\\b"_s << false;
        QTest::newRow("colon") << u"C:x"_s << false;
        QTest::newRow("question") << u"何?"_s << false;
        QTest::newRow("control") << u"a\tb"_s << false;
        QTest::newRow("trailing dot") << u"name."_s << false;
        QTest::newRow("trailing space") << u"name "_s << false;
        QTest::newRow("CON") << u"CON"_s << false;
        QTest::newRow("con.txt") << u"con.txt"_s << false;
        QTest::newRow("COM1") << u"com1"_s << false;
        QTest::newRow("LPT9.dat") << u"LPT9.dat"_s << false;
        QTest::newRow("COM10 is a name") << u"COM10"_s << true;
        QTest::newRow("CONSOLE is a name") << u"CONSOLE"_s << true;
    }
    void names()
    {
        QFETCH(QString, name);
        QFETCH(bool, safe);
        QCOMPARE(SafeFileName::isSafe(name), safe);
    }
};

QTEST_GUILESS_MAIN(TestSafeFileName)
#include "tst_safefilename.moc"
