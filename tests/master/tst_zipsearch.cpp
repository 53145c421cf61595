#include "master/ZipDictionary.h"
#include "master/ZipSearch.h"
#include "platform/AppFolder.h"
#include "platform/TextList.h"
#include "support/ZipFixture.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestZipSearch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void matches_data();
    void matches();
    void recordsAsAPersonWritesThem();
    void cleanTown_data();
    void cleanTown();
    void codeKey_data();
    void codeKey();
    void stopAndFailure();
    void dictionaryList();
};

namespace {

QList<ZipRecord> searchAll(const QString &path, const QString &keyword)
{
    QList<ZipRecord> found;
    ZipSearch(keyword).searchFile(path, [&](const ZipRecord &r) { found.append(r); });
    return found;
}

QStringList codes(const QList<ZipRecord> &records)
{
    QStringList out;
    for (const ZipRecord &r : records)
        out.append(r.code);
    return out;
}

} // namespace

void TestZipSearch::matches_data()
{
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("code prefix and address text")
        << u"100"_s << QStringList{u"1000001"_s, u"1000005"_s, u"1006890"_s, u"1010021"_s};
    QTest::newRow("code prefix") << u"0600"_s << QStringList{u"0600000"_s, u"0600042"_s, u"0600061"_s};
    QTest::newRow("hyphen, full-width digits") << u"１００－０００１"_s << QStringList{u"1000001"_s};
    QTest::newRow("ASCII hyphen") << u"100-0005"_s << QStringList{u"1000005"_s};
    QTest::newRow("city and town together") << u"千代田区丸の内"_s << QStringList{u"1000005"_s, u"1006890"_s};
    QTest::newRow("substring of the town") << u"通西"_s << QStringList{u"0600042"_s};
    QTest::newRow("split record, once") << u"南一条"_s << QStringList{u"0600061"_s};
    QTest::newRow("second line of a split record is a note") << u"２８丁目"_s << QStringList{};
    QTest::newRow("parenthesised note") << u"次のビル"_s << QStringList{};
    QTest::newRow("blank-town marker") << u"以下に掲載"_s << QStringList{};
    // 央区 is 89 9B 8B E6: 9B 8B, a trail byte and the next lead byte, is 寞.
    QTest::newRow("across a character boundary") << u"寞"_s << QStringList{};
    QTest::newRow("line of few fields") << u"1234"_s << QStringList{u"1234000"_s};
    QTest::newRow("empty keyword") << QString() << QStringList{};
    QTest::newRow("not in CP932") << u"😀"_s << QStringList{};
}

// Each case against the CP932 file and its UTF-8 forms, with and without a
// byte-order mark: the same records.
void TestZipSearch::matches()
{
    QFETCH(QString, keyword);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    using ZipFixture::Form;
    for (Form form : {Form::Cp932, Form::Utf8, Form::Utf8Bom}) {
        const QString path =
            ZipFixture::write(dir.path(), u"d%1.csv"_s.arg(int(form)), ZipFixture::sample(), form);
        const QList<ZipRecord> found = searchAll(path, keyword);
        QCOMPARE(codes(found), expected);
        if (form != Form::Cp932)
            QCOMPARE(found, searchAll(dir.filePath(u"d0.csv"_s), keyword));
    }
}

void TestZipSearch::recordsAsAPersonWritesThem()
{
    QTemporaryDir dir;
    const QString path = ZipFixture::write(dir.path(), u"d.csv"_s, ZipFixture::sample());
    const QList<ZipRecord> expected{
        {u"0600000"_s, u"北海道"_s, u"札幌市中央区"_s},
        {u"0600042"_s, u"北海道"_s, u"札幌市中央区大通西"_s},
        {u"0600061"_s, u"北海道"_s, u"札幌市中央区南一条西"_s},
    };
    QCOMPARE(searchAll(path, u"060"_s), expected);
    QCOMPARE(searchAll(path, u"1006890"_s),
             (QList<ZipRecord>{{u"1006890"_s, u"東京都"_s, u"千代田区丸の内ＪＰタワー"_s}}));
    QCOMPARE(searchAll(path, u"1234"_s), (QList<ZipRecord>{{u"1234000"_s, {}, {}}}));
}

