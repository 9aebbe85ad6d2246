#include "engine/tzip.h"

#include "fixtures/sandbox.h"
#include "fixtures/storewriter.h"
#include "platform/errors.h"

#include <gtest/gtest.h>

namespace quorbin {
namespace {

class TzipTest : public test::SandboxTest {};

TEST_F(TzipTest, ShrinkWritesAFastestLevelZlibStreamThatExpandsBack)
{
    const QByteArray content = test::mixedContent(300000);
    writeFile("C:\\plain.bin", content);
    Zip().Shrink("C:\\plain.bin", "D:\\s.nxz");
    const QByteArray container = readFile("D:\\s.nxz");
    ASSERT_GE(container.size(), 2);
    EXPECT_EQ(container.left(2), QByteArray("\x78\x01", 2));

    EXPECT_EQ(Zip().Expand("D:\\s.nxz", "C:\\back.bin"), 0);
    EXPECT_EQ(readFile("C:\\back.bin"), content);
}

TEST_F(TzipTest, ExpandsAnEmptyUserFile)
{
    writeFile("D:\\e.nxz", test::containerOf(QByteArray()));
    EXPECT_EQ(Zip().Expand("D:\\e.nxz", "C:\\e"), 0);
    EXPECT_TRUE(exists("C:\\e"));
    EXPECT_TRUE(readFile("C:\\e").isEmpty());
}

TEST_F(TzipTest, IgnoresBytesAfterTheStream)
{
    writeFile("D:\\t.nxz", test::containerOf("hallo") + "trailing junk");
    EXPECT_EQ(Zip().Expand("D:\\t.nxz", "C:\\t"), 0);
    EXPECT_EQ(readFile("C:\\t"), QByteArray("hallo"));
}

struct Damage {
    const char* name;
    QByteArray (*apply)(QByteArray container);
};

void PrintTo(const Damage& c, std::ostream* os) { *os << c.name; }

class DamagedContainer : public test::SandboxTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedContainer, FailsAndLeavesTheExistingTargetAlone)
{
    const QByteArray container = test::containerOf(test::mixedContent(200000, 7));
    writeFile("D:\\bad.nxz", GetParam().apply(container));
    writeFile("C:\\target.txt", "the user's old file");

    EXPECT_EQ(Zip().Expand("D:\\bad.nxz", "C:\\target.txt"), -1);
    EXPECT_EQ(readFile("C:\\target.txt"), QByteArray("the user's old file"));
    EXPECT_EQ(snapshot("C:\\").size(), 1) << "no partial file beside the target";
}

INSTANTIATE_TEST_SUITE_P(
    Containers, DamagedContainer,
    ::testing::Values(
        Damage{"empty", [](QByteArray) { return QByteArray(); }},
        Damage{"truncated", [](QByteArray c) { return c.left(c.size() / 2); }},
        Damage{"lastByteMissing", [](QByteArray c) { return c.chopped(1); }},
        Damage{"checksumWrong", [](QByteArray c) { c[c.size() - 1] = char(c.at(c.size() - 1) ^ 0x55); return c; }},
        Damage{"notZlib", [](QByteArray c) { return QByteArray("PK\x03\x04 not a zlib stream") + c; }},
        Damage{"bitFlipInData", [](QByteArray c) { c[c.size() / 3] = char(c.at(c.size() / 3) ^ 0x10); return c; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TzipTest, MissingSourceRaisesAndDoesNotTouchTheTarget)
{
    EXPECT_THROW(Zip().Expand("D:\\missing.nxz", "C:\\t"), IoError);
    EXPECT_FALSE(exists("C:\\t"));
}

}  // namespace
}  // namespace quorbin
