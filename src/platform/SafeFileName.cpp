#include "SafeFileName.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace SafeFileName {

namespace {

bool isDeviceName(const QString &name)
{
    const QString stem = name.section(u'.', 0, 0).trimmed().toUpper();
    static const QStringList fixed{u"CON"_s, u"PRN"_s, u"AUX"_s, u"NUL"_s, u"CONIN$"_s, u"CONOUT$"_s};
    if (fixed.contains(stem))
        return true;
    if (stem.size() == 4 && (stem.startsWith(u"COM"_s) || stem.startsWith(u"LPT"_s)))
        return stem.at(3) >= u'1' && stem.at(3) <= u'9';
    return false;
}

} // namespace

bool isSafe(const QString &name)
{
    if (name.isEmpty() || name == u"."_s || name == u".."_s)
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
        if (QStringView(u"\\/:*?\"<>|").contains(c))
            return false;
    }
    if (name.endsWith(u'.') || name.endsWith(u' ') || name.endsWith(u'\u3000'))
        return false;
    return !isDeviceName(name);
}

QString refusal(const QString &name)
{
    return u"「%1」は名前に使えません。\n記号 \\ / : * ? \" < > | や末尾の点・空白、CON などの予約名を除いて入力してください。"_s
        .arg(name);
}

} // namespace SafeFileName
