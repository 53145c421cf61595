#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The weight-tax and compulsory-insurance tables under Dat/Tax/: per kind a
// list file of classification names and one table file per classification.
// Table files hold one comma-text line per grid row; row 0 and column 0 are
// headings, the other cells whole yen or empty.
namespace TaxTables {

enum Kind { Insurance = 1, WeightTax = 2 };

// "CIN" for insurance, "WTT" for any other kind.
QString filePrefix(int kind);
// "CompIns" for insurance, "WtTax" for any other kind.
QString listFileName(int kind);
// "自賠責" for insurance, "重量税" for any other kind.
QString kindLabel(int kind);

// <appFolder>/Dat/Tax/
QString folder(const QString &appFolder);
QString listPath(const QString &appFolder, int kind);
QString tablePath(const QString &appFolder, int kind, const QString &name);

// "自家用", "事業用": the classifications when a kind has no list file.
QStringList defaultClassifications();

// The classification names of the kind; the defaults when the list file is
// missing or holds no name, so that there is always one to show.
QStringList readClassifications(const QString &appFolder, int kind);
bool writeClassifications(const QString &appFolder, int kind, const QStringList &names, QString *error);

// Whether a classification name can become part of a file name on every
// system the program runs on: not empty, none of \ / : * ? " < > | or control
// characters, no trailing dot or blank (Windows drops them), every character
// representable in the code page of the list file, and short enough for a file
// name. Linux itself would take most of these, but then the same data folder
// would not work on Windows.
bool isValidClassName(const QString &name);

// A table's cells row by row; every row has columns() cells.
struct Grid {
    QList<QStringList> rows;
    int columns() const { return rows.isEmpty() ? 0 : int(rows.first().size()); }
    int rowCount() const { return int(rows.size()); }
};

// An empty grid of the size shown when a classification has no table yet.
Grid emptyGrid(int rows = 5, int columns = 5);

// The table file: one row per line, as many columns as the longest line has
// fields (at least 2), and at least 2 rows so that a heading row and a heading
// column always stand beside a value cell. nullopt when the file cannot be read.
std::optional<Grid> loadTable(const QString &path);
// The same from the file's lines.
Grid tableFromLines(const QStringList &lines);
bool saveTable(const QString &path, const Grid &grid, QString *error);

// Whole yen of a value cell: an integer as the price cells take it; nullopt
// for empty or other text.
std::optional<qint64> amountOf(const QString &text);

// Renames a classification's table file. Refused (false) for an invalid new
// name and when the new name's file already exists, which would otherwise
// overwrite another table. A classification without a file yet renames trivially.
bool renameTable(const QString &appFolder, int kind, const QString &from, const QString &to);

} // namespace TaxTables
