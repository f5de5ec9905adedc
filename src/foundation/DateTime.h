#pragma once

#include <QDateTime>

// Date-times as the files store them: days since 30 December 1899, the fraction being the
// local time of day, to the millisecond.
double DateTimeToDays(const QDateTime& moment);
QDateTime DaysToDateTime(double days);

// The present local moment in that form.
double NowAsDays();
