#include "engine/versions.h"

#include "fixtures/sandbox.h"
#include "fixtures/storewriter.h"
#include "platform/datetime.h"
#include "platform/dirsearch.h"
#include "platform/files.h"

#include <gtest/gtest.h>

namespace quorbin {
namespace {

const QString kDir = "D:\\Store\\Set1\\C$\\Docs\\";
const QString kOriginal = kDir + "a.txt.00001.nxz";

QDateTime at(int day, int hour, int minute, int second = 0)
{
    return QDateTime(QDate(2018, 4, day), QTime(hour, minute, second));
}

class VersionsTest : public test::SandboxTest {
protected:
    void version(int number, const QDateTime& time, const QString& name = "a.txt")
    {
        test::writeStoredFile(kDir + name + QStringLiteral(".%1.nxz").arg(number, 5, 10, QChar('0')),
                              QByteArray::number(number), QString(), time);
    }
    QString chosen(VersionRule rule, const QDateTime& limit = {})
    {
        const auto choice = SelectVersion(rule, kOriginal, limit.isValid() ? platform::toDayCount(limit) : 0);
        return choice ? platform::namePart(choice->versionPath) : QStringLiteral("<none>");
    }
};

TEST_F(VersionsTest, OnlyTheOriginalVersionIsChosenByEveryRule)
{
    version(1, at(19, 14, 3, 10));
    EXPECT_EQ(chosen(kOriginalVersion), "a.txt.00001.nxz");
    EXPECT_EQ(chosen(kNewestVersion), "a.txt.00001.nxz");
    EXPECT_EQ(chosen(kVersionBeforeDate, at(1, 0, 0)), "a.txt.00001.nxz");
    const auto choice = SelectVersion(kOriginalVersion, kOriginal, 0);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->versionPath, kOriginal);
    EXPECT_EQ(choice->dateText, platform::userDateTimeText(at(19, 14, 3, 10)));
}

TEST_F(VersionsTest, RulesChooseByTimeAndTheLimit)
{
    version(1, at(10, 8, 0));
    version(2, at(12, 8, 0));
    version(3, at(14, 23, 59));
    struct Case {
        VersionRule rule;
        QDateTime limit;
        const char* expected;
    } cases[] = {
        {kNewestVersion, {}, "a.txt.00003.nxz"},
        {kOriginalVersion, {}, "a.txt.00001.nxz"},
        {kVersionBeforeDate, at(1, 0, 0), "a.txt.00001.nxz"},    // before every version: the oldest
        {kVersionBeforeDate, at(11, 0, 0), "a.txt.00001.nxz"},
        {kVersionBeforeDate, at(13, 0, 0), "a.txt.00002.nxz"},
        {kVersionBeforeDate, at(14, 23, 59), "a.txt.00002.nxz"},  // exactly at the limit counts as after it
        {kVersionBeforeDate, at(15, 0, 0), "a.txt.00003.nxz"},   // after every version: the newest
    };
    for (const Case& c : cases)
        EXPECT_EQ(chosen(c.rule, c.limit), c.expected) << c.rule << " " << qPrintable(c.limit.toString());
}

TEST_F(VersionsTest, AVersionAtTheLimitCountsAsAfterItWhateverTheTimeOfDay)
{
    // Limits whose day fraction rounds down as well as up at six decimals.
    for (const QTime& t : {QTime(0, 1), QTime(10, 1), QTime(14, 3), QTime(23, 59)}) {
        version(1, at(10, 8, 0));
        version(2, QDateTime(QDate(2018, 4, 12), t));
        EXPECT_EQ(chosen(kVersionBeforeDate, QDateTime(QDate(2018, 4, 12), t)), "a.txt.00001.nxz") << qPrintable(t.toString());
        EXPECT_EQ(chosen(kVersionBeforeDate, QDateTime(QDate(2018, 4, 12), t).addSecs(2)), "a.txt.00002.nxz");
    }
}

TEST_F(VersionsTest, TimeDecidesNotTheNumber)
{
    version(1, at(20, 9, 0));  // the original carries the latest time
    version(2, at(18, 9, 0));
    EXPECT_EQ(chosen(kOriginalVersion), "a.txt.00001.nxz");
    EXPECT_EQ(chosen(kNewestVersion), "a.txt.00001.nxz");
    EXPECT_EQ(chosen(kVersionBeforeDate, at(19, 0, 0)), "a.txt.00002.nxz");
}

TEST_F(VersionsTest, EqualTimesOrderByPathSoTheHigherNumberIsNewer)
{
    version(2, at(18, 9, 0));
    version(1, at(18, 9, 0));
    version(10, at(18, 9, 0));
    EXPECT_EQ(chosen(kNewestVersion), "a.txt.00010.nxz");
}

TEST_F(VersionsTest, OtherFilesSharingTheNameAreNeverCandidates)
{
    version(1, at(10, 8, 0));
    version(1, at(20, 8, 0), "a.txt.bak");
    writeFile(kDir + "a.txt.old.txt", "plain");
    writeFile(kDir + "a.txt.00002.NXZ", "not a container");
    const auto candidates = VersionCandidates(kOriginal);
    ASSERT_TRUE(candidates);
    QStringList names;
    for (const VersionCandidate& c : *candidates)
        names << platform::namePart(c.path);
    EXPECT_EQ(names, (QStringList{"a.txt.00001.nxz"}));
}

TEST_F(VersionsTest, ANameOfAnotherCaseIsAnotherFileUnlessTheBaseHasNoVersionsOfItsOwn)
{
    // A case-sensitive disk holds two files where the store's platform had one name.
    version(1, at(10, 8, 0), "Twin.txt");
    version(1, at(11, 8, 0), "twin.txt");
    version(2, at(12, 8, 0), "twin.txt");
    const auto namesOf = [&](const QString& original, bool indexed) {
        const VersionIndex index(platform::findEntries(kDir + "*.*"));
        const auto candidates = VersionCandidates(kDir + original, indexed ? &index : nullptr);
        QStringList names;
        for (const VersionCandidate& c : candidates.value_or(QList<VersionCandidate>()))
            names << platform::namePart(c.path);
        return names;
    };
    for (const bool indexed : {false, true}) {
        SCOPED_TRACE(indexed ? "from the walk's index" : "by a search");
        EXPECT_EQ(namesOf("Twin.txt.00001.nxz", indexed), QStringList{"Twin.txt.00001.nxz"});
        EXPECT_EQ(namesOf("twin.txt.00001.nxz", indexed), (QStringList{"twin.txt.00001.nxz", "twin.txt.00002.nxz"}));
        // A name typed in a case that no file has finds them all, as on the store's platform.
        EXPECT_EQ(namesOf("TWIN.TXT.00001.nxz", indexed).size(), 3);
    }
}

TEST_F(VersionsTest, MidnightVersionsShowTheDateAlone)
{
    version(1, at(19, 0, 0));
    const auto choice = SelectVersion(kNewestVersion, kOriginal, 0);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->dateText, platform::userDateTimeText(at(19, 0, 0)));
    EXPECT_FALSE(choice->dateText.contains(':'));
}

TEST_F(VersionsTest, FailsWhenNothingCanBeChosen)
{
    EXPECT_EQ(chosen(kNewestVersion), "<none>");
    EXPECT_EQ(chosen(kOriginalVersion), "<none>");

    version(1, at(10, 8, 0));
    platform::createFolders(kDir + "a.txt.00002.nxz\\");  // a directory has no time
    EXPECT_EQ(chosen(kNewestVersion), "<none>");
    EXPECT_EQ(chosen(kOriginalVersion), "a.txt.00001.nxz");
}

}  // namespace
}  // namespace quorbin
