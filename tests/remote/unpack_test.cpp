// Unpacking the listing archive: every member below the target, nothing anywhere else.
#include "remote/listingarchive.h"

#include "fixtures/dirservice.h"
#include "fixtures/sandbox.h"
#include "platform/winpath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quorbin::test {
namespace {

class UnpackArchiveTest : public SandboxTest {
protected:
    QString target() const { return platform::toWindowsPath(host("target")) + "\\"; }
    QString zip() const { return platform::toWindowsPath(host("a.zip")); }
};

TEST_F(UnpackArchiveTest, KeepsMemberPaths)
{
    QDir().mkpath(host("target"));
    makeZip(host("a.zip"), {{"aktdir.txt", "listing"}, {"sub/", ""}, {"sub/deeper/b.txt", "b"}, {"./c.txt", "c"}});
    const UnpackResult result = UnpackArchive(zip(), target());
    EXPECT_EQ(result.extracted, 4);
    EXPECT_TRUE(result.refused.isEmpty());
    EXPECT_EQ(readFile(target() + "aktdir.txt"), "listing");
    EXPECT_EQ(readFile(target() + "sub\\deeper\\b.txt"), "b");
    EXPECT_EQ(readFile(target() + "c.txt"), "c");
}

TEST_F(UnpackArchiveTest, RefusesMembersThatWouldLandOutsideTheTarget)
{
    QDir().mkpath(host("target/inside"));
    QDir().mkpath(host("outside"));
    // A link already on the way out of the target.
    ASSERT_TRUE(QFile::link(host("outside"), host("target/way")));
    makeZip(host("a.zip"), {{"../escaped.txt", "x"},
                            {"inside/../../escaped2.txt", "x"},
                            {host("outside/absolute.txt"), "x"},
                            {"C:/drive.txt", "x"},
                            {"..\\backslash.txt", "x"},
                            {"way/through-link.txt", "x"},
                            {"link", QByteArray("->") + host("outside").toUtf8()},
                            {"aktdir.txt", "listing"}});
    const UnpackResult result = UnpackArchive(zip(), target());

    EXPECT_EQ(result.extracted, 1);
    EXPECT_EQ(result.refused.size(), 7) << result.refused.join(", ").toStdString();
    EXPECT_EQ(readFile(target() + "aktdir.txt"), "listing");
    EXPECT_TRUE(QDir(host("outside")).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(host("escaped.txt")));
    EXPECT_FALSE(QFileInfo::exists(host("escaped2.txt")));
    EXPECT_FALSE(QFileInfo::exists(host("backslash.txt")));
    EXPECT_FALSE(QFileInfo(host("target/link")).isSymLink());
}

TEST_F(UnpackArchiveTest, AMissingOrDamagedArchiveExtractsNothingAndDoesNotFail)
{
    QDir().mkpath(host("target"));
    EXPECT_EQ(UnpackArchive(zip(), target()).extracted, 0);
    writeFile(zip(), "this is no zip archive");
    EXPECT_EQ(UnpackArchive(zip(), target()).extracted, 0);
    EXPECT_TRUE(QDir(host("target")).isEmpty());
}

TEST(LocalListingNameTest, NeverLeavesTheTemporaryDirectory)
{
    const struct {
        QString storeDirectory;
        QString name;
    } cases[] = {
        {"DS", "DS"},
        {"a/b\\c:d", "a_b_c_d"},
        {"..", "Aktdir"},
        {"", "Aktdir"},
        {QString(QChar(0xDADA)) + "\\..\\..\\..\\victim", QString(QChar(0xDADA)) + "_.._.._.._victim"},
        {"..\\" + QString(QChar(0xDADA)), ".._" + QString(QChar(0xDADA))},
    };
    for (const auto& c : cases) {
        const QString name = LocalListingName(c.storeDirectory);
        EXPECT_EQ(name, c.name);
        EXPECT_FALSE(name.contains(u'/') || name.contains(u'\\'));
    }
}

}  // namespace
}  // namespace quorbin::test
