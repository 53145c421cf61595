#include "ProcessLauncher.h"

#include <QProcess>

namespace ProcessLauncher {

bool startDetached(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

} // namespace ProcessLauncher
