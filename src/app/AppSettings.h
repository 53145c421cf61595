#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

// The keys of the settings file (<executable>.ini beside the executable)
// that the main window reads and writes.
struct AppSettings {
    bool eraDates = false;      // [Date] Date
    int nextSlipNumber = 0;     // [Slip] No
    qint64 taxRate = 5 * 10000; // [Tax] SRate, fixed-point percent
    int rounding = 0;           // [Tax] Hasu
    QString initialFolder;      // [Init] Dir
    qint64 correctionX = 0;     // [Print] Fix_X, fixed-point millimetres
    qint64 correctionY = 0;     // [Print] Fix_Y

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
