#include "ZipSearch.h"

#include "platform/AppFolder.h"
#include "platform/Cp932.h"

#include <QFile>
#include <QIODevice>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// CP932 to UTF-16 through a table of every double-byte code, made once with
// the program's codec: a search for a common word decodes thousands of
// records, each a handful of short fields.
class Cp932Table {
public:
    Cp932Table() : table_(65536, QChar::ReplacementCharacter)
    {
        QByteArray all;
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (lead > 0x9F && lead < 0xE0)
                continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail)
                all.append(char(lead)).append(char(trail)).append('\n');
        }
        // The line breaks keep the codes apart whatever an invalid one turns into.
        const QStringList chars = Cp932::decode(all).split(u'\n');
        qsizetype k = 0;
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (lead > 0x9F && lead < 0xE0)
                continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail, ++k)
                if (chars.value(k).size() == 1)
                    table_[size_t(lead << 8 | trail)] = chars.at(k).at(0);
        }
        QByteArray single;
        for (int b = 0x80; b <= 0xFF; ++b)
            single.append(char(b)).append('\n');
        const QStringList singles = Cp932::decode(single).split(u'\n');
        for (int b = 0x80; b <= 0xFF; ++b)
            if (singles.value(b - 0x80).size() == 1)
                table_[size_t(b)] = singles.at(b - 0x80).at(0);
    }

    QString decode(Bytes b) const
    {
        QString out(qsizetype(b.size()), Qt::Uninitialized);
        QChar *w = out.data();
        for (size_t i = 0; i < b.size(); ++i) {
            const auto c = static_cast<unsigned char>(b[i]);
            if (c < 0x80) {
                *w++ = QChar(char16_t(c));
            } else if (charLength(Encoding::Cp932, c) == 2 && i + 1 < b.size()) {
                *w++ = table_[size_t(c << 8 | static_cast<unsigned char>(b[++i]))];
            } else {
                *w++ = table_[c];
            }
        }
        out.truncate(w - out.constData());
        return out;
    }

private:
    std::vector<QChar> table_;
};

