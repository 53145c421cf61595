#pragma once

#include <QByteArray>
#include <QString>

// The code page of every file the program reads and writes (Japanese ANSI,
// Windows-31J). Decoding never fails: a byte sequence that is not CP932 turns
// into U+FFFD, one per offending byte. Encoding reports the characters that
// the code page cannot hold, so that a save can tell the user instead of
// silently writing "?".
namespace Cp932 {

QString decode(const QByteArray &bytes);

// Encodes text; every character CP932 cannot hold becomes "?" in the result
// and is appended (once) to *unmappable when that is given.
QByteArray encode(const QString &text, QString *unmappable = nullptr);

// True when every character of text has a CP932 form.
bool canEncode(const QString &text);

} // namespace Cp932
