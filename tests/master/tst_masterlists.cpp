#include "master/CarMaster.h"
#include "master/MasterList.h"
#include "platform/AppFolder.h"
#include "platform/Cp932.h"
#include "platform/SafeFileName.h"
#include "platform/TextList.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Rows = MasterList::Rows;

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Every file below root, relative to it.
QStringList filesBelow(const QString &root)
{
    QStringList out;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(root).relativeFilePath(it.next());
    out.sort();
    return out;
}

// A temporary application folder with an empty Dat/Mst/Mk/ inside a
// temporary parent, so that a file written outside the folder shows too.
struct Sandbox {
    QTemporaryDir parent;
    QString app = parent.filePath(u"app/"_s);
    AppFolder folder{app};
    Sandbox() { QDir().mkpath(folder.carFolder()); }
};

} // namespace

class TestMasterLists : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listFile_data();
    void listFile();
    void amountText_data();
    void amountText();
    void carMasterRoundTrip();
    void carNameText_data();
    void carNameText();
    void badNamesAreRefused_data();
    void badNamesAreRefused();
    void makerListNameIsNoMaker();
    void sortNames();
    void bundledData();
};

// The file as found, the rows shown, the file as the next save writes it.
void TestMasterLists::listFile_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("file"); // UTF-8 here, CP932 on disk
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QByteArray>("saved");

    QTest::newRow("missing one-column list")
        << u"作業名"_s << false << QByteArray() << Rows{{u""_s}} << "\"\"\r\n"_ba;
    QTest::newRow("zero-line one-column list")
        << u"担当者"_s << true << QByteArray() << Rows{{u""_s}} << "\"\"\r\n"_ba;
    QTest::newRow("zero-line two-column list")
        << u"諸費用"_s << true << QByteArray() << Rows{{u""_s, u""_s}} << ",\r\n"_ba;
    QTest::newRow("extra fields of a one-column list")
        << u"担当者"_s << true << "佐藤,主任\r\n山田 太郎\r\n"_ba << Rows{{u"佐藤"_s}, {u"山田"_s}}
        << "佐藤\r\n山田\r\n"_ba;
    QTest::newRow("extra fields of a two-column list")
        << u"諸費用"_s << true << "洗車代,1500,税込\r\n"_ba << Rows{{u"洗車代"_s, u"1500"_s}}
        << "洗車代,1500\r\n"_ba;
    QTest::newRow("quoted name with a space")
        << u"担当者"_s << true << "\"山田 太郎\"\n"_ba << Rows{{u"山田 太郎"_s}} << "\"山田 太郎\"\r\n"_ba;
    QTest::newRow("missing amount, CR line ends")
        << u"諸費用"_s << true << "代車代\r検査手数料,2200"_ba
        << Rows{{u"代車代"_s, u""_s}, {u"検査手数料"_s, u"2200"_s}} << "代車代,\r\n検査手数料,2200\r\n"_ba;
    QTest::newRow("other list names have two columns")
        << u"部品"_s << true << "オイル,3000\r\n"_ba << Rows{{u"オイル"_s, u"3000"_s}}
        << "オイル,3000\r\n"_ba;
}

void TestMasterLists::listFile()
{
    QFETCH(QString, list);
    QFETCH(bool, present);
    QFETCH(QByteArray, file);
    QFETCH(Rows, rows);
    QFETCH(QByteArray, saved);
    Sandbox box;
    const QString path = box.folder.masterListFile(list);
    if (present)
        QVERIFY(writeBytes(path, Cp932::encode(QString::fromUtf8(file))));

    const Rows shown = MasterList::load(box.folder, list);
    QCOMPARE(shown, rows);
    QString error;
    QVERIFY2(MasterList::save(box.folder, list, shown, &error), qPrintable(error));
    QCOMPARE(readBytes(path), Cp932::encode(QString::fromUtf8(saved)));
}

void TestMasterLists::amountText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("whole number") << u"1500"_s << u"1500"_s;
    QTest::newRow("letters after digits") << u"12a"_s << u""_s;
    QTest::newRow("blanks around") << u" 330 "_s << u"330"_s;
    QTest::newRow("grouped") << u"1,500"_s << u""_s;
    QTest::newRow("decimal") << u"1.5"_s << u""_s;
    QTest::newRow("negative") << u"-9999"_s << u"-9999"_s;
    QTest::newRow("empty") << u""_s << u""_s;
}

