#include "platform/Cp932.h"
#include "platform/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString writeFile(const QTemporaryDir &dir, const QByteArray &bytes)
{
    const QString path = dir.filePath(u"t.ini"_s);
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

} // namespace

class TestIniFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void read_data();
    void read();
    void readInteger_data();
    void readInteger();
    void write_data();
    void write();
    void listsKeepFileOrder();
    void valueLimitIs2047Bytes();
    void flushIsAtomicAndOnlyWhenDirty();
    void unmappableCharactersAreCollected();
    void valueCannotInjectLines();
};

void TestIniFile::read_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value"); // "<def>" = the default came back

    QTest::newRow("trimmed") << Cp932::encode(u"[Cust]\r\nName=  山田 太郎  \r\n"_s) << u"Cust"_s
                             << u"Name"_s << u"山田 太郎"_s;
    QTest::newRow("section case") << QByteArray("[CUST]\r\nname=1\r\n") << u"cust"_s << u"NAME"_s
                                  << u"1"_s;
    QTest::newRow("double quotes") << QByteArray("[a]\r\nk=\" v \"\r\n") << u"a"_s << u"k"_s << u" v "_s;
    QTest::newRow("single quotes") << QByteArray("[a]\r\nk='v'\r\n") << u"a"_s << u"k"_s << u"v"_s;
    QTest::newRow("unmatched quotes kept")
        << QByteArray("[a]\r\nk=\"v'\r\n") << u"a"_s << u"k"_s << u"\"v'"_s;
    QTest::newRow("first duplicate key wins")
        << QByteArray("[a]\r\nk=1\r\nK=2\r\n") << u"a"_s << u"k"_s << u"1"_s;
    QTest::newRow("first duplicate section wins")
        << QByteArray("[a]\r\nk=1\r\n[A]\r\nk=2\r\nj=3\r\n") << u"a"_s << u"j"_s << u"<def>"_s;
    QTest::newRow("missing key") << QByteArray("[a]\r\nk=1\r\n") << u"a"_s << u"x"_s << u"<def>"_s;
    QTest::newRow("key of other section")
        << QByteArray("[a]\r\nk=1\r\n[b]\r\n") << u"b"_s << u"k"_s << u"<def>"_s;
    QTest::newRow("line without equals")
        << QByteArray("[a]\r\nk\r\nj=2\r\n") << u"a"_s << u"k"_s << u"<def>"_s;
    QTest::newRow("lf only") << QByteArray("[a]\nk=1\nj=2") << u"a"_s << u"j"_s << u"2"_s;
    QTest::newRow("cr only") << QByteArray("[a]\rk=1\rj=2\r") << u"a"_s << u"j"_s << u"2"_s;
    QTest::newRow("blanks around names")
        << QByteArray("  [ a ]  \r\n  k  =  1\r\n") << u"a"_s << u"k"_s << u"1"_s;
    QTest::newRow("empty value") << QByteArray("[a]\r\nk=\r\n") << u"a"_s << u"k"_s << QString();
    QTest::newRow("equals inside value") << QByteArray("[a]\r\nk=a=b\r\n") << u"a"_s << u"k"_s << u"a=b"_s;
    QTest::newRow("trail byte 0x5D in section name")
        << Cp932::encode(u"[ソ]\r\nk=1\r\n"_s) << u"ソ"_s << u"k"_s << u"1"_s;
}

void TestIniFile::read()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QTemporaryDir dir;
    const IniFile ini(writeFile(dir, file));
    QCOMPARE(ini.readString(section, key, u"<def>"_s), value);
}

void TestIniFile::readInteger_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("decimal") << QByteArray("42") << 42;
    QTest::newRow("negative") << QByteArray("-16777198") << -16777198;
    QTest::newRow("plus") << QByteArray("+7") << 7;
    QTest::newRow("hex 0x") << QByteArray("0x1F") << 31;
    QTest::newRow("hex dollar") << QByteArray("$FF") << 255;
    QTest::newRow("hex all bits") << QByteArray("$FFFFFFFF") << -1;
    QTest::newRow("garbage") << QByteArray("12abc") << -5;
    QTest::newRow("empty") << QByteArray("") << -5;
    QTest::newRow("decimal point") << QByteArray("1.5") << -5;
    QTest::newRow("too large") << QByteArray("2147483648") << -5;
    QTest::newRow("largest") << QByteArray("2147483647") << 2147483647;
    QTest::newRow("double sign") << QByteArray("--1") << -5;
}

void TestIniFile::readInteger()
{
    QFETCH(QByteArray, text);
    QFETCH(int, value);
    QTemporaryDir dir;
    const IniFile ini(writeFile(dir, "[a]\r\nk=" + text + "\r\n"));
    QCOMPARE(ini.readInteger(u"a"_s, u"k"_s, -5), value);
}

