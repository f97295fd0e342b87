#include "server/oledate.h"

#include <cmath>

namespace zenvo {

namespace {
const QDate kEpoch(1899, 12, 30);
constexpr qint64 kMsPerDay = 86400000;
} // namespace

double ToOleDate(const QDate &d) {
    return double(kEpoch.daysTo(d));
}

double ToOleDate(const QDateTime &dt) {
    const double days = double(kEpoch.daysTo(dt.date()));
    const double frac = double(dt.time().msecsSinceStartOfDay()) / double(kMsPerDay);
    // Before the epoch the fraction still counts forward from midnight: -1.25 is
    // 29 December 1899, 06:00.
    return days >= 0 ? days + frac : days - frac;
}

QDateTime FromOleDate(double value) {
    if (!std::isfinite(value))
        return {};
    const double whole = std::trunc(value);
    const double frac = std::fabs(value - whole);
    qint64 ms = std::llround(frac * double(kMsPerDay));
    qint64 days = qint64(whole);
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        days += value >= 0 ? 1 : -1;
    }
    return QDateTime(kEpoch.addDays(days), QTime::fromMSecsSinceStartOfDay(int(ms)));
}

} // namespace zenvo
