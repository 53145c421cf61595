#pragma once

#include <QByteArray>
#include <QString>

namespace AtomicFile {

// Replaces the file's content in one step (a temporary file beside it, then a
// rename), so that a crash never leaves half a file.
bool write(const QString &path, const QByteArray &bytes, QString *error = nullptr);

} // namespace AtomicFile
