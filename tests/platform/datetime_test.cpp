#include "platform/datetime.h"

#include <QLocale>

#include <clocale>

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

// The log's dates follow the user's locale, as on the store's platform; written out here for
// the two locales the suite runs in, so a change of form shows.
TEST(DateTime, UserTextsAreThoseOfTheLocale)
{
    const struct {
        const char* locale;
        const char* withTime;
        const char* midnight;
    } cases[] = {
        {"C", "9 Apr 2018 14:03:10", "9 Apr 2018"},
        {"de_DE", "09.04.2018 14:03:10", "09.04.2018"},
    };
    // The formats come from the time category; QLocale's name also heeds LANGUAGE, which the
    // suite sets.
    const QString name = QString::fromLatin1(std::setlocale(LC_TIME, nullptr)).section(u'.', 0, 0);
    for (const auto& c : cases) {
        if (name != QLatin1String(c.locale))
            continue;
        EXPECT_EQ(userDateTimeText(QDateTime(QDate(2018, 4, 9), QTime(14, 3, 10))), c.withTime);
        EXPECT_EQ(userDateTimeText(QDateTime(QDate(2018, 4, 9), QTime(0, 0))), c.midnight);
        EXPECT_EQ(parseUserDateTimeText(c.withTime), QDateTime(QDate(2018, 4, 9), QTime(14, 3, 10)));
        return;
    }
    GTEST_SKIP() << "no texts written down for the locale " << qPrintable(name);
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
