#include "PrintFormat.h"

#include "platform/IniFile.h"

#include <QDir>
#include <QFileInfo>

namespace PrintFormat {

QString folder(const QString &appDir)
{
    return appDir + u"Dat/Fmt/"_qs;
}

QString path(const QString &appDir, const QString &name)
{
    return folder(appDir) + name + u".fmt"_qs;
}

bool isListed(const QString &filePath, const QString &formatType)
{
    const IniFile ini(filePath);
    const QString global = u"Global"_qs;
    return ini.readString(global, u"FormatType"_qs) == formatType &&
           ini.readString(global, u"FormatName"_qs) == QFileInfo(filePath).completeBaseName() &&
           ini.readString(global, u"ApplicationCode"_qs) == QStringView(ApplicationCode);
}

void ListPrintFormats(const QString &appDir, const QString &formatType, QStringList &names)
{
    names.clear();
    // Name order as the Windows file system returns it; hidden files are not
    // listed.
    const QDir dir(folder(appDir));
    const QFileInfoList files = dir.entryInfoList({u"*.fmt"_qs}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &fi : files)
        if (isListed(fi.filePath(), formatType))
            names.append(fi.completeBaseName());
}

} // namespace PrintFormat
