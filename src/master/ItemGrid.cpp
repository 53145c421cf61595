#include "ItemGrid.h"

#include "lines/YenText.h"
#include "platform/CommaText.h"

#include <QLocale>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

std::optional<double> parseNumber(const QString &text)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double v = c.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// Whole units of the kind: hundredths of a point, or yen.
qint64 unitsPerOne(ItemFiles::Kind kind)
{
    return kind == ItemFiles::Kind::Parts ? 1 : 100;
}

qint64 maxUnits(ItemFiles::Kind kind)
{
    return kind == ItemFiles::Kind::Parts ? 9999999 : 99999;
}

QString unitsText(qint64 units, ItemFiles::Kind kind, bool grouped)
{
    if (kind == ItemFiles::Kind::Parts)
        return grouped ? YenText::grouped(units) : QString::number(units);
    const QString whole = grouped ? YenText::grouped(units / 100) : QString::number(units / 100);
    return whole + u'.' + QString::number(units % 100).rightJustified(2, u'0');
}

// The normalised value in whole units of the kind (always >= 0).
qint64 normalisedUnits(const QString &text, ItemFiles::Kind kind)
{
    const std::optional<double> v = parseNumber(text);
    if (!v)
        return 0;
    const double magnitude = std::fabs(*v);
    const qint64 limit = maxUnits(kind);
    // Far beyond the range: clamped before the ten-thousandths would overflow.
    if (magnitude * double(unitsPerOne(kind)) > double(limit) + 1.0)
        return limit;
    // Ten-thousandths, ties to even (the default rounding mode), then cut
    // toward zero to the kind's unit.
    const auto tenThousandths = qint64(std::nearbyint(magnitude * 10000.0));
    const qint64 units = tenThousandths / (10000 / unitsPerOne(kind));
    // A negative value counts as its magnitude before the range applies, so
    // that -1234 points become 999.99 as 1234 do.
    return std::min(units, limit);
}

} // namespace

void ItemGrid::setClasses(const QStringList &names)
{
    QStringList header{QString()};
    header.append(names);
    rows_[0] = header;
    const qsizetype columns = header.size();
    for (qsizetype r = 1; r < rows_.size(); ++r)
        rows_[r].resize(columns);
}

QStringList ItemGrid::classes() const
{
    return rows_.first().mid(1);
}

void ItemGrid::setItems(const QList<QStringList> &items)
{
    const qsizetype columns = columnCount();
    rows_.resize(1);
    rows_.reserve(items.size() + 1);
    for (const QStringList &item : items) {
        QStringList r = item;
        r.resize(columns);
        rows_.append(r);
    }
}

void ItemGrid::setCell(int row, int column, const QString &text)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return;
    QString value = text;
    if (row == 0 && column == 0)
        value.clear();
    else if (row >= 1 && column >= 1)
        value = NormaliseValue(text, kind_);
    rows_[row][column] = value;
}

void ItemGrid::insertRow(int row)
{
    rows_.insert(qBound(1, row, rowCount()), QStringList(columnCount(), QString()));
}

void ItemGrid::appendRow()
{
    insertRow(rowCount());
}

void ItemGrid::removeRow(int row)
{
    if (row >= 1 && row < rowCount())
        rows_.removeAt(row);
}

void ItemGrid::appendColumn()
{
    for (QStringList &r : rows_)
        r.append(QString());
}

void ItemGrid::removeLastColumn()
{
    if (columnCount() <= 1)
        return;
    for (QStringList &r : rows_)
        r.removeLast();
}

QString ItemGrid::handOverText(int row, int classIndex) const
{
    if (row < 1 || row >= rowCount())
        return {};
    return itemRowText(kind_, cell(row, 0), numericOrEmpty(cell(row, classIndex + 1)));
}

QString ItemGrid::NormaliseValue(const QString &text, Kind kind)
{
    const qint64 units = normalisedUnits(text, kind);
    return units == 0 ? QString() : unitsText(units, kind, false);
}

bool ItemGrid::isValueText(const QString &text)
{
    return text.trimmed().isEmpty() || parseNumber(text).has_value();
}

QString ItemGrid::displayValue(const QString &text, Kind kind)
{
    const qint64 units = normalisedUnits(text, kind);
    return units == 0 ? QString() : unitsText(units, kind, true);
}

QString ItemGrid::numericOrEmpty(const QString &text)
{
    return parseNumber(text) ? text : QString();
}

QString itemRowText(ItemFiles::Kind kind, const QString &name, const QString &value)
{
    const bool parts = kind == ItemFiles::Kind::Parts;
    return CommaText::join({ItemFiles::kindName(kind), u"-1"_s, name, QString(), parts ? u"0"_s : value,
                            u"0"_s, u"0"_s, parts ? value : u"0"_s, u"0"_s, u"eof"_s});
}
