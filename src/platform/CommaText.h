#pragma once

#include <QString>
#include <QStringList>

// The comma-separated quoting form of every list line in the system's files:
// slip rows, cost rows, master lists, copy titles.
namespace CommaText {

// Fields joined by ","; a field holding a character of code 32 or below, a
// comma or a double quote is quoted with inner quotes doubled. A list of one
// empty field is written as "".
QString join(const QStringList &fields);

// Leading characters of code 32 or below are skipped; a quoted field ends at
// its closing quote; outside quotes a comma or a run of characters of code 32
// or below ends a field; a comma at the very end adds an empty last field.
// Text after a NUL character is ignored.
QStringList split(const QString &text);

} // namespace CommaText
