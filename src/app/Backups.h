#pragma once

#include <QDateTime>
#include <QStringList>

class AppFolder;

// Dated zip archives of what a workshop sets up once and would hate to set up
// again: the settings file and the data folder's masters, tax tables, print
// formats, company-name settings and templates. Slips, the temporary and
// recovery folders and the archives themselves stay out. Entries are named
// relative to the application folder ("Dat/Mst/担当者", "torvane.ini").
namespace Backups {

// Archives kept in the backup folder; making one more removes the oldest.
constexpr int Kept = 14;

// "torvane-backup-YYYYMMDD.zip" for the first archive of a day,
// "torvane-backup-YYYYMMDD-N.zip" (N = 2, 3 …) for further ones.
QString archiveName(QDate day, int sequence);
// The archives of folder, oldest first.
QStringList archives(const QString &folder);

// The files an archive takes, relative to the application folder.
QStringList filesToKeep(const AppFolder &app);

// Makes an archive now; its path, or empty with the reason in *error.
// Older archives beyond Kept go.
QString make(const AppFolder &app, const QDateTime &now, QString *error);
// Makes an archive when the folder has none of today yet: the first start
// of each day. Its path, empty when none was due or it failed (*error set).
QString makeDaily(const AppFolder &app, const QDateTime &now, QString *error);

// Writes the archive's files back into the application folder, each in one
// atomic step. Every entry is read and checked before the first file is
// written, so a damaged archive changes nothing. Files the archive does not
// hold are left as they are.
bool restore(const AppFolder &app, const QString &archive, QString *error);

} // namespace Backups
