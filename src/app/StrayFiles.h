#pragma once

#include <QString>
#include <QStringList>

// Temporary files that an interrupted save (a crash, a kill, a power cut)
// left beside its target are removed at the next start: only files with the
// name of a save's temporary, and only ones old enough that no running save
// can still own them.
namespace StrayFiles {

constexpr int MinAgeSeconds = 10 * 60;

// The folders where saves of this program write: the application folder,
// every folder below its Dat/, and the given ones (the slip's folder, the
// dialogs' initial folder); empty entries are skipped.
QStringList foldersToClean(const QString &appDir, const QStringList &more);

// Removes stray temporaries in those folders; how many went.
int removeAtStart(const QString &appDir, const QStringList &more, int minAgeSeconds = MinAgeSeconds);

} // namespace StrayFiles
