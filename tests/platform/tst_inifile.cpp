#include "platform/Cp932.h"
#include "platform/IniFile.h"
#include "platform/TextList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

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
    void unreadableFileIsNeverWritten_data();
    void unreadableFileIsNeverWritten();
    void fileBeyondTwoGigabytesIsUnreadable();
    void flushMergesWithOtherWriters();
};

void TestIniFile::read_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value"); // "<def>" = the default came back

    QTest::newRow("trimmed") << Cp932::encode(u"[Cust]\r\nName=  山田 太郎  \r\n"_s) << u"Cust"_s << u"Name"_s
                             << u"山田 太郎"_s;
    QTest::newRow("section case") << QByteArray("[CUST]\r\nname=1\r\n") << u"cust"_s << u"NAME"_s << u"1"_s;
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
    QVERIFY2(error.contains(u" に書き込めません: フォルダがありません"_s), qPrintable(error));
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

void TestIniFile::unreadableFileIsNeverWritten_data()
{
    QTest::addColumn<bool>("folder"); // a folder where the file should be; else a write-only file
    QTest::addColumn<bool>("list");   // written as a text list; else as an INI file
    QTest::newRow("folder, ini") << true << false;
    QTest::newRow("folder, list") << true << true;
    QTest::newRow("write-only, ini") << false << false;
    QTest::newRow("write-only, list") << false << true;
}

void TestIniFile::fileBeyondTwoGigabytesIsUnreadable()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "[Slip]\r\nNo=42\r\n");
    QVERIFY(QFile::resize(path, IniFile::MaxFileBytes + 1)); // sparse: takes no room
    IniFile ini(path);
    QVERIFY(!ini.readable());
    QVERIFY2(ini.unreadableReason().contains(u"大きすぎます"_s), qPrintable(ini.unreadableReason()));
    ini.writeString(u"Slip"_s, u"No"_s, u"43"_s);
    QVERIFY(!ini.flush());
    QCOMPARE(QFileInfo(path).size(), IniFile::MaxFileBytes + 1);
}

void TestIniFile::unreadableFileIsNeverWritten()
{
    QFETCH(bool, folder);
    QFETCH(bool, list);
#ifdef Q_OS_UNIX
    if (!folder && geteuid() == 0)
        QSKIP("the superuser reads every file");
#endif
    QTemporaryDir dir;
    const QByteArray full = "[Init]\r\nDir=C:\\slips\r\n[Slip]\r\nNo=42\r\n";
    const QString path = folder ? dir.filePath(u"sub"_s) : writeFile(dir, full);
    if (folder) {
        QVERIFY(QDir(dir.path()).mkdir(u"sub"_s));
        writeFile(dir, full); // a neighbour that must not be touched either
    } else {
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
    }

    QString error;
    if (list) {
        QVERIFY(!TextList::write(path, {u"x"_s}, &error));
    } else {
        IniFile ini(path);
        QVERIFY(!ini.readable());
        ini.writeString(u"Init"_s, u"Dir"_s, u"D:\\"_s);
        QVERIFY(!ini.flush(&error));
    }
    QVERIFY2(error.contains(u" に書き込めません: "_s), qPrintable(error));
    QVERIFY2(error.contains(folder ? u"フォルダ"_s : u"アクセスが拒否されました"_s), qPrintable(error));
    if (folder) {
        QVERIFY(QFileInfo(path).isDir());
    } else {
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QCOMPARE(readFile(path), full);
    }
    QCOMPARE(readFile(dir.filePath(u"t.ini"_s)), full);
}

void TestIniFile::flushMergesWithOtherWriters()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "; kept\r\n[a]\r\nold=1\r\ngone=2\r\n[b]\r\nx=1\r\n[c]\r\ny=1\r\n");
    IniFile first(path);
    IniFile second(path);
    first.writeString(u"a"_s, u"mine"_s, u"first"_s);
    first.writeString(u"b"_s, u"x"_s, u"first"_s);
    QVERIFY(first.flush());

    // second read the file before first wrote it: its changes go over the file as it is now.
    second.writeString(u"a"_s, u"old"_s, u"second"_s);
    second.deleteKey(u"a"_s, u"gone"_s);
    second.eraseSection(u"c"_s);
    second.writeString(u"d"_s, u"new"_s, u"second"_s);
    QVERIFY(second.flush());
    QCOMPARE(readFile(path), QByteArray("; kept\r\n[a]\r\nold=second\r\nmine=first\r\n[b]\r\nx=first\r\n"
                                        "[d]\r\nnew=second\r\n"));
    // What second reads now is the merged file.
    QCOMPARE(second.readString(u"b"_s, u"x"_s), u"first"_s);
    QCOMPARE(second.readString(u"a"_s, u"mine"_s), u"first"_s);

    // A later flush of first does not bring back what second removed.
    first.writeString(u"b"_s, u"z"_s, u"3"_s);
    QVERIFY(first.flush());
    const IniFile back(path);
    QVERIFY(!back.valueExists(u"a"_s, u"gone"_s));
    QVERIFY(!back.sectionExists(u"c"_s));
    QCOMPARE(back.readString(u"a"_s, u"old"_s), u"second"_s);
    QCOMPARE(back.readString(u"b"_s, u"z"_s), u"3"_s);
    QVERIFY(!QFile::exists(IniFile::lockPathFor(path)));
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
