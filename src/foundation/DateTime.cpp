#include "foundation/DateTime.h"

#include <cmath>

namespace {

constexpr double kMsPerDay = 86400000.0;

QDateTime Epoch()
{
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
}

} // namespace

double DateTimeToDays(const QDateTime& moment)
{
    // The wall-clock reading counts, not the instant: keep the local fields, read them as UTC.
    const QDateTime wall(moment.date(), moment.time(), Qt::UTC);
    return double(Epoch().msecsTo(wall)) / kMsPerDay;
}

QDateTime DaysToDateTime(double days)
{
    const QDateTime wall = Epoch().addMSecs(qint64(std::llround(days * kMsPerDay)));
    return QDateTime(wall.date(), wall.time(), Qt::LocalTime);
}

double NowAsDays()
{
    return DateTimeToDays(QDateTime::currentDateTime());
}
