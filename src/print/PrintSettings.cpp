#include "PrintSettings.h"

#include "platform/AppFolder.h"
#include "platform/IniFile.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

double readDecimal(const IniFile &ini, const QString &key)
{
    bool ok = false;
    const double value = ini.readString(u"Print"_s, key).trimmed().toDouble(&ok);
    return ok ? value : 0.0;
}

QString existing(const QString &path)
{
    return QFileInfo::exists(path) ? path : QString();
}

const char16_t *const KindSections[] = {u"Mit", u"Sig", u"Nou"};

} // namespace

PrintSettings PrintSettings::load(const QString &appDir, const QString &settingsFile)
{
    PrintSettings s;
    const AppFolder folder(appDir);
    const IniFile def(folder.printDefaultsFile());
    const auto &sections = KindSections;
    static const char16_t *const defaults[3][2] = {
        {u"見積書", u"見積書(控)"}, {u"作業指示書", u"作業指示書(控)"}, {u"納品請求書", u"納品請求書(控)"}};
    for (size_t kind = 0; kind < 3; ++kind) {
        for (size_t copy = 0; copy < 4; ++copy) {
            s.titles[kind][copy] =
                def.readString(QString::fromUtf16(sections[kind]), QString::number(copy + 1),
                               copy < 2 ? QString::fromUtf16(defaults[kind][copy]) : QString());
        }
    }
    for (size_t copy = 0; copy < 4; ++copy)
        s.copies[copy] = def.readBool(u"Fuk"_s, QString::number(copy), copy < 2);
    const QString common = def.readString(u"Def"_s, u"Fomat"_s);
    s.defaultFormat = common;
    for (size_t kind = 0; kind < 3; ++kind) {
        s.kindFormats[kind] = def.readString(QString::fromUtf16(sections[kind]), u"Fomat"_s);
        QString format = s.kindFormats[kind];
        if (format.isEmpty())
            format = common;
        if (!format.isEmpty())
            s.formatPaths[kind] = existing(folder.formatFile(format));
    }
    const QString logo = def.readString(u"Def"_s, u"Logo"_s);
    s.logoName = logo;
    if (!logo.isEmpty())
        s.logoPath = folder.logoFile(logo);
    readCorrections(settingsFile, &s.fixX, &s.fixY);
    return s;
}

bool PrintSettings::writeDefaults(const QString &appDir, QString *error) const
{
    IniFile def(AppFolder(appDir).printDefaultsFile());
    for (size_t kind = 0; kind < 3; ++kind) {
        for (size_t copy = 0; copy < 4; ++copy)
            def.writeString(QString::fromUtf16(KindSections[kind]), QString::number(copy + 1),
                            titles[kind][copy]);
    }
    for (size_t kind = 0; kind < 3; ++kind)
        def.writeString(QString::fromUtf16(KindSections[kind]), u"Fomat"_s, kindFormats[kind]);
    for (size_t copy = 0; copy < 4; ++copy)
        def.writeString(u"Fuk"_s, QString::number(copy), copies[copy] ? u"1"_s : u"0"_s);
    def.writeString(u"Def"_s, u"Fomat"_s, defaultFormat);
    def.writeString(u"Def"_s, u"Logo"_s, logoName);
    return def.flush(error);
}

void PrintSettings::readCorrections(const QString &settingsFile, double *fixX, double *fixY)
{
    const IniFile ini(settingsFile);
    *fixX = readDecimal(ini, u"Fix_X"_s);
    *fixY = readDecimal(ini, u"Fix_Y"_s);
}

bool PrintSettings::writeCorrections(const QString &settingsFile, double fixX, double fixY, QString *error)
{
    IniFile ini(settingsFile);
    ini.writeString(u"Print"_s, u"Fix_Y"_s, QString::number(fixY, 'g', 10));
    ini.writeString(u"Print"_s, u"Fix_X"_s, QString::number(fixX, 'g', 10));
    return ini.flush(error);
}

std::array<QString, 4> PrintSettings::titlesOf(int slipKind) const
{
    if (slipKind < 0 || slipKind > 2)
        return {};
    return titles[size_t(slipKind)];
}

QString PrintSettings::formatOf(int slipKind) const
{
    return formatPaths[slipKind >= 0 && slipKind <= 2 ? size_t(slipKind) : 0];
}

void PrintSettings::setFormatOf(int slipKind, const QString &path)
{
    formatPaths[slipKind >= 0 && slipKind <= 2 ? size_t(slipKind) : 0] = path;
}

QString PrintSettings::kindName(int slipKind)
{
    switch (slipKind) {
    case 0:
        return u"見積書"_s;
    case 1:
        return u"作業指示書"_s;
    case 2:
        return u"納品書"_s;
    default:
        return {};
    }
}
