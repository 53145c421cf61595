#include "ZipSearch.h"

#include "platform/AppFolder.h"
#include "platform/Cp932.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Large enough that the per-block work is negligible, small enough that the
// caller hears from the search every millisecond or so.
constexpr qint64 BlockSize = 64 * 1024;

using Bytes = std::string_view;

enum class Encoding { Cp932, Utf8 };

bool isBlank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

// The byte length of the character that starts with b.
qsizetype charLength(Encoding enc, unsigned char b)
{
    if (enc == Encoding::Cp932)
        return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC) ? 2 : 1;
    return b < 0xC0 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
}

enum class Utf8Verdict { AsciiOnly, Utf8, NotUtf8 };

// Whether the bytes read as UTF-8. A sequence cut at the end counts as
// unknown, not as an error: a block ends anywhere.
Utf8Verdict judgeUtf8(const char *p, qsizetype n)
{
    bool multi = false;
    qsizetype i = 0;
    while (i < n) {
        const auto b = static_cast<unsigned char>(p[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        const int len = b >= 0xC2 && b <= 0xDF   ? 2
                        : b >= 0xE0 && b <= 0xEF ? 3
                        : b >= 0xF0 && b <= 0xF4 ? 4
                                                 : 0;
        if (len == 0)
            return Utf8Verdict::NotUtf8;
        if (i + len > n)
            break;
        for (int k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(p[i + k]) & 0xC0) != 0x80)
                return Utf8Verdict::NotUtf8;
        multi = true;
        i += len;
    }
    return multi ? Utf8Verdict::Utf8 : Utf8Verdict::AsciiOnly;
}

// Splits the first nine fields of a line by the comma-text rules (quoted
// fields, doubled quotes, blanks separating). Quoted fields are unescaped
// where they stand. Missing fields stay empty. Neither encoding has a
// multi-byte character containing a comma, a quote or a blank byte, so
// splitting bytes is safe.
void splitFields(char *p, char *end, Bytes (&out)[9])
{
    for (Bytes &f : out)
        f = {};
    while (p < end && isBlank(*p))
        ++p;
    for (int k = 0; p < end && k < 9; ++k) {
        if (*p == '"') {
            char *start = ++p;
            char *w = p;
            while (p < end) {
                if (*p == '"') {
                    if (p + 1 < end && p[1] == '"') {
                        *w++ = '"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                *w++ = *p++;
            }
            out[k] = Bytes(start, size_t(w - start));
        } else {
            const char *start = p;
            while (p < end && !isBlank(*p) && *p != ',')
                ++p;
            out[k] = Bytes(start, size_t(p - start));
        }
        while (p < end && isBlank(*p))
            ++p;
        if (p < end && *p == ',') {
            do
                ++p;
            while (p < end && isBlank(*p));
        }
    }
}

// The search of one file: the keyword and the national file's markers in
// the file's encoding, and a town area being joined.
class FileScan {
public:
    FileScan(const QString &keyword, const QString &codeKey, const ZipSearch::MatchFn &onMatch)
        : keyword_(keyword), codeKey_(codeKey), onMatch_(onMatch)
    {
        setEncoding(Encoding::Cp932);
    }

    void setEncoding(Encoding enc)
    {
        enc_ = enc;
        auto bytes = [enc](const QString &text) {
            if (enc == Encoding::Utf8)
                return text.toStdString();
            return Cp932::canEncode(text) ? Cp932::encode(text).toStdString() : std::string();
        };
        address_ = bytes(keyword_);
        code_ = bytes(codeKey_);
        open_ = bytes(u"（"_s);
        close_ = bytes(u"）"_s);
        caseEnd_ = bytes(u"場合"_s);
        whole_ = bytes(u"一円"_s);
    }

    void line(char *begin, char *end)
    {
        Bytes f[9];
        splitFields(begin, end, f);
        const Bytes code = f[2], pref = f[6], city = f[7], town = f[8];
        if (joining_) {
            if (code == pendingCode_ && city == pendingCity_) {
                pendingTown_.append(town);
                if (!unclosed(pendingTown_)) {
                    joining_ = false;
                    record(pendingCode_, pendingPref_, pendingCity_, pendingTown_);
                }
                return;
            }
            finish();
        }
        if (unclosed(town)) {
            joining_ = true;
            pendingCode_.assign(code);
            pendingPref_.assign(pref);
            pendingCity_.assign(city);
            pendingTown_.assign(town);
            return;
        }
        record(code, pref, city, town);
    }

    // A town area still open at the end of the file is a record as it is.
    void finish()
    {
        if (joining_) {
            joining_ = false;
            record(pendingCode_, pendingPref_, pendingCity_, pendingTown_);
        }
    }

private:
    QString decode(Bytes b) const
    {
        if (enc_ == Encoding::Utf8)
            return QString::fromUtf8(b.data(), qsizetype(b.size()));
        return Cp932::decode(QByteArray(b.data(), qsizetype(b.size())));
    }

    // The first position of needle in hay where a character starts.
    qsizetype find(Bytes hay, Bytes needle) const
    {
        if (needle.empty())
            return -1;
        size_t from = 0;
        for (;;) {
            const size_t hit = hay.find(needle, from);
            if (hit == Bytes::npos)
                return -1;
            if (enc_ == Encoding::Utf8) // no character starts inside another
                return qsizetype(hit);
            size_t i = 0;
            while (i < hit)
                i += size_t(charLength(enc_, static_cast<unsigned char>(hay[i])));
            if (i == hit)
                return qsizetype(hit);
            from = hit + 1;
        }
    }

    // True when the town area opens more "（" than it closes.
    bool unclosed(Bytes town) const
    {
        if (find(town, open_) < 0)
            return false;
        int depth = 0;
        for (size_t i = 0; i < town.size();) {
            const Bytes rest = town.substr(i);
            if (rest.starts_with(open_)) {
                ++depth;
                i += open_.size();
            } else if (rest.starts_with(close_)) {
                depth = std::max(0, depth - 1);
                i += close_.size();
            } else {
                i += size_t(charLength(enc_, static_cast<unsigned char>(town[i])));
            }
        }
        return depth > 0;
    }

    void record(Bytes code, Bytes pref, Bytes city, Bytes town)
    {
        const bool codeMatch = !code_.empty() && code.starts_with(code_);
        const bool notes = find(town, open_) >= 0 || town.ends_with(caseEnd_) || town == Bytes(whole_);
        if (notes) {
            // Rare: clean first, then match what the clerk will see.
            const QString address = decode(city) + ZipDictionary::cleanTown(decode(town));
            if (codeMatch || (!keyword_.isEmpty() && address.contains(keyword_)))
                onMatch_(ZipRecord{decode(code), decode(pref), address});
            return;
        }
        if (!codeMatch) {
            if (address_.empty())
                return;
            joined_.assign(city).append(town);
            if (find(joined_, address_) < 0)
                return;
        }
        onMatch_(ZipRecord{decode(code), decode(pref), decode(city) + decode(town)});
    }

    QString keyword_;
    QString codeKey_;
    const ZipSearch::MatchFn &onMatch_;
    Encoding enc_ = Encoding::Cp932;
    std::string address_, code_, open_, close_, caseEnd_, whole_;
    std::string joined_;
    bool joining_ = false;
    std::string pendingCode_, pendingPref_, pendingCity_, pendingTown_;
};

} // namespace

ZipSearch::ZipSearch(const QString &keyword) : keyword_(keyword), codeKey_(ZipDictionary::codeKey(keyword)) {}

ZipSearch::Outcome ZipSearch::searchFile(const QString &path, const MatchFn &onMatch,
                                         const ProgressFn &onProgress) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Outcome::Failed;
    FileScan scan(keyword_, codeKey_, onMatch);
    std::vector<char> buffer(size_t(BlockSize * 2));
    qsizetype have = 0;
    qint64 lines = 0;
    bool decided = false;
    bool start = true;
    for (bool atEnd = false; !atEnd;) {
        if (qsizetype(buffer.size()) - have < BlockSize)
            buffer.resize(size_t(have + BlockSize));
        const qint64 n = file.read(buffer.data() + have, BlockSize);
        if (n < 0)
            return Outcome::Failed;
        atEnd = n == 0;
        have += qsizetype(n);
        char *p = buffer.data();
        char *const end = p + have;
        // Complete lines only, except for a last line without a line break.
        char *stop = end;
        if (!atEnd) {
            while (stop > p && stop[-1] != '\n')
                --stop;
            if (stop == p)
                continue; // a line longer than a block
        }
        if (start) {
            start = false;
            if (have >= 3 && std::memcmp(p, "\xEF\xBB\xBF", 3) == 0) {
                p += 3;
                scan.setEncoding(Encoding::Utf8);
                decided = true;
            }
        }
        if (!decided) {
            // The first block with a non-ASCII character decides; ASCII
            // lines read the same either way.
            const Utf8Verdict v = judgeUtf8(p, stop - p);
            if (v != Utf8Verdict::AsciiOnly) {
                decided = true;
                scan.setEncoding(v == Utf8Verdict::Utf8 ? Encoding::Utf8 : Encoding::Cp932);
            }
        }
        while (p < stop) {
            char *nl = static_cast<char *>(std::memchr(p, '\n', size_t(stop - p)));
            char *lineEnd = nl ? nl : stop;
            char *next = nl ? nl + 1 : stop;
            if (lineEnd > p && lineEnd[-1] == '\r')
                --lineEnd;
            scan.line(p, lineEnd);
            ++lines;
            p = next;
        }
        have = end - stop;
        std::memmove(buffer.data(), stop, size_t(have));
        if (atEnd)
            scan.finish();
        if (onProgress && !onProgress(lines))
            return Outcome::Stopped;
    }
    return Outcome::Finished;
}

QList<ZipRecord> ZipSearch::addressesOf(const AppFolder &folder, const QString &code)
{
    QList<ZipRecord> found;
    const ZipSearch search(code);
    for (const QString &name : ZipDictionary::usable(folder))
        search.searchFile(ZipDictionary::path(folder, name), [&](const ZipRecord &r) {
            if (r.code == code && !found.contains(r))
                found.append(r);
        });
    return found;
}