void TestZipSearch::cleanTown_data()
{
    QTest::addColumn<QString>("town");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << u"丸の内"_s << u"丸の内"_s;
    QTest::newRow("blank-town marker") << u"以下に掲載がない場合"_s << QString();
    QTest::newRow("address follows the town") << u"三宅村の次に番地がくる場合"_s << QString();
    QTest::newRow("whole place") << u"一円"_s << QString();
    QTest::newRow("note") << u"丸の内（次のビルを除く）"_s << u"丸の内"_s;
    QTest::newRow("floor of a building") << u"丸の内ＪＰタワー（１階）"_s << u"丸の内ＪＰタワー"_s;
    QTest::newRow("nested") << u"旭ケ丘（１丁目（番地））"_s << u"旭ケ丘"_s;
    QTest::newRow("unclosed") << u"南一条西（１～１９丁目、"_s << u"南一条西"_s;
    QTest::newRow("joined split") << u"南一条西（１～１９丁目、２０～２８丁目）"_s << u"南一条西"_s;
    QTest::newRow("stray closing") << u"栄）"_s << u"栄）"_s;
}

void TestZipSearch::cleanTown()
{
    QFETCH(QString, town);
    QFETCH(QString, expected);
    QCOMPARE(ZipDictionary::cleanTown(town), expected);
}

void TestZipSearch::codeKey_data()
{
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ASCII") << u"100"_s << u"100"_s;
    QTest::newRow("full-width") << u"１００"_s << u"100"_s;
    QTest::newRow("hyphen") << u"100-0001"_s << u"1000001"_s;
    QTest::newRow("full-width hyphen") << u"１００－０００１"_s << u"1000001"_s;
    QTest::newRow("address text") << u"丸の内1-1"_s << u"丸の内1-1"_s;
    QTest::newRow("hyphen alone") << u"-"_s << u"-"_s;
}

void TestZipSearch::codeKey()
{
    QFETCH(QString, keyword);
    QFETCH(QString, expected);
    QCOMPARE(ZipDictionary::codeKey(keyword), expected);
}

void TestZipSearch::stopAndFailure()
{
    QTemporaryDir dir;
    const QStringList lines = ZipFixture::many(5000);
    const QString path = ZipFixture::write(dir.path(), u"big.csv"_s, lines);
    QList<qint64> progress;
    int found = 0;
    const ZipSearch search(u"千代田"_s);
    const auto stopAtOnce = [&](qint64 n) {
        progress.append(n);
        return false;
    };
    QCOMPARE(search.searchFile(
                 path, [&](const ZipRecord &) { ++found; }, stopAtOnce),
             ZipSearch::Outcome::Stopped);
    QCOMPARE(progress.size(), 1);
    QVERIFY(progress.first() > 0 && progress.first() < 5000);
    QCOMPARE(found, progress.first()); // every line read so far was reported

    progress.clear();
    found = 0;
    const auto goOn = [&](qint64 n) {
        progress.append(n);
        return true;
    };
    QCOMPARE(search.searchFile(
                 path, [&](const ZipRecord &) { ++found; }, goOn),
             ZipSearch::Outcome::Finished);
    QCOMPARE(found, 5000);
    QVERIFY(progress.size() > 1);
    QCOMPARE(progress.last(), 5000);

    QCOMPARE(search.searchFile(dir.filePath(u"missing.csv"_s), [](const ZipRecord &) {}),
             ZipSearch::Outcome::Failed);
}

void TestZipSearch::dictionaryList()
{
    QTemporaryDir dir;
    const AppFolder folder(dir.path());
    QCOMPARE(ZipDictionary::listed(folder), QStringList{});
    ZipFixture::write(folder.zipFolder(), u"a.csv"_s, ZipFixture::sample());
    ZipFixture::write(folder.zipFolder(), u"B.CSV"_s, ZipFixture::sample());
    ZipFixture::write(dir.path(), u"outside.csv"_s, ZipFixture::sample());
    const QStringList names{u"a.csv"_s, u"gone.csv"_s, u"../outside.csv"_s, u""_s, u"b.csv"_s};
    QVERIFY(ZipDictionary::writeList(folder, names));
    QCOMPARE(ZipDictionary::listed(folder),
             (QStringList{u"a.csv"_s, u"gone.csv"_s, u"../outside.csv"_s, u"b.csv"_s}));
    QCOMPARE(ZipDictionary::usable(folder), (QStringList{u"a.csv"_s, u"b.csv"_s}));
    QCOMPARE(TextList::read(folder.zipListFile()).size(), 5); // the list file is left alone
}

QTEST_GUILESS_MAIN(TestZipSearch)
#include "tst_zipsearch.moc"