QString decodeCp932(Bytes b)
{
    static const Cp932Table table;
    return table.decode(b);
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
        // A keyword of ASCII characters only (a code, a house number) is
        // looked for in the city and in the town area; any other also
        // across the two, as an address is written.
        spanning_ = std::any_of(address_.begin(), address_.end(), [](char c) { return c & 0x80; });
        anchors_.clear();
        const auto anchor = [this](const std::string &needle, size_t distance, char second) {
            if (needle.empty())
                return;
            const bool one = needle.size() == 1;
            anchors_.push_back({static_cast<unsigned char>(needle.front()),
                                static_cast<unsigned char>(one ? needle.front() : second), one ? 0u : 1u,
                                static_cast<unsigned char>(needle.back()), distance});
        };
        anchor(address_, address_.size() - 1, address_.size() > 1 ? address_[1] : 0);
        // Across the end of the city and the start of the town area:
        // "," "\",\"" "\"," or ",\"" between the two parts.
        const size_t firstChar =
            address_.empty() ? 0 : size_t(charLength(enc_, static_cast<unsigned char>(address_[0])));
        if (spanning_ && firstChar < address_.size()) {
            for (size_t separator = 1; separator <= 3; ++separator) {
                if (firstChar > 1)
                    anchor(address_, address_.size() - 1 + separator, address_[1]);
                else // the separator follows the first character
                    for (char second : {',', '"'})
                        anchor(address_, address_.size() - 1 + separator, second);
            }
        }
        if (code_ != address_)
            anchor(code_, code_.size() - 1, code_.size() > 1 ? code_[1] : 0);
        // Every town area with a note: it may open a record split over lines.
        anchor(open_, open_.size() - 1, open_.size() > 1 ? open_[1] : 0);
    }

    // How far past the end of a block scanBlock may read, in either encoding.
    size_t overrun() const { return size_t(keyword_.size() + codeKey_.size()) * 3 + 16; }

    // Handles the complete lines in [begin, stop) and returns how many there
    // are. Only lines that can match are split into fields: those holding
    // the keyword, the code key or "（" (found by their first and last
    // bytes, several at a time), and the lines of a split record. The
    // buffer must be readable up to overrun() bytes past stop.
    qint64 scanBlock(char *begin, char *stop)
    {
        qint64 lines = 0;
        char *done = begin; // everything before has been handled
        while (joining_ && done < stop)
            done = feedLine(done, stop);
        const size_t n = size_t(stop - begin);
        size_t i = 0;
        const auto candidate = [&](size_t pos) {
            char *at = begin + pos;
            if (at >= done && verify(at, stop))
                done = feedFrom(at, done, stop);
        };
#if defined(__SSE2__)
        const __m128i newline = _mm_set1_epi8('\n');
        // Line breaks are counted per byte lane and summed before a lane
        // can overflow.
        __m128i breaks = _mm_setzero_si128();
        int lanesUsed = 0;
        const auto sumBreaks = [&] {
            const __m128i sums = _mm_sad_epu8(breaks, _mm_setzero_si128());
            lines += _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8));
            breaks = _mm_setzero_si128();
            lanesUsed = 0;
        };
        // The anchors as byte vectors; anchors of one needle share the
        // comparison of their first byte.
        constexpr size_t MaxAnchors = 12;
        __m128i firsts[MaxAnchors], seconds[MaxAnchors], lasts[MaxAnchors];
        bool sameFirst[MaxAnchors];
        const size_t count = std::min(anchors_.size(), MaxAnchors);
        for (size_t k = 0; k < count; ++k) {
            firsts[k] = _mm_set1_epi8(char(anchors_[k].first));
            seconds[k] = _mm_set1_epi8(char(anchors_[k].second));
            lasts[k] = _mm_set1_epi8(char(anchors_[k].last));
            sameFirst[k] = k > 0 && anchors_[k].first == anchors_[k - 1].first;
        }
        for (; i + 16 <= n; i += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(begin + i));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(begin + i + 1));
            breaks = _mm_sub_epi8(breaks, _mm_cmpeq_epi8(v, newline));
            if (++lanesUsed == 255)
                sumBreaks();
            __m128i hits = _mm_setzero_si128();
            __m128i first = _mm_setzero_si128();
            for (size_t k = 0; k < count; ++k) {
                const Anchor &a = anchors_[k];
                if (!sameFirst[k])
                    first = _mm_cmpeq_epi8(v, firsts[k]);
                const __m128i second = _mm_cmpeq_epi8(a.secondOffset ? next : v, seconds[k]);
                const __m128i last =
                    _mm_loadu_si128(reinterpret_cast<const __m128i *>(begin + i + a.distance));
                hits = _mm_or_si128(
                    hits, _mm_and_si128(_mm_and_si128(first, second), _mm_cmpeq_epi8(last, lasts[k])));
            }
            for (unsigned bits = unsigned(_mm_movemask_epi8(hits)); bits != 0; bits &= bits - 1)
                candidate(i + size_t(__builtin_ctz(bits)));
        }
        sumBreaks();
