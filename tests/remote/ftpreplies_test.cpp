// Reading server replies and machine-readable listings.
#include "remote/ftpreplies.h"

#include <gtest/gtest.h>

#include <QTimeZone>

namespace quorbin::test {
namespace {

TEST(FtpReplyLog, TakesTheLastCompleteReplyAndDropsMadeUpHeaderLines)
{
    FtpReplyLog log;
    for (const char* line : {"250 Directory changed.\r\n", "211-Features supported:\r\n", " MLST type*;size*;\r\n",
                             " UTF8\r\n", "211 End FEAT.\r\n", "Content-Length: 12\r\n", "Accept-ranges: bytes\r\n"})
        log.add(line);
    const FtpReply reply = log.lastReply();
    EXPECT_EQ(reply.code, 211);
    EXPECT_EQ(reply.text, "Features supported:\n MLST type*;size*;\n UTF8\nEnd FEAT.");
    EXPECT_EQ(log.lines().size(), 5);

    const FtpFeatures features = ParseFeatures(log.lines());
    EXPECT_TRUE(features.mlsd);
    EXPECT_TRUE(features.utf8);
    EXPECT_FALSE(ParseFeatures({"211-Features:", " SIZE", " MDTM", "211 End"}).mlsd);
}

TEST(FtpReplyLog, KeepsTheBytesAndDecodesUtf8WhereValidElseLatin1)
{
    FtpReplyLog log;
    log.add("257 \"/Gr\xfc\xdf" "e\"\r\n");
    EXPECT_EQ(log.lastReply().text, QString::fromUtf8("\"/Grüße\""));
    EXPECT_EQ(log.lastReply().bytes, "\"/Gr\xfc\xdf" "e\"");
    log.clear();
    EXPECT_EQ(log.lastReply().code, 0);

    const struct {
        QByteArray bytes;
        const char* text;
    } cases[] = {
        {"plain", "plain"},
        {"Gr\xc3\xbc\xc3\x9f" "e \xe2\x82\xac", "Grüße €"},  // UTF-8, as vsftpd passes it on
        {"Gr\xfc\xdf" "e", "Grüße"},                            // Latin-1
        {"\xc3\xbc\xfc", "Ã¼ü"},                               // not all of it UTF-8: Latin-1 throughout
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeServerText(c.bytes), QString::fromUtf8(c.text)) << c.bytes.toStdString();
}

TEST(ParseDirectoryReply, ReadsTheQuotedPathAsSent)
{
    EXPECT_EQ(ParseDirectoryReply("\"/private/DS\" is the current directory."), "/private/DS");
    EXPECT_EQ(ParseDirectoryReply("\"/a \"\"b\"\"\" ist aktuell"), "/a \"b\"");
    EXPECT_EQ(ParseDirectoryReply("\"/Gr\xfc\xdf" "e\" ist aktuell"), "/Gr\xfc\xdf" "e");
    EXPECT_EQ(ParseDirectoryReply("no quotes"), "");
    EXPECT_EQ(ParseDirectoryReply("\"/unterminated"), "");
}

TEST(ParseMlsd, ReadsFactsAndNames)
{
    const QByteArray body = "type=cdir;modify=20180419120312; /private\r\n"
                            "type=pdir; /\r\n"
                            "Type=Dir;Modify=20180419120312;   Archiv\r\n"
                            "type=file;size=3221225472;modify=20180419120312.123;unique=8; Gr\xfc\xdf" "e.txt\r\n"
                            "type=OS.unix=symlink;size=7; link\r\n"
                            "no facts here\r\n"
                            "\r\n";
    const QList<FtpListEntry> entries = ParseMlsd(body);
    ASSERT_EQ(entries.size(), 5);
    EXPECT_EQ(entries[0].name, ".");
    EXPECT_EQ(entries[1].name, "..");
    EXPECT_TRUE(entries[1].directory);
    EXPECT_EQ(entries[2].name, "  Archiv");  // the name's own blanks stay
    EXPECT_TRUE(entries[2].directory);
    EXPECT_EQ(entries[3].name, QString::fromUtf8("Grüße.txt"));
    EXPECT_EQ(entries[3].rawName, "Gr\xfc\xdf" "e.txt");
    EXPECT_EQ(entries[3].size, 3221225472);
    EXPECT_FALSE(entries[3].directory);
    EXPECT_EQ(entries[3].modified, QDateTime(QDate(2018, 4, 19), QTime(12, 3, 12), QTimeZone::utc()).toLocalTime());
    EXPECT_EQ(entries[4].type, "OS.unix=symlink");
    EXPECT_FALSE(entries[4].directory);
    EXPECT_FALSE(entries[4].modified.isValid());
}

}  // namespace
}  // namespace quorbin::test
