#include "IntText.h"

#include <limits>

namespace IntText {

int toIntDef(QStringView text, int def)
{
    QStringView s = text.trimmed();
    bool negative = false;
    if (s.startsWith(u'-') || s.startsWith(u'+')) {
        negative = s.front() == u'-';
        s = s.mid(1);
    }
    int base = 10;
    if (s.startsWith(u'$')) {
        base = 16;
        s = s.mid(1);
    } else if (s.startsWith(u"0x", Qt::CaseInsensitive)) {
        base = 16;
        s = s.mid(2);
    }
    if (s.isEmpty() || s.front() == u'-' || s.front() == u'+' || s.front().isSpace())
        return def;
    bool ok = false;
    if (base == 16) {
        const quint32 u = s.toUInt(&ok, 16);
        if (!ok)
            return def;
        const quint32 v = negative ? quint32(0u - u) : u;
        return int(v);
    }
    const qint64 v = s.toLongLong(&ok, 10);
    if (!ok)
        return def;
    const qint64 r = negative ? -v : v;
    if (r < std::numeric_limits<int>::min() || r > std::numeric_limits<int>::max())
        return def;
    return int(r);
}

} // namespace IntText
