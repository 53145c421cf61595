#pragma once

#include <QByteArray>
#include <QString>

namespace AtomicFile {

// Replaces the file's content in one step (a temporary file beside it, then a
// rename), so that a crash never leaves half a file. On failure returns false
// with "<path> に書き込めません: <reason>" in *error, the reason being the
// system's (disk full, permission denied, read-only file system ...).
bool write(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// The system's reason for the last failed file call of this thread (errno),
// in the user's words.
QString lastSystemReason();
// The same for a given error number.
QString systemReason(int errorNumber);

// The temporary files of a save are named ".~save.<file>.<random>" beside the
// target. One that is older than minAgeSeconds was left by a save that was
// cut off (a crash, a kill, a power cut): removes those in folder and returns
// how many went. Files of any other name are never touched.
int removeStrayTemporaries(const QString &folder, int minAgeSeconds);

// True when name has the form of a save's temporary file.
bool isTemporaryName(const QString &name);

} // namespace AtomicFile
