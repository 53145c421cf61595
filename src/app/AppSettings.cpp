#include "AppSettings.h"

#include "platform/IniFile.h"
#include "platform/IntText.h"
#include "slip/FixedPoint.h"

AppSettings AppSettings::read(const QString &path)
{
    const IniFile ini(path);
    AppSettings s;
    s.eraDates = ini.readInteger(QStringLiteral("Date"), QStringLiteral("Date"), 0) != 0;
    s.nextSlipNumber = ini.readInteger(QStringLiteral("Slip"), QStringLiteral("No"), 0);
    const QString rate = ini.readString(QStringLiteral("Tax"), QStringLiteral("SRate"));
    s.taxRate = rate.isEmpty() ? 5 * Fixed::One : Fixed::fromText(rate);
    s.rounding = ini.readInteger(QStringLiteral("Tax"), QStringLiteral("Hasu"), 0);
    s.initialFolder = ini.readString(QStringLiteral("Init"), QStringLiteral("Dir"));
    s.correctionX = Fixed::fromText(ini.readString(QStringLiteral("Print"), QStringLiteral("Fix_X")));
    s.correctionY = Fixed::fromText(ini.readString(QStringLiteral("Print"), QStringLiteral("Fix_Y")));
    return s;
}

QString AppSettings::datePattern() const
{
    return eraDates ? QStringLiteral("GGEE/MM/DD") : QStringLiteral("YYYY/MM/DD");
}

bool AppSettings::advanceSlipNumber(const QString &path, const QString &slipCode, QString *error)
{
    IniFile ini(path);
    const int next = ini.readInteger(QStringLiteral("Slip"), QStringLiteral("No"), 0);
    const int number = IntText::toIntDef(slipCode, 0);
    if (number < next)
        return true;
    ini.writeInteger(QStringLiteral("Slip"), QStringLiteral("No"), qint64(number) + 1);
    return ini.flush(error);
}

bool AppSettings::writeInitialFolder(const QString &path, const QString &folder, QString *error)
{
    IniFile ini(path);
    ini.writeString(QStringLiteral("Init"), QStringLiteral("Dir"), folder);
    return ini.flush(error);
}

PrintSettings PrintSettings::read(const QString &path)
{
    const IniFile ini(path);
    PrintSettings p;
    const QString sections[3] = {QStringLiteral("Mit"), QStringLiteral("Sig"), QStringLiteral("Nou")};
    const QString firstTitles[3] = {QStringLiteral("見積書"), QStringLiteral("作業指示書"),
                                    QStringLiteral("納品請求書")};
    for (int kind = 0; kind < 3; ++kind) {
        for (int copy = 0; copy < 4; ++copy) {
            QString def;
            if (copy == 0)
                def = firstTitles[kind];
            else if (copy == 1)
                def = firstTitles[kind] + QStringLiteral("(控)");
            p.titles[size_t(kind)][size_t(copy)] =
                ini.readString(sections[kind], QString::number(copy + 1), def);
        }
    }
    for (int copy = 0; copy < 4; ++copy)
        p.copies[size_t(copy)] = ini.readBool(QStringLiteral("Fuk"), QString::number(copy), copy < 2);
    p.formatName = ini.readString(QStringLiteral("Def"), QStringLiteral("Fomat"));
    p.logoName = ini.readString(QStringLiteral("Def"), QStringLiteral("Logo"));
    return p;
}

QString PrintSettings::formatPath(const QString &appDir) const
{
    return formatName.isEmpty() ? QString()
                                : appDir + QStringLiteral("Dat/Fmt/") + formatName + QStringLiteral(".fmt");
}

QString PrintSettings::logoPath(const QString &appDir) const
{
    return logoName.isEmpty() ? QString()
                              : appDir + QStringLiteral("Dat/Etc/") + logoName + QStringLiteral(".Dat");
}
