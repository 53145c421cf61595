#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class AppFolder;

// The short lists the slip header picks from: persons in charge (担当者),
// work names (作業名) and other costs with their amounts (諸費用). Each list
// is the file Dat/Mst/<list name>, one row per line as comma text, CP932,
// written with CR LF. The list name becomes the file name, so a name that
// is no safe file name is refused.
namespace MasterList {

using Rows = QList<QStringList>;

// One column (the name) for 担当者 and 作業名; two for any other list: the
// name and an amount in whole yen.
int columnCount(const QString &listName);

// The rows of the list, each of exactly columnCount() fields: extra fields
// are dropped, missing ones empty. A missing or empty file, or a refused
// name, gives one empty row.
Rows load(const AppFolder &folder, const QString &listName);

// Replaces the list file with one line per row. A refused name writes
// nothing and returns false with the refusal in *error.
bool save(const AppFolder &folder, const QString &listName, const Rows &rows, QString *error = nullptr);

// An amount cell keeps a whole number as typed and drops anything else.
QString amountText(const QString &typed);

} // namespace MasterList
