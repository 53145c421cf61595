#include "SlipKeyTable.h"

#include <type_traits>

using namespace Qt::StringLiterals;

namespace SlipFile {

namespace {

using G = KeyGroup;
using Getter = std::function<Value(const SlipData &, const Context &)>;

const QString Idx = u"Idx"_s;
const QString No = u"No"_s;
const QString Cust = u"Cust"_s;
const QString Tax = u"Tax"_s;
const QString Car = u"Car"_s;
const QString Line = u"Line"_s;
const QString Cost = u"Cost"_s;
const QString Price = u"Price"_s;
const QString Note = u"Note"_s;
const QString Print = u"Print"_s;

// Whole numbers of every width travel as qint64; everything else as itself.
template <class T> constexpr bool IsWholeNumber = std::is_integral_v<T> && !std::is_same_v<T, bool>;

template <class T> Value toValue(const T &v)
{
    if constexpr (IsWholeNumber<T>)
        return qint64(v);
    else
        return v;
}

template <class T> T fromValue(Value &&v)
{
    if constexpr (IsWholeNumber<T>)
        return T(std::get<qint64>(v));
    else
        return std::get<T>(std::move(v));
}

// A field of SlipData as something that yields a reference to it for a
// const or a mutable slip: a member pointer, or a generic lambda for the
// fields inside arrays.
template <class F> auto fieldRef(F f)
{
    if constexpr (std::is_member_object_pointer_v<F>)
        return [f](auto &s) -> auto &
        {
            return s.*f;
        };
    else
        return f;
}

// A key that is written from and read back into one field.
template <class F>
SlipKey stored(G group, const QString &section, const QString &key, KeyType type, F field, Value def)
{
    const auto ref = fieldRef(field);
    using T = std::remove_cvref_t<decltype(ref(std::declval<SlipData &>()))>;
    return {group,
            section,
            key,
            type,
            false,
            std::move(def),
            [ref](const SlipData &s, const Context &) { return toValue(ref(s)); },
            [ref](SlipData &s, Value v) { ref(s) = fromValue<T>(std::move(v)); }};
}

template <class F>
SlipKey text(G group, const QString &section, const QString &key, F field, const QString &def = {})
{
    return stored(group, section, key, KeyType::Text, field, def);
}

template <class F>
SlipKey integer(G group, const QString &section, const QString &key, F field, qint64 def = 0)
{
    return stored(group, section, key, KeyType::Integer, field, def);
}

template <class F> SlipKey boolean(G group, const QString &section, const QString &key, F field)
{
    return stored(group, section, key, KeyType::Bool, field, false);
}

// Text that is not a number reads as 0, which is therefore every decimal key's default.
template <class F> SlipKey decimal(G group, const QString &section, const QString &key, F field)
{
    return stored(group, section, key, KeyType::Decimal, field, qint64(0));
}

template <class F> SlipKey date(G group, const QString &section, const QString &key, F field, Value def)
{
    return stored(group, section, key, KeyType::Date, field, std::move(def));
}

// A key written for the print formats only: derived from other fields and
// never read back.
SlipKey printed(G group, const QString &section, const QString &key, KeyType type, Getter get)
{
    return {group, section, key, type, true, {}, std::move(get), {}};
}

// With "車両なし" the vehicle controls are not stored: the key gets the value
// of an absent vehicle instead (empty texts, today's dates, "不明" and
// "車検なし" set, no mileage or size).
SlipKey vehicle(SlipKey k, Value absent)
{
    k.get = [get = std::move(k.get), absent = std::move(absent)](const SlipData &s, const Context &ctx) {
        return s.noCar ? absent : get(s, ctx);
    };
    return k;
}

// Key names of the header sections carry the section's number (the last one is 9).
QString sectionNumber(size_t i)
{
    return QString::number(SlipData::SectionNumbers[i]);
}

// The note keeps its first three lines in the file; reading gives exactly three.
SlipKey memoLine(qsizetype k)
{
    return {G::Money,
            Note,
            u"Memo"_s + QString::number(k + 1),
            KeyType::Text,
            false,
            QString(),
            [k](const SlipData &s, const Context &) -> Value { return s.memo.value(k); },
            [k](SlipData &s, Value v) {
                s.memo.resize(3);
                s.memo[k] = std::get<QString>(std::move(v));
            }};
}

std::vector<SlipKey> makeTable()
{
    std::vector<SlipKey> t;
    const auto add = [&t](std::initializer_list<SlipKey> keys) { t.insert(t.end(), keys); };
    const size_t sections = SlipData::SectionCount;

    for (size_t i = 0; i < sections; ++i)
        t.push_back(boolean(
            G::Idx, Idx, u"Btn"_s + sectionNumber(i), [i](auto &s) -> auto & { return s.sections[i].open; }));
    for (size_t i = 0; i < sections; ++i)
        t.push_back(text(
            G::Idx, Idx,
            u"Label"_s + sectionNumber(i), [i](auto &s) -> auto & { return s.sections[i].label; },
            u"未設定"_s));
    for (size_t i = 0; i < sections; ++i)
        t.push_back(integer(
            G::Idx, Idx,
            u"Label"_s + sectionNumber(i) + u'c', [i](auto &s) -> auto & { return s.sections[i].labelColor; },
            SlipData::SystemButtonTextColor));

    add({
        text(G::SlipNumber, No, u"SlipCode"_s, &SlipData::slipCode, u"00000000"_s),
        integer(G::SlipNumber, No, u"SlipDiv"_s, &SlipData::slipDiv),
        date(G::SlipNumber, No, u"SlipDate"_s, &SlipData::slipDate, ContextToday()),
        text(G::SlipNumber, No, u"Charge"_s, &SlipData::charge),
        text(G::SlipType, No, u"SlipType"_s, &SlipData::slipType),

        text(G::Customer, Cust, u"Name"_s, &SlipData::custName),
        text(G::Customer, Cust, u"Title"_s, &SlipData::custTitle, u"様"_s),
        text(G::Customer, Cust, u"Zip1"_s, &SlipData::zip1),
        text(G::Customer, Cust, u"Zip2"_s, &SlipData::zip2),
        text(G::Customer, Cust, u"City"_s, &SlipData::city),
        text(G::Customer, Cust, u"Add1"_s, &SlipData::add1),
        text(G::Customer, Cust, u"Add2"_s, &SlipData::add2),
        printed(G::Customer, Cust, u"City_Add1"_s, KeyType::Text,
                [](const SlipData &s, const Context &) -> Value { return s.city + s.add1; }),
        text(G::Customer, Cust, u"Tel"_s, &SlipData::tel),

        decimal(G::Tax, Tax, u"Rate"_s, &SlipData::taxRate),
        integer(G::Tax, Tax, u"Cut"_s, &SlipData::taxCut),
        // Slips from before the per-rate method have no key: per line.
        integer(G::Tax, Tax, u"CalcMode"_s, &SlipData::taxCalcMode),
    });

    const QString none;
    const QDate dayZero = SlipData::dayZero();
    add({
        boolean(G::Vehicle, Car, u"Enabled"_s, &SlipData::noCar),
        vehicle(text(G::Vehicle, Car, u"Num1"_s, &SlipData::num1), none),
        vehicle(text(G::Vehicle, Car, u"Num2"_s, &SlipData::num2), none),
        vehicle(text(G::Vehicle, Car, u"Num3"_s, &SlipData::num3), none),
        vehicle(text(G::Vehicle, Car, u"Num4"_s, &SlipData::num4), none),
        vehicle(printed(G::Vehicle, Car, u"Num"_s, KeyType::Text,
                        [](const SlipData &s, const Context &) -> Value {
                            return s.num1 + s.num2 + s.num3 + s.num4;
                        }),
                none),
        vehicle(text(G::Vehicle, Car, u"Name"_s, &SlipData::carName), none),
        vehicle(date(G::Vehicle, Car, u"First"_s, &SlipData::first, dayZero), ContextToday()),
        vehicle(boolean(G::Vehicle, Car, u"NoFirst"_s, &SlipData::noFirst), true),
        vehicle(date(G::Vehicle, Car, u"Check"_s, &SlipData::check, dayZero), ContextToday()),
        vehicle(boolean(G::Vehicle, Car, u"NoCheck"_s, &SlipData::noCheck), true),
        vehicle(integer(G::Vehicle, Car, u"Kiro"_s, &SlipData::kiro), qint64(0)),
        vehicle(integer(G::Vehicle, Car, u"ESize"_s, &SlipData::eSize), qint64(0)),
        vehicle(text(G::Vehicle, Car, u"TypeCode"_s, &SlipData::typeCode), none),
        vehicle(text(G::Vehicle, Car, u"TypeNum1"_s, &SlipData::typeNum1), none),
        vehicle(text(G::Vehicle, Car, u"TypeNum2"_s, &SlipData::typeNum2), none),
        vehicle(printed(G::Vehicle, Car, u"TypeNum"_s, KeyType::Text,
                        [](const SlipData &s, const Context &) -> Value {
                            return s.typeNum1 + u'-' + s.typeNum2;
                        }),
                none),
        vehicle(text(G::Vehicle, Car, u"Engine"_s, &SlipData::engine), none),
        vehicle(text(G::Vehicle, Car, u"Chassis"_s, &SlipData::chassis), none),
    });

    add({
        // Rows of an older, longer slip must not survive a save of the line settings.
        SlipKey{G::LineSettings, Line, QString(), KeyType::ClearSection, false, {}, {}, {}},
        integer(G::LineSettings, Line, u"Ravor"_s, &SlipData::ravor),
        integer(G::LineSettings, Line, u"Display"_s, &SlipData::display),
        integer(G::LineSettings, Line, u"TecTotal"_s, &SlipData::tecTotal),
        integer(G::LineSettings, Line, u"PartTotal"_s, &SlipData::partTotal),
        stored(G::LineRows, Line, u"Count"_s, KeyType::LineRows, &SlipData::rows, QList<TRowData>()),
    });

    add({
        integer(G::Money, Cost, u"WTax"_s, &SlipData::wTax),
        integer(G::Money, Cost, u"Ins"_s, &SlipData::ins),
        integer(G::Money, Cost, u"Stamp"_s, &SlipData::stamp),
    });
    for (size_t k = 0; k < std::tuple_size_v<decltype(SlipData::costRows)>; ++k)
        t.push_back(stored(
            G::Money, Cost, u"LineA"_s + QString::number(k + 1),
            KeyType::CostRow, [k](auto &s) -> auto & { return s.costRows[k]; }, SlipData::CostRow()));
    add({
        integer(G::Money, Cost, u"Tax"_s, &SlipData::costTax),
        integer(G::Money, Price, u"Mnt"_s, &SlipData::mnt),
        integer(G::Money, Price, u"Cst"_s, &SlipData::cst),
        integer(G::Money, Price, u"Ttl"_s, &SlipData::ttl),
        integer(G::Money, Price, u"Inc"_s, &SlipData::inc),
        integer(G::Money, Price, u"MntTx"_s, &SlipData::mntTx),
        integer(G::Money, Price, u"CstTx"_s, &SlipData::cstTx),
        integer(G::Money, Price, u"TxTtl"_s, &SlipData::txTtl),
        integer(G::Money, Price, u"Last"_s, &SlipData::last),
        text(G::Money, Note, u"Info"_s, &SlipData::info),
        memoLine(0),
        memoLine(1),
        memoLine(2),
    });

    add({
        printed(G::Print, Print, u"PriceTitle"_s, KeyType::Text,
                [](const SlipData &s, const Context &) -> Value {
                    const QString title = priceTitle(s.slipDiv);
                    return title.isEmpty() ? Value() : Value(title); // no kind selected: no title
                }),
        printed(G::Print, Print, u"CarCheck"_s, KeyType::Date,
                [dayZero](const SlipData &s, const Context &) -> Value {
                    return (s.noCheck || s.noCar) ? dayZero : s.check;
                }),
        printed(G::Print, Print, u"CarFirst"_s, KeyType::Date,
                [dayZero](const SlipData &s, const Context &) -> Value {
                    return (s.noFirst || s.noCar) ? dayZero : s.first;
                }),
        printed(
            G::Print, Print, u"CustNameTitle"_s, KeyType::Text,
            [](const SlipData &s, const Context &) -> Value { return s.custName + u"  "_s + s.custTitle; }),
    });
    return t;
}

} // namespace

KeyGroups groupsOf(TSlipSaveType scope)
{
    switch (scope) {
    case sstAll:
        return {G::Idx,     G::SlipNumber,   G::SlipType, G::Customer, G::Tax,
                G::Vehicle, G::LineSettings, G::LineRows, G::Money,    G::Print};
    case sstCustomer:
        return G::Customer;
    case sstCar:
        return G::Vehicle;
    case sstCustCar:
        return {G::Customer, G::Vehicle};
    case sstLines:
        return G::LineRows;
    case sstSlip:
        return {G::SlipType, G::LineSettings, G::LineRows, G::Money};
    }
    return {};
}

const std::vector<SlipKey> &keyTable()
{
    static const std::vector<SlipKey> table = makeTable();
    return table;
}

} // namespace SlipFile
