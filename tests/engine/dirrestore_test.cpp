#include "engine/dirrestore.h"

#include "fixtures/recordingsinks.h"
#include "fixtures/sandbox.h"
#include "fixtures/scripteduser.h"
#include "fixtures/storewriter.h"
#include "platform/datetime.h"
#include "platform/files.h"
#include "platform/winpath.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorbin {
namespace {

const QString kSet = "D:\\Store\\Set1\\";
const QString kStart = kSet + "C$\\Docs";

QDateTime at(int day, int hour = 10, int minute = 0) { return QDateTime(QDate(2018, 4, day), QTime(hour, minute)); }
QString dateText(const QDateTime& t) { return platform::userDateTimeText(t); }

class DirRestoreTest : public test::SandboxTest {
protected:
    test::ScriptedUser user;
    test::RecordingStatus status;
    test::RecordingLog log;
    QString key;

    DirRestore walk(VersionRule rule = kNewestVersion, const QString& newStart = {})
    {
        DirRestore w{newStart, kStart, rule, false, 0, RestoreReporter{status, log, noProgress()},
                     [this] { return key; }, false, {}, {}, {}, {}};
        return w;
    }
    void stored(const QString& relative, const QByteArray& content, const QDateTime& time)
    {
        test::writeStoredFile(kStart + "\\" + relative, content, key, time);
    }
};

TEST_F(DirRestoreTest, RestoresTheNewestVersionOfEveryFileAndCopiesPlainEntries)
{
    key = QString::fromUtf16(u"Schl\u00FCssel\u0416");
    stored("Brief¯an¯Bank.txt.00001.nxz", "alt", at(10));
    stored("Brief¯an¯Bank.txt.00002.nxz", "neu", at(12));
    stored("Unter\\.versteckt.00001.nxz", "hidden", at(11));
    writeFile(kStart + "\\Unter\\liesmich.txt", "plain");
    writeFile(kStart + "\\Unter\\alt.dat_", "stays packed");
    stored("nur.txt.00002.nxz", "later version without original", at(12));
    const auto storeBefore = snapshot("D:\\");

    RestoreDirTree(kStart, walk());

    EXPECT_EQ(readFile(QString::fromUtf16(u"C:\\Docs\\Brief an Bank.txt")), QByteArray("neu"));
    EXPECT_EQ(platform::lastWriteTime(QString::fromUtf16(u"C:\\Docs\\Brief an Bank.txt")), at(12));
    EXPECT_EQ(readFile("C:\\Docs\\Unter\\.versteckt"), QByteArray("hidden"));
    EXPECT_EQ(readFile("C:\\Docs\\Unter\\liesmich.txt"), QByteArray("plain"));
    EXPECT_EQ(readFile("C:\\Docs\\Unter\\alt.dat_"), QByteArray("stays packed"));
    EXPECT_FALSE(exists("C:\\Docs\\nur.txt"));
    EXPECT_EQ(snapshot("D:\\"), storeBefore);

    QStringList expected = {
        kStart + "\\Brief¯an¯Bank.txt.00002.nxz--->   " + dateText(at(12)) + " " + QString::fromUtf16(u"C:\\Docs\\Brief an Bank.txt"),
        kStart + "\\Unter\\.versteckt.00002.nxz",
    };
    expected[1] = kStart + "\\Unter\\.versteckt.00001.nxz--->   " + dateText(at(11)) + " C:\\Docs\\Unter\\.versteckt";
    QStringList lines = log.lines;
    lines.sort();
    expected.sort();
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(status.texts.last(), log.lines.last());
}

TEST_F(DirRestoreTest, NewStartDirectoryRebuildsTheTreeBelowIt)
{
    stored("a.txt.00001.nxz", "a", at(10, 0, 0));
    RestoreDirTree(kStart, walk(kOriginalVersion, "E:\\Neu\\"));
    EXPECT_EQ(readFile("E:\\Neu\\a.txt"), QByteArray("a"));
    ASSERT_EQ(log.lines.size(), 1);
    // The joint shows two backslashes; the date alone at midnight.
    EXPECT_EQ(log.lines[0], kStart + "\\a.txt.00001.nxz--->   " + dateText(at(10, 0, 0)) + " E:\\Neu\\\\a.txt");
}

TEST_F(DirRestoreTest, VersionBeforeDateRule)
{
    stored("a.txt.00001.nxz", "eins", at(10));
    stored("a.txt.00002.nxz", "zwei", at(12, 23, 59));
    stored("a.txt.00003.nxz", "drei", at(14));
    DirRestore w = walk(kVersionBeforeDate);
    w.versionLimit = platform::toDayCount(at(12, 23, 59));
    RestoreDirTree(kStart, w);
    EXPECT_EQ(readFile("C:\\Docs\\a.txt"), QByteArray("eins"));
}

TEST_F(DirRestoreTest, AskingBeforeReplacing)
{
    stored("s.txt.00001.nxz", "neu", at(10));
    writeFile(kStart + "\\p.txt", "neu");
    writeFile("C:\\Docs\\s.txt", "alt");
    writeFile("C:\\Docs\\p.txt", "alt");
    DirRestore w = walk();
    w.ask = true;

    RestoreDirTree(kStart, w);  // no answers queued: Cancel to everything
    EXPECT_EQ(readFile("C:\\Docs\\s.txt"), QByteArray("alt"));
    EXPECT_EQ(readFile("C:\\Docs\\p.txt"), QByteArray("alt"));
    ASSERT_EQ(user.questions.size(), 2);
    for (const test::Question& q : user.questions) {
        EXPECT_EQ(q.caption, "Datei wiederherstellen, überschreiben?");
        EXPECT_TRUE(q.text == "Datei C:\\Docs\\s.txt ersetzen?" || q.text == "Datei C:\\Docs\\p.txt ersetzen?") << qPrintable(q.text);
        EXPECT_EQ(q.buttons, Buttons::OkCancel);
    }
    EXPECT_EQ(log.lines, QStringList{"ERROR *****" + kStart + "\\s.txt.00001.nxz--->   nicht rückgesichert (nicht ersetzt)"});

    user.answers = {Answer::Ok, Answer::Ok};
    log.lines.clear();
    RestoreDirTree(kStart, w);
    EXPECT_EQ(readFile("C:\\Docs\\s.txt"), QByteArray("neu"));
    EXPECT_EQ(readFile("C:\\Docs\\p.txt"), QByteArray("neu"));

    // No file at the target: no question.
    user.questions.clear();
    RestoreDirTree(kStart, walk(kNewestVersion, "E:\\leer\\"));
    EXPECT_TRUE(user.questions.isEmpty());
}

TEST_F(DirRestoreTest, FailuresAreLoggedAndKeepTheExistingFile)
{
    key = "richtig";
    stored("a.txt.00001.nxz", "a", at(10));
    stored("b.txt.00001.nxz", "b", at(10));
    writeFile("C:\\Docs\\a.txt", "the user's a");
    key = "falsch";
    RestoreDirTree(kStart, walk());
    EXPECT_EQ(readFile("C:\\Docs\\a.txt"), QByteArray("the user's a"));
    EXPECT_FALSE(exists("C:\\Docs\\b.txt"));
    QStringList lines = log.lines;
    lines.sort();
    EXPECT_EQ(lines, (QStringList{"ERROR *****" + kStart + "\\a.txt.00001.nxz--->   nicht rückgesichert (falscher Schlüssel)",
                                  "ERROR *****" + kStart + "\\b.txt.00001.nxz--->   nicht rückgesichert (falscher Schlüssel)"}));
    EXPECT_TRUE(tempFiles().isEmpty());
}

TEST_F(DirRestoreTest, APlainEntryThatCannotBeCopiedIsLoggedWithItsCause)
{
    writeFile(kStart + "\\p.txt", "p");
    platform::createFolders("C:\\Docs\\p.txt\\");
    RestoreDirTree(kStart, walk());
    EXPECT_EQ(log.lines, QStringList{"ERROR *****" + kStart + "\\p.txt--->   nicht rückgesichert (Ziel nicht beschreibbar "
                                     "(ist ein Verzeichnis): " + platform::toHostPath("C:\\Docs\\p.txt") + ")"});
}

TEST_F(DirRestoreTest, VersionThatCannotBeChosenShowsTheTarget)
{
    stored("a.txt.00001.nxz", "a", at(10));
    platform::createFolders(kStart + "\\a.txt.00002.nxz\\");
    RestoreDirTree(kStart, walk());
    EXPECT_EQ(log.lines, QStringList{"ERROR *****C:\\Docs\\a.txt--->   nicht rückgesichert (keine passende Version)"});
}

TEST_F(DirRestoreTest, EntriesBelowADirectoryNamedLikeAContainerAreLeftAlone)
{
    writeFile(kStart + "\\x.nxz\\plain.txt", "p");
    stored("x.nxz\\a.txt.00001.nxz", "a", at(10));
    RestoreDirTree(kStart, walk());
    EXPECT_FALSE(exists("C:\\Docs\\x.nxz\\plain.txt"));
    EXPECT_EQ(readFile("C:\\Docs\\x.nxz\\a.txt"), QByteArray("a"));
}

TEST_F(DirRestoreTest, TargetsThatWouldClimbOutAreNotWritten)
{
    stored("...00001.nxz", "escape", at(10));  // decodes to C:\Docs\..
    writeFile(kStart + QString::fromUtf16(u"\\.§.\\x.txt"), "escape");  // folder decodes to ".."
    stored(QString::fromUtf16(u".§.\\y.txt.00001.nxz"), "escape", at(10));
    const auto before = snapshot("C:\\");
    RestoreDirTree(kStart, walk(kNewestVersion, "E:\\Neu\\"));
    RestoreDirTree(kStart, walk());
    EXPECT_EQ(snapshot("C:\\"), before);
    EXPECT_TRUE(snapshot("E:\\").isEmpty());
    EXPECT_EQ(log.lines.filter("ERROR *****").size(), log.lines.size());
    EXPECT_EQ(log.lines.size(), 6);
}

TEST_F(DirRestoreTest, LinkedDirectoriesAreNotFollowed)
{
    stored("a.txt.00001.nxz", "a", at(10));
    ASSERT_TRUE(QFile::link(platform::toHostPath(kStart), platform::toHostPath(kStart + "\\loop")));
    RestoreDirTree(kStart, walk());
    EXPECT_EQ(log.lines.size(), 1);
    EXPECT_FALSE(exists("C:\\Docs\\loop"));
}

TEST_F(DirRestoreTest, PipesAndDevicesInTheStoreAreNeverRead)
{
    stored("a.txt.00001.nxz", "a", at(10));
    const QByteArray dir = platform::toHostPath(kStart).toLocal8Bit();
    ASSERT_EQ(mkfifo(dir + "/pipe.txt.00001.nxz", 0600), 0);
    ASSERT_EQ(mkfifo(dir + "/plainpipe", 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", platform::toHostPath(kStart + "\\zero.bin")));
    RestoreDirTree(kStart, walk());
    EXPECT_EQ(readFile("C:\\Docs\\a.txt"), QByteArray("a"));
    EXPECT_EQ(log.lines.filter("ERROR *****" + kStart + "\\pipe.txt.00001.nxz").size(), 1);
    EXPECT_EQ(snapshot("C:\\").size(), 1);
}

TEST_F(DirRestoreTest, ReplacedFilesKeepTheirPermissionsAndOwner)
{
    stored("a.txt.00001.nxz", "neu", at(10));
    writeFile("C:\\Docs\\a.txt", "alt");
    const QByteArray host = platform::toHostPath("C:\\Docs\\a.txt").toLocal8Bit();
    ASSERT_EQ(chmod(host.constData(), 0600), 0);
    // Another user's file, where this process may give files away (as root).
    const bool mayChown = chown(host.constData(), 4321, 4322) == 0;
    RestoreDirTree(kStart, walk());
    EXPECT_EQ(readFile("C:\\Docs\\a.txt"), QByteArray("neu"));
    struct stat st {};
    ASSERT_EQ(stat(host.constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    if (mayChown) {
        EXPECT_EQ(st.st_uid, 4321u);
        EXPECT_EQ(st.st_gid, 4322u);
    }
}

TEST_F(DirRestoreTest, CancelDuringAKeyedRestoreFinishesThatFileAndStops)
{
    key = "k";
    for (const char* dir : {"A", "B", "C"})
        for (const char* name : {"1", "2", "3"})
            stored(QStringLiteral("%1\\%2.txt.00001.nxz").arg(dir, name), "x", at(10));
    std::stop_source cancel;
    class CancelOnDeciphering : public StatusSink {
    public:
        std::stop_source& cancel;
        explicit CancelOnDeciphering(std::stop_source& c) : cancel(c) {}
        void setStatus(const QString& text) override
        {
            if (text.startsWith("entschlüsseln: "))
                cancel.request_stop();
        }
    } cancelling(cancel);
    DirRestore w{QString(), kStart, kNewestVersion, false, 0, RestoreReporter{cancelling, log, noProgress()},
                 [this] { return key; }, false, {}, cancel.get_token(), {}, {}};
    RestoreDirTree(kStart, w);
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_FALSE(log.lines[0].startsWith("ERROR"));
    EXPECT_EQ(snapshot("C:\\").size(), 1);
}

TEST_F(DirRestoreTest, DryRunLogsWhatItWouldDoAndWritesNothing)
{
    stored("a.txt.00001.nxz", "a", at(10));
    writeFile(kStart + "\\p.txt", "p");
    DirRestore w = walk();
    w.dryRun = true;
    RestoreDirTree(kStart, w);
    EXPECT_EQ(log.lines, QStringList{kStart + "\\a.txt.00001.nxz--->   " + dateText(at(10)) + " C:\\Docs\\a.txt"});
    EXPECT_TRUE(snapshot("C:\\").isEmpty());
}

TEST_F(DirRestoreTest, NoNewStartDirectoryLetsTheWalkWriteIntoTheStore)
{
    const QString start = "D:\\Mein Store\\Set1\\C$\\Docs";
    test::writeStoredFile(start + "\\a.txt.00001.nxz", "a", QString(), at(10));
    platform::createFolders("E:\\");
    ASSERT_TRUE(QFile::link(host("d/Mein Store/Set1"), host("e/link")));
    const auto storeBefore = snapshot("D:\\Mein Store\\Set1");
    const struct {
        const char* name;
        QString newStart;
        TargetRefusal refusal;
    } cases[] = {
        {"inside the start directory", start + "\\Neu\\", TargetRefusal::InsideStore},
        {"a blank mark for the store's blank", QString::fromUtf16(u"D:\\Mein\u00AFStore\\Set1\\Neu\\"),
         TargetRefusal::InsideStore},
        {"through a link, to a folder not made yet", "E:\\link\\R\\", TargetRefusal::InsideStore},
        {"the set folder above the start directory", "D:\\Mein Store\\Set1\\", TargetRefusal::InsideStore},
        {"beside the set folder", "D:\\Mein Store\\Anderes\\", TargetRefusal::None},
        {"elsewhere", "E:\\Neu\\", TargetRefusal::None},
        {"a server share", "\\\\server\\share\\Neu\\", TargetRefusal::None},
        {"relative", "Neu\\", TargetRefusal::NotAbsolute},
        {"relative to a drive", "E:Neu\\", TargetRefusal::NotAbsolute},
        {"a host path", "/home/anna/Neu/", TargetRefusal::NotAbsolute},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RefusedTargets(c.newStart, start), c.refusal);
        DirRestore w{c.newStart, start, kNewestVersion, false, 0, RestoreReporter{status, log, noProgress()},
                     [] { return QString(); }, false, {}, {}, {}, {}};
        EXPECT_EQ(RestoreDirectory(w), c.refusal == TargetRefusal::None);
        EXPECT_EQ(snapshot("D:\\Mein Store\\Set1"), storeBefore) << "nothing written into the store";
    }
}

TEST_F(DirRestoreTest, AnOriginalPathInsideTheStoreIsNotWritten)
{
    // The store on C: also holds a backup of a file that lay in the store's own folder.
    const QString start = "C:\\Store\\Set1\\C$\\Store";
    test::writeStoredFile(start + "\\Set1\\x.txt.00001.nxz", "x", QString(), at(10));
    writeFile(start + "\\Set1\\p.txt", "p");
    const auto before = snapshot("C:\\");
    DirRestore w{QString(), start, kNewestVersion, false, 0, RestoreReporter{status, log, noProgress()},
                 [] { return QString(); }, false, {}, {}, {}, {}};
    RestoreDirTree(start, w);
    EXPECT_EQ(snapshot("C:\\"), before);
    QStringList lines = log.lines;
    lines.sort();
    EXPECT_EQ(lines, (QStringList{"ERROR *****" + start + "\\Set1\\p.txt--->   nicht rückgesichert (Ziel liegt in der Datensicherung)",
                                  "ERROR *****" + start + "\\Set1\\x.txt.00001.nxz--->   nicht rückgesichert (Ziel liegt in der Datensicherung)"}));
}

TEST_F(DirRestoreTest, OriginalPathsOnTheWholeHostAreRefusedUnlessTheDriveIsMapped)
{
    const QString start = "D:\\Store\\Set1\\Z$\\etc";
    EXPECT_EQ(RefusedTargets(QString(), start), TargetRefusal::WholeHost);
    EXPECT_EQ(RefusedTargets("E:\\Neu\\", start), TargetRefusal::None) << "a new start directory is the user's choice";
    EXPECT_EQ(RefusedTargets(QString(), kStart), TargetRefusal::None);
    const QByteArray drives = qgetenv("QUORBIN_DRIVES");
    qputenv("QUORBIN_DRIVES", drives + ";Z=" + host("z").toLocal8Bit());
    EXPECT_EQ(RefusedTargets(QString(), start), TargetRefusal::None) << "mapped by the user";
    qputenv("QUORBIN_DRIVES", drives);
}

TEST_F(DirRestoreTest, ALoneSurrogateDoesNotSwitchOffTheParentFolderCheck)
{
    for (const QString& newStart : {"E:\\..\\" + QString(QChar(0xDADA)) + "\\",
                                    "E:\\" + QString(QChar(0xDADA)) + "\\..\\..\\x\\"}) {
        DirRestore w = walk(kNewestVersion, newStart);
        EXPECT_EQ(DirEntryTarget(kStart + "\\a.txt.00001.nxz", w), QString()) << "refused, like any \"..\"";
    }
}

// Renames a host entry to a name of raw bytes, as a store copied from a Windows disk has.
void renameToBytes(const QString& hostPath, const QByteArray& rawName)
{
    const QByteArray from = hostPath.toUtf8();
    const QByteArray to = from.left(from.lastIndexOf('/') + 1) + rawName;
    ASSERT_EQ(::rename(from.constData(), to.constData()), 0) << to.constData();
}

TEST_F(DirRestoreTest, NamesThatAreNoUtf8AreRestoredUnderTheirWindows1252Reading)
{
    stored("Buero\\Plaene.txt.00001.nxz", "plans", at(10));
    stored("Buero\\Plaene.txt.00002.nxz", "newer plans", at(12));
    writeFile(kStart + "\\Buero\\Notiz.txt", "note");
    const QString folder = host("d/Store/Set1/C$/Docs/Buero");
    renameToBytes(folder + "/Plaene.txt.00001.nxz", "Pl\xE4ne.txt.00001.nxz");
    renameToBytes(folder + "/Plaene.txt.00002.nxz", "Pl\xE4ne.txt.00002.nxz");
    renameToBytes(folder + "/Notiz.txt", "Notiz\x80.txt");
    renameToBytes(folder, "B\xFCro");

    RestoreDirTree(kStart, walk());

    const QString shownFolder = QString::fromUtf16(u"\\B\u00FCro\\");
    EXPECT_EQ(readFile("C:\\Docs" + shownFolder + QString::fromUtf16(u"Pl\u00E4ne.txt")), QByteArray("newer plans"));
    EXPECT_EQ(readFile("C:\\Docs" + shownFolder + QString::fromUtf16(u"Notiz\u20AC.txt")), QByteArray("note"));
    EXPECT_EQ(log.lines, QStringList{kStart + shownFolder + QString::fromUtf16(u"Pl\u00E4ne.txt.00002.nxz--->   ") +
                                     dateText(at(12)) + " C:\\Docs" + shownFolder + QString::fromUtf16(u"Pl\u00E4ne.txt")});
}

TEST_F(DirRestoreTest, ANewStartDirectoryInAFolderNamedInAnotherCodePageIsThatFolder)
{
    stored("Sub\\a.txt.00001.nxz", "a", at(10));
    platform::createFolders("E:\\Fotos\\");
    renameToBytes(host("e/Fotos"), "Fotos\xE4");
    ASSERT_EQ(platform::findEntries("E:\\*.*").size(), 1);  // as the window's folder list reads it

    RestoreDirTree(kStart, walk(kNewestVersion, QString::fromUtf16(u"E:\\Fotos\u00E4\\Neu\\")));

    const QByteArray raw = host("e").toUtf8() + "/Fotos\xE4/Neu/Sub/a.txt";
    EXPECT_EQ(::access(raw.constData(), F_OK), 0) << qPrintable(log.lines.join('\n'));
    EXPECT_EQ(::access((host("e").toUtf8() + "/Fotos\xC3\xA4").constData(), F_OK), -1) << "no second folder under the reading";
}

TEST_F(DirRestoreTest, ANameThatReadsLikeItsNeighbourIsReportedNotMixedUp)
{
    stored(QString::fromUtf16(u"B\u00FCro\\a.txt.00001.nxz"), "utf-8 folder", at(10));
    stored("Buero\\a.txt.00001.nxz", "other folder", at(10));
    renameToBytes(host("d/Store/Set1/C$/Docs/Buero"), "B\xFCro");

    RestoreDirTree(kStart, walk());

    EXPECT_EQ(readFile(QString::fromUtf16(u"C:\\Docs\\B\u00FCro\\a.txt")), QByteArray("utf-8 folder"));
    ASSERT_EQ(log.lines.size(), 2);
    QStringList errors = log.lines.filter("ERROR");
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("ERROR *****" + kStart + QString::fromUtf16(u"\\B\u00FCro--->   nicht rückgesichert (Name ist kein UTF-8")))
        << errors[0].toStdString();
}

// A chain of folders deeper than a host path may be long: no one, root included, can list
// its lowest levels by their paths. Made and removed level by level, relative to each other.
class TooDeepFolders {
public:
    TooDeepFolders(const QString& hostParent, int levels) : parent_(hostParent.toUtf8()), levels_(levels)
    {
        int fd = ::open(parent_.constData(), O_RDONLY | O_DIRECTORY);
        for (int i = 0; i < levels_ && fd >= 0; ++i) {
            const int next = ::mkdirat(fd, name(i).constData(), 0755) == 0
                                 ? ::openat(fd, name(i).constData(), O_RDONLY | O_DIRECTORY)
                                 : -1;
            ::close(fd);
            fd = next;
        }
        if (fd >= 0)
            ::close(fd);
    }
    ~TooDeepFolders() { removeBelow(::open(parent_.constData(), O_RDONLY | O_DIRECTORY), 0); }

private:
    static QByteArray name(int level) { return QByteArray(200, char('a' + level)); }
    void removeBelow(int fd, int level)
    {
        if (fd < 0 || level >= levels_) {
            if (fd >= 0)
                ::close(fd);
            return;
        }
        removeBelow(::openat(fd, name(level).constData(), O_RDONLY | O_DIRECTORY), level + 1);
        ::unlinkat(fd, name(level).constData(), AT_REMOVEDIR);
        ::close(fd);
    }
    QByteArray parent_;
    int levels_;
};

TEST_F(DirRestoreTest, AFolderThatCannotBeReadGetsAnErrorLineAndCountsApartFromFiles)
{
    stored("a.txt.00001.nxz", "a", at(10));
    const TooDeepFolders deep(platform::toHostPath(kStart), 22);
    QStringList failed;
    QStringList unread;
    DirRestore w = walk();
    w.fileDone = [&failed](const QString& shown, const JobResult& result) {
        if (!result.ok())
            failed << shown;
    };
    w.folderUnread = [&unread](const QString& folder, const JobResult&) { unread << folder; };

    RestoreDirTree(kStart, w);

    EXPECT_EQ(readFile("C:\\Docs\\a.txt"), QByteArray("a"));
    EXPECT_EQ(failed, QStringList());  // its files are unknown, not failed
    ASSERT_EQ(unread.size(), 1);
    failed = unread;
    const QStringList errors = log.lines.filter("ERROR");
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("ERROR *****" + failed[0] + "--->   nicht rückgesichert (Verzeichnis nicht lesbar: "))
        << errors[0].toStdString();
}

TEST_F(DirRestoreTest, FilesWithLaterVersionsOnlyAreNamedButNotLogged)
{
    stored("plan.txt.00002.nxz", "2", at(11));
    stored("plan.txt.00003.nxz", "3", at(12));
    stored("ganz.txt.00001.nxz", "whole", at(10));
    stored("Twin.txt.00002.nxz", "other spelling", at(12));
    stored("twin.txt.00001.nxz", "twin", at(10));
    QStringList warnings;
    DirRestoreJob job({QString(), kStart, kNewestVersion, false, 0, [] { return QString(); }, false, false,
                       [&warnings](const QString& warning) { warnings << warning; }, 1, false, false, nullptr, {}});

    const JobResult result = job.run(JobContext{{}, RestoreReporter{status, log, noProgress()}});

    EXPECT_TRUE(result.ok());
    EXPECT_EQ(result.message, "2 Dateien wiederhergestellt nach " + platform::toHostPath("C:\\Docs") +
                                  "; 2 Dateien nur mit späteren Versionen, ohne erste Version übergangen");
    warnings.sort();
    EXPECT_EQ(warnings, (QStringList{
                            "nur spätere Versionen, die erste fehlt, nicht wiederhergestellt: " + kStart +
                                "\\Twin.txt (Twin.txt.00002.nxz)",
                            "nur spätere Versionen, die erste fehlt, nicht wiederhergestellt: " + kStart +
                                "\\plan.txt (plan.txt.00002.nxz, plan.txt.00003.nxz)",
                        }));
    EXPECT_EQ(log.lines.filter("plan.txt"), QStringList()) << "the log stays as it was";
    EXPECT_FALSE(exists("C:\\Docs\\plan.txt"));
}

TEST_F(DirRestoreTest, SeveralWorkersTellEverythingInTheOrderOfOneAndRestoreTheSame)
{
    for (int folder = 0; folder < 3; ++folder) {
        for (int i = 0; i < 25; ++i) {
            const QString name = QString("F%1\\Datei%2.txt").arg(folder).arg(i, 2, 10, QChar('0'));
            stored(name + ".00001.nxz", QByteArray(i * 700, char('a' + i)), at(10));
            if (i % 3 == 0)
                stored(name + ".00002.nxz", "newer " + name.toUtf8(), at(12));
        }
        writeFile(kStart + QString("\\F%1\\damaged.txt.00001.nxz").arg(folder), "no container");
        stored(QString("F%1\\only-later.txt.00002.nxz").arg(folder), "later", at(12));
    }
    struct Told {
        QStringList lines, statuses, done, warnings;
        QMap<QString, QByteArray> files;
    };
    const auto runWith = [&](int workers) {
        Told told;
        test::RecordingStatus statuses;
        test::RecordingLog lines;
        QDir(host("e/W")).removeRecursively();
        DirRestore w{"E:\\W\\", kStart, kNewestVersion, false, 0,
                     RestoreReporter{statuses, lines, noProgress()}, [] { return QString(); }, false,
                     [&told](const QString& shown, const JobResult& result) { told.done << shown + (result.ok() ? "" : " !"); },
                     {}, [&told](const QString& warning) { told.warnings << warning; },
                     [&told](const QString& base, const QStringList&) { told.warnings << base; }};
        RestoreDirTreeOn(kStart, w, workers);
        told.lines = lines.lines;
        told.statuses = statuses.texts;
        told.files = snapshot("E:\\W");
        return told;
    };

    const Told one = runWith(1);
    const Told four = runWith(4);

    ASSERT_EQ(one.lines.size(), 3 * 26);
    EXPECT_EQ(one.lines.filter("ERROR").size(), 3);
    EXPECT_EQ(four.lines.join('\n').toStdString(), one.lines.join('\n').toStdString());
    EXPECT_EQ(four.statuses, one.statuses);
    EXPECT_EQ(four.done, one.done);
    EXPECT_EQ(four.warnings.join('\n').toStdString(), one.warnings.join('\n').toStdString());
    EXPECT_EQ(four.files.size(), 3 * 25);
    EXPECT_EQ(four.files, one.files);
}

TEST_F(DirRestoreTest, AStopEndsAWalkOnSeveralWorkersWithTheFilesInHand)
{
    // Enough files that the workers cannot be through them all before the stop is seen.
    for (int i = 0; i < 1000; ++i)
        stored(QString("F%1\\Datei%2.txt.00001.nxz").arg(i % 10).arg(i, 4, 10, QChar('0')), QByteArray(2000, 'x'), at(10));
    std::stop_source stop;
    QStringList done;
    DirRestore w = walk(kNewestVersion, "E:\\Neu\\");
    w.stop = stop.get_token();
    w.fileDone = [&](const QString& shown, const JobResult&) {
        done << shown;
        if (done.size() == 20)
            stop.request_stop();
    };
    RestoreDirTreeOn(kStart, w, 4);
    EXPECT_GE(done.size(), 20);
    EXPECT_LT(done.size(), 1000) << "no new files after the stop";
    EXPECT_EQ(log.lines.size(), done.size()) << "every file begun has its line";
    EXPECT_EQ(snapshot("E:\\Neu").size(), done.size());
}

}  // namespace
}  // namespace quorbin
