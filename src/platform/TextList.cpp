#include "TextList.h"

#include "AtomicFile.h"
#include "Cp932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

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

QStringList fromBytes(const QByteArray &bytes)
{
    return splitLines(Cp932::decode(bytes));
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
    return fromBytes(f.readAll());
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
    // A list that could not be read is not known to the caller: replacing it
    // would lose it.
    const QFileInfo info(path);
    if (info.exists()) {
        QFile f(path);
        errno = 0;
        if (info.isDir() || !f.open(QIODevice::ReadOnly)) {
            const int e =
                info.isDir() ? EISDIR : (f.error() == QFileDevice::PermissionsError ? EACCES : errno);
            if (error)
                *error = QDir::toNativeSeparators(path) +
                         QStringLiteral(" に書き込めません: 読み込めないファイルは書き換えません (") +
                         (e != 0 ? AtomicFile::systemReason(e) : f.errorString()) + u')';
            return false;
        }
    }
    return AtomicFile::write(path, bytes, error);
}

} // namespace TextList
