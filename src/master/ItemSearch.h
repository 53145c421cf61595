#pragma once

#include "ItemFiles.h"

#include <QList>
#include <QString>
#include <QStringList>

// Free-text search over the item names of one kind across all categories.
// Names and queries are compared after folding, so that a clerk finds an
// item however the name was typed: full-width and half-width forms (ﾌﾞﾚｰｷ,
// ＡＢＳ), katakana and hiragana, and upper and lower case all match.
namespace TextFold {

// Compatibility forms to their plain ones (half-width katakana with its
// voicing marks to full-width, full-width Latin and digits to ASCII), then
// katakana to hiragana, then case folding.
QString fold(const QString &text);

} // namespace TextFold

class ItemSearch {
public:
    struct Entry {
        int category;      // index into the category list
        QStringList cells; // as the grid holds them: name, one value per class
        QString folded;    // the folded name
    };

    // Reads the item files of every category of the kind; rows are cut or
    // padded to the given number of vehicle classes.
    void build(const ItemFiles::Location &where, ItemFiles::Kind kind,
               const ItemFiles::CategoryList &categories, int classCount, ItemFiles::ReadReport *report);
    // Builds from rows already in memory (tests and benchmarks).
    void setEntries(QList<Entry> entries);
    void clear() { entries_.clear(); }
    bool isEmpty() const { return entries_.isEmpty(); }

    const QList<Entry> &entries() const { return entries_; }
    // The entries whose name holds the query, in category and file order;
    // none for a query that folds to nothing.
    QList<int> find(const QString &query) const;

private:
    QList<Entry> entries_;
};
