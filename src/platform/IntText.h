#pragma once

#include <QString>

namespace IntText {

// Integer text as the stored files hold it: optional sign, then decimal
// digits, or hexadecimal digits after "0x" or "$" (taken as the 32 bits of
// the value, so "$FFFFFFFF" is -1). Anything else, also a value outside the
// 32-bit range, gives def.
int toIntDef(QStringView text, int def);

} // namespace IntText
