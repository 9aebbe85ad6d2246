#include "fixtures/cli.h"
#include "fixtures/sandbox.h"
#include "fixtures/storewriter.h"
#include "platform/datetime.h"
#include "platform/files.h"
#include "platform/winpath.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <csignal>

namespace quorbin::test {
namespace {

const QString kStart = "D:\\Store\\Set1\\C$\\Docs";

QDateTime at(int day, int hour = 10) { return QDateTime(QDate(2018, 4, day), QTime(hour, 0, 2)); }

class DirCommandTest : public SandboxTest {
protected:
    void SetUp() override
    {
        SandboxTest::SetUp();
        writeStoredFile(kStart + "\\a.txt.00001.nxz", "eins", "k", at(10));
        writeStoredFile(kStart + "\\a.txt.00002.nxz", "zwei", "k", at(12));
        writeStoredFile(kStart + "\\Sub\\b.txt.00001.nxz", "b", "k", at(11));
    }
    QProcessEnvironment env(const QString& key = "k") const
    {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert("QUORBIN_KEY", key);
        return e;
    }
    static QString line(const QString& version, const QDateTime& t, const QString& target)
    {
        return version + "--->   " + platform::userDateTimeText(t) + " " + target;
    }
};

TEST_F(DirCommandTest, RestoresTheTreeWithTheWindowsLogLines)
{
    const CliResult r = runCli({"dir", kStart}, env());
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5) << qPrintable(r.out);
    EXPECT_EQ(lines.first(), "start");
    EXPECT_EQ(lines[3], "fertig");
    EXPECT_EQ(lines.last(), "wiederhergestellt nach: " + platform::toHostPath("C:\\Docs"));
    QStringList middle = lines.mid(1, 2);
    middle.sort();
    EXPECT_EQ(middle, (QStringList{line(kStart + "\\Sub\\b.txt.00001.nxz", at(11), "C:\\Docs\\Sub\\b.txt"),
                                   line(kStart + "\\a.txt.00002.nxz", at(12), "C:\\Docs\\a.txt")}));
    EXPECT_EQ(readFile("C:\\Docs\\a.txt"), QByteArray("zwei"));
    EXPECT_TRUE(r.err.isEmpty()) << "no progress line when stderr is no terminal";
}

TEST_F(DirCommandTest, RulesNewDirectoryAndDryRun)
{
    const CliResult dry = runCli({"dir", platform::toHostPath(kStart), "--to", "E:\\Neu", "--rule", "original", "--dry-run"}, env());
    EXPECT_EQ(dry.exitCode, 0) << qPrintable(dry.err);
    EXPECT_TRUE(dry.out.contains(line(kStart + "\\a.txt.00001.nxz", at(10), "E:\\Neu\\\\a.txt"))) << qPrintable(dry.out);
    EXPECT_TRUE(snapshot("E:\\").isEmpty());

    const CliResult before = runCli({"dir", kStart, "--to", "E:\\Neu\\", "--rule", "before", "--before", "2018-04-11 00:00"}, env());
    EXPECT_EQ(before.exitCode, 0) << qPrintable(before.err);
    EXPECT_EQ(readFile("E:\\Neu\\a.txt"), QByteArray("eins"));
    EXPECT_EQ(readFile("E:\\Neu\\Sub\\b.txt"), QByteArray("b"));
}

TEST_F(DirCommandTest, ErrorLinesExitWithOne)
{
    writeFile("C:\\Docs\\a.txt", "alt");
    const CliResult r = runCli({"dir", kStart}, env("falsch"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains("ERROR *****" + kStart + "\\a.txt.00002.nxz--->   nicht rückgesichert")) << qPrintable(r.out);
    EXPECT_EQ(readFile("C:\\Docs\\a.txt"), QByteArray("alt"));
}

TEST_F(DirCommandTest, AskOnTheTerminal)
{
    writeFile("C:\\Docs\\a.txt", "alt");
    const CliResult no = runCli({"dir", kStart, "--ask"}, env(), "a\n");
    EXPECT_EQ(no.exitCode, 1);
    EXPECT_TRUE(no.err.contains("Datei C:\\Docs\\a.txt ersetzen?")) << qPrintable(no.err);
    EXPECT_EQ(readFile("C:\\Docs\\a.txt"), QByteArray("alt"));

    // b.txt was restored by the first run, so both files are asked about now; an answer that
    // means nothing is asked again.
    const CliResult yes = runCli({"dir", kStart, "--ask"}, env(), "vielleicht\nj\nyes\n");
    EXPECT_EQ(yes.exitCode, 0) << qPrintable(yes.out + yes.err);
    EXPECT_EQ(readFile("C:\\Docs\\a.txt"), QByteArray("zwei"));
    EXPECT_EQ(yes.err.count("ersetzen?"), 3) << qPrintable(yes.err);
}

TEST_F(DirCommandTest, EveryUsualWordAnswersAQuestion)
{
    struct Case {
        const char* typed;
        bool replaced;
    } cases[] = {{"j", true}, {"Ja", true}, {"y", true}, {"yes", true}, {"o", true}, {"OK", true},
                 {"n", false}, {"nein", false}, {"no", false}, {"a", false}, {"", false}};
    for (const Case& c : cases) {
        writeFile("C:\\Docs\\a.txt", "alt");
        writeFile("C:\\Docs\\Sub\\b.txt", "alt");
        const QByteArray typed = QByteArray(c.typed) + "\n" + c.typed + "\n";
        runCli({"dir", kStart, "--ask"}, env(), typed);
        EXPECT_EQ(readFile("C:\\Docs\\a.txt"), c.replaced ? QByteArray("zwei") : QByteArray("alt")) << c.typed;
    }
}

TEST_F(DirCommandTest, UsageErrors)
{
    struct Case {
        QStringList arguments;
        const char* message;
    } cases[] = {
        {{"dir", "D:\\Store\\Set1"}, "Kein Backup-Pfad. Bitte neu wählen!"},
        {{"dir", kStart, "--rule", "before"}, "--before"},
        {{"dir", kStart, "--rule", "sometimes"}, "Unbekannte Regel"},
        {{"dir", kStart, "--rule", "before", "--before", "gestern"}, "Datum nicht lesbar"},
        {{"dir", kStart, "--before", "2018-04-11 00:00"}, "--before gilt nur mit --rule before"},
        {{"dir"}, "quorbin-restore dir"},
        {{"dir", kStart + "\\fehlt"}, "Verzeichnis nicht gefunden"},
        {{"dir", kStart, "--to", kStart + "\\Neu"}, "in der Datensicherung selbst"},
    };
    const auto storeBefore = snapshot("D:\\");
    for (const Case& c : cases) {
        const CliResult r = runCli(c.arguments, env());
        EXPECT_EQ(r.exitCode, 2) << qPrintable(c.arguments.join(' '));
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << qPrintable(r.err);
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_EQ(snapshot("D:\\"), storeBefore);
}

TEST_F(DirCommandTest, TrailingSeparatorOfTheStartDirectoryIsDropped)
{
    const CliResult r = runCli({"dir", kStart + "\\", "--rule", "original"}, env());
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains(line(kStart + "\\a.txt.00001.nxz", at(10), "C:\\Docs\\a.txt"))) << qPrintable(r.out);
}

TEST_F(DirCommandTest, VersionsListsOldestFirst)
{
    const CliResult r = runCli({"versions", kStart + "\\a.txt.00002.nxz"}, env());
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, platform::userDateTimeText(at(10)) + "\t" + kStart + "\\a.txt.00001.nxz\n" +
                         platform::userDateTimeText(at(12)) + "\t" + kStart + "\\a.txt.00002.nxz\n");
    EXPECT_EQ(runCli({"versions", kStart + "\\none.txt.00001.nxz"}, env()).exitCode, 1);
}

TEST_F(DirCommandTest, VersionsNamesTheVersionWhoseTimeCannotBeRead)
{
    platform::createFolders(kStart + "\\a.txt.00003.nxz\\");  // a directory has no time
    const CliResult r = runCli({"versions", kStart + "\\a.txt.00001.nxz"}, env());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.trimmed(), "Zeit einer Version nicht lesbar: " + kStart + "\\a.txt.00003.nxz");
}

