#include "PrintFormat.h"

#include "platform/AppFolder.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace PrintFormat {

bool isListed(const QString &filePath, const QString &formatType)
{
    const IniFile ini(filePath);
    const QString global = u"Global"_s;
    return ini.readString(global, u"FormatType"_s) == formatType &&
           ini.readString(global, u"FormatName"_s) == QFileInfo(filePath).completeBaseName() &&
           ini.readString(global, u"ApplicationCode"_s) == QStringView(ApplicationCode);
}

bool looksLikeFormat(const QString &filePath)
{
    return IniFile(filePath).sectionExists(u"Global"_s);
}

QString notAFormatWarning(const QString &filePath)
{
    return u"警告: "_s + QDir::toNativeSeparators(filePath) +
           u" は印刷書式ではありません（[Global] がありません）。空のページになります。"_s;
}

void ListPrintFormats(const QString &appDir, const QString &formatType, QStringList &names)
{
    names.clear();
    // Name order as the Windows file system returns it; hidden files are not
    // listed.
    const QDir dir(AppFolder(appDir).formatFolder());
    const QFileInfoList files = dir.entryInfoList({u"*.fmt"_s}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &fi : files)
        if (isListed(fi.filePath(), formatType))
            names.append(fi.completeBaseName());
}

} // namespace PrintFormat
