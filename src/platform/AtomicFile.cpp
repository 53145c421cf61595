#include "AtomicFile.h"

#include <QDir>
#include <QSaveFile>

namespace AtomicFile {

bool write(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = QDir::toNativeSeparators(path) + QStringLiteral(" に書き込めません");
    return false;
}

} // namespace AtomicFile
