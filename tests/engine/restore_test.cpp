#include "engine/restore.h"

#include "engine/tempfiles.h"
#include "fixtures/recordingsinks.h"
#include "fixtures/sandbox.h"
#include "fixtures/scripteduser.h"
#include "fixtures/storewriter.h"
#include "platform/datetime.h"
#include "platform/files.h"
#include "platform/winpath.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace quorbin {
namespace {

using test::RecordingStatus;

const QString kStored = QString::fromUtf16(u"D:\\Store\\Set1\\C$\\Docs\\Brief¯an¯Bank.docx.00002.nxz");
const QString kTarget = QString::fromUtf16(u"C:\\Ziel\\Brief¯an¯Bank.docx");
const QString kRestored = "C:\\Ziel\\Brief an Bank.docx";

class RestoreTest : public test::SandboxTest {
protected:
    test::ScriptedUser user;
};

TEST_F(RestoreTest, RestoresWithoutKeyUnderTheBlankedNameAndMakesTheFolder)
{
    const QByteArray content = test::mixedContent(100000);
    test::writeStoredFile(kStored, content);
    const auto storeBefore = snapshot("D:\\");

    EXPECT_EQ(RestoreStoredFile(kStored, kTarget, QString(), noStatus(), QString()), 0);
    EXPECT_EQ(readFile(kRestored), content);
    EXPECT_TRUE(tempFiles().isEmpty()) << "no work file without a key";
    EXPECT_EQ(snapshot("D:\\"), storeBefore);
    EXPECT_EQ(user.pointerChanges, (QList<Pointer>{Pointer::Busy, Pointer::Normal}));
}

TEST_F(RestoreTest, RestoresWithKeyDecipheringAsItReadsWithoutATemporaryCopy)
{
    const QByteArray content = test::mixedContent(70000);
    const QString key = QString::fromUtf16(u"Geh€im-Schlüssel");
    test::writeStoredFile(kStored, content, key);
    const auto storeBefore = snapshot("D:\\");
    RecordingStatus status;

    EXPECT_EQ(RestoreStoredFile(kStored, kTarget, key, status, QString()), 0);
    EXPECT_EQ(readFile(kRestored), content);
    EXPECT_TRUE(tempFiles().isEmpty());
    EXPECT_EQ(snapshot("D:\\"), storeBefore);
    EXPECT_EQ(status.texts, QStringList{"entschlüsseln: " + kStored});
}

TEST_F(RestoreTest, RestoresByteExactForEveryLengthAroundTheKeyLength)
{
    const QString key = QString::fromUtf16(u"a\u0416c");
    for (int length = 0; length <= 10; ++length) {
        const QByteArray content = test::mixedContent(length, length + 1);
        test::writeStoredFile("D:\\S\\C$\\f.bin.00001.nxz", content, key);
        ASSERT_EQ(RestoreStoredFile("D:\\S\\C$\\f.bin.00001.nxz", "C:\\f.bin", key, noStatus(), QString()), 0) << length;
        EXPECT_EQ(readFile("C:\\f.bin"), content) << length;
    }
}

struct FailingRestore {
    const char* name;
    const char* storedKey;  // the key the store was written with
    const char* givenKey;   // the key the restore is given
    QByteArray (*damage)(QByteArray stored);
};

void PrintTo(const FailingRestore& c, std::ostream* os) { *os << c.name; }

class FailedRestore : public RestoreTest, public ::testing::WithParamInterface<FailingRestore> {};

TEST_P(FailedRestore, ReportsFailureAndLeavesTheOldTargetByteForByte)
{
    const FailingRestore& c = GetParam();
    test::writeStoredFile(kStored, test::mixedContent(50000, 3), QString::fromUtf8(c.storedKey));
    writeFile(kStored, c.damage(readFile(kStored)));
    writeFile(kRestored, "the user's file as it was");
    const auto storeBefore = snapshot("D:\\");

    EXPECT_EQ(RestoreStoredFile(kStored, kTarget, QString::fromUtf8(c.givenKey), noStatus(), "01.02.2003 04:05:06"), -1);
    EXPECT_EQ(readFile(kRestored), QByteArray("the user's file as it was"));
    EXPECT_EQ(snapshot("C:\\").size(), 1) << "nothing beside the target";
    EXPECT_TRUE(tempFiles().isEmpty());
    EXPECT_EQ(snapshot("D:\\"), storeBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailedRestore,
    ::testing::Values(
        FailingRestore{"wrongKey", "richtig", "falsch!", [](QByteArray s) { return s; }},
        FailingRestore{"missingKey", "richtig", "", [](QByteArray s) { return s; }},
        FailingRestore{"keyOnUnkeyedStore", "", "unnötig", [](QByteArray s) { return s; }},
        FailingRestore{"truncatedKeyed", "richtig", "richtig", [](QByteArray s) { return s.left(s.size() - 20); }},
        FailingRestore{"truncated", "", "", [](QByteArray s) { return s.left(s.size() - 20); }},
        FailingRestore{"emptyKeyed", "richtig", "richtig", [](QByteArray) { return QByteArray(); }},
        FailingRestore{"empty", "", "", [](QByteArray) { return QByteArray(); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RestoreTest, MissingSourceCreatesNoTargetWithOrWithoutKey)
{
    for (const QString& key : {QString(), QStringLiteral("k")}) {
        EXPECT_EQ(RestoreStoredFile("D:\\S\\C$\\none.txt.00001.nxz", "C:\\none.txt", key, noStatus(), QString()), -1);
        EXPECT_FALSE(exists("C:\\none.txt"));
        EXPECT_TRUE(tempFiles().isEmpty());
    }
}

TEST_F(RestoreTest, DateTextStampsTheTargetAtTwoSecondResolution)
{
    test::writeStoredFile(kStored, "x");
    const QDateTime odd(QDate(2018, 4, 19), QTime(14, 3, 11));
    ASSERT_EQ(RestoreStoredFile(kStored, kTarget, QString(), noStatus(), platform::userDateTimeText(odd)), 0);
    EXPECT_EQ(QFileInfo(platform::toHostPath(kRestored)).lastModified(), odd.addSecs(-1));
}

TEST_F(RestoreTest, DateTextThatIsNoDateLeavesTheExpansionTime)
{
    test::writeStoredFile(kStored, "x");
    const QDateTime before = QDateTime::currentDateTime().addSecs(-5);
    ASSERT_EQ(RestoreStoredFile(kStored, kTarget, QString(), noStatus(), "kein Datum"), 0);
    EXPECT_GT(QFileInfo(platform::toHostPath(kRestored)).lastModified(), before);
    EXPECT_TRUE(user.messages.isEmpty());
}

TEST_F(RestoreTest, CopyOrExpandExpandsUnderscoreEntriesUnlessCopyOnly)
{
    const QByteArray container = test::containerOf("inhalt");
    writeFile("D:\\Store\\Set1\\C$\\Docs\\alt.dat_", container);

    EXPECT_EQ(CopyOrExpand("D:\\Store\\Set1\\C$\\Docs\\alt.dat_", "C:\\Docs\\alt.dat_", false, -1), 0);
    EXPECT_EQ(readFile("C:\\Docs\\alt.dat"), QByteArray("inhalt"));
    EXPECT_FALSE(exists("C:\\Docs\\alt.dat_"));

    EXPECT_EQ(CopyOrExpand("D:\\Store\\Set1\\C$\\Docs\\alt.dat_", "C:\\Docs\\alt.dat_", true, -1), 0);
    EXPECT_EQ(readFile("C:\\Docs\\alt.dat_"), container);
}

TEST_F(RestoreTest, CopyOrExpandReplacesAReadOnlyTargetAndKeepsTheSourceTime)
{
    writeFile("D:\\S\\C$\\plain.txt", "neu");
    const QDateTime stamp(QDate(2020, 1, 2), QTime(3, 4, 6));
    platform::setLastWriteTime("D:\\S\\C$\\plain.txt", stamp);
    writeFile("C:\\plain.txt", "alt");
    QFile::setPermissions(platform::toHostPath("C:\\plain.txt"), QFile::ReadOwner);

    EXPECT_EQ(CopyOrExpand("D:\\S\\C$\\plain.txt", "C:\\plain.txt", true, -1), 0);
    EXPECT_EQ(readFile("C:\\plain.txt"), QByteArray("neu"));
    EXPECT_FALSE(platform::attributes("C:\\plain.txt")->readOnly);
    EXPECT_EQ(platform::lastWriteTime("C:\\plain.txt"), stamp);
}

TEST_F(RestoreTest, CopyOrExpandResults)
{
    writeFile("D:\\s.txt", "s");
    writeFile("C:\\exists.txt", "old");
    EXPECT_EQ(CopyOrExpand("D:\\missing.txt", "C:\\m.txt", true, -1), 2);
    EXPECT_EQ(CopyOrExpand("D:\\s.txt", "C:\\exists.txt", true, kSkipExisting), 0);
    EXPECT_EQ(readFile("C:\\exists.txt"), QByteArray("old"));
    user.answers = {Answer::No};
    EXPECT_EQ(CopyOrExpand("D:\\s.txt", "C:\\exists.txt", true, kAskBeforeReplacing), 0);
    EXPECT_EQ(readFile("C:\\exists.txt"), QByteArray("old"));
    ASSERT_EQ(user.questions.size(), 1);
    EXPECT_EQ(user.questions[0].caption, "überschreiben?");
    // A target that is a directory cannot be created.
    platform::createFolders("C:\\adir\\");
    EXPECT_EQ(CopyOrExpand("D:\\s.txt", "C:\\adir", true, -1), 1);
}

TEST_F(RestoreTest, ExpandToFileModes)
{
    writeFile("D:\\s.nxz", test::containerOf("neu"));
    writeFile("C:\\t.txt", "alt");

    EXPECT_EQ(ExpandToFile("D:\\s.nxz", "C:\\t.txt", kSkipExisting), -1);
    user.answers = {Answer::No};
    EXPECT_EQ(ExpandToFile("D:\\s.nxz", "C:\\t.txt", kAskBeforeReplacing), -1);
    EXPECT_EQ(readFile("C:\\t.txt"), QByteArray("alt"));
    ASSERT_EQ(user.questions.size(), 1);
    EXPECT_EQ(user.questions[0].text, platform::absolutePath("C:\\t.txt"));
    EXPECT_EQ(user.questions[0].buttons, Buttons::YesNo);

    user.answers = {Answer::Yes};
    EXPECT_EQ(ExpandToFile("D:\\s.nxz", "C:\\t.txt", kAskBeforeReplacing), 0);
    EXPECT_EQ(readFile("C:\\t.txt"), QByteArray("neu"));
    EXPECT_EQ(ExpandToFile("D:\\s.nxz", "C:\\new\\deep\\t.txt", kSkipExisting), 0);
    EXPECT_EQ(readFile("C:\\new\\deep\\t.txt"), QByteArray("neu"));
}

TEST_F(RestoreTest, LargeFileRestoresByteExactWithKey)
{
    const QByteArray content = test::mixedContent(24 << 20, 9);
    test::writeStoredFile(kStored, content, "zwölf Zeichen");
    ASSERT_EQ(RestoreStoredFile(kStored, kTarget, "zwölf Zeichen", noStatus(), QString()), 0);
    EXPECT_EQ(readFile(kRestored), content);
}

TEST_F(RestoreTest, TempDirectoryThatIsALinkIsRefusedWithTheMessage)
{
    const QString linkTarget = host("elsewhere");
    QDir().mkpath(linkTarget);
    ASSERT_TRUE(QFile::link(linkTarget, tempHostDirectory()));
    EXPECT_EQ(TempDirectory(), "c:\\");
    EXPECT_EQ(user.messages, QStringList{"Kann Pfad zu den temporären Dateien nicht finden"});
}

TEST_F(RestoreTest, TempOpenFileNameTakesTheExtensionOfTheUserFile)
{
    EXPECT_EQ(TempOpenFileName("C:\\Docs\\Angebot.docx"), TempDirectory() + QString::fromUtf16(u"§tmp.docx"));
    EXPECT_EQ(TempOpenFileName("C:\\a.b\\ohne"), TempDirectory() + QString::fromUtf16(u"§tmp"));
}

TEST_F(RestoreTest, ShellOpenFileHandsTheHostPathToTheDesktop)
{
    ShellOpenFile("C:\\x.docx", QString(), QString(), 1);
    EXPECT_EQ(user.opened, QStringList{platform::toHostPath("C:\\x.docx")});
}

}  // namespace
}  // namespace quorbin
