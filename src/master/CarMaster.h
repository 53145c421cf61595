#pragma once

#include <QString>
#include <QStringList>

class AppFolder;

// The car master: the maker list Dat/Mst/Mk/Maker.dat and, for each maker,
// the file Dat/Mst/Mk/<maker> with its car names, one name per line (names
// may hold spaces), CP932, written with CR LF. A missing file is an empty
// list. The maker name becomes a file name, so a name that could leave the
// folder, is not valid on Windows, or is the maker list's own name is
// refused: nothing is read or written for it.
namespace CarMaster {

QStringList makers(const AppFolder &folder);
bool saveMakers(const AppFolder &folder, const QStringList &makers, QString *error = nullptr);

// True for a maker name that can name its car-name file.
bool isMakerName(const QString &maker);
// The message for a maker name that is not one.
QString refusal(const QString &maker);

// The car names of a maker; none for an empty or refused name.
QStringList carNames(const AppFolder &folder, const QString &maker);
// Replaces the maker's car-name file. An empty maker name has no file and
// writes nothing (true), nor do only empty names for a maker without a file;
// a refused name writes nothing and returns false with the refusal in *error.
bool saveCarNames(const AppFolder &folder, const QString &maker, const QStringList &names,
                  QString *error = nullptr);
// Deletes the maker's car-name file, if any. False with a reason when it
// stays.
bool removeCarNames(const AppFolder &folder, const QString &maker, QString *error = nullptr);

// The car-name field's text for a pick: maker, a space, car name, without
// blanks at either end (a maker without car names gives the maker alone).
QString carNameText(const QString &maker, const QString &carName);

// Ascending by the system locale's case-insensitive comparison; empty
// entries first.
void sortNames(QStringList &names);

} // namespace CarMaster
