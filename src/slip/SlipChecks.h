#pragma once

#include "SlipData.h"

#include <QString>

// The completion status of each header section (1..7 in screen order): the
// text of the first missing item, or the section's done text. The statuses
// only inform; nothing is blocked by them.
namespace SlipChecks {

QString status(int section, const SlipData &slip);

// Windows colour values (0x00BBGGRR) of a status text: blue when the text
// says the section is done ("完了", "済み"), red otherwise.
qint32 statusColor(const QString &text);

constexpr qint32 Blue = 16711680;
constexpr qint32 Red = 255;

} // namespace SlipChecks
