#include "platform/IniFile.h"
#include "print/PrintSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using Titles = std::array<QString, 4>;

class TestPrintSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void titlesCopiesAndCorrections();
    void formatAndLogoFiles_data();
    void formatAndLogoFiles();
};

void TestPrintSettings::titlesCopiesAndCorrections()
{
    QTemporaryDir dir;
    const QString app = dir.path() + u'/';
    const QString settingsFile = app + u"torvane.ini"_s;

    // Without any file: the built-in titles, copies 1 and 2, no correction.
    PrintSettings s = PrintSettings::load(app, settingsFile);
    QCOMPARE(s.titlesOf(0), (Titles{u"見積書"_s, u"見積書(控)"_s, QString(), QString()}));
    QCOMPARE(s.titlesOf(2), (Titles{u"納品請求書"_s, u"納品請求書(控)"_s, QString(), QString()}));
    QCOMPARE(s.titlesOf(3), Titles{});
    QCOMPARE(s.copies, (std::array<bool, 4>{true, true, false, false}));
    QCOMPARE(s.fixX, 0.0);

    QVERIFY(QDir().mkpath(app + u"Dat/Mst"_s));
    IniFile def(app + u"Dat/Mst/DefPrDat"_s);
    def.writeString(u"Sig"_s, u"1"_s, u"作業票"_s);
    def.writeString(u"Sig"_s, u"3"_s, u"社内用"_s);
    def.writeBool(u"Fuk"_s, u"0"_s, false);
    def.writeBool(u"Fuk"_s, u"2"_s, true);
    QVERIFY(def.flush());
    QVERIFY(PrintSettings::writeCorrections(settingsFile, 1.5, -2));

    s = PrintSettings::load(app, settingsFile);
    QCOMPARE(s.titlesOf(1), (Titles{u"作業票"_s, u"作業指示書(控)"_s, u"社内用"_s, QString()}));
    QCOMPARE(s.titlesOf(0)[0], u"見積書"_s);
    QCOMPARE(s.copies, (std::array<bool, 4>{false, true, true, false}));
    QCOMPARE(s.fixX, 1.5);
    QCOMPARE(s.fixY, -2.0);
}

void TestPrintSettings::formatAndLogoFiles_data()
{
    // The names in DefPrDat, the files below Dat/, and the paths found
    // (relative to the application folder; empty for none).
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("logo");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("formatPath");
    QTest::addColumn<QString>("logoPath");
    QTest::newRow("spelled as the files")
        << u"見積書"_s << u"デフォルト"_s << QStringList{u"Fmt/見積書.fmt"_s, u"Etc/デフォルト.Dat"_s}
        << u"Dat/Fmt/見積書.fmt"_s << u"Dat/Etc/デフォルト.Dat"_s;
    QTest::newRow("Foo finds foo.dat")
        << QString() << u"Foo"_s << QStringList{u"Etc/foo.dat"_s} << QString() << u"Dat/Etc/foo.dat"_s;
    QTest::newRow("format in another case") << u"Invoice"_s << QString() << QStringList{u"Fmt/invoice.FMT"_s}
                                            << u"Dat/Fmt/invoice.FMT"_s << QString();
    QTest::newRow("missing files") << u"none"_s << u"Foo"_s << QStringList{} << QString()
                                   << u"Dat/Etc/Foo.Dat"_s;
    QTest::newRow("none named") << QString() << QString() << QStringList{u"Fmt/見積書.fmt"_s} << QString()
                                << QString();
}

void TestPrintSettings::formatAndLogoFiles()
{
    QFETCH(QString, format);
    QFETCH(QString, logo);
    QFETCH(QStringList, files);
    QFETCH(QString, formatPath);
    QFETCH(QString, logoPath);
    QTemporaryDir dir;
    const QString app = dir.path() + u'/';
    for (const QString &sub : {u"Dat/Mst"_s, u"Dat/Fmt"_s, u"Dat/Etc"_s})
        QVERIFY(QDir().mkpath(app + sub));
    for (const QString &file : files) {
        QFile f(app + u"Dat/"_s + file);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    IniFile def(app + u"Dat/Mst/DefPrDat"_s);
    if (!format.isEmpty())
        def.writeString(u"Def"_s, u"Fomat"_s, format);
    if (!logo.isEmpty())
        def.writeString(u"Def"_s, u"Logo"_s, logo);
    QVERIFY(def.flush());

    const PrintSettings s = PrintSettings::load(app, app + u"torvane.ini"_s);
    // [Def] Fomat serves every slip kind that names no design of its own.
    for (int kind = 0; kind < 3; ++kind)
        QCOMPARE(s.formatOf(kind), formatPath.isEmpty() ? QString() : app + formatPath);
    QCOMPARE(s.logoPath, logoPath.isEmpty() ? QString() : app + logoPath);
}

QTEST_GUILESS_MAIN(TestPrintSettings)
#include "tst_printsettings.moc"
