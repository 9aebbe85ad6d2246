#include "platform/dirsearch.h"
#include "platform/files.h"
#include "platform/tempfiles.h"
#include "platform/winpath.h"

#include "fixtures/sandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace quorbin::platform {
namespace {

class FilesTest : public test::SandboxTest {};

TEST_F(FilesTest, NameParts)
{
    EXPECT_EQ(directoryPart("C:\\a.b\\file"), "C:\\a.b\\");
    EXPECT_EQ(namePart("C:\\a.b\\file"), "file");
    EXPECT_EQ(extensionPart("C:\\a.b\\file"), "");
    EXPECT_EQ(extensionPart("x.00001.nxz"), ".nxz");
    EXPECT_EQ(extensionPart("report.nxz.bak"), ".bak");
    EXPECT_EQ(extensionPart("C:.nxz"), ".nxz");
}

TEST_F(FilesTest, TemporaryDirectoryIsPrivate)
{
    const auto dir = userTempDirectory();
    ASSERT_TRUE(dir);
    EXPECT_TRUE(dir->endsWith('\\'));
    EXPECT_EQ(toHostPath(*dir), tempHostDirectory());
    struct stat st {};
    ASSERT_EQ(stat(tempHostDirectory().toLocal8Bit().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(FilesTest, TemporaryDirectoryThatIsNoDirectoryIsRefused)
{
    writeFile(toWindowsPath(tempHostDirectory()), "a file in the way");
    EXPECT_FALSE(userTempDirectory());
    EXPECT_FALSE(createTempFile("~tm"));
}

TEST_F(FilesTest, TemporaryFilesAreNewAndCarryThePrefix)
{
    const auto a = createTempFile("~tm");
    const auto b = createTempFile("~tm");
    ASSERT_TRUE(a && b);
    EXPECT_NE(*a, *b);
    EXPECT_TRUE(namePart(*a).startsWith("~tm"));
    EXPECT_TRUE(a->endsWith(".tmp"));
    EXPECT_EQ(QFileInfo(toHostPath(*a)).size(), 0);
}

TEST_F(FilesTest, LastWriteTimesHaveTwoSecondResolutionAndTheStoreRange)
{
    writeFile("C:\\t.txt", "x");
    EXPECT_TRUE(setLastWriteTime("C:\\t.txt", QDateTime(QDate(2018, 4, 19), QTime(14, 3, 11))));
    EXPECT_EQ(lastWriteTime("C:\\t.txt"), QDateTime(QDate(2018, 4, 19), QTime(14, 3, 10)));

    EXPECT_FALSE(setLastWriteTime("C:\\t.txt", QDateTime(QDate(1979, 12, 31), QTime(23, 0))));
    EXPECT_FALSE(setLastWriteTime("C:\\t.txt", QDateTime(QDate(2108, 1, 1), QTime(0, 0))));
    EXPECT_EQ(lastWriteTime("C:\\t.txt"), QDateTime(QDate(2018, 4, 19), QTime(14, 3, 10)));

    QFile f(toHostPath("C:\\t.txt"));
    f.open(QIODevice::ReadWrite);
    f.setFileTime(QDateTime(QDate(1975, 1, 1), QTime(0, 0)), QFileDevice::FileModificationTime);
    f.close();
    EXPECT_FALSE(lastWriteTime("C:\\t.txt"));
    createFolders("C:\\dir\\");
    EXPECT_FALSE(lastWriteTime("C:\\dir"));
    EXPECT_FALSE(lastWriteTime("C:\\absent"));
}

TEST_F(FilesTest, AttributesFollowTheHost)
{
    writeFile("C:\\.hidden", "x");
    writeFile("C:\\ro.txt", "x");
    QFile::setPermissions(toHostPath("C:\\ro.txt"), QFile::ReadOwner);
    EXPECT_TRUE(attributes("C:\\.hidden")->hidden);
    EXPECT_TRUE(attributes("C:\\ro.txt")->readOnly);
    EXPECT_FALSE(attributes("C:\\absent"));
    EXPECT_TRUE(fileExists("C:\\ro.txt"));
    createFolders("C:\\d\\e\\");
    EXPECT_FALSE(fileExists("C:\\d"));
    EXPECT_TRUE(directoryExists("C:\\d\\e"));
}

TEST(Wildcards, MatchLikeTheStorePlatform)
{
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    } cases[] = {
        {"*.*", "ohne", true},
        {"*.*", ".hidden", true},
        {"a.txt.*.*", "a.txt.00001.nxz", true},
        {"a.txt.*.*", "A.TXT.00002.NXZ", true},
        {"a.txt.*.*", "a.txt.bak.00001.nxz", true},
        {"a.txt.*.*", "a.txt", false},
        {"a.txt.*.*", "b.txt.00001.nxz", false},
        {"a?c", "abc", true},
        {"a?c", "ac", false},
        {"*.nxz", "x.00001.nxz", true},
        {"x.*", "x", true},
        {"*a*a*a*a*a*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wildcardMatches(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name;
}

TEST_F(FilesTest, DirectorySearchReturnsEveryKindButNotLinkedDirectoriesAsDirectories)
{
    writeFile("C:\\s\\a.txt", "x");
    writeFile("C:\\s\\.versteckt", "x");
    createFolders("C:\\s\\sub\\");
    QFile::link(host("c/s/sub"), host("c/s/loop"));

    QMap<QString, DirEntry> found;
    for (const DirEntry& e : findEntries("C:\\s\\*.*"))
        found.insert(e.name, e);
    EXPECT_EQ(found.keys(), (QStringList{".versteckt", "a.txt", "loop", "sub"}));
    EXPECT_TRUE(found["sub"].directory);
    EXPECT_FALSE(found["loop"].directory);
    EXPECT_TRUE(found["loop"].symlink);
    EXPECT_TRUE(found[".versteckt"].hidden);
    EXPECT_TRUE(findEntries("C:\\nowhere\\*.*").isEmpty());
    EXPECT_EQ(findEntries("C:\\s\\A.*").size(), 1);
}

}  // namespace
}  // namespace quorbin::platform
