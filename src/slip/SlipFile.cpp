#include "SlipFile.h"

#include "lines/RowText.h"
#include "lines/RowTransfer.h"
#include "platform/CommaText.h"
#include "platform/IniFile.h"
#include "platform/IntText.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {

const QString Idx = QStringLiteral("Idx");
const QString No = QStringLiteral("No");
const QString Cust = QStringLiteral("Cust");
const QString Tax = QStringLiteral("Tax");
const QString Car = QStringLiteral("Car");
const QString Line = QStringLiteral("Line");
const QString Cost = QStringLiteral("Cost");
const QString Price = QStringLiteral("Price");
const QString Note = QStringLiteral("Note");
const QString Print = QStringLiteral("Print");

// Row key prefixes in writing order; positions 0..8 of the row text.
const QString RowPrefixes[] = {
    QStringLiteral("LineDiv"),  QStringLiteral("TaxRate"),   QStringLiteral("TextA"),
    QStringLiteral("WorkName"), QStringLiteral("WorkPoint"), QStringLiteral("WorkPrice"),
    QStringLiteral("Count"),    QStringLiteral("UnitPrice"), QStringLiteral("Price")};
const QString DigitTypePrefix = QStringLiteral("DigitType");

// prefix + i in five digits with leading zeros ("LineDiv00012"); built by
// hand because it runs ten times per row on every save and load.
QString rowKey(const QString &prefix, qsizetype i)
{
    if (i < 0 || i > 99999)
        return prefix + QString::number(i).rightJustified(5, u'0');
    QString key(prefix.size() + 5, Qt::Uninitialized);
    QChar *out = key.data();
    for (QChar c : prefix)
        *out++ = c;
    for (int d = 4; d >= 0; --d, i /= 10)
        out[d] = QChar(char16_t(u'0' + i % 10));
    return key;
}

QString dateText(QDate d)
{
    return d.toString(QStringLiteral("yyyy/MM/dd"));
}

QString n(int i)
{
    return QString::number(i);
}

struct Groups {
    bool idx = false, noAll = false, slipType = false, cust = false, tax = false, car = false;
    bool lineSettings = false, rows = false, money = false, print = false;
};

Groups groupsOf(TSlipSaveType scope)
{
    Groups g;
    switch (scope) {
    case sstAll:
        g = {true, true, true, true, true, true, true, true, true, true};
        break;
    case sstCustomer:
        g.cust = true;
        break;
    case sstCar:
        g.car = true;
        break;
    case sstCustCar:
        g.cust = g.car = true;
        break;
    case sstLines:
        g.rows = true;
        break;
    case sstSlip:
        g.slipType = g.lineSettings = g.rows = g.money = true;
        break;
    }
    return g;
}

// ---- reading helpers -------------------------------------------------------

class Reader {
public:
    explicit Reader(const IniFile &ini) : ini_(ini) {}

    QString text(const QString &s, const QString &k, const QString &def = {}) const
    {
        return ini_.readString(s, k, def);
    }
    int integer(const QString &s, const QString &k, int def = 0) const { return ini_.readInteger(s, k, def); }
    bool boolean(const QString &s, const QString &k, bool def = false) const
    {
        return ini_.readBool(s, k, def);
    }
    qint64 fixed(const QString &s, const QString &k) const { return Fixed::fromText(ini_.readString(s, k)); }
    QDate date(const QString &s, const QString &k, QDate def) const
    {
        const QString v = ini_.readString(s, k);
        if (v.isEmpty())
            return def;
        // The short date form: year/month/day, digits only; a time part is dropped.
        const QStringList parts = v.section(u' ', 0, 0).split(u'/');
        if (parts.size() != 3)
            return def;
        bool ok1 = false, ok2 = false, ok3 = false;
        const QDate d(parts[0].toInt(&ok1), parts[1].toInt(&ok2), parts[2].toInt(&ok3));
        return (ok1 && ok2 && ok3 && d.isValid()) ? d : def;
    }

private:
    const IniFile &ini_;
};

