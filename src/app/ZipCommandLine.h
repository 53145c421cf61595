#pragma once

#include <QStringList>

#include <optional>

// The postal-code search for scripts, without a window:
//
//   torvane --zip-search KEYWORD [--dict FILE]...
//
// Prints the matches of the active dictionaries (or of the named files) as
// UTF-8 lines "code,prefecture,address", the records the search dialog
// lists. Exit code 0 with matches, 1 without, 2 on an error. Returns nothing
// when args (the program first) ask for another mode. Needs a
// QCoreApplication.
std::optional<int> runZipCommandLine(const QStringList &args, const QString &appDir);

// True when the arguments ask for the postal-code search (checked before
// any application object exists).
bool isZipCommandLine(int argc, char **argv);
