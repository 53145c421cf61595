#pragma once

#include <QString>
#include <QStringList>

// The slips opened or saved last, newest first, kept in the settings file
// ([Recent] File1..File8) so that every process of the program shares one
// list.
namespace RecentFiles {

inline constexpr int MaxCount = 8;

// The list as stored, without files that are no longer there.
QStringList read(const QString &settingsPath);

// Puts path (absolute) at the top and records its folder as the one the file
// dialogs start in ([Init] Dir). The list is read and written back under the
// settings file's lock, so entries that other processes add meanwhile stay.
bool add(const QString &settingsPath, const QString &path, QString *error = nullptr);

} // namespace RecentFiles
