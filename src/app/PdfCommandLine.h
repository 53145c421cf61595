#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The window-less PDF export:
//
//   torvane --export-pdf OUT.pdf SLIP.tvx [--format NAME] [--logo NAME]
//
// Without --format/--logo the print defaults (Dat/Mst/DefPrDat) name them;
// the copy titles and copies come from there too. Returns the exit code (0
// written, 1 failed, 2 wrong arguments) when args ask for the export, nothing
// otherwise. Needs a QGuiApplication (fonts), not a display.
std::optional<int> runPdfCommandLine(const QStringList &args, const QString &appDir);

// True when the arguments ask for the export (checked before any application
// object exists).
bool isPdfCommandLine(int argc, char **argv);