TEST_F(DirCommandTest, AFileWithLaterVersionsOnlyIsNamedOnStderrAndByVersions)
{
    writeStoredFile(kStart + "\\plan.txt.00002.nxz", "zwei", "k", at(12));
    writeStoredFile(kStart + "\\plan.txt.00003.nxz", "drei", "k", at(13));

    const CliResult r = runCli({"dir", kStart}, env());
    EXPECT_EQ(r.exitCode, 0) << "the log has no ERROR line, as before";
    EXPECT_FALSE(r.out.contains("plan.txt"));
    EXPECT_EQ(r.err.trimmed(), "Warnung: nur spätere Versionen, die erste fehlt, nicht wiederhergestellt: " + kStart +
                                   "\\plan.txt (plan.txt.00002.nxz, plan.txt.00003.nxz)");

    const CliResult versions = runCli({"versions", kStart + "\\plan.txt.00003.nxz"}, env());
    EXPECT_EQ(versions.exitCode, 0);
    EXPECT_EQ(versions.out.count('\n'), 2);
    EXPECT_EQ(versions.err.trimmed(),
              "Warnung: die erste Version fehlt; dir stellt diese Datei nicht wieder her: " + kStart + "\\plan.txt");
}

TEST_F(DirCommandTest, InterruptedInTheMiddleOfAFileItLeavesNothingHalfWrittenAndKeepsTheOldFile)
{
    writeStoredFile(kStart + "\\Sub\\gross.bin.00001.nxz", QByteArray(256 << 20, 'q'), "k", at(11));
    writeFile("C:\\Docs\\Sub\\gross.bin", "the user's old file");
    const QString targetDirectory = host("c/Docs/Sub");
    const auto halfWritten = [&](qint64 pid) {
        const QList<qint64> sizes = filesBeingWritten(pid, targetDirectory);
        return !sizes.isEmpty() && sizes.first() > 0;
    };

    for (const int signal : {SIGINT, SIGTERM}) {
        EXPECT_TRUE(interruptCli({"dir", kStart}, env(), halfWritten, signal)) << "the signal ends the run";
        EXPECT_EQ(readFile("C:\\Docs\\Sub\\gross.bin"), QByteArray("the user's old file"));
        EXPECT_EQ(QDir(targetDirectory).entryList({"*.part"}, QDir::Files | QDir::Hidden), QStringList());
        EXPECT_EQ(tempFiles(), QStringList());
    }
}

