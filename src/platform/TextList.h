#pragma once

#include <QString>
#include <QStringList>

// Text list files (master lists, memos, company-name settings): read and
// written whole, CP932, lines split at CR, LF or CR LF and written with CR LF.
namespace TextList {

// Splits text into lines; a final line break does not add an empty line.
QStringList splitLines(const QString &text);

// The lines of a file's bytes (CP932).
QStringList fromBytes(const QByteArray &bytes);

// The lines of the file, or an empty list when it cannot be read. *ok tells
// the two apart.
QStringList read(const QString &path, bool *ok = nullptr);

// Writes the lines atomically. On failure returns false with a reason; a line
// with characters CP932 cannot hold fails the write and names them. An
// existing file that cannot be read is never replaced.
bool write(const QString &path, const QStringList &lines, QString *error = nullptr);

} // namespace TextList
