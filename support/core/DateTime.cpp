#include "support/core/DateTime.h"

#include "support/core/Cp932.h"

#include <QLocale>

#include <cmath>
#include <ctime>

namespace {

const QDate DateTimeEpoch(1899, 12, 30);
constexpr double SecondsPerDay = 86400.0;

double DateTimeOf(const QDate& date, int secondsOfDay)
{
    const auto days = static_cast<double>(DateTimeEpoch.daysTo(date));
    const double fraction = secondsOfDay / SecondsPerDay;
    return days >= 0 ? days + fraction : days - fraction;
}

}  // namespace

double FileDateTime(std::int64_t secondsSinceEpoch)
{
    const auto evenSeconds = static_cast<std::time_t>(secondsSinceEpoch - (secondsSinceEpoch & 1));
    std::tm local {};
    if (!localtime_r(&evenSeconds, &local))
        return 0;
    const QDate date(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    return DateTimeOf(date, local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec);
}

double DateTimeFromQDateTime(const QDateTime& dateTime)
{
    const QDateTime local = dateTime.toLocalTime();
    return DateTimeOf(local.date(), local.time().msecsSinceStartOfDay() / 1000);
}

QDateTime QDateTimeFromDateTime(double dateTime)
{
    const double days = std::trunc(dateTime);
    const double fraction = std::fabs(dateTime - days);
    constexpr int MSecsPerDay = 86'400'000;
    auto msecs = static_cast<int>(std::llround(fraction * MSecsPerDay));
    QDate date = DateTimeEpoch.addDays(static_cast<qint64>(days));
    if (msecs >= MSecsPerDay) {
        date = date.addDays(1);
        msecs -= MSecsPerDay;
    }
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(msecs));
}

std::string FormatDateTimeText(double dateTime)
{
    const QDateTime moment = QDateTimeFromDateTime(dateTime);
    const QLocale locale;
    const QString text = locale.toString(moment.date(), QLocale::ShortFormat) + QLatin1Char(' ')
        + locale.toString(moment.time(), QLocale::ShortFormat);
    return QStringToCp932(text).value_or(moment.toString(Qt::ISODate).toStdString());
}
