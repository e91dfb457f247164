#include "support/core/Cp932.h"
#include "support/core/DateTime.h"

#include <gtest/gtest.h>

TEST(DateTime, DaysSince1899InLocalTime)
{
    EXPECT_DOUBLE_EQ(FileDateTime(0), 25569.375);  // 09:00 in Tokyo
    EXPECT_DOUBLE_EQ(FileDateTime(946695600), 36526.5);
    EXPECT_DOUBLE_EQ(FileDateTime(946695601), 36526.5);
    const QDateTime noon(QDate(2000, 1, 1), QTime(12, 0));
    EXPECT_DOUBLE_EQ(DateTimeFromQDateTime(noon), 36526.5);
    EXPECT_EQ(QDateTimeFromDateTime(36526.5), noon);
    EXPECT_EQ(QDateTimeFromDateTime(36526.75).time(), QTime(18, 0));
    EXPECT_EQ(QDateTimeFromDateTime(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_DOUBLE_EQ(DateTimeFromQDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
}

TEST(DateTime, ShortDateAndTimeOfTheLocale)
{
    EXPECT_EQ(FormatDateTimeText(36526.5), "2000/01/01 12:00");
}
