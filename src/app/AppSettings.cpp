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
    s.taxCalcMode =
        ini.readInteger(QStringLiteral("Tax"), QStringLiteral("CalcMode"), DefaultTaxCalcMode) == 0 ? 0 : 1;
    s.initialFolder = ini.readString(QStringLiteral("Init"), QStringLiteral("Dir"));
    return s;
}

bool AppSettings::updateSlipNumber(const QString &path, const std::function<int(int next)> &advance,
                                   int *handedOut, QString *error)
{
    return IniFile::update(
        path,
        [&](IniFile &ini) {
            const int next = ini.readInteger(QStringLiteral("Slip"), QStringLiteral("No"), FirstSlipNumber);
            if (handedOut)
                *handedOut = next;
            const int moved = advance(next);
            if (moved == next)
                return false;
            ini.writeInteger(QStringLiteral("Slip"), QStringLiteral("No"), moved);
            return true;
        },
        error);
}

bool AppSettings::advanceSlipNumber(const QString &path, const QString &slipCode, QString *error)
{
    const int number = IntText::toIntDef(slipCode, 0);
    return updateSlipNumber(
        path, [number](int next) { return number < next ? next : number + 1; }, nullptr, error);
}

bool AppSettings::takeSlipNumber(const QString &path, int *number, QString *error)
{
    return updateSlipNumber(
        path, [](int next) { return next + 1; }, number, error);
}

bool AppSettings::writeInitialFolder(const QString &path, const QString &folder, QString *error)
{
    IniFile ini(path);
    ini.writeString(QStringLiteral("Init"), QStringLiteral("Dir"), folder);
    return ini.flush(error);
}