void TestMasterLists::amountText()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QCOMPARE(MasterList::amountText(typed), kept);
}

void TestMasterLists::carMasterRoundTrip()
{
    Sandbox box;
    const QStringList makers{u"トヨタ"_s, u"三菱ふそう"_s, u""_s, u"Mercedes-Benz"_s};
    QVERIFY(CarMaster::saveMakers(box.folder, makers));
    QCOMPARE(readBytes(box.folder.makersFile()),
             Cp932::encode(u"トヨタ\r\n三菱ふそう\r\n\r\nMercedes-Benz\r\n"_s));
    QCOMPARE(CarMaster::makers(box.folder), makers);

    const QStringList names{u"ランドクルーザー 300"_s, u""_s, u"プリウス"_s};
    QVERIFY(CarMaster::saveCarNames(box.folder, u"トヨタ"_s, names));
    QCOMPARE(readBytes(box.folder.carFolder() + u"トヨタ"_s),
             Cp932::encode(u"ランドクルーザー 300\r\n\r\nプリウス\r\n"_s));
    QCOMPARE(CarMaster::carNames(box.folder, u"トヨタ"_s), names);

    // A maker without a file has no car names; an empty maker writes nothing.
    QCOMPARE(CarMaster::carNames(box.folder, u"三菱ふそう"_s), QStringList());
    QVERIFY(CarMaster::saveCarNames(box.folder, QString(), names));
    // Nor does a maker without a file that gets only empty rows; a list that
    // was emptied is written.
    QVERIFY(CarMaster::saveCarNames(box.folder, u"三菱ふそう"_s, {u""_s}));
    QCOMPARE(filesBelow(box.folder.carFolder()), (QStringList{u"Maker.dat"_s, u"トヨタ"_s}));
    QVERIFY(CarMaster::saveCarNames(box.folder, u"トヨタ"_s, {u""_s}));
    QCOMPARE(readBytes(box.folder.carFolder() + u"トヨタ"_s), "\r\n"_ba);
    QVERIFY(CarMaster::saveCarNames(box.folder, u"トヨタ"_s, names));

    // Case does not count in the names of car-name files.
    QVERIFY(writeBytes(box.folder.carFolder() + u"BMW"_s, "X5\r\n"));
    QCOMPARE(CarMaster::carNames(box.folder, u"bmw"_s), QStringList{u"X5"_s});

    QVERIFY(CarMaster::removeCarNames(box.folder, u"トヨタ"_s));
    QVERIFY(CarMaster::removeCarNames(box.folder, u"トヨタ"_s));
    QCOMPARE(CarMaster::carNames(box.folder, u"トヨタ"_s), QStringList());
}

void TestMasterLists::carNameText_data()
{
    QTest::addColumn<QString>("maker");
    QTest::addColumn<QString>("car");
    QTest::addColumn<QString>("text");
    QTest::newRow("maker and car") << u"ホンダ"_s << u"N-BOX"_s << u"ホンダ N-BOX"_s;
    QTest::newRow("maker without car names") << u"いすゞ"_s << u""_s << u"いすゞ"_s;
    QTest::newRow("car name only") << u""_s << u"ミラ"_s << u"ミラ"_s;
    QTest::newRow("blanks at the ends") << u" 日産"_s << u"ノート　"_s << u"日産 ノート"_s;
}

void TestMasterLists::carNameText()
{
    QFETCH(QString, maker);
    QFETCH(QString, car);
    QFETCH(QString, text);
    QCOMPARE(CarMaster::carNameText(maker, car), text);
}

void TestMasterLists::badNamesAreRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("parent folder") << u"../担当者"_s;
    QTest::newRow("dot dot") << u".."_s;
    QTest::newRow("slash") << u"a/b"_s;
    QTest::newRow("backslash") << u"..\\x"_s;
    QTest::newRow("question mark") << u"何?"_s;
    QTest::newRow("colon") << u"C:x"_s;
    QTest::newRow("device name") << u"CON"_s;
    QTest::newRow("device name with extension") << u"com1.txt"_s;
    QTest::newRow("trailing dot") << u"ホンダ."_s;
    QTest::newRow("trailing space") << u"ホンダ "_s;
}

