#include "platform/Cp932.h"
#include "platform/IniFile.h"
#include "slip/SlipKeyTable.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <tuple>
#include <utility>

using namespace Qt::StringLiterals;
using namespace SlipFile;

namespace {

const QDate Today(2026, 12, 10);

Context context()
{
    return {LineCategoryList::fromLines({u"整備,1"_s, u"部品,2"_s, u"値引,3"_s, u"小計,4"_s}), Today};
}

// Every member of SlipData in declaration order. The structured binding in
// members() stops compiling when a member is added or removed, until this
// list names it; so no member can be left out of the checks below.
#define SLIP_MEMBERS                                                                                         \
    sections, slipCode, slipDiv, slipDate, charge, slipType, custName, custTitle, zip1, zip2, city, add1,    \
        add2, tel, taxRate, taxCut, taxCalcMode, noCar, num1, num2, num3, num4, carName, first, noFirst,     \
        check, noCheck, kiro, eSize, typeCode, typeNum1, typeNum2, engine, chassis, ravor, display,          \
        tecTotal, partTotal, rows, wTax, ins, stamp, costRows, costTax, mnt, cst, ttl, inc, mntTx, cstTx,    \
        txTtl, last, info, memo
#define SLIP_TEXT_OF(...) #__VA_ARGS__
#define SLIP_TEXT(...) SLIP_TEXT_OF(__VA_ARGS__)

auto members(const SlipData &s)
{
    const auto &[SLIP_MEMBERS] = s;
    return std::tie(SLIP_MEMBERS);
}

QStringList memberNames()
{
    QStringList names = QString::fromLatin1(SLIP_TEXT(SLIP_MEMBERS)).split(u',');
    for (QString &name : names)
        name = name.trimmed();
    return names;
}

// How a member differs between two slips. Arrays and the structs inside them
// count as changed only when every field of every element changed.
enum class Change { None, Whole, Partly };

Change combine(std::initializer_list<Change> parts)
{
    bool any = false, all = true;
    for (Change c : parts) {
        any = any || c != Change::None;
        all = all && c == Change::Whole;
    }
    return all ? Change::Whole : any ? Change::Partly : Change::None;
}

template <class T> Change change(const T &a, const T &b)
{
    return a == b ? Change::None : Change::Whole;
}

Change change(const SlipData::Section &a, const SlipData::Section &b)
{
    return combine({change(a.open, b.open), change(a.label, b.label), change(a.labelColor, b.labelColor)});
}

Change change(const SlipData::CostRow &a, const SlipData::CostRow &b)
{
    return combine({change(a.name, b.name), change(a.price, b.price), change(a.taxable, b.taxable)});
}

template <class T, size_t N> Change change(const std::array<T, N> &a, const std::array<T, N> &b)
{
    Change all = change(a[0], b[0]);
    for (size_t i = 1; i < N; ++i)
        all = combine({all, change(a[i], b[i])});
    return all;
}

// The names of the members that differ, "(partly)" where only some fields
// do; joined, so that a failing comparison shows them.
QString changedMembers(const SlipData &a, const SlipData &b)
{
    static const QStringList names = memberNames();
    QStringList out;
    const auto ta = members(a);
    const auto tb = members(b);
    const auto report = [&out](size_t i, Change c) {
        if (c != Change::None)
            out << names.at(qsizetype(i)) + (c == Change::Partly ? u" (partly)"_s : QString());
    };
    [&]<size_t... I>(std::index_sequence<I...>)
    {
        (report(I, change(std::get<I>(ta), std::get<I>(tb))), ...);
    }
    (std::make_index_sequence<std::tuple_size_v<decltype(ta)>>());
    return out.join(u", "_s);
}

TRowData row(const QString &div, const QString &text, qint64 taxRate, qint64 price)
{
    TRowData r;
    r.LineDiv = div;
    r.TaxRate = taxRate;
    r.TextA = text;
    r.WorkName = text + u" 作業"_s;
    r.WorkPoint = 12500;
    r.WorkPrice = 3000 * Fixed::One;
    r.Count = 2 * Fixed::One + 5000;
    r.UnitPrice = price * Fixed::One;
    r.Price = price * Fixed::One * 5 / 2;
    return r;
}

// A slip in which every stored key of the table holds a value of its own,
// unlike any default: the table itself says which fields there are.
SlipData distinctiveSlip()
{
    const QList<TRowData> rows = {row(u"整備"_s, u"オイル交換"_s, -Fixed::One, 1500),
                                  row(QString(), u"(メモ行)"_s, 0, 0),
                                  row(u"値引"_s, u"会員割引"_s, 8 * Fixed::One, 400)};
    SlipData s;
    qint64 n = 0;
    for (const SlipKey &k : keyTable()) {
        if (!k.set)
            continue;
        ++n;
        const QString tag = k.section + u'/' + k.key;
        switch (k.type) {
        case KeyType::Text:
            k.set(s, u"値 "_s + tag);
            break;
        case KeyType::Integer:
            k.set(s, 100 + n);
            break;
        case KeyType::Bool:
            k.set(s, true);
            break;
        case KeyType::Decimal:
            k.set(s, n * Fixed::One + 2500);
            break;
        case KeyType::Date:
            k.set(s, QDate(2001, 2, 3).addDays(n));
            break;
        case KeyType::CostRow:
            k.set(s, SlipData::CostRow{u"費目 "_s + tag, QString::number(1000 + n), true});
            break;
        case KeyType::LineRows:
            k.set(s, rows);
            break;
        case KeyType::ClearSection:
            break;
        }
    }
    return s;
}

} // namespace

class TestSlipKeyTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tableCoversEverySlipMember();
    void everyFieldRoundTripsInItsScope_data();
    void everyFieldRoundTripsInItsScope();
    void unreadableValuesTakeTheirDefaults_data();
    void unreadableValuesTakeTheirDefaults();
};

void TestSlipKeyTable::tableCoversEverySlipMember()
{
    // Filling every stored key changes every member, in all of its fields.
    QCOMPARE(changedMembers(SlipData(), distinctiveSlip()), memberNames().join(u", "_s));

    // Key names match without regard to case: no key may be listed twice.
    QSet<QString> seen;
    for (const SlipKey &k : keyTable()) {
        if (k.type == KeyType::ClearSection)
            continue;
        const QString name = (k.section + u'/' + k.key).toLower();
        QVERIFY2(!seen.contains(name), qPrintable(name));
        seen.insert(name);
        QCOMPARE(bool(k.set), !k.printOnly);
    }
}

void TestSlipKeyTable::everyFieldRoundTripsInItsScope_data()
{
    QTest::addColumn<int>("scope");
    QTest::addColumn<QStringList>("fields");

    const QStringList customer{u"custName"_s, u"custTitle"_s, u"zip1"_s, u"zip2"_s,
                               u"city"_s,     u"add1"_s,      u"add2"_s, u"tel"_s};
    // noCar is not among them: the round trip keeps it false.
    const QStringList vehicle{u"num1"_s,     u"num2"_s,     u"num3"_s,    u"num4"_s,
                              u"carName"_s,  u"first"_s,    u"noFirst"_s, u"check"_s,
                              u"noCheck"_s,  u"kiro"_s,     u"eSize"_s,   u"typeCode"_s,
                              u"typeNum1"_s, u"typeNum2"_s, u"engine"_s,  u"chassis"_s};
    QStringList all = memberNames();
    all.removeOne(u"noCar"_s);

    QTest::newRow("sstAll") << int(sstAll) << all;
    QTest::newRow("sstCustomer") << int(sstCustomer) << customer;
    QTest::newRow("sstCar") << int(sstCar) << vehicle;
    QTest::newRow("sstCustCar") << int(sstCustCar) << customer + vehicle;
    QTest::newRow("sstLines") << int(sstLines) << QStringList{u"rows"_s};
    QTest::newRow("sstSlip") << int(sstSlip)
                             << QStringList{u"slipType"_s,  u"ravor"_s,    u"display"_s, u"tecTotal"_s,
                                            u"partTotal"_s, u"rows"_s,     u"wTax"_s,    u"ins"_s,
                                            u"stamp"_s,     u"costRows"_s, u"costTax"_s, u"mnt"_s,
                                            u"cst"_s,       u"ttl"_s,      u"inc"_s,     u"mntTx"_s,
                                            u"cstTx"_s,     u"txTtl"_s,    u"last"_s,    u"info"_s,
                                            u"memo"_s};
}

void TestSlipKeyTable::everyFieldRoundTripsInItsScope()
{
    QFETCH(int, scope);
    QFETCH(QStringList, fields);
    const auto saveType = TSlipSaveType(scope);
    SlipData original = distinctiveSlip();
    // "車両なし" would blank the vehicle on saving; that has its own test.
    original.noCar = false;

    QTemporaryDir dir;
    const QString path = dir.filePath(u"s.tvx"_s);
    {
        IniFile ini(path);
        QString error;
        QVERIFY2(SlipFile::save(ini, original, saveType, context(), &error), qPrintable(error));
    }
    SlipData back;
    SlipFile::read(IniFile(path), back, saveType, context());

    // The scope's keys bring back the original values...
    SlipData expected;
    for (const SlipKey &k : keyTable()) {
        if (k.set && groupsOf(saveType).testFlag(k.group))
            k.set(expected, k.get(original, context()));
    }
    QCOMPARE(changedMembers(expected, back), QString());
    // ...of exactly these fields; all others keep their defaults.
    QCOMPARE(changedMembers(SlipData(), back), fields.join(u", "_s));
}

void TestSlipKeyTable::unreadableValuesTakeTheirDefaults_data()
{
    QTest::addColumn<bool>("garbage");
    QTest::newRow("missing file") << false;
    QTest::newRow("numbers, flags and dates that do not convert") << true;
}

void TestSlipKeyTable::unreadableValuesTakeTheirDefaults()
{
    QFETCH(bool, garbage);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"d.tvx"_s);
    if (garbage) {
        QString text;
        QString section;
        for (const SlipKey &k : keyTable()) {
            if (!k.set || k.type == KeyType::Text || k.type == KeyType::CostRow)
                continue;
            if (k.section != section)
                text += u'[' + (section = k.section) + u"]\r\n"_s;
            text += k.key + u"=x\r\n"_s;
        }
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(Cp932::encode(text));
    }

    // The defaults of a slip, with a missing slip date taken as the day of
    // the load and missing vehicle dates as day zero.
    SlipData expected;
    expected.slipDate = Today;
    expected.first = expected.check = SlipData::dayZero();
    expected.memo = {QString(), QString(), QString()};

    SlipData s = distinctiveSlip();
    s.memo << u"四"_s << u"五"_s; // the note has three lines after any load
    SlipFile::read(IniFile(path), s, sstAll, context());
    QCOMPARE(changedMembers(expected, s), QString());
}

QTEST_GUILESS_MAIN(TestSlipKeyTable)
#include "tst_slipkeytable.moc"
