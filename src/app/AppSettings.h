#pragma once

#include "slip/SlipData.h"

#include <QString>
#include <QtGlobal>

#include <functional>

// The keys of the settings file (<executable>.ini beside the executable)
// that the main window reads and writes. The print correction [Print]
// Fix_X/Fix_Y is read with the other print settings (PrintSettings).
struct AppSettings {
    // The number of the first slip of a fresh installation.
    static constexpr int FirstSlipNumber = 1;

    bool eraDates = false;                     // [Date] Date
    int nextSlipNumber = FirstSlipNumber;      // [Slip] No
    qint64 taxRate = SlipData::DefaultTaxRate; // [Tax] SRate, fixed-point percent
    int rounding = SlipData::DefaultTaxCut;    // [Tax] Hasu
    // How a new slip computes its consumption tax: 0 per line (明細ごと),
    // 1 once per rate per slip (税率ごと), which a qualified invoice needs.
    static constexpr int DefaultTaxCalcMode = 1;
    int taxCalcMode = DefaultTaxCalcMode; // [Tax] CalcMode
    QString initialFolder;                // [Init] Dir

    static AppSettings read(const QString &path);

    // After a slip has been saved under a new name: the next number moves
    // past slipCode when slipCode is not below it. A slip code that is not a
    // number counts as 0.
    // Reads, moves and writes [Slip] No under the settings file's lock, so two
    // processes never see the same number as free.
    static bool advanceSlipNumber(const QString &path, const QString &slipCode, QString *error = nullptr);
    // Hands out the next number (in *number) and moves [Slip] No past it.
    static bool takeSlipNumber(const QString &path, int *number, QString *error = nullptr);
    // The one read-advance-write of [Slip] No: advance gets the number on
    // disk and gives the new one; *handedOut receives the number read.
    static bool updateSlipNumber(const QString &path, const std::function<int(int next)> &advance,
                                 int *handedOut, QString *error = nullptr);
    static bool writeInitialFolder(const QString &path, const QString &folder, QString *error = nullptr);
};
