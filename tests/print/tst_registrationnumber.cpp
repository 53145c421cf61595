#include "print/LogoSetting.h"
#include "print/RegistrationNumber.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestRegistrationNumber : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void check_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("valid");
        // 7000012050002 is the National Tax Agency's own corporate number.
        QTest::newRow("valid") << u"T7000012050002"_s << u"T7000012050002"_s << true;
        QTest::newRow("valid 2") << u"T8010001008843"_s << u"T8010001008843"_s << true;
        QTest::newRow("one digit off") << u"T7000012050003"_s << u"T7000012050003"_s << false;
        QTest::newRow("wrong check digit") << u"T6000012050002"_s << u"T6000012050002"_s << false;
        QTest::newRow("too short") << u"T700001205000"_s << u"T700001205000"_s << false;
        QTest::newRow("too long") << u"T70000120500021"_s << u"T70000120500021"_s << false;
        QTest::newRow("lower-case t") << u"t7000012050002"_s << u"T7000012050002"_s << true;
        QTest::newRow("full width") << u"Ｔ７０００－０１２０－５０００２"_s << u"T7000012050002"_s << true;
        QTest::newRow("bare digits") << u"7000012050002"_s << u"T7000012050002"_s << true;
        QTest::newRow("letters") << u"T70000120500AB"_s << u"T70000120500AB"_s << false;
        QTest::newRow("empty") << QString() << QString() << false;
    }
    void check()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(bool, valid);
        QCOMPARE(RegistrationNumber::normalise(typed), stored);
        QCOMPARE(RegistrationNumber::isValid(stored), valid);
    }

    void settingKeepsItsLinesWithOrWithoutNumber()
    {
        LogoSetting s = LogoSetting::defaults();
        QVERIFY(s.registrationNumber().isEmpty());
        s.setRegistrationNumber(u"T7000012050002"_s);
        QCOMPARE(s.lines().size(), LogoSetting::LineCount + 1);
        QCOMPARE(s.registrationNumber(), u"T7000012050002"_s);
        QCOMPARE(s.line(4), LogoSetting::defaults().line(4));
        s.setRegistrationNumber(QString());
        QCOMPARE(s.lines(), LogoSetting::defaults().lines());
    }
};

QTEST_GUILESS_MAIN(TestRegistrationNumber)
#include "tst_registrationnumber.moc"
