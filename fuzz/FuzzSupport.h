#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A broken invariant is a finding like a crash: say which and stop, so that
// libFuzzer keeps the input as a crash artefact.
#define FUZZ_CHECK(cond)                                                                                     \
    do {                                                                                                     \
        if (!(cond)) {                                                                                       \
            std::fprintf(stderr, "invariant broken: %s (%s:%d)\n", #cond, __FILE__, __LINE__);               \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)

namespace FuzzSupport {

// The input as bytes, without a copy (valid during the call only).
inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
}

// A QGuiApplication under the offscreen platform, made once: fonts, pictures
// and images need one.
void ensureGuiApplication();

// A file of the checkout, read whole.
QByteArray dataFile(const QString &relativePath);
// The path of a file or folder of the checkout.
QString sourcePath(const QString &relativePath);

} // namespace FuzzSupport
