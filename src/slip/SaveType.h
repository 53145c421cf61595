#pragma once

#include <QString>

// Which part of a slip a load or save covers. The names are stored as text in
// template files, so the order and the names never change.
enum TSlipSaveType { sstAll = 0, sstCustomer, sstCar, sstCustCar, sstLines, sstSlip };

// "sstAll", "sstCustomer", ...
QString SaveTypeName(TSlipSaveType type);
// The scope of that name, matched without regard to case; -1 when there is none.
int SaveTypeFromName(const QString &name);
