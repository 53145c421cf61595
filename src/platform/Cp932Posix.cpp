#include "Cp932.h"

#include <cerrno>
#include <iconv.h>

namespace {

// One conversion descriptor per direction and thread: opening one costs far
// more than converting a slip file line.
class Converter {
public:
    Converter(const char *to, const char *from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (valid())
            iconv_close(cd_);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const
    {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr); // back to the initial state
        return cd_;
    }

private:
    iconv_t cd_;
};

iconv_t toUtf16()
{
    thread_local Converter c("UTF-16LE", "CP932");
    return c.valid() ? c.get() : reinterpret_cast<iconv_t>(-1);
}

iconv_t fromUtf16()
{
    thread_local Converter c("CP932", "UTF-16LE");
    return c.valid() ? c.get() : reinterpret_cast<iconv_t>(-1);
}

bool isAscii(const char *p, qsizetype n)
{
    for (qsizetype i = 0; i < n; ++i)
        if (static_cast<unsigned char>(p[i]) >= 0x80)
            return false;
    return true;
}

bool isAscii(const QString &s)
{
    for (QChar c : s)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

} // namespace

namespace Cp932 {

QString decode(const QByteArray &bytes)
{
    if (isAscii(bytes.constData(), bytes.size()))
        return QString::fromLatin1(bytes);

    iconv_t cd = toUtf16();
    QString out;
    if (cd == reinterpret_cast<iconv_t>(-1))
        return QString::fromLatin1(bytes); // no converter: keep the ASCII intact at least
    out.resize(bytes.size());              // CP932 never yields more UTF-16 units than bytes
    char *in = const_cast<char *>(bytes.constData());
    size_t inLeft = static_cast<size_t>(bytes.size());
    char *outStart = reinterpret_cast<char *>(out.data());
    char *outPtr = outStart;
    size_t outLeft = static_cast<size_t>(out.size()) * 2;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG)
            break; // cannot happen with the size above; stop rather than loop
        // EILSEQ or EINVAL (a lead byte at the very end): one replacement per byte.
        if (outLeft < 2)
            break;
        const char16_t replacement = 0xFFFD;
        memcpy(outPtr, &replacement, 2);
        outPtr += 2;
        outLeft -= 2;
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize((outPtr - outStart) / 2);
    return out;
}

QByteArray encode(const QString &text, QString *unmappable)
{
    if (isAscii(text))
        return text.toLatin1();

    iconv_t cd = fromUtf16();
    QByteArray out;
    if (cd == reinterpret_cast<iconv_t>(-1))
        return text.toLatin1();
    out.resize(text.size() * 2 + 2);
    char *in = reinterpret_cast<char *>(const_cast<QChar *>(text.constData()));
    size_t inLeft = static_cast<size_t>(text.size()) * 2;
    char *outStart = out.data();
    char *outPtr = outStart;
    size_t outLeft = static_cast<size_t>(out.size());
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG || outLeft < 1)
            break;
        // A character without a CP932 form (or a lone surrogate): write "?".
        const auto *unit = reinterpret_cast<const char16_t *>(in);
        size_t units = 1;
        if (QChar::isHighSurrogate(unit[0]) && inLeft >= 4 && QChar::isLowSurrogate(unit[1]))
            units = 2;
        if (unmappable) {
            const QString ch = QString(reinterpret_cast<const QChar *>(unit), static_cast<qsizetype>(units));
            if (!unmappable->contains(ch))
                unmappable->append(ch);
        }
        *outPtr++ = '?';
        --outLeft;
        in += units * 2;
        inLeft -= units * 2;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(outPtr - outStart);
    return out;
}

bool canEncode(const QString &text)
{
    QString bad;
    encode(text, &bad);
    return bad.isEmpty();
}

} // namespace Cp932