// The number of row slots worth reading: Count, but never past the last row
// key that the file actually holds (everything after it would be blank).
qsizetype rowsToRead(const IniFile &ini)
{
    const int count = ini.readInteger(Line, QStringLiteral("Count"), 0);
    if (count <= 0)
        return 0;
    // Every stored row has keys, so a count up to the number of keys costs
    // no more than the file itself.
    if (count <= ini.keyLineCount(Line))
        return count;
    qint64 lastPresent = -1;
    for (const QString &key : ini.keys(Line)) {
        for (const QString &prefix : RowPrefixes) {
            if (key.size() > prefix.size() && key.startsWith(prefix, Qt::CaseInsensitive)) {
                bool ok = false;
                const qint64 i = QStringView(key).mid(prefix.size()).toLongLong(&ok);
                if (ok && i >= 0 && i > lastPresent)
                    lastPresent = i;
                break;
            }
        }
    }
    return qsizetype(qMin<qint64>(count, lastPresent + 1));
}

} // namespace

namespace SlipFile {

QString priceTitle(int slipDiv)
{
    switch (slipDiv) {
    case 0:
        return QStringLiteral("お見積金額");
    case 1:
        return QStringLiteral("総合計金額");
    case 2:
        return QStringLiteral("ご請求金額");
    default:
        return {};
    }
}

QList<int> sectionsFilledBy(TSlipSaveType scope)
{
    switch (scope) {
    case sstCustomer:
        return {1};
    case sstCar:
        return {3};
    case sstCustCar:
        return {1, 3};
    case sstLines:
        return {4};
    case sstSlip:
        return {4, 5, 6, 7};
    case sstAll:
        break;
    }
    return {};
}

void write(IniFile &ini, const SlipData &s, TSlipSaveType scope, const Context &ctx)
{
    const Groups g = groupsOf(scope);
    auto put = [&ini](const QString &sec, const QString &key, const QString &value) {
        ini.writeString(sec, key, value);
    };
    auto putInt = [&ini](const QString &sec, const QString &key, qint64 value) {
        ini.writeInteger(sec, key, value);
    };
    auto putBool = [&ini](const QString &sec, const QString &key, bool value) {
        ini.writeBool(sec, key, value);
    };

    if (g.idx) {
        for (int i = 0; i < SlipData::SectionCount; ++i)
            putBool(Idx, u"Btn"_s + n(SlipData::SectionNumbers[size_t(i)]), s.sections[size_t(i)].open);
        for (int i = 0; i < SlipData::SectionCount; ++i)
            put(Idx, u"Label"_s + n(SlipData::SectionNumbers[size_t(i)]), s.sections[size_t(i)].label);
        for (int i = 0; i < SlipData::SectionCount; ++i)
            putInt(Idx, u"Label"_s + n(SlipData::SectionNumbers[size_t(i)]) + u'c',
                   s.sections[size_t(i)].labelColor);
    }
    if (g.noAll) {
        put(No, QStringLiteral("SlipCode"), s.slipCode);
        putInt(No, QStringLiteral("SlipDiv"), s.slipDiv);
        put(No, QStringLiteral("SlipDate"), dateText(s.slipDate));
        put(No, QStringLiteral("Charge"), s.charge);
    }
    if (g.slipType)
        put(No, QStringLiteral("SlipType"), s.slipType);
    if (g.cust) {
        put(Cust, QStringLiteral("Name"), s.custName);
        put(Cust, QStringLiteral("Title"), s.custTitle);
        put(Cust, QStringLiteral("Zip1"), s.zip1);
        put(Cust, QStringLiteral("Zip2"), s.zip2);
        put(Cust, QStringLiteral("City"), s.city);
        put(Cust, QStringLiteral("Add1"), s.add1);
        put(Cust, QStringLiteral("Add2"), s.add2);
        put(Cust, QStringLiteral("City_Add1"), s.city + s.add1);
        put(Cust, QStringLiteral("Tel"), s.tel);
    }
    if (g.tax) {
        put(Tax, QStringLiteral("Rate"), Fixed::toText(s.taxRate));
        putInt(Tax, QStringLiteral("Cut"), s.taxCut);
    }
    if (g.car) {
        // With "車両なし" the vehicle controls are not stored: empty texts,
        // today's dates, both "不明" and "車検なし", no mileage or size.
        const bool none = s.noCar;
        const QString e;
        putBool(Car, QStringLiteral("Enabled"), none);
        put(Car, QStringLiteral("Num1"), none ? e : s.num1);
        put(Car, QStringLiteral("Num2"), none ? e : s.num2);
        put(Car, QStringLiteral("Num3"), none ? e : s.num3);
        put(Car, QStringLiteral("Num4"), none ? e : s.num4);
        put(Car, QStringLiteral("Num"), none ? e : s.num1 + s.num2 + s.num3 + s.num4);
        put(Car, QStringLiteral("Name"), none ? e : s.carName);
        put(Car, QStringLiteral("First"), dateText(none ? ctx.today : s.first));
        putBool(Car, QStringLiteral("NoFirst"), none || s.noFirst);
        put(Car, QStringLiteral("Check"), dateText(none ? ctx.today : s.check));
        putBool(Car, QStringLiteral("NoCheck"), none || s.noCheck);
        putInt(Car, QStringLiteral("Kiro"), none ? 0 : s.kiro);
        putInt(Car, QStringLiteral("ESize"), none ? 0 : s.eSize);
        put(Car, QStringLiteral("TypeCode"), none ? e : s.typeCode);
        put(Car, QStringLiteral("TypeNum1"), none ? e : s.typeNum1);
        put(Car, QStringLiteral("TypeNum2"), none ? e : s.typeNum2);
        put(Car, QStringLiteral("TypeNum"), none ? e : s.typeNum1 + u'-' + s.typeNum2);
        put(Car, QStringLiteral("Engine"), none ? e : s.engine);
        put(Car, QStringLiteral("Chassis"), none ? e : s.chassis);
    }
    if (g.lineSettings) {
        ini.eraseSection(Line);
        putInt(Line, QStringLiteral("Ravor"), s.ravor);
        putInt(Line, QStringLiteral("Display"), s.display);
        putInt(Line, QStringLiteral("TecTotal"), s.tecTotal);
        putInt(Line, QStringLiteral("PartTotal"), s.partTotal);
    }
    if (g.rows) {
        const QList<TRowData> rows = RowTransfer::storedRows(s.rows);
        putInt(Line, QStringLiteral("Count"), rows.size());
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const TRowData &row = rows.at(i);
            const QStringList f = RowText::fields(row, ctx.categories);
            for (int k = 0; k < 9; ++k)
                put(Line, rowKey(RowPrefixes[k], i), f.at(k));
            if (!row.LineDiv.isEmpty())
                putBool(Line, rowKey(DigitTypePrefix, i), ctx.categories.isDiscount(row.LineDiv));
        }
    }
    if (g.money) {
        putInt(Cost, QStringLiteral("WTax"), s.wTax);
        putInt(Cost, QStringLiteral("Ins"), s.ins);
        putInt(Cost, QStringLiteral("Stamp"), s.stamp);
        for (int k = 0; k < 5; ++k) {
            const SlipData::CostRow &c = s.costRows[size_t(k)];
            put(Cost, u"LineA"_s + n(k + 1),
                CommaText::join({c.name, c.price, c.taxable ? QStringLiteral("1") : QString()}));
        }
        putInt(Cost, QStringLiteral("Tax"), s.costTax);
        putInt(Price, QStringLiteral("Mnt"), s.mnt);
        putInt(Price, QStringLiteral("Cst"), s.cst);
        putInt(Price, QStringLiteral("Ttl"), s.ttl);
        putInt(Price, QStringLiteral("Inc"), s.inc);
        putInt(Price, QStringLiteral("MntTx"), s.mntTx);
        putInt(Price, QStringLiteral("CstTx"), s.cstTx);
        putInt(Price, QStringLiteral("TxTtl"), s.txTtl);
        putInt(Price, QStringLiteral("Last"), s.last);
        put(Note, QStringLiteral("Info"), s.info);
        for (int k = 0; k < 3; ++k)
            put(Note, u"Memo"_s + n(k + 1), s.memo.value(k));
    }
    if (g.print) {
        const QString title = priceTitle(s.slipDiv);
        if (!title.isEmpty())
            put(Print, QStringLiteral("PriceTitle"), title);
        const QDate zero = SlipData::dayZero();
        put(Print, QStringLiteral("CarCheck"), dateText((s.noCheck || s.noCar) ? zero : s.check));
        put(Print, QStringLiteral("CarFirst"), dateText((s.noFirst || s.noCar) ? zero : s.first));
        put(Print, QStringLiteral("CustNameTitle"), s.custName + u"  "_s + s.custTitle);
    }
}

