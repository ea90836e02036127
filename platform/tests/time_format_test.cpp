#include "platform/time_format.h"

#include <gtest/gtest.h>

using namespace lanterna;

TEST(LongTime, HoursMinutesSecondsWithoutZone) {
    const QTime t(7, 5, 9);
    for (const char* name : {"cs_CZ", "en_US", "de_DE", "ja_JP", "C"}) {
        const QLocale locale{QString::fromLatin1(name)};
        const QString text = FormatLongTime(t, locale);
        EXPECT_FALSE(LongTimeFormat(locale).contains(QLatin1Char('t'))) << name;
        EXPECT_TRUE(text.contains(QStringLiteral("05")) && text.contains(QStringLiteral("09")))
            << name << ": " << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("UTC")) || text.contains(QStringLiteral("GMT")))
            << name << ": " << text.toStdString();
    }
    EXPECT_EQ(FormatLongTime(QTime(23, 59, 1), QLocale(QStringLiteral("cs_CZ"))), QStringLiteral("23:59:01"));
    EXPECT_EQ(FormatLongTime(QTime(13, 2, 3), QLocale(QStringLiteral("en_US"))),
              QStringLiteral("1:02:03 PM"));
}
