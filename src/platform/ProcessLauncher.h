#pragma once

#include <QString>
#include <QStringList>

namespace ProcessLauncher {

// Starts program as a separate process with an argument list (never through
// a shell, so file names with blanks or quotes reach it unchanged).
bool startDetached(const QString &program, const QStringList &arguments);

} // namespace ProcessLauncher