#endif
        for (; i < n; ++i) {
            if (begin[i] == '\n')
                ++lines;
            for (const Anchor &a : anchors_)
                if (static_cast<unsigned char>(begin[i]) == a.first &&
                    static_cast<unsigned char>(begin[i + a.secondOffset]) == a.second &&
                    static_cast<unsigned char>(begin[i + a.distance]) == a.last) {
                    candidate(i);
                    break;
                }
        }
        if (n > 0 && stop[-1] != '\n')
            ++lines; // the last line of the file, without a line break
        return lines;
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
    // A needle found by three of its bytes: the first, the one at
    // secondOffset (0 or 1) and the last, distance bytes after the first.
    struct Anchor {
        unsigned char first;
        unsigned char second;
        size_t secondOffset;
        unsigned char last;
        size_t distance;
    };

    // Whether a line holding at could match: the keyword (also split by a
    // field separator after one of its characters), the code key or "（"
    // starts there.
    bool verify(const char *at, const char *stop) const
    {
        const Bytes rest(at, size_t(stop - at));
        if (!code_.empty() && rest.starts_with(code_))
            return true;
        if (rest.starts_with(open_)) {
            // Only a note left open continues on the next line.
            const char *nl = static_cast<const char *>(std::memchr(at, '\n', rest.size()));
            const Bytes line = rest.substr(0, nl ? size_t(nl - at) : rest.size());
            if (line.find(close_) == Bytes::npos)
                return true;
        }
        if (address_.empty())
            return false;
        if (rest.starts_with(address_))
            return true;
        if (!spanning_)
            return false;
        static constexpr Bytes Separators[] = {"\",\"", ",", "\",", ",\""};
        for (size_t j = size_t(charLength(enc_, static_cast<unsigned char>(address_[0])));
             j < address_.size(); j += size_t(charLength(enc_, static_cast<unsigned char>(address_[j])))) {
            if (!rest.starts_with(Bytes(address_).substr(0, j)))
                return false;
            const Bytes after = rest.substr(j);
            for (Bytes separator : Separators)
                if (after.starts_with(separator) &&
                    after.substr(separator.size()).starts_with(Bytes(address_).substr(j)))
                    return true;
        }
        return false;
    }

    // Handles the line starting at begin; returns the start of the next one.
    char *feedLine(char *begin, char *stop)
    {
        char *nl = static_cast<char *>(std::memchr(begin, '\n', size_t(stop - begin)));
        char *end = nl ? nl : stop;
        char *next = nl ? nl + 1 : stop;
        if (end > begin && end[-1] == '\r')
            --end;
        line(begin, end);
        return next;
    }

    // Handles the line around at and, when it opens a split record, the
    // lines that continue it; returns the start of the line after them.
    char *feedFrom(char *at, char *floor, char *stop)
    {
        char *begin = at;
        while (begin > floor && begin[-1] != '\n')
            --begin;
        char *next = feedLine(begin, stop);
        while (joining_ && next < stop)
            next = feedLine(next, stop);
        return next;
    }

    QString decode(Bytes b) const
    {
        if (enc_ == Encoding::Utf8)
            return QString::fromUtf8(b.data(), qsizetype(b.size()));
        return decodeCp932(b);
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

    // A record matches when its code begins with the code key, or when its
    // city and town area hold the keyword both as written in the file and
    // as the clerk sees them, cleaned.
    void record(Bytes code, Bytes pref, Bytes city, Bytes town)
    {
        const bool codeMatch = !code_.empty() && code.starts_with(code_);
        if (!codeMatch) {
            if (address_.empty())
                return;
            if (spanning_) {
                joined_.assign(city).append(town);
                if (find(joined_, address_) < 0)
                    return;
            } else if (find(city, address_) < 0 && find(town, address_) < 0) {
                return;
            }
        }
        const bool notes = find(town, open_) >= 0 || town.ends_with(caseEnd_) || town == Bytes(whole_);
        if (!notes) {
            QString address = decode(city) + decode(town);
            // A damaged line can end its city with half a character that the
            // town completes: the bytes match, the address does not.
            if (!codeMatch && !address.contains(keyword_))
                return;
            onMatch_(ZipRecord{decode(code), decode(pref), std::move(address)});
            return;
        }
        const QString address = decode(city) + ZipDictionary::cleanTown(decode(town));
        if (codeMatch || address.contains(keyword_))
            onMatch_(ZipRecord{decode(code), decode(pref), address});
    }

    QString keyword_;
    QString codeKey_;
    const ZipSearch::MatchFn &onMatch_;
    Encoding enc_ = Encoding::Cp932;
    std::string address_, code_, open_, close_, caseEnd_, whole_;
    std::vector<Anchor> anchors_;
    bool spanning_ = false;
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
    return searchDevice(file, onMatch, onProgress);
}

ZipSearch::Outcome ZipSearch::searchDevice(QIODevice &file, const MatchFn &onMatch,
                                           const ProgressFn &onProgress) const
{
    FileScan scan(keyword_, codeKey_, onMatch);
    std::vector<char> buffer(size_t(BlockSize * 2));
    qsizetype have = 0;
    qint64 lines = 0;
    bool decided = false;
    bool start = true;
    for (bool atEnd = false; !atEnd;) {
        // Room for a block and for what scanBlock reads past the lines.
        const size_t room = size_t(have + BlockSize) + scan.overrun();
        if (buffer.size() < room)
            buffer.resize(room);
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
        lines += scan.scanBlock(p, stop);
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
