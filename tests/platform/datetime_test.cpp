#include "platform/datetime.h"

#include <gtest/gtest.h>

namespace quorbin::platform {
namespace {

TEST(DateTime, DayCountsCountFromTheEndOf1899)
{
    EXPECT_DOUBLE_EQ(toDayCount(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    EXPECT_DOUBLE_EQ(toDayCount(QDateTime(QDate(1900, 1, 1), QTime(18, 0))), 2.75);
    EXPECT_DOUBLE_EQ(toDayCount(QDateTime(QDate(2018, 4, 19), QTime(12, 0))), 43209.5);
}

TEST(DateTime, UserTextsRoundTripAndMidnightIsTheDateAlone)
{
    const QDateTime t(QDate(2018, 4, 19), QTime(14, 3, 10));
    const QString text = userDateTimeText(t);
    EXPECT_TRUE(text.contains("2018")) << qPrintable(text);
    EXPECT_EQ(parseUserDateTimeText(text), t);

    const QDateTime midnight(QDate(2018, 4, 19), QTime(0, 0));
    const QString dateOnly = userDateTimeText(midnight);
    EXPECT_FALSE(dateOnly.contains(':')) << qPrintable(dateOnly);
    EXPECT_EQ(parseUserDateTimeText(dateOnly), midnight);
    EXPECT_FALSE(parseUserDateTimeText("kein Datum"));
    EXPECT_FALSE(parseUserDateTimeText(""));
}

TEST(DateTime, GermanFormsAreFixed)
{
    EXPECT_EQ(germanDateText(QDate(2018, 4, 9)), "09.04.2018");
    EXPECT_EQ(germanDateTimeText(QDateTime(QDate(2018, 4, 9), QTime(7, 3, 1))), "09.04.2018 07:03:01");
}

}  // namespace
}  // namespace quorbin::platform

namespace quorbin::platform {

TEST(DateTime, TimeLeftAtTheSamePace)
{
    struct Case {
        double fraction;
        double seconds;
        const char* text;
    };
    for (const Case& c : {Case{0.5, 30, "noch 0:30"}, Case{0.25, 20, "noch 1:00"}, Case{0.01, 40, "noch 1:06:00"},
                          Case{1.0, 10, "noch 0:00"}, Case{0.5, 0.5, ""}, Case{0, 10, ""}})
        EXPECT_EQ(timeLeftText(c.fraction, c.seconds).toStdString(), c.text) << c.fraction << " " << c.seconds;
}

}  // namespace quorbin::platform
