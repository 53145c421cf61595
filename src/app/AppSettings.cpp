#include "AppSettings.h"

#include "lines/FixedPoint.h"
#include "platform/IniFile.h"
#include "platform/IntText.h"
#include "slip/SlipData.h"

AppSettings AppSettings::read(const QString &path)
{
    const IniFile ini(path);
    AppSettings s;
    s.eraDates = ini.readInteger(QStringLiteral("Date"), QStringLiteral("Date"), 0) != 0;
    s.nextSlipNumber = ini.readInteger(QStringLiteral("Slip"), QStringLiteral("No"), FirstSlipNumber);
    const QString rate = ini.readString(QStringLiteral("Tax"), QStringLiteral("SRate"));
    s.taxRate = rate.isEmpty() ? SlipData::DefaultTaxRate : Fixed::fromText(rate);
    s.rounding = ini.readInteger(QStringLiteral("Tax"), QStringLiteral("Hasu"), SlipData::DefaultTaxCut);
    s.initialFolder = ini.readString(QStringLiteral("Init"), QStringLiteral("Dir"));
    return s;
}

bool AppSettings::advanceSlipNumber(const QString &path, const QString &slipCode, QString *error)
{
    IniFile ini(path);
    const int next = ini.readInteger(QStringLiteral("Slip"), QStringLiteral("No"), FirstSlipNumber);
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
