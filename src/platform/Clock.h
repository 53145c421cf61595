#pragma once

#include <QDateTime>
#include <QtGlobal>

namespace Clock {

// Milliseconds of a monotonic clock; only differences and uniqueness matter.
qint64 tickCount();

QDateTime localNow();

} // namespace Clock
