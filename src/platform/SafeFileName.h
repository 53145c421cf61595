#pragma once

#include <QString>

// Names typed by the user that become file names (company-name settings,
// car makers, master lists, dictionaries) must stay inside their folder and
// be valid on Windows too, where the data folder is often shared.
namespace SafeFileName {

// True for a name that is a single, portable file name: not empty, no path
// separator, no "." or "..", none of \ / : * ? " < > |, no control
// character, no trailing dot or space, and not a device name such as CON,
// PRN, AUX, NUL, COM1–COM9 or LPT1–LPT9 (also with an extension).
bool isSafe(const QString &name);

// The message for a refused name.
QString refusal(const QString &name);

} // namespace SafeFileName
