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

// Writes the whole slip as the print snapshot, replacing the last one.
bool writeSnapshot(const QString &path, const SlipData &slip, const SlipFile::Context &context,
                   QString *error);

// Print data generation. Without a snapshot nothing is made: true with an
// empty *scriptPath.
bool makeScript(const Job &job, PrintProgress *progress, QString *scriptPath, QString *error);

// The script made from the job, written as a PDF; the script and the page
// files are deleted afterwards, also on failure.
bool exportPdf(const Job &job, const QString &pdfPath, const QString &title, double fixX, double fixY,
               PrintProgress *progress, QString *error);

} // namespace PrintPipeline