TEST_F(DirCommandTest, NoVersionBeforeTheDateTakesTheOldestAndSaysSo)
{
    const CliResult r = runCli({"dir", kStart, "--rule", "before", "--before", "2018-04-01 00:00"}, env());
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(readFile("C:\\Docs\\a.txt"), QByteArray("eins"));
    EXPECT_TRUE(r.err.contains("Warnung: keine Version vor dem Datum, die älteste genommen: " + kStart +
                               "\\a.txt.00001.nxz (" + platform::userDateTimeText(at(10)) + ")"))
        << qPrintable(r.err);
    EXPECT_EQ(r.err.count("Warnung"), 2) << "a.txt and b.txt";

    const CliResult quiet = runCli({"dir", kStart, "--rule", "before", "--before", "2018-04-30 00:00"}, env());
    EXPECT_FALSE(quiet.err.contains("Warnung")) << qPrintable(quiet.err);
}

TEST_F(DirCommandTest, RestoredFilesGetTheVersionsTimeInEveryLocaleAndTheLogLineHasNoEmptyZone)
{
    const char* const locales[] = {"de_DE", "en_US", "es_ES", "fa_IR", "ps_AF", "sq_AL", "as_IN", "ja_JP"};
    for (const char* locale : locales) {
        SCOPED_TRACE(locale);
        QProcessEnvironment e = env();
        e.insert("LC_ALL", QString::fromLatin1(locale) + ".UTF-8");
        e.insert("LANG", QString::fromLatin1(locale) + ".UTF-8");
        const CliResult r = runCli({"dir", kStart, "--to", "E:\\Neu", "--rule", "original"}, e);
        EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
        EXPECT_FALSE(r.out.contains("()")) << qPrintable(r.out);
        EXPECT_EQ(QFileInfo(host("e/Neu/a.txt")).lastModified().toSecsSinceEpoch(), at(10).toSecsSinceEpoch());
        QDir(host("e/Neu")).removeRecursively();
    }
}

TEST_F(DirCommandTest, AVersionFromTheRepeatedHourOfTheClockChangeKeepsItsTime)
{
    // 02:30 of 28 October 2018 came twice in Berlin; this is the second time (CET).
    const QDateTime secondTime = QDateTime::fromSecsSinceEpoch(QDateTime(QDate(2018, 10, 28), QTime(1, 30), Qt::UTC).toSecsSinceEpoch());
    writeStoredFile(kStart + "\\Herbst\\x.txt.00001.nxz", "x", "k", secondTime);
    QProcessEnvironment e = env();
    e.insert("TZ", "Europe/Berlin");
    const CliResult r = runCli({"dir", kStart + "\\Herbst", "--to", "E:\\Neu"}, e);
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(QFileInfo(host("e/Neu/x.txt")).lastModified().toSecsSinceEpoch(), secondTime.toSecsSinceEpoch());
}

TEST_F(DirCommandTest, OriginalPathsOnTheHostsWholeFileSystemAreRefused)
{
    writeStoredFile("D:\\Store\\Set1\\Z$\\tmp\\quorbin-test-nowhere\\x.txt.00001.nxz", "x", "k", at(10));
    const CliResult r = runCli({"dir", "D:\\Store\\Set1\\Z$\\tmp"}, env());
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("das ganze System")) << qPrintable(r.err);
    EXPECT_FALSE(QFileInfo::exists("/tmp/quorbin-test-nowhere"));

    const CliResult elsewhere = runCli({"dir", "D:\\Store\\Set1\\Z$\\tmp", "--to", "E:\\Neu"}, env());
    EXPECT_EQ(elsewhere.exitCode, 0) << qPrintable(elsewhere.err);
    EXPECT_EQ(readFile("E:\\Neu\\quorbin-test-nowhere\\x.txt"), QByteArray("x"));
}

}  // namespace
}  // namespace quorbin::test
