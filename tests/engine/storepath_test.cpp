#include "engine/storepath.h"

#include <gtest/gtest.h>

namespace quorbin {
namespace {

struct DecodeCase {
    const char16_t* storePath;
    const char16_t* file;
    const char16_t* dir;
};

void PrintTo(const DecodeCase& c, std::ostream* os) { *os << QString::fromUtf16(c.storePath).toStdString(); }

class DecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, DecodesFileAndDirectory)
{
    const DecodeCase& c = GetParam();
    const QString storePath = QString::fromUtf16(c.storePath);
    EXPECT_EQ(DecodeStoreFile(storePath), QString::fromUtf16(c.file));
    EXPECT_EQ(DecodeStoreDir(storePath), QString::fromUtf16(c.dir));
}

INSTANTIATE_TEST_SUITE_P(
    StorePaths, DecodeTest,
    ::testing::Values(
        DecodeCase{u"D:\\Store\\Set1\\C$\\Users\\Anna\\Brief¯an¯Bank.docx.00002.nxz",
                   u"C:\\Users\\Anna\\Brief¯an¯Bank.docx",
                   u"C:\\Users\\Anna\\Brief¯an¯Bank.docx.00002.nxz"},
        DecodeCase{u"D:\\Store\\Set1\\$$nas\\daten\\Projekte\\plan.xlsx.00001.nxz",
                   u"\\\\nas\\daten\\Projekte\\plan.xlsx", u"\\\\nas\\daten\\Projekte\\plan.xlsx.00001.nxz"},
        DecodeCase{u"D:\\Store\\Set1\\C$\\Users\\Anna", u"C:\\Users\\Anna", u"C:\\Users\\Anna"},
        DecodeCase{u"D:\\Store\\Set1\\C$\\Temp\\§alt\\a.txt.00001.nxz", u"C:\\Temp\\alt\\a.txt",
                   u"C:\\Temp\\alt\\a.txt.00001.nxz"},
        DecodeCase{u"D:\\Store\\Set1\\C$\\Docs\\liesmich.txt", u"C:\\Docs\\liesmich.txt", u"C:\\Docs\\liesmich.txt"},
        DecodeCase{u"D:\\Store\\Set1\\C$\\Docs\\plan.00003.NXZ", u"C:\\Docs\\plan.00003.NXZ",
                   u"C:\\Docs\\plan.00003.NXZ"},
        DecodeCase{u"D:\\Store\\Set1\\Docs\\plan.00001.nxz", u"", u""},
        DecodeCase{u"\\\\srv\\save$\\C$\\x.txt.00001.nxz", u"e:\\C$\\x.txt", u"e:\\C$\\x.txt.00001.nxz"},
        DecodeCase{u"$\\x.txt.00001.nxz", u"$:x.txt", u"$:x.txt.00001.nxz"},
        DecodeCase{u"", u"", u""},
        // A directory that looks like an extension is not a version suffix.
        DecodeCase{u"D:\\S\\C$\\a.nxz\\b", u"C:\\a.nxz\\b", u"C:\\a.nxz\\b"}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(DecodeStoreFile, CutsTheRestBehindTheSkipMarkAtAThousandCharacters)
{
    const QString tail(1500, u'x');
    const QString decoded = DecodeStoreDir("D:\\S\\C$\\§" + tail);
    EXPECT_EQ(decoded, "C:\\" + tail.left(1000));
    EXPECT_EQ(DecodeStoreDir("D:\\S\\C$\\" + tail).size(), 1000);
}

TEST(RestoreBlanks, TurnsEveryBlankMarkIntoABlank)
{
    EXPECT_EQ(RestoreBlanks(QString::fromUtf16(u"C:\\Users\\Anna\\Brief¯an¯Bank.docx")),
              "C:\\Users\\Anna\\Brief an Bank.docx");
    EXPECT_EQ(RestoreBlanks(QString::fromUtf16(u"¯§x")), QString::fromUtf16(u" §x"));
}

}  // namespace
}  // namespace quorbin

namespace quorbin {
namespace {

TEST(DecodesWhole, TellsWhenTheLimitsCutThePath)
{
    EXPECT_TRUE(DecodesWhole("D:\\S\\C$\\a\\b.txt.00001.nxz"));
    EXPECT_TRUE(DecodesWhole(QString::fromUtf16(u"D:\\S\\C$\\§a\\b.txt")));
    EXPECT_TRUE(DecodesWhole("D:\\S\\C$\\" + QString(990, u'x')));
    EXPECT_FALSE(DecodesWhole("D:\\S\\C$\\" + QString(1000, u'x')));
    EXPECT_FALSE(DecodesWhole(QString::fromUtf16(u"D:\\S\\C$\\§") + QString(1001, u'x')));
}

}  // namespace
}  // namespace quorbin
