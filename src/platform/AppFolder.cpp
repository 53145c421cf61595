#include "AppFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

AppFolder::AppFolder(const QString &path) : path_(QDir::fromNativeSeparators(path))
{
    if (!path_.isEmpty() && !path_.endsWith(u'/'))
        path_ += u'/';
}

AppFolder AppFolder::ofProgram()
{
    return AppFolder(QDir(QCoreApplication::applicationDirPath()).absolutePath());
}

QString AppFolder::settingsFile() const
{
    const QString program = QCoreApplication::instance()
                                ? QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName()
                                : u"torvane"_s;
    return path_ + program + u".ini"_s;
}

QString AppFolder::dataFolder() const
{
    return path_ + u"Dat/"_s;
}

QString AppFolder::masterFolder() const
{
    return dataFolder() + u"Mst/"_s;
}

QString AppFolder::formatFolder() const
{
    return dataFolder() + u"Fmt/"_s;
}

QString AppFolder::etcFolder() const
{
    return dataFolder() + u"Etc/"_s;
}

QString AppFolder::tempFolder() const
{
    return dataFolder() + u"Tmp/"_s;
}

QString AppFolder::taxFolder() const
{
    return dataFolder() + u"Tax/"_s;
}

QString AppFolder::templateFolder() const
{
    return dataFolder() + u"Template/"_s;
}

QString AppFolder::recoveryFolder() const
{
    return dataFolder() + u"Recovery/"_s;
}

QString AppFolder::backupFolder() const
{
    return dataFolder() + u"Backup/"_s;
}

QString AppFolder::itemFolder() const
{
    return masterFolder() + u"Mnt/"_s;
}

QString AppFolder::carFolder() const
{
    return masterFolder() + u"Mk/"_s;
}

QString AppFolder::zipFolder() const
{
    return masterFolder() + u"Zip/"_s;
}

QString AppFolder::zipListFile() const
{
    return zipFolder() + u"ziplist"_s;
}

QString AppFolder::printDefaultsFile() const
{
    return masterFolder() + u"DefPrDat"_s;
}

QString AppFolder::logoListFile() const
{
    return masterFolder() + u"LogoList"_s;
}

QString AppFolder::memoOptionsFile() const
{
    return masterFolder() + u"MemoOpt.Dat"_s;
}

QString AppFolder::slipDivisionsFile() const
{
    return masterFolder() + u"SlipDiv.dat"_s;
}

QString AppFolder::lineCategoriesFile() const
{
    return masterFolder() + u"LineDiv.dat"_s;
}

QString AppFolder::registrationRegionsFile() const
{
    return masterFolder() + u"Rkdat.dat"_s;
}

QString AppFolder::workNamesFile() const
{
    return masterFolder() + u"作業名"_s;
}

QString AppFolder::staffFile() const
{
    return masterFolder() + u"担当者"_s;
}

QString AppFolder::costNamesFile() const
{
    return masterFolder() + u"諸費用"_s;
}

QString AppFolder::masterListFile(const QString &name) const
{
    return masterFolder() + name;
}

QString AppFolder::makersFile() const
{
    return carFolder() + u"Maker.dat"_s;
}

QString AppFolder::carNamesFile(const QString &maker) const
{
    return findFile(carFolder(), maker);
}

QString AppFolder::formatFile(const QString &name) const
{
    return findFile(formatFolder(), name + u".fmt"_s);
}

QString AppFolder::logoFile(const QString &name) const
{
    return findFile(etcFolder(), name + u".Dat"_s);
}

QString AppFolder::findFile(const QString &folder, const QString &name)
{
    const QString spelled = folder + name;
    if (QFileInfo::exists(spelled))
        return spelled;
    const QStringList entries = QDir(folder).entryList(QDir::Files);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return folder + entry;
    }
    return spelled;
}
