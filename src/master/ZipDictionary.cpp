#include "ZipDictionary.h"

#include "platform/AppFolder.h"
#include "platform/SafeFileName.h"
#include "platform/TextList.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace ZipDictionary {

QStringList listed(const AppFolder &folder)
{
    QStringList names;
    for (const QString &line : TextList::read(folder.zipListFile())) {
        const QString name = line.trimmed();
        if (!name.isEmpty())
            names.append(name);
    }
    return names;
}

QStringList usable(const AppFolder &folder)
{
    QStringList names;
    for (const QString &name : listed(folder))
        if (SafeFileName::isSafe(name) && QFileInfo(path(folder, name)).isFile())
            names.append(name);
    return names;
}

QString path(const AppFolder &folder, const QString &name)
{
    return AppFolder::findFile(folder.zipFolder(), name);
}

bool writeList(const AppFolder &folder, const QStringList &names, QString *error)
{
    return TextList::write(folder.zipListFile(), names, error);
}

QString cleanTown(const QString &town)
{
    if (town == u"以下に掲載がない場合"_s || town == u"一円"_s || town.endsWith(u"の次に番地がくる場合"_s))
        return {};
    if (!town.contains(u'（'))
        return town;
    QString out;
    out.reserve(town.size());
    int depth = 0;
    for (QChar c : town) {
        if (c == u'（')
            ++depth;
        else if (c == u'）' && depth > 0)
            --depth;
        else if (depth == 0)
            out += c;
    }
    return out;
}

QString codeKey(const QString &keyword)
{
    static const QString Hyphens = u"-－‐‑–—−ー"_s;
    QString key;
    key.reserve(keyword.size());
    bool onlyDigits = true;
    for (QChar c : keyword) {
        if (c >= u'０' && c <= u'９')
            c = QChar(u'0' + (c.unicode() - u'０'));
        if (Hyphens.contains(c))
            continue;
        onlyDigits = onlyDigits && c >= u'0' && c <= u'9';
        key += c;
    }
    return onlyDigits && !key.isEmpty() ? key : keyword;
}

} // namespace ZipDictionary
