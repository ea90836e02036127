#include "transfer/internal/ftp_listing.h"

#include <QDateTime>
#include <gtest/gtest.h>

using namespace lanterna;

namespace {

std::int64_t FileTimeOf(int year, int month, int day, int hour, int minute) {
    return FileTimeFromUnixSeconds(
        QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::UTC).toSecsSinceEpoch());
}

} // namespace

TEST(FtpListing, MachineReadableEntries) {
    const auto entries =
        ParseMachineListing("type=cdir;modify=20240101000000; .\r\n"
                            "type=pdir; ..\r\n"
                            "Type=File;Size=5000000000;Modify=20240131235959.123; name with spaces.zip\r\n"
                            "type=dir;modify=20230101120000; sub\n"
                            "no facts here\r\n"
                            "type=OS.unix=slink:/x;size=3; link\r\n");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].Name, "name with spaces.zip");
    EXPECT_FALSE(entries[0].Directory);
    EXPECT_EQ(entries[0].Size, 5000000000u);
    EXPECT_EQ(entries[0].FileTime, FileTimeOf(2024, 1, 31, 23, 59) + 59 * 10'000'000ll);
    EXPECT_TRUE(entries[1].Directory);
    EXPECT_EQ(entries[1].Name, "sub");
    EXPECT_EQ(entries[2].Name, "link");
}

TEST(FtpListing, UnixLines) {
    const QDate today(2024, 3, 10);
    const auto entries =
        ParsePlainListing("total 12\r\n"
                          "-rw-r--r--   1 owner group     1234 Jan 31  2023 old file.txt\r\n"
                          "-rw-r--r--   1 owner group       10 Mar 10 09:15 today.txt\r\n"
                          "-rw-r--r--   1 owner group       10 Dec 24 18:00 last year.txt\r\n"
                          "drwxr-xr-x   2 owner group     4096 Feb  1 10:00 folder\r\n"
                          "drwxr-xr-x   2 owner group     4096 Feb  1 10:00 ..\r\n"
                          "lrwxrwxrwx   1 owner group        4 Feb  1 10:00 link -> target\r\n"
                          "-rw-r--r--   1 owner     77 Feb  2 11:00 no group\r\n"
                          "-rw-r--r--   1 owner group   x Feb  2 11:00 bad size\r\n",
                          today);
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_EQ(entries[0].Name, "old file.txt");
    EXPECT_EQ(entries[0].Size, 1234u);
    EXPECT_EQ(entries[0].FileTime, FileTimeOf(2023, 1, 31, 0, 0));
    EXPECT_EQ(entries[1].FileTime, FileTimeOf(2024, 3, 10, 9, 15));
    EXPECT_EQ(entries[2].FileTime, FileTimeOf(2023, 12, 24, 18, 0)) << "a date after tomorrow is last year's";
    EXPECT_TRUE(entries[3].Directory);
    EXPECT_EQ(entries[4].Name, "link");
    EXPECT_EQ(entries[5].Name, "no group");
    EXPECT_EQ(entries[5].Size, 77u);
}

TEST(FtpListing, DosLines) {
    const auto entries = ParsePlainListing("01-31-24  01:05PM       <DIR>          Program Files\r\n"
                                           "12-01-99  09:00AM              2048 old.bin\r\n"
                                           "13-45-24  01:05PM              1 bad date\r\n",
                                           QDate(2024, 3, 10));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_TRUE(entries[0].Directory);
    EXPECT_EQ(entries[0].Name, "Program Files");
    EXPECT_EQ(entries[0].FileTime, FileTimeOf(2024, 1, 31, 13, 5));
    EXPECT_EQ(entries[1].Size, 2048u);
    EXPECT_EQ(entries[1].FileTime, FileTimeOf(1999, 12, 1, 9, 0));
}

TEST(FtpListing, FileTimesAndLocalNames) {
    EXPECT_EQ(FileTimeFromUnixSeconds(0), 116444736000000000ll);
    EXPECT_DOUBLE_EQ(DateTimeFromFileTime(FileTimeFromUnixSeconds(0)), 25569.0);
    for (const char* name : {"", ".", "..", "a/b", "..\\up", "../up"})
        EXPECT_FALSE(IsPlainFileName(QString::fromUtf8(name))) << name;
    EXPECT_TRUE(IsPlainFileName("..hidden.zip"));
}
