#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The workshop's price list under Dat/Mst/Mnt/: the category list Div.dat,
// the vehicle-class lists m.dat (maintenance) and p.dat (parts), and one item
// file per kind and category, m<code>.csv and p<code>.csv. Every file is CP932
// text read and written whole, one record per line.
namespace ItemFiles {

enum class Kind { Maintenance, Parts };

// "整備" or "部品": the line category a picked item becomes.
QString kindName(Kind kind);

// Every path of the price list, built from the application folder in this
// one place.
struct Location {
    explicit Location(const QString &appFolder);
    QString folder; // with a trailing "/"

    QString categoryFile() const;
    QString classFile(Kind kind) const;
    QString itemFile(Kind kind, const QString &code) const;
};

// What a read left out, one Japanese sentence per skipped line or missing
// file, so that the window can tell the user without failing the load.
struct ReadReport {
    QStringList skipped;
    bool isEmpty() const { return skipped.isEmpty(); }
};

// Lines longer than this are not item records (a damaged or foreign file):
// they are skipped instead of being shown.
constexpr qsizetype MaxLineLength = 16 * 1024;

// The lines of a file, without the lines that are too long or hold bytes that
// are not CP932; a missing file gives no lines. Both are noted in *report.
QStringList readLines(const QString &path, ReadReport *report);
// The same check over lines already read from the file named fileName.
QStringList checkedLines(const QStringList &raw, const QString &fileName, ReadReport *report);

// The category list: the lines of Div.dat as comma text, field 0 the name as
// shown, field 1 the code that names the item files. Lines are kept as read,
// so fields after the code survive a save.
class CategoryList {
public:
    // Lines without a code are skipped and reported (their item files cannot
    // be named); empty lines are dropped silently.
    static CategoryList read(const Location &where, ReadReport *report);
    bool write(const Location &where, QString *error) const;

    static CategoryList fromLines(const QStringList &lines);
    const QStringList &lines() const { return lines_; }

    int size() const { return int(lines_.size()); }
    bool isEmpty() const { return lines_.isEmpty(); }
    QString name(int index) const;
    QString code(int index) const;
    QStringList names() const;
    // The first category of that name (names may repeat), or -1.
    int indexOf(const QString &name) const;

    void append(const QString &name, const QString &code);
    void remove(int index);
    // The code stays, so the item files keep their names.
    void rename(int index, const QString &name);

    // The category shown after the one at removed was deleted from a list
    // that now holds sizeAfter entries: the same index (the following one
    // moved into it), or the new last one.
    static int indexAfterRemoval(int removed, int sizeAfter);

private:
    QStringList lines_;
};

// The vehicle classes of a kind, one name per line (plain text).
QStringList readClasses(const Location &where, Kind kind, ReadReport *report);
bool writeClasses(const Location &where, Kind kind, const QStringList &names, QString *error);

// The items of one category: one row of cells per line, field 0 the name,
// fields 1.. the values per vehicle class. A field of a single blank (left by
// older saves of an empty cell) reads as empty.
QList<QStringList> readItems(const QString &path, ReadReport *report);
// The rows of an item file's checked lines.
QList<QStringList> itemRows(const QStringList &lines);
bool writeItems(const QString &path, const QList<QStringList> &rows, QString *error);

// The item files of a new category: one empty item row with one empty value
// per vehicle class, for each kind.
bool createCategoryFiles(const Location &where, const QString &code, QString *error);
// Removes both item files of a category; a file that is already gone is fine.
bool removeCategoryFiles(const Location &where, const QString &code);

} // namespace ItemFiles
