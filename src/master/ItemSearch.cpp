#include "ItemSearch.h"

using namespace Qt::StringLiterals;

namespace TextFold {

QString fold(const QString &text)
{
    QString out = text.normalized(QString::NormalizationForm_KC);
    for (QChar &c : out) {
        const char16_t u = c.unicode();
        // ァ..ヶ and ヽヾ sit 0x60 above their hiragana.
        if ((u >= 0x30A1 && u <= 0x30F6) || u == 0x30FD || u == 0x30FE)
            c = QChar(char16_t(u - 0x60));
    }
    return out.toCaseFolded();
}

} // namespace TextFold

void ItemSearch::build(const ItemFiles::Location &where, ItemFiles::Kind kind,
                       const ItemFiles::CategoryList &categories, int classCount,
                       ItemFiles::ReadReport *report)
{
    entries_.clear();
    for (int i = 0; i < categories.size(); ++i) {
        const QList<QStringList> rows =
            ItemFiles::readItems(where.itemFile(kind, categories.code(i)), report);
        for (QStringList cells : rows) {
            cells.resize(classCount + 1);
            if (cells.first().trimmed().isEmpty())
                continue; // an unnamed row cannot be found by name
            const QString folded = TextFold::fold(cells.first());
            entries_.append({i, std::move(cells), folded});
        }
    }
}

void ItemSearch::setEntries(QList<Entry> entries)
{
    entries_ = std::move(entries);
}

QList<int> ItemSearch::find(const QString &query) const
{
    const QString needle = TextFold::fold(query.trimmed());
    QList<int> hits;
    if (needle.isEmpty())
        return hits;
    for (qsizetype i = 0; i < entries_.size(); ++i)
        if (entries_.at(i).folded.contains(needle))
            hits.append(int(i));
    return hits;
}
