#include "TextList.h"

#include "AtomicFile.h"
#include "Cp932.h"

#include <QFile>

namespace TextList {

QStringList splitLines(const QString &text)
{
    QStringList lines;
    const qsizetype n = text.size();
    qsizetype start = 0;
    qsizetype p = 0;
    while (p < n) {
        const QChar c = text.at(p);
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, p - start));
            if (c == u'\r' && p + 1 < n && text.at(p + 1) == u'\n')
                ++p;
            start = ++p;
        } else {
            ++p;
        }
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QStringList read(const QString &path, bool *ok)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (ok)
            *ok = false;
        return {};
    }
    if (ok)
        *ok = true;
    return splitLines(Cp932::decode(f.readAll()));
}

bool write(const QString &path, const QStringList &lines, QString *error)
{
    QByteArray bytes;
    QString unmappable;
    for (const QString &line : lines) {
        bytes += Cp932::encode(line, &unmappable);
        bytes += "\r\n";
    }
    if (!unmappable.isEmpty()) {
        if (error)
            *error = QStringLiteral("保存できない文字が含まれています: ") + unmappable;
        return false;
    }
    return AtomicFile::write(path, bytes, error);
}

} // namespace TextList
