// Reading LIST replies as servers without MLSD send them.
#include "remote/listparser.h"

#include <gtest/gtest.h>

#include <QTimeZone>

namespace quorbin::test {
namespace {

const QDateTime kNow(QDate(2018, 6, 1), QTime(12, 0), QTimeZone::utc());

enum class Zone { Utc, Local };

QDateTime at(int year, int month, int day, int hour, int minute, Zone zone)
{
    const QDate date(year, month, day);
    const QTime time(hour, minute);
    return zone == Zone::Utc ? QDateTime(date, time, QTimeZone::utc()).toLocalTime() : QDateTime(date, time);
}

TEST(ParseList, ReadsTheLinesOfEachServersStyle)
{
    using R = FtpTimeResolution;
    const struct {
        const char* style;
        QByteArray line;
        const char* name;
        bool directory;
        qint64 size;
        QDateTime modified;
        R resolution;
        const char* type;
    } cases[] = {
        {"vsftpd", "drwxr-xr-x    2 1000     1000         4096 Apr 19 14:03 Archiv", "Archiv", true, 4096,
         at(2018, 4, 19, 14, 3, Zone::Utc), R::Minute, "dir"},
        {"vsftpd, over 4 GiB", "-rw-r--r--    1 1000     1000   5368709120 Mar 02 09:15 gross.bin", "gross.bin", false,
         5368709120, at(2018, 3, 2, 9, 15, Zone::Utc), R::Minute, "file"},
        {"vsftpd, older: the day only", "-rw-r--r--    1 ftp      ftp          1536 Apr 19  2017 Mein Bericht.doc",
         "Mein Bericht.doc", false, 1536, at(2017, 4, 19, 0, 0, Zone::Local), R::Day, "file"},
        {"vsftpd, link", "lrwxrwxrwx    1 0        0               6 Apr 19 14:03 aktuell -> Archiv", "aktuell", false, 6,
         at(2018, 4, 19, 14, 3, Zone::Utc), R::Minute, "link"},
        {"vsftpd, UTF-8 name", "-rw-r--r--    1 1000     1000            5 May 31 23:59 Gr\xc3\xbc\xc3\x9f" "e.txt",
         "Grüße.txt", false, 5, at(2018, 5, 31, 23, 59, Zone::Utc), R::Minute, "file"},
        {"pure-ftpd, last year's December", "drwxr-xr-x    3 1000       1000             4096 Dec 31 23:59 Alt", "Alt",
         true, 4096, at(2017, 12, 31, 23, 59, Zone::Utc), R::Minute, "dir"},
        {"pure-ftpd, less than a day ahead is this year, leading blanks",
         "-rw-r--r--    1 1000       1000                3 Jun  2 11:00   a.txt", "  a.txt", false, 3,
         at(2018, 6, 2, 11, 0, Zone::Utc), R::Minute, "file"},
        {"pure-ftpd, Latin-1 name", "-rw-r--r--    1 1000       1000                3 Apr 19 14:03 \xc4rger.txt",
         "Ärger.txt", false, 3, at(2018, 4, 19, 14, 3, Zone::Utc), R::Minute, "file"},
        {"ProFTPD, link to a directory", "lrwxrwxrwx   1 ftp      ftp            11 Apr 19 14:03 daten -> /srv/daten/",
         "daten", true, 11, at(2018, 4, 19, 14, 3, Zone::Utc), R::Minute, "link"},
        {"ProFTPD, more than a day ahead is last year", "-rw-r--r--   1 ftp      ftp             0 Jun  3 10:00 morgen.txt",
         "morgen.txt", false, 0, at(2017, 6, 3, 10, 0, Zone::Utc), R::Minute, "file"},
        {"ProFTPD, a file whose name has an arrow", "-rw-r--r--   1 ftp      ftp            42 Apr 19 14:03 a -> b.txt",
         "a -> b.txt", false, 42, at(2018, 4, 19, 14, 3, Zone::Utc), R::Minute, "file"},
        {"ProFTPD, ACL mark, no group", "-rw-r--r--+  1 ftp             42 Apr 19 14:03 acl.txt", "acl.txt", false, 42,
         at(2018, 4, 19, 14, 3, Zone::Utc), R::Minute, "file"},
        {"FileZilla Server", "-rw-r--r-- 1 ftp ftp           1536 Apr 19 14:03 b.txt", "b.txt", false, 1536,
         at(2018, 4, 19, 14, 3, Zone::Utc), R::Minute, "file"},
        {"FileZilla Server, leap day", "drwxr-xr-x 1 ftp ftp              0 Feb 29  2016 Schaltjahr", "Schaltjahr", true,
         0, at(2016, 2, 29, 0, 0, Zone::Local), R::Day, "dir"},
        {"IIS, directory", "04-19-18  02:03PM       <DIR>          Archiv", "Archiv", true, 0,
         at(2018, 4, 19, 14, 3, Zone::Local), R::Minute, "dir"},
        {"IIS, just after midnight", "04-19-18  12:05AM                 1536 b.txt", "b.txt", false, 1536,
         at(2018, 4, 19, 0, 5, Zone::Local), R::Minute, "file"},
        {"IIS, noon", "04-19-18  12:30PM                    7 mittag.txt", "mittag.txt", false, 7,
         at(2018, 4, 19, 12, 30, Zone::Local), R::Minute, "file"},
        {"IIS, last century, over 4 GiB, blanks", "12-31-99  11:59PM           5368709120 gross bin.dat", "gross bin.dat",
         false, 5368709120, at(1999, 12, 31, 23, 59, Zone::Local), R::Minute, "file"},
        {"IIS, four-digit year, 24 hours, leading blanks", "04-19-2018  14:03       <DIR>            zwei Blanks",
         "  zwei Blanks", true, 0, at(2018, 4, 19, 14, 3, Zone::Local), R::Minute, "dir"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        const auto entries = ParseList(c.line + "\r\n", kNow);
        ASSERT_TRUE(entries);
        ASSERT_EQ(entries->size(), 1);
        const FtpListEntry& entry = entries->first();
        EXPECT_EQ(entry.name, QString::fromUtf8(c.name));
        EXPECT_EQ(entry.directory, c.directory);
        EXPECT_EQ(entry.size, c.size);
        EXPECT_EQ(entry.modified, c.modified) << entry.modified.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(entry.resolution, c.resolution);
        EXPECT_EQ(entry.type, c.type);
    }
}

TEST(ParseList, KeepsTheNamesBytes)
{
    const auto entries = ParseList("-rw-r--r-- 1 ftp ftp 3 Apr 19 14:03 \xc4rger.txt\r\n"
                                   "lrwxrwxrwx 1 ftp ftp 3 Apr 19 14:03 Gr\xc3\xbc\xc3\x9f" "e -> x\r\n",
                                   kNow);
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 2);
    EXPECT_EQ((*entries)[0].rawName, "\xc4rger.txt");
    EXPECT_EQ((*entries)[1].rawName, "Gr\xc3\xbc\xc3\x9f" "e");
}

TEST(ParseList, FailsOnlyWhenNoLineIsUnderstood)
{
    const struct {
        const char* what;
        QByteArray body;
        int entries;  // -1: nothing understood
    } cases[] = {
        {"empty directory", "", 0},
        {"empty directory with a total", "total 0\r\n", 0},
        {"total, dot entries, a file",
         "total 12\r\ndrwxr-xr-x 2 a a 4096 Apr 19 14:03 .\r\ndrwxr-xr-x 9 a a 4096 Apr 19 14:03 ..\r\n"
         "-rw-r--r-- 1 a a 3 Apr 19 14:03 x\r\n",
         3},
        {"a line of no form among good ones", "-rw-r--r-- 1 a a 3 Apr 19 14:03 x\nsomething else\n", 1},
        {"LF only, Unix and DOS mixed", "-rw-r--r-- 1 a a 3 Apr 19 14:03 x\n04-19-18  02:03PM  3 y\n", 2},
        {"nothing of a known form", "?? a ??\r\n?? b ??\r\n", -1},
        {"a mode without a date", "-rw-r--r-- 1 a a 3 x\r\n", -1},
        {"an impossible date", "13-45-18  02:03PM  3 y\r\n", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto entries = ParseList(c.body, kNow);
        ASSERT_EQ(entries.has_value(), c.entries >= 0);
        if (entries) {
            EXPECT_EQ(entries->size(), c.entries);
        }
    }
}

}  // namespace
}  // namespace quorbin::test
