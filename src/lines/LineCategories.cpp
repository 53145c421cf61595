#include "LineCategories.h"

#include "platform/CommaText.h"
#include "platform/TextList.h"

LineCategoryList LineCategoryList::fromLines(const QStringList &lines)
{
    LineCategoryList list;
    for (const QString &line : lines) {
        const QStringList fields = CommaText::split(line);
        if (fields.isEmpty())
            continue;
        list.names_.append(fields.at(0));
        list.codes_.append(fields.value(1));
    }
    return list;
}

LineCategoryList LineCategoryList::load(const QString &path)
{
    return fromLines(TextList::read(path));
}

QString LineCategoryList::typeCodeOf(const QString &name) const
{
    if (name.isEmpty())
        return {};
    const qsizetype i = names_.indexOf(name);
    return i < 0 ? QString() : codes_.at(i);
}
