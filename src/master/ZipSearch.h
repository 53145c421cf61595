#pragma once

#include "ZipDictionary.h"

#include <QList>
#include <QString>

#include <functional>

class AppFolder;
class QIODevice;

// The search of one keyword through postal-code dictionaries in the national
// layout (comma text; field 2 the code, 6 the prefecture, 7 the city, 8 the
// town area). A record matches when its code begins with the keyword (see
// ZipDictionary::codeKey) or, failing that, when the keyword occurs in its
// address: city and town area as the record shows them. An empty keyword
// matches nothing.
//
// A file is streamed in blocks and matched as bytes, holding one block at a
// time: nothing is indexed and memory does not grow with the file. A match
// never starts inside a character. A file is read as UTF-8 when its content
// is UTF-8 (also without a byte-order mark), else as CP932. A town area
// split over consecutive lines of one code (an opening "（" closed on a
// later line) is one record.
class ZipSearch {
public:
    enum class Outcome { Finished, Stopped, Failed };
    using MatchFn = std::function<void(const ZipRecord &)>;
    // The number of lines read from the file so far; false stops the search.
    // Called every few hundred lines and at the end of the file.
    using ProgressFn = std::function<bool(qint64 lines)>;

    explicit ZipSearch(const QString &keyword);

    Outcome searchFile(const QString &path, const MatchFn &onMatch, const ProgressFn &onProgress = {}) const;
    // The same over an open device, read from where it stands.
    Outcome searchDevice(QIODevice &device, const MatchFn &onMatch, const ProgressFn &onProgress = {}) const;

    // The distinct records of the usable dictionaries whose code is code
    // (seven digits), in dictionary order.
    static QList<ZipRecord> addressesOf(const AppFolder &folder, const QString &code);

private:
    QString keyword_;
    QString codeKey_;
};
