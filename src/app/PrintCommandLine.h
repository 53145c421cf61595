#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The window-less modes of the program, for authors of print formats:
//
//   torvane --print-data SLIP.tvx FORMAT.fmt [--copies 1,2] [--titles "a,b,,"]
//           [--logo FILE] [-o SCRIPT]
//   torvane --list-formats
//
// Returns the exit code when args (the program's arguments, the program
// itself first) ask for one of these modes; nothing otherwise, and the
// program starts its window. Needs a QCoreApplication, not a display.
std::optional<int> runPrintCommandLine(const QStringList &args, const QString &appDir);

// True when the arguments ask for a window-less mode (checked before any
// application object exists).
bool isPrintCommandLine(int argc, char **argv);
