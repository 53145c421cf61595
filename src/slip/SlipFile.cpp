#include "SlipFile.h"

#include "SlipKeyTable.h"

#include "lines/RowText.h"
#include "lines/RowTransfer.h"
#include "platform/CommaText.h"
#include "platform/IniFile.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace SlipFile {

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

namespace {

// Row key prefixes in writing order; positions 0..8 of the row text.
const QString RowPrefixes[] = {u"LineDiv"_s,   u"TaxRate"_s, u"TextA"_s,     u"WorkName"_s, u"WorkPoint"_s,
                               u"WorkPrice"_s, u"Count"_s,   u"UnitPrice"_s, u"Price"_s};
const QString DigitTypePrefix = u"DigitType"_s;

QString dateText(QDate d)
{
    return d.toString(u"yyyy/MM/dd"_s);
}

// The short date form: year/month/day, digits only; a time part is dropped.
QDate dateFromText(const QString &v, QDate def)
{
    if (v.isEmpty())
        return def;
    const QStringList parts = v.section(u' ', 0, 0).split(u'/');
    if (parts.size() != 3)
        return def;
    bool ok1 = false, ok2 = false, ok3 = false;
    const QDate d(parts[0].toInt(&ok1), parts[1].toInt(&ok2), parts[2].toInt(&ok3));
    return (ok1 && ok2 && ok3 && d.isValid()) ? d : def;
}

QDate dateOf(const Value &v, const Context &ctx)
{
    return std::holds_alternative<ContextToday>(v) ? ctx.today : std::get<QDate>(v);
}

QString costRowText(const SlipData::CostRow &c)
{
    return CommaText::join({c.name, c.price, c.taxable ? u"1"_s : QString()});
}

// A missing field, or one that is blank after trimming, leaves its cell empty.
SlipData::CostRow costRowFromText(const QString &text)
{
    const QStringList f = CommaText::split(text);
    return {f.value(0).trimmed(), f.value(1).trimmed(), f.value(2).trimmed() == u"1"_s};
}

// Count, then for each stored row its nine values and, for rows with a
// category, the DigitType flag for the print formats.
void writeRows(IniFile &ini, const SlipKey &k, const QList<TRowData> &all, const Context &ctx,
               RowBlanks blanks)
{
    const QList<TRowData> rows = RowTransfer::storedRows(all);
    ini.writeInteger(k.section, k.key, rows.size());
    forEachRowValue(rows, ctx, blanks, [&](const QString &key, const QString &value) {
        ini.writeString(k.section, key, value);
    });
}

// The number of row slots worth reading: Count, but never past the last row
// key that the file actually holds (everything after it would be blank).
qsizetype rowsToRead(const IniFile &ini, const SlipKey &k)
{
    const int count = ini.readInteger(k.section, k.key, 0);
    if (count <= 0)
        return 0;
    // Every stored row has keys, so a count up to the number of keys costs
    // no more than the file itself.
    if (count <= ini.keyLineCount(k.section))
        return count;
    qint64 lastPresent = -1;
    for (const QString &key : ini.keys(k.section)) {
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

QList<TRowData> readRows(const IniFile &ini, const SlipKey &k, const Context &ctx)
{
    const qsizetype count = rowsToRead(ini, k);
    QList<TRowData> rows;
    rows.reserve(count);
    QStringList fields;
    for (qsizetype i = 0; i < count; ++i) {
        fields.clear();
        for (const QString &prefix : RowPrefixes)
            fields.append(ini.readString(k.section, rowKey(prefix, i)));
        if (const std::optional<TRowData> row = RowText::fromFields(fields, ctx.categories))
            rows.append(*row);
    }
    return rows;
}

void writeValue(IniFile &ini, const SlipKey &k, const Value &v, const Context &ctx,
                RowBlanks blanks = RowBlanks::Written)
{
    if (std::holds_alternative<std::monostate>(v))
        return;
    switch (k.type) {
    case KeyType::Text:
        ini.writeString(k.section, k.key, std::get<QString>(v));
        break;
    case KeyType::Integer:
        ini.writeInteger(k.section, k.key, std::get<qint64>(v));
        break;
    case KeyType::Bool:
        ini.writeBool(k.section, k.key, std::get<bool>(v));
        break;
    case KeyType::Decimal:
        ini.writeString(k.section, k.key, Fixed::toText(std::get<qint64>(v)));
        break;
    case KeyType::Date:
        ini.writeString(k.section, k.key, dateText(dateOf(v, ctx)));
        break;
    case KeyType::CostRow:
        ini.writeString(k.section, k.key, costRowText(std::get<SlipData::CostRow>(v)));
        break;
    case KeyType::LineRows:
        writeRows(ini, k, std::get<QList<TRowData>>(v), ctx, blanks);
        break;
    case KeyType::ClearSection:
        break;
    }
}

Value readValue(const IniFile &ini, const SlipKey &k, const Context &ctx)
{
    switch (k.type) {
    case KeyType::Text:
        return ini.readString(k.section, k.key, std::get<QString>(k.def));
    case KeyType::Integer:
        return qint64(ini.readInteger(k.section, k.key, int(std::get<qint64>(k.def))));
    case KeyType::Bool:
        return ini.readBool(k.section, k.key, std::get<bool>(k.def));
    case KeyType::Decimal:
        return Fixed::fromText(ini.readString(k.section, k.key));
    case KeyType::Date:
        return dateFromText(ini.readString(k.section, k.key), dateOf(k.def, ctx));
    case KeyType::CostRow:
        return costRowFromText(
            ini.readString(k.section, k.key, costRowText(std::get<SlipData::CostRow>(k.def))));
    case KeyType::LineRows:
        return readRows(ini, k, ctx);
    case KeyType::ClearSection:
        break;
    }
    return {};
}

} // namespace

QString priceTitle(int slipDiv)
{
    switch (slipDiv) {
    case 0:
        return u"お見積金額"_s;
    case 1:
        return u"総合計金額"_s;
    case 2:
        return u"ご請求金額"_s;
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

void forEachRowValue(const QList<TRowData> &stored, const Context &context, RowBlanks blanks,
                     const std::function<void(const QString &key, const QString &value)> &take)
{
    for (qsizetype i = 0; i < stored.size(); ++i) {
        const TRowData &row = stored.at(i);
        const QStringList f = RowText::fields(row, context.categories);
        for (int n = 0; n < 9; ++n) {
            if (blanks == RowBlanks::Omitted && f.at(n).isEmpty())
                continue;
            take(rowKey(RowPrefixes[n], i), f.at(n));
        }
        const bool negative = !row.LineDiv.isEmpty() && context.categories.isDiscount(row.LineDiv);
        if (!row.LineDiv.isEmpty() && (negative || blanks == RowBlanks::Written))
            take(rowKey(DigitTypePrefix, i), negative ? u"1"_s : u"0"_s);
    }
}

void write(IniFile &ini, const SlipData &s, TSlipSaveType scope, const Context &ctx, RowBlanks blanks)
{
    const KeyGroups groups = groupsOf(scope);
    for (const SlipKey &k : keyTable()) {
        if (!groups.testFlag(k.group))
            continue;
        if (k.type == KeyType::ClearSection)
            ini.eraseSection(k.section);
        else
            writeValue(ini, k, k.get(s, ctx), ctx, blanks);
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
    const KeyGroups groups = groupsOf(scope);
    for (const SlipKey &k : keyTable()) {
        if (groups.testFlag(k.group) && k.set)
            k.set(s, readValue(ini, k, ctx));
    }
}

} // namespace SlipFile
