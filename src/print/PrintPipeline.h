#pragma once

#include "slip/SlipData.h"
#include "slip/SlipFile.h"

#include <QString>

#include <array>

class PrintProgress;

// The steps of a print run that need no window: the print snapshot, the
// print data script and the PDF output. The windows (PrintRun) and the
// command line share them.
namespace PrintPipeline {

struct Job {
    QString appDir;
    QString prefix;       // the instance prefix
    QString snapshotPath; // the slip written in full
    QString formatPath;
    QString logoPath;
    std::array<QString, 4> titles;
    std::array<bool, 4> copies{true, true, false, false};
    QString datePattern;
};

// "GGEE/MM/DD" when [Date] Date of the settings file is non-zero.
QString datePattern(const QString &settingsFile);

// Writes the whole slip as the print snapshot, replacing the last one, with
// the keys only the print formats read: each rate's base and tax ([Price]
// Base10, Tax10, Base8, Tax8, Base0, Base<rate>/Tax<rate> for any other
// rate, Untaxed for what is in no base), the issuer's registration number
// from the company-name setting at logoPath ([Invoice] RegNo, and RegNoText
// "登録番号 T…" when there is one) and "※" for each line at the reduced rate
// ([Line] Reduced<row>). A stored slip never holds them.
// Text that CP932 cannot hold stops the snapshot; with unmappable given it
// is written as "?" instead and the characters go to *unmappable.
bool writeSnapshot(const QString &path, const SlipData &slip, const SlipFile::Context &context,
                   const QString &logoPath, QString *error, QString *unmappable = nullptr);

// A slip file printed without a window: read, its totals recomputed from
// its lines and costs as the header editor does, and written as the
// snapshot at snapshotPath.
bool snapshotOfFile(const QString &slipPath, const QString &snapshotPath, const QString &appDir,
                    const QString &logoPath, QString *error, QString *unmappable = nullptr);

// "警告: 次の文字は印刷できないため「?」になります: …" for the characters
// given, each named once; empty when there are none.
QString unmappableWarning(const QString &characters);

// Print data generation. Without a snapshot nothing is made: true with an
// empty *scriptPath. Characters that CP932 cannot hold (they print as "?")
// go to *unmappable.
bool makeScript(const Job &job, PrintProgress *progress, QString *scriptPath, QString *error,
                QString *unmappable = nullptr);

// The script made from the job, written as a PDF; the script and the page
// files are deleted afterwards, also on failure.
bool exportPdf(const Job &job, const QString &pdfPath, const QString &title, double fixX, double fixY,
               PrintProgress *progress, QString *error, QString *unmappable = nullptr);

} // namespace PrintPipeline
