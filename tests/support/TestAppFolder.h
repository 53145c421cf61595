#pragma once

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

// A temporary application folder with a copy of the default data folder, so
// that widget tests read real master lists and write nothing into the source
// or build tree.
class TestAppFolder {
public:
    TestAppFolder()
    {
        const QString source = QStringLiteral(TORVANE_DATA_DIR);
        QDirIterator it(source, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString target =
                dir_.filePath(QStringLiteral("Dat/") + QDir(source).relativeFilePath(file));
            QDir().mkpath(QFileInfo(target).absolutePath());
            QFile::copy(file, target);
        }
        QDir().mkpath(dir_.filePath(QStringLiteral("Dat/Tmp")));
    }
    // With a trailing "/", as the program passes it.
    QString path() const { return dir_.path() + u'/'; }
    QString filePath(const QString &name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};
