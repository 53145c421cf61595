#include "Clock.h"

#include <chrono>

namespace Clock {

qint64 tickCount()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

QDateTime localNow()
{
    return QDateTime::currentDateTime();
}

} // namespace Clock
