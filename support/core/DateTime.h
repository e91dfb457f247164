#pragma once

#include <QDateTime>

#include <cstdint>
#include <string>

// The program's date-time: days since 1899-12-30 in local time, the fraction being the time
// of day (negative values count back, their fraction still being the time of day).

// A file time (seconds since the Unix epoch) as a date-time, taken down to the even second
// like the dates of a file system that keeps two-second steps.
double FileDateTime(std::int64_t secondsSinceEpoch);

double DateTimeFromQDateTime(const QDateTime& dateTime);
QDateTime QDateTimeFromDateTime(double dateTime);

// The short date and short time of the default locale, one space apart ("ddddd t").
std::string FormatDateTimeText(double dateTime);