void TestMasterLists::badNamesAreRefused()
{
    QFETCH(QString, name);
    Sandbox box;
    // A file the name would reach, to show that nothing is read through it.
    QVERIFY(writeBytes(box.folder.masterFolder() + u"担当者"_s, Cp932::encode(u"秘密\r\n"_s)));
    const QStringList before = filesBelow(box.parent.path());

    QString error;
    QVERIFY(!CarMaster::isMakerName(name));
    QVERIFY(!CarMaster::saveCarNames(box.folder, name, {u"x"_s}, &error));
    QCOMPARE(error, SafeFileName::refusal(name));
    QCOMPARE(CarMaster::carNames(box.folder, name), QStringList());
    QVERIFY(CarMaster::removeCarNames(box.folder, name));

    error.clear();
    QVERIFY(!MasterList::save(box.folder, name, {{u"x"_s, u"1"_s}}, &error));
    QCOMPARE(error, SafeFileName::refusal(name));
    QCOMPARE(MasterList::load(box.folder, name).first().first(), QString());

    QCOMPARE(filesBelow(box.parent.path()), before);
}

void TestMasterLists::sortNames()
{
    QStringList names{u"ミラ"_s, u""_s, u"bB"_s, u"Alto"_s, u"alpha"_s, u"アルト"_s, u""_s};
    CarMaster::sortNames(names);
    QCOMPARE(names, (QStringList{u""_s, u""_s, u"alpha"_s, u"Alto"_s, u"bB"_s, u"アルト"_s, u"ミラ"_s}));
}

// The maker list shares its folder with the car-name files.
void TestMasterLists::makerListNameIsNoMaker()
{
    Sandbox box;
    QVERIFY(!CarMaster::isMakerName(u"maker.DAT"_s));
    QString error;
    QVERIFY(!CarMaster::saveCarNames(box.folder, u"Maker.dat"_s, {u"x"_s}, &error));
    QCOMPARE(error, CarMaster::refusal(u"Maker.dat"_s));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(box.folder.makersFile()));
}

// The lists installed with the program read back as real CP932 text, and
// every maker has its car names.
void TestMasterLists::bundledData()
{
    const AppFolder bundled(QStringLiteral(TORVANE_DATA_DIR "/.."));
    const QStringList makers = CarMaster::makers(bundled);
    for (const QString &domestic :
         {u"トヨタ"_s, u"レクサス"_s, u"日産"_s, u"ホンダ"_s, u"マツダ"_s, u"スバル"_s, u"ダイハツ"_s,
          u"スズキ"_s, u"三菱"_s, u"いすゞ"_s, u"日野"_s, u"三菱ふそう"_s, u"UDトラックス"_s})
        QVERIFY2(makers.contains(domestic), qPrintable(domestic));
    for (const QString &maker : makers) {
        QVERIFY2(CarMaster::isMakerName(maker), qPrintable(maker));
        const QStringList cars = CarMaster::carNames(bundled, maker);
        QVERIFY2(cars.size() >= 4, qPrintable(maker));
        QVERIFY(!cars.join(QString()).contains(QChar::ReplacementCharacter));
    }
    QVERIFY(CarMaster::carNames(bundled, u"トヨタ"_s).contains(u"プリウス"_s));

    const QList<std::pair<QString, QString>> lists{
        {u"担当者"_s, u"佐藤"_s}, {u"作業名"_s, u"オイル交換"_s}, {u"諸費用"_s, u"洗車代"_s}};
    for (const auto &[list, entry] : lists) {
        const Rows rows = MasterList::load(bundled, list);
        QVERIFY2(rows.size() >= 5, qPrintable(list));
        QVERIFY2(
            std::any_of(rows.begin(), rows.end(), [&](const QStringList &r) { return r.first() == entry; }),
            qPrintable(list));
        if (MasterList::columnCount(list) == 2)
            for (const QStringList &row : rows)
                QCOMPARE(MasterList::amountText(row.at(1)), row.at(1));
    }
}

QTEST_GUILESS_MAIN(TestMasterLists)
#include "tst_masterlists.moc"
