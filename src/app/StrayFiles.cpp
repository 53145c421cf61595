#include "StrayFiles.h"

#include "platform/AppFolder.h"
#include "platform/AtomicFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace StrayFiles {

QStringList foldersToClean(const QString &appDir, const QStringList &more)
{
    QStringList folders{QDir(appDir).absolutePath()};
    const QString data = AppFolder(appDir).dataFolder();
    if (QFileInfo(data).isDir()) {
        folders.append(QDir(data).absolutePath());
        QDirIterator it(data, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext())
            folders.append(QFileInfo(it.next()).absoluteFilePath());
    }
    for (const QString &folder : more) {
        if (folder.isEmpty() || !QFileInfo(folder).isDir())
            continue;
        const QString path = QFileInfo(folder).absoluteFilePath();
        if (!folders.contains(path))
            folders.append(path);
    }
    return folders;
}

int removeAtStart(const QString &appDir, const QStringList &more, int minAgeSeconds)
{
    int removed = 0;
    for (const QString &folder : foldersToClean(appDir, more))
        removed += AtomicFile::removeStrayTemporaries(folder, minAgeSeconds);
    return removed;
}

} // namespace StrayFiles