void TestIniFile::write_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("new file") << QByteArray() << u"No"_s << u"SlipCode"_s << u"00000012"_s
                              << QByteArray("[No]\r\nSlipCode=00000012\r\n");
    QTest::newRow("update in place keeps spelling")
        << QByteArray("[A]\r\nKey=1\r\nOther=2\r\n") << u"a"_s << u"KEY"_s << u"9"_s
        << QByteArray("[A]\r\nKey=9\r\nOther=2\r\n");
    QTest::newRow("new key at section end")
        << QByteArray("[a]\r\nk=1\r\n\r\n[b]\r\nj=2\r\n") << u"a"_s << u"n"_s << u"3"_s
        << QByteArray("[a]\r\nk=1\r\nn=3\r\n\r\n[b]\r\nj=2\r\n");
    QTest::newRow("new section at file end") << QByteArray("[a]\r\nk=1\r\n") << u"c"_s << u"x"_s << u"名"_s
                                             << QByteArray("[a]\r\nk=1\r\n[c]\r\nx=\x96\xbc\r\n");
    QTest::newRow("other lines kept byte for byte")
        << QByteArray("; note\r\n[a]\nodd line\r\nk = 1 \r\n[b]\rj=\x82\r\n") << u"a"_s << u"k"_s << u"2"_s
        << QByteArray("; note\r\n[a]\r\nodd line\r\nk=2\r\n[b]\r\nj=\x82\r\n");
    QTest::newRow("update first of duplicates") << QByteArray("[a]\r\nk=1\r\nk=2\r\n") << u"a"_s << u"k"_s
                                                << u"3"_s << QByteArray("[a]\r\nk=3\r\nk=2\r\n");
}

void TestIniFile::write()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const QString path = before.isNull() ? dir.filePath(u"new.ini"_s) : writeFile(dir, before);
    IniFile ini(path);
    ini.writeString(section, key, value);
    QCOMPARE(ini.readString(section, key), value);
    QVERIFY(ini.flush());
    QCOMPARE(readFile(path), after);
}

void TestIniFile::listsKeepFileOrder()
{
    QTemporaryDir dir;
    IniFile ini(writeFile(dir, "[Global]\r\nb=1\r\na=2\r\nB=3\r\n[Item1]\r\n[item2]\r\nx=1\r\n[ITEM1]\r\n"));
    QCOMPARE(ini.sections(), (QStringList{u"Global"_s, u"Item1"_s, u"item2"_s}));
    QCOMPARE(ini.keys(u"global"_s), (QStringList{u"b"_s, u"a"_s}));
    QVERIFY(ini.sectionExists(u"ITEM2"_s));
    QVERIFY(ini.valueExists(u"item2"_s, u"X"_s));

    ini.eraseSection(u"item1"_s);
    QCOMPARE(ini.sections(), (QStringList{u"Global"_s, u"item2"_s}));
    ini.deleteKey(u"global"_s, u"B"_s);
    QCOMPARE(ini.readString(u"global"_s, u"b"_s), u"3"_s); // the later duplicate shows through
    ini.writeString(u"Item1"_s, u"n"_s, u"1"_s);           // a removed section comes back at the end
    QVERIFY(ini.flush());
    QCOMPARE(readFile(ini.path()),
             QByteArray("[Global]\r\na=2\r\nB=3\r\n[item2]\r\nx=1\r\n[Item1]\r\nn=1\r\n"));
}

void TestIniFile::valueLimitIs2047Bytes()
{
    QTemporaryDir dir;
    const QByteArray ascii(3000, 'x');
    // 1023 kanji are 2046 bytes; a 1024th would pass the limit.
    const QString kanji = QString(1100, QChar(0x6F22));
    IniFile ini(writeFile(dir, "[a]\r\nk=" + ascii + "\r\nj=" + Cp932::encode(kanji) + "\r\n"));
    QCOMPARE(ini.readString(u"a"_s, u"k"_s).size(), 2047);
    QCOMPARE(ini.readString(u"a"_s, u"j"_s), kanji.left(1023));
}

void TestIniFile::flushIsAtomicAndOnlyWhenDirty()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"x.ini"_s);
    IniFile ini(path);
    QVERIFY(ini.flush());
    QVERIFY(!QFile::exists(path)); // nothing written, nothing created

    ini.writeString(u"a"_s, u"k"_s, u"1"_s);
    QVERIFY(ini.flush());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"x.ini"_s}); // no temporary left behind

    IniFile blocked(dir.filePath(u"missing/y.ini"_s));
    blocked.writeString(u"a"_s, u"k"_s, u"1"_s);
    QString error;
    QVERIFY(!blocked.flush(&error));
    QVERIFY(error.endsWith(u" に書き込めません"_s));
}

void TestIniFile::unmappableCharactersAreCollected()
{
    QTemporaryDir dir;
    IniFile ini(dir.filePath(u"u.ini"_s));
    ini.writeString(u"Cust"_s, u"Name"_s, u"𠮷田"_s);
    QCOMPARE(ini.unmappableCharacters(), u"𠮷"_s);
}

void TestIniFile::valueCannotInjectLines()
{
    QTemporaryDir dir;
    IniFile ini(dir.filePath(u"i.ini"_s));
    ini.writeString(u"a"_s, u"k"_s, u"x\r\n[b]\r\nj=1"_s);
    QVERIFY(ini.flush());
    const IniFile back(ini.path());
    QVERIFY(!back.sectionExists(u"b"_s));
    QCOMPARE(back.readString(u"a"_s, u"k"_s), u"x  [b]  j=1"_s);
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
