#pragma once

#include <QString>
#include <QStringList>

class AppFolder;

// One postal-code record as a clerk writes it on a slip.
struct ZipRecord {
    QString code;       // seven digits
    QString prefecture; // 都道府県
    QString address;    // city and town area, cleaned (see cleanTown)
    friend bool operator==(const ZipRecord &, const ZipRecord &) = default;
};

// The postal-code dictionaries of Dat/Mst/Zip/ and their list file
// "ziplist": one bare file name per line, in search order.
namespace ZipDictionary {

// The names listed in ziplist (blank lines skipped); empty without the file.
QStringList listed(const AppFolder &folder);
// The listed names whose file exists in the folder and whose name stays
// inside it. ziplist itself is not changed.
QStringList usable(const AppFolder &folder);
// The path of a listed name (found without regard to case).
QString path(const AppFolder &folder, const QString &name);
// Replaces ziplist with names.
bool writeList(const AppFolder &folder, const QStringList &names, QString *error = nullptr);

// The town-area part as a person writes it. The national file carries notes
// that are not part of an address: "以下に掲載がない場合" and
// "…の次に番地がくる場合" (the town part is empty), "一円" (the whole place)
// and parenthesised notes such as "（次のビルを除く）" or "（１～１９丁目）",
// which are dropped; an unclosed "（" drops the rest.
QString cleanTown(const QString &town);

// The keyword as it is compared with codes: full-width digits become ASCII
// digits and, when the keyword holds nothing but digits and hyphens, the
// hyphens go ("１００－０００１" and "100-0001" give "1000001"). Anything
// else is returned as typed.
QString codeKey(const QString &keyword);

} // namespace ZipDictionary