bool save(IniFile &ini, const SlipData &slip, TSlipSaveType scope, const Context &context, QString *error)
{
    write(ini, slip, scope, context);
    if (!ini.unmappableCharacters().isEmpty()) {
        if (error)
            *error = QDir::toNativeSeparators(ini.path()) + u" に書き込めません"_s +
                     u"\n(保存できない文字: "_s + ini.unmappableCharacters() + u')';
        return false;
    }
    return ini.flush(error);
}

void read(const IniFile &ini, SlipData &s, TSlipSaveType scope, const Context &ctx)
{
    const Groups g = groupsOf(scope);
    const Reader r(ini);
    if (g.idx) {
        for (int i = 0; i < SlipData::SectionCount; ++i) {
            const QString num = n(SlipData::SectionNumbers[size_t(i)]);
            SlipData::Section &sec = s.sections[size_t(i)];
            sec.open = r.boolean(Idx, u"Btn"_s + num);
            sec.label = r.text(Idx, u"Label"_s + num, QStringLiteral("未設定"));
            sec.labelColor = r.integer(Idx, u"Label"_s + num + u'c', SlipData::SystemButtonTextColor);
        }
    }
    if (g.noAll) {
        s.slipCode = r.text(No, QStringLiteral("SlipCode"), QStringLiteral("00000000"));
        s.slipDiv = r.integer(No, QStringLiteral("SlipDiv"), 0);
        s.slipDate = r.date(No, QStringLiteral("SlipDate"), ctx.today);
        s.charge = r.text(No, QStringLiteral("Charge"));
    }
    if (g.slipType)
        s.slipType = r.text(No, QStringLiteral("SlipType"));
    if (g.cust) {
        s.custName = r.text(Cust, QStringLiteral("Name"));
        s.custTitle = r.text(Cust, QStringLiteral("Title"), QStringLiteral("様"));
        s.zip1 = r.text(Cust, QStringLiteral("Zip1"));
        s.zip2 = r.text(Cust, QStringLiteral("Zip2"));
        s.city = r.text(Cust, QStringLiteral("City"));
        s.add1 = r.text(Cust, QStringLiteral("Add1"));
        s.add2 = r.text(Cust, QStringLiteral("Add2"));
        s.tel = r.text(Cust, QStringLiteral("Tel"));
    }
    if (g.tax) {
        s.taxRate = r.fixed(Tax, QStringLiteral("Rate"));
        s.taxCut = r.integer(Tax, QStringLiteral("Cut"), 0);
    }
    if (g.car) {
        const QDate zero = SlipData::dayZero();
        s.noCar = r.boolean(Car, QStringLiteral("Enabled"));
        s.num1 = r.text(Car, QStringLiteral("Num1"));
        s.num2 = r.text(Car, QStringLiteral("Num2"));
        s.num3 = r.text(Car, QStringLiteral("Num3"));
        s.num4 = r.text(Car, QStringLiteral("Num4"));
        s.carName = r.text(Car, QStringLiteral("Name"));
        s.first = r.date(Car, QStringLiteral("First"), zero);
        s.noFirst = r.boolean(Car, QStringLiteral("NoFirst"));
        s.check = r.date(Car, QStringLiteral("Check"), zero);
        s.noCheck = r.boolean(Car, QStringLiteral("NoCheck"));
        s.kiro = r.integer(Car, QStringLiteral("Kiro"), 0);
        s.eSize = r.integer(Car, QStringLiteral("ESize"), 0);
        s.typeCode = r.text(Car, QStringLiteral("TypeCode"));
        s.typeNum1 = r.text(Car, QStringLiteral("TypeNum1"));
        s.typeNum2 = r.text(Car, QStringLiteral("TypeNum2"));
        s.engine = r.text(Car, QStringLiteral("Engine"));
        s.chassis = r.text(Car, QStringLiteral("Chassis"));
    }
    if (g.lineSettings) {
        s.ravor = r.integer(Line, QStringLiteral("Ravor"), 0);
        s.display = r.integer(Line, QStringLiteral("Display"), 0);
        s.tecTotal = r.integer(Line, QStringLiteral("TecTotal"), 0);
        s.partTotal = r.integer(Line, QStringLiteral("PartTotal"), 0);
    }
    if (g.rows) {
        const qsizetype count = rowsToRead(ini);
        s.rows.clear();
        s.rows.reserve(count);
        QStringList fields;
        for (qsizetype i = 0; i < count; ++i) {
            fields.clear();
            for (const QString &prefix : RowPrefixes)
                fields.append(r.text(Line, rowKey(prefix, i)));
            if (const std::optional<TRowData> row = RowText::fromFields(fields, ctx.categories))
                s.rows.append(*row);
        }
    }
    if (g.money) {
        s.wTax = r.integer(Cost, QStringLiteral("WTax"), 0);
        s.ins = r.integer(Cost, QStringLiteral("Ins"), 0);
        s.stamp = r.integer(Cost, QStringLiteral("Stamp"), 0);
        for (int k = 0; k < 5; ++k) {
            const QStringList f = CommaText::split(r.text(Cost, u"LineA"_s + n(k + 1), QStringLiteral(",,")));
            SlipData::CostRow &c = s.costRows[size_t(k)];
            c.name = f.value(0).trimmed();
            c.price = f.value(1).trimmed();
            c.taxable = f.value(2).trimmed() == u"1"_s;
        }
        s.costTax = r.integer(Cost, QStringLiteral("Tax"), 0);
        s.mnt = r.integer(Price, QStringLiteral("Mnt"), 0);
        s.cst = r.integer(Price, QStringLiteral("Cst"), 0);
        s.ttl = r.integer(Price, QStringLiteral("Ttl"), 0);
        s.inc = r.integer(Price, QStringLiteral("Inc"), 0);
        s.mntTx = r.integer(Price, QStringLiteral("MntTx"), 0);
        s.cstTx = r.integer(Price, QStringLiteral("CstTx"), 0);
        s.txTtl = r.integer(Price, QStringLiteral("TxTtl"), 0);
        s.last = r.integer(Price, QStringLiteral("Last"), 0);
        s.info = r.text(Note, QStringLiteral("Info"));
        s.memo = {r.text(Note, QStringLiteral("Memo1")), r.text(Note, QStringLiteral("Memo2")),
                  r.text(Note, QStringLiteral("Memo3"))};
    }
}

} // namespace SlipFile
