#include "MasterList.h"

#include "lines/YenText.h"
#include "platform/AppFolder.h"
#include "platform/CommaText.h"
#include "platform/SafeFileName.h"
#include "platform/TextList.h"

using namespace Qt::StringLiterals;

namespace MasterList {

int columnCount(const QString &listName)
{
    return (listName == u"担当者"_s || listName == u"作業名"_s) ? 1 : 2;
}

Rows load(const AppFolder &folder, const QString &listName)
{
    const int columns = columnCount(listName);
    Rows rows;
    if (SafeFileName::isSafe(listName)) {
        const QStringList lines = TextList::read(folder.masterListFile(listName));
        for (const QString &line : lines) {
            QStringList fields = CommaText::split(line).mid(0, columns);
            while (fields.size() < columns)
                fields.append(QString());
            rows.append(fields);
        }
    }
    if (rows.isEmpty())
        rows.append(QStringList(columns, QString()));
    return rows;
}

bool save(const AppFolder &folder, const QString &listName, const Rows &rows, QString *error)
{
    if (!SafeFileName::isSafe(listName)) {
        if (error)
            *error = SafeFileName::refusal(listName);
        return false;
    }
    QStringList lines;
    lines.reserve(rows.size());
    for (const QStringList &row : rows)
        lines.append(CommaText::join(row));
    return TextList::write(folder.masterListFile(listName), lines, error);
}

QString amountText(const QString &typed)
{
    return YenText::priceOf(typed) ? typed.trimmed() : QString();
}

} // namespace MasterList
