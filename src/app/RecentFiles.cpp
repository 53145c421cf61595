#include "RecentFiles.h"

#include "platform/IniFile.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace RecentFiles {

namespace {

const QString Section = u"Recent"_s;

QString key(int index)
{
    return u"File%1"_s.arg(index + 1);
}

QStringList existing(const IniFile &ini)
{
    QStringList files;
    for (int i = 0; i < MaxCount; ++i) {
        const QString file = QDir::fromNativeSeparators(ini.readString(Section, key(i)));
        if (!file.isEmpty() && !files.contains(file) && QFileInfo(file).isFile())
            files << file;
    }
    return files;
}

} // namespace

QStringList read(const QString &settingsPath)
{
    return existing(IniFile(settingsPath));
}

bool add(const QString &settingsPath, const QString &path, QString *error)
{
    const QString file = QFileInfo(path).absoluteFilePath();
    return IniFile::update(
        settingsPath,
        [&](IniFile &ini) {
            QStringList files = existing(ini);
            files.removeAll(file);
            files.prepend(file);
            for (int i = 0; i < MaxCount; ++i) {
                if (i < files.size())
                    ini.writeString(Section, key(i), QDir::toNativeSeparators(files.at(i)));
                else
                    ini.deleteKey(Section, key(i));
            }
            ini.writeString(u"Init"_s, u"Dir"_s, QDir::toNativeSeparators(QFileInfo(file).absolutePath()));
            return true;
        },
        error);
}

} // namespace RecentFiles
