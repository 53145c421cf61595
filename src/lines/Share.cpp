#include "Share.h"

#include "platform/Clock.h"

#include <QLocale>

#include <cmath>
#include <limits>

double TextToFloat(const QString &text)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double v = c.toDouble(text.trimmed(), &ok);
    return (ok && std::isfinite(v)) ? v : 0.0;
}

qint64 RoundHalfAway(double value)
{
    if (!std::isfinite(value))
        return 0;
    constexpr double limit = 9.2e18;
    if (value >= limit)
        return std::numeric_limits<qint64>::max();
    if (value <= -limit)
        return std::numeric_limits<qint64>::min();
    return std::llround(value);
}

QString MakeUniqueCode(const QString &suffix)
{
    const QDateTime now = Clock::localNow();
    const QDate epoch(1899, 12, 30);
    const double days =
        double(epoch.daysTo(now.date())) + double(now.time().msecsSinceStartOfDay()) / 86400000.0;
    return QString::number(days, 'g', QLocale::FloatingPointShortest) + QString::number(Clock::tickCount()) +
           suffix;
}
