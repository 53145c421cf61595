#include "TaxTables.h"

#include "lines/YenText.h"
#include "platform/AppFolder.h"
#include "platform/CommaText.h"
#include "platform/Cp932.h"
#include "platform/TextList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace TaxTables {

QString filePrefix(int kind)
{
    return kind == Insurance ? QStringLiteral("CIN") : QStringLiteral("WTT");
}

QString listFileName(int kind)
{
    return kind == Insurance ? QStringLiteral("CompIns") : QStringLiteral("WtTax");
}

QString kindLabel(int kind)
{
    return kind == Insurance ? QStringLiteral("自賠責") : QStringLiteral("重量税");
}

QString folder(const QString &appFolder)
{
    return AppFolder(appFolder).taxFolder();
}

QString listPath(const QString &appFolder, int kind)
{
    return folder(appFolder) + listFileName(kind);
}

QString tablePath(const QString &appFolder, int kind, const QString &name)
{
    return folder(appFolder) + filePrefix(kind) + name;
}

QStringList defaultClassifications()
{
    return {QStringLiteral("自家用"), QStringLiteral("事業用")};
}

QStringList readClassifications(const QString &appFolder, int kind)
{
    QStringList names = TextList::read(listPath(appFolder, kind));
    names.removeAll(QString());
    return names.isEmpty() ? defaultClassifications() : names;
}

bool writeClassifications(const QString &appFolder, int kind, const QStringList &names, QString *error)
{
    QDir().mkpath(folder(appFolder));
    return TextList::write(listPath(appFolder, kind), names, error);
}

bool isValidClassName(const QString &name)
{
    if (name.isEmpty() || name.endsWith(u'.') || name.endsWith(u' '))
        return false;
    for (QChar c : name) {
        if (c.unicode() < 32 || QStringView(u"\\/:*?\"<>|").contains(c))
            return false;
    }
    if (!Cp932::canEncode(name))
        return false;
    // 255 bytes is the usual limit of one file name; the prefix is part of it.
    return (QStringLiteral("CIN") + name).toUtf8().size() <= 255;
}

Grid emptyGrid(int rows, int columns)
{
    Grid g;
    for (int r = 0; r < rows; ++r) {
        QStringList row;
        for (int c = 0; c < columns; ++c)
            row.append(QString());
        g.rows.append(row);
    }
    return g;
}

std::optional<Grid> loadTable(const QString &path)
{
    bool ok = false;
    const QStringList lines = TextList::read(path, &ok);
    if (!ok)
        return std::nullopt;
    return tableFromLines(lines);
}

Grid tableFromLines(const QStringList &lines)
{
    Grid g;
    int columns = 2;
    for (const QString &line : lines) {
        g.rows.append(CommaText::split(line));
        columns = std::max(columns, int(g.rows.last().size()));
    }
    while (g.rows.size() < 2)
        g.rows.append(QStringList());
    for (QStringList &row : g.rows) {
        while (row.size() < columns)
            row.append(QString());
    }
    return g;
}

bool saveTable(const QString &path, const Grid &grid, QString *error)
{
    QStringList lines;
    for (const QStringList &row : grid.rows)
        lines.append(CommaText::join(row));
    QDir().mkpath(QFileInfo(path).absolutePath());
    return TextList::write(path, lines, error);
}

std::optional<qint64> amountOf(const QString &text)
{
    return YenText::priceOf(text);
}

bool renameTable(const QString &appFolder, int kind, const QString &from, const QString &to)
{
    if (!isValidClassName(to))
        return false;
    const QString source = tablePath(appFolder, kind, from);
    const QString target = tablePath(appFolder, kind, to);
    if (from == to)
        return true;
    // A change of case only is the same file on Windows; anywhere else the
    // target must not exist, or its table would be lost.
    const bool caseOnly = from.compare(to, Qt::CaseInsensitive) == 0;
    if (!caseOnly && QFileInfo::exists(target))
        return false;
    if (!QFileInfo::exists(source))
        return true;
    return QFile::rename(source, target);
}

} // namespace TaxTables
