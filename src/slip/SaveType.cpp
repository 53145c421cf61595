#include "SaveType.h"

namespace {

const char *const SaveTypeNames[] = {"sstAll", "sstCustomer", "sstCar", "sstCustCar", "sstLines", "sstSlip"};

} // namespace

QString SaveTypeName(TSlipSaveType type)
{
    const int i = int(type);
    return (i >= 0 && i <= int(sstSlip)) ? QString::fromLatin1(SaveTypeNames[i]) : QString();
}

int SaveTypeFromName(const QString &name)
{
    for (int i = 0; i <= int(sstSlip); ++i)
        if (name.compare(QLatin1String(SaveTypeNames[i]), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}
