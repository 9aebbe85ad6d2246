// quorbin-restore ftp … dir and ftp … verify: whole trees from the mirror, against a real server.
#include "remote/ftptestbase.h"

#include "fixtures/cli.h"
#include "fixtures/storewriter.h"
#include "platform/datetime.h"
#include "platform/files.h"
#include "platform/winpath.h"

#include <QFileInfo>
#include <QTimeZone>
#include <QRegularExpression>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace quorbin::test {
namespace {

QDateTime at(int day, int hour = 10) { return QDateTime(QDate(2018, 4, day), QTime(hour, 0, 2)); }

// A set whose store (Ziel) is the served folder below the base path, so that a local `dir`
// and an `ftp dir` read the same files.
class FtpDirTest : public FtpTest {
protected:
    QString store() const { return platform::toWindowsPath(host("ftp/private")); }
    QString docs() const { return store() + "\\Set1\\C$\\Docs"; }

    void serve(FtpServerKind kind, FtpServerOptions options = {}, const QString& basis = "private/")
    {
        startServer(kind, options);
        const QStringList set{"[Ziel]", "Ziel=" + store(), "[FTP]", "ftp=1", "ftphost=127.0.0.1",
                              "PORT=" + QString::number(server().port()), "ftpusername=user1", "ftppassw=secret",
                              "Passive=1", "Basis=" + basis, QString::fromUtf8("[SCHLÜSSEL]"),
                              QString::fromUtf8("SCHLÜSSEL=geheim")};
        writeFile("C:\\Sets\\ftp.set", (set.join("\r\n") + "\r\n").toLatin1());
        const bool tls = kind == FtpServerKind::Tls;
        writeFile(platform::windowsDirectory() + "\\quorbin.ini", tls ? "[MF]\r\nMITSSL=1\r\n" : "[MF]\r\nMITSSL=0\r\n");
    }

    // A small tree: versions, a folder below, a plain file.
    void writeTree()
    {
        writeStoredFile(docs() + "\\a.txt.00001.nxz", "eins", "geheim", at(10));
        writeStoredFile(docs() + "\\a.txt.00002.nxz", mixedContent(300000, 2), "geheim", at(12));
        writeStoredFile(docs() + "\\Sub\\b.txt.00001.nxz", mixedContent(50000, 3), "geheim", at(11));
        writeStoredFile(docs() + "\\Sub\\c.txt.00001.nxz", "c", "geheim", at(11, 9));
        putRemote("private/Set1/C$/Docs/liesmich.txt", "plain");
    }

    CliResult ftp(const QStringList& arguments)
    {
        return runCli(QStringList{"ftp", "--set", "C:\\Sets\\ftp.set"} + arguments);
    }

    static ino_t inode(const QString& hostPath)
    {
        struct stat st {};
        return ::stat(QFile::encodeName(hostPath).constData(), &st) == 0 ? st.st_ino : 0;
    }
};

TEST_F(FtpDirTest, TheTreeAndItsLinesAreThoseOfALocalDirOfTheSameStore)
{
    const struct {
        const char* what;
        FtpServerKind kind;
        FtpServerOptions options;
    } cases[] = {
        {"FTPS", FtpServerKind::Tls, {}},
        {"server clock two hours ahead", FtpServerKind::Plain, {.clockOffsetSeconds = 7200}},
    };
    writeTree();
    CliResult local;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        serve(c.kind, c.options);
        if (local.out.isEmpty()) {
            local = runCli({"dir", docs(), "--to", "E:\\Lokal", "--set", "C:\\Sets\\ftp.set"});
            ASSERT_EQ(local.exitCode, 0) << qPrintable(local.err) << qPrintable(local.out);
            ASSERT_EQ(local.out.count('\n'), 6) << qPrintable(local.out);
        }
        const CliResult remote = ftp({"dir", "Set1/C$/Docs", "--to", "E:\\Fern"});
        EXPECT_EQ(remote.exitCode, 0) << qPrintable(remote.err);
        EXPECT_EQ(QString(remote.out).replace("E:\\Fern", "E:\\Lokal").replace(host("e/Fern"), host("e/Lokal")), local.out);
        EXPECT_EQ(snapshot("E:\\Fern"), snapshot("E:\\Lokal"));
        EXPECT_EQ(platform::lastWriteTime("E:\\Fern\\a.txt"), std::optional(at(12)));
        QDir(host("e/Fern")).removeRecursively();
    }
}

TEST_F(FtpDirTest, OlderFilesListedWithTheirDayOnlyAreRestoredByTheirExactTimes)
{
    // LIST gives files older than half a year their day only ("Apr 12  2018"), as vsftpd and
    // ProFTPD do, here for an account whose login folder is its home. MDTM tells the time
    // where the days cannot order the versions, and stamps what is restored.
    writeTree();
    writeStoredFile(docs() + "\\d.txt.00001.nxz", "frueh", "geheim", at(13, 9));
    writeStoredFile(docs() + "\\d.txt.00002.nxz", "spaet", "geheim", at(13, 15));
    serve(FtpServerKind::NoMlsd);
    const CliResult local = runCli({"dir", docs(), "--to", "E:\\Fern", "--set", "C:\\Sets\\ftp.set"});
    ASSERT_EQ(local.exitCode, 0) << qPrintable(local.err);
    const auto localSnapshot = snapshot("E:\\Fern");
    QDir(host("e/Fern")).removeRecursively();

    serve(FtpServerKind::NoMlsd, {.home = "/home/anna"}, "private");
    CliResult r = ftp({"dir", "Set1/C$/Docs", "--to", "E:\\Fern"});
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err) << qPrintable(r.out);
    const auto sortedLines = [](const QString& out) {
        QStringList lines = out.split(u'\n');
        lines.sort();  // in the listing's order, which is the server's
        return lines.join(u'\n').toStdString();
    };
    EXPECT_EQ(sortedLines(r.out), sortedLines(local.out));
    EXPECT_EQ(snapshot("E:\\Fern"), localSnapshot);
    EXPECT_EQ(platform::lastWriteTime("E:\\Fern\\d.txt"), std::optional(at(13, 15)));
    EXPECT_EQ(platform::lastWriteTime("E:\\Fern\\Sub\\b.txt"), std::optional(at(11)));
    EXPECT_FALSE(server().commands().filter("MDTM ").isEmpty());
    QDir(host("e/Fern")).removeRecursively();

    // Without MDTM the days still order versions of different days, and a single version needs
    // no time: both come back stamped with their day, also east of UTC. Two versions of one day
    // cannot be told apart, and the ERROR line says why.
    serve(FtpServerKind::NoMlsd, {.home = "/home/anna", .without = {"MDTM"}}, "private");
    QProcessEnvironment tokyo = QProcessEnvironment::systemEnvironment();
    tokyo.insert("TZ", "Asia/Tokyo");
    r = runCli({"ftp", "--set", "C:\\Sets\\ftp.set", "dir", "Set1/C$/Docs", "--to", "E:\\Fern"}, tokyo);
    EXPECT_EQ(r.exitCode, 1) << qPrintable(r.err);
    EXPECT_TRUE(r.out.contains("\\d.txt--->   nicht rückgesichert (der Server nennt das Datum "
                               "dieser Datei nur auf den Tag genau)"))
        << qPrintable(r.out);
    // The date alone reads the same in every zone.
    EXPECT_TRUE(r.out.contains(docs() + "\\a.txt.00002.nxz--->   " + platform::userDateTimeText(QDateTime(QDate(2018, 4, 12), QTime(0, 0)))))
        << qPrintable(r.out);
    EXPECT_EQ(readFile("E:\\Fern\\a.txt"), mixedContent(300000, 2));
    EXPECT_EQ(platform::lastWriteTime("E:\\Fern\\a.txt")->toSecsSinceEpoch(),
              QDateTime(QDate(2018, 4, 12), QTime(0, 0), QTimeZone("Asia/Tokyo")).toSecsSinceEpoch());
    EXPECT_EQ(readFile("E:\\Fern\\Sub\\b.txt"), mixedContent(50000, 3));
    EXPECT_FALSE(QFileInfo::exists(host("e/Fern/d.txt")));

    // The first version needs no time either; a date limit within the day of two versions does.
    r = ftp({"dir", "Set1/C$/Docs", "--to", "E:\\Erste", "--rule", "original"});
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.out);
    EXPECT_EQ(readFile("E:\\Erste\\d.txt"), "frueh");
    r = ftp({"dir", "Set1/C$/Docs", "--to", "E:\\Datum", "--rule", "before", "--before", "2018-04-12 12:00"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains("a.txt--->   nicht rückgesichert (der Server nennt")) << qPrintable(r.out);
    EXPECT_EQ(readFile("E:\\Datum\\Sub\\b.txt"), mixedContent(50000, 3));
}

TEST_F(FtpDirTest, ADroppedConnectionIsTriedAgain)
{
    writeTree();
    // Twice broken: the third attempt gets the rest of the file.
    serve(FtpServerKind::Plain, {.dropAfterBytes = 100000, .dropTimes = 2});
    CliResult r = ftp({"dir", "Set1/C$/Docs", "--to", "E:\\Fern", "--jobs", "1"});
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err) << qPrintable(r.out);
    EXPECT_EQ(readFile("E:\\Fern\\a.txt"), mixedContent(300000, 2));
    EXPECT_EQ(server().commands().filter(QRegularExpression("^REST [1-9]")), (QStringList{"REST 100000", "REST 200000"}));

    // Broken every time, four tries of 50,000 bytes short of its 241,382: that file gets its ERROR
    // line, the others come, the old target stays.
    serve(FtpServerKind::Plain, {.dropAfterBytes = 50000});
    writeFile("E:\\Neu\\a.txt", "the user's old file");
    r = ftp({"dir", "Set1/C$/Docs", "--to", "E:\\Neu"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains("ERROR *****" + docs() + "\\a.txt.00002.nxz--->   nicht rückgesichert (")) << qPrintable(r.out);
    EXPECT_EQ(readFile("E:\\Neu\\a.txt"), "the user's old file");
    EXPECT_EQ(readFile("E:\\Neu\\Sub\\b.txt"), mixedContent(50000, 3));
    EXPECT_EQ(QDir(host("e/Neu")).entryList({"*.part"}, QDir::Files | QDir::Hidden), QStringList());
}

TEST_F(FtpDirTest, AServerThatStallsEverythingEndsTheWalkAfterTheStallLimit)
{
    // Each transfer stops after its first 1,000 bytes and never goes on. Without a limit every
    // file would take its four tries of ten seconds each.
    writeTree();
    serve(FtpServerKind::Plain, {.fault = TransferFault::Stall, .faultAfterBytes = 1000});
    writeFile(platform::windowsDirectory() + "\\quorbin.ini", "[MF]\r\nMITSSL=0\r\nSTILLSTAND=3\r\n");
    CliResult r = ftp({"dir", "Set1/C$/Docs", "--to", "E:\\Fern"});
    EXPECT_EQ(r.exitCode, 1);
    for (const QString& file : {QString("a.txt.00002.nxz"), QString("Sub\\b.txt.00001.nxz")})
        EXPECT_TRUE(r.out.contains("ERROR *****" + docs() + "\\" + file +
                                   "--->   nicht rückgesichert (der Server hat 3 s lang nichts gesendet; abgebrochen)"))
            << qPrintable(file) << qPrintable(r.out);

    // The next run, the server well again, brings the rest.
    serve(FtpServerKind::Plain);
    r = ftp({"dir", "Set1/C$/Docs", "--to", "E:\\Fern"});
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.out);
    EXPECT_EQ(readFile("E:\\Fern\\a.txt"), mixedContent(300000, 2));
    EXPECT_EQ(readFile("E:\\Fern\\Sub\\b.txt"), mixedContent(50000, 3));
}

TEST_F(FtpDirTest, AFolderThatCannotBeListedIsCountedApartFromFiles)
{
    // The server cuts every transfer after 2,000 bytes: the small files come whole, the listing
    // of the folder with sixty files never does.
    writeStoredFile(docs() + "\\a.txt.00001.nxz", "eins", "geheim", at(10));
    for (int i = 0; i < 60; ++i)
        writeStoredFile(docs() + QString("\\Viele\\datei%1.txt.00001.nxz").arg(i), "x", "geheim", at(10));
    serve(FtpServerKind::Plain, {.dropAfterBytes = 2000});
    const QString cause = "Verzeichnis nicht lesbar: Connection closed; transfer aborted.";

    CliResult r = ftp({"dir", "Set1/C$/Docs", "--to", "E:\\Fern"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains("ERROR *****" + docs() + "\\Viele--->   nicht rückgesichert (" + cause + ")"))
        << qPrintable(r.out);
    EXPECT_EQ(readFile("E:\\Fern\\a.txt"), "eins");
    EXPECT_TRUE(r.err.contains("1 Ordner nicht gelesen, die Dateien darin unbekannt, zuerst: " + cause))
        << qPrintable(r.err);
    EXPECT_FALSE(r.err.contains("Datei nicht wiederhergestellt")) << qPrintable(r.err);

    r = ftp({"verify", "Set1/C$/Docs"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, docs() + "\\Viele\t" + cause + "\n");
    EXPECT_TRUE(r.err.contains("geprüft: 1 Datei, 12 Bytes; fehlerhaft: 0; Ordner nicht gelesen (Dateien darin ungeprüft): 1"))
        << qPrintable(r.err);
}

TEST_F(FtpDirTest, ASecondRunFetchesOnlyWhatIsMissing)
{
    writeTree();
    serve(FtpServerKind::Tls);
    ASSERT_EQ(ftp({"dir", "Set1/C$/Docs", "--to", "E:\\Fern"}).exitCode, 0);
    // As if the first run had been cut off before these two.
    QFile::remove(host("e/Fern/a.txt"));
    QFile::remove(host("e/Fern/liesmich.txt"));
    const ino_t kept = inode(host("e/Fern/Sub/b.txt"));

    CliResult again = ftp({"dir", "Set1/C$/Docs", "--to", "E:\\Fern"});
    EXPECT_EQ(again.exitCode, 0) << qPrintable(again.err);
    EXPECT_EQ(again.out.count('\n'), 6) << "a skipped file keeps its line: " << qPrintable(again.out);
    EXPECT_TRUE(again.err.contains("schon wiederhergestellt, nicht erneut geladen: 2")) << qPrintable(again.err);
    EXPECT_EQ(inode(host("e/Fern/Sub/b.txt")), kept);
    EXPECT_EQ(readFile("E:\\Fern\\a.txt"), mixedContent(300000, 2));
    EXPECT_EQ(readFile("E:\\Fern\\liesmich.txt"), "plain");

    again = ftp({"dir", "Set1/C$/Docs", "--to", "E:\\Fern", "--force"});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_NE(inode(host("e/Fern/Sub/b.txt")), kept);
}

TEST_F(FtpDirTest, AServerThatTakesFewerConnectionsLosesNoFile)
{
    for (int i = 0; i < 8; ++i)
        writeStoredFile(docs() + QString("\\f%1.bin.00001.nxz").arg(i), mixedContent(200000, i), "geheim", at(10));
    const struct {
        const char* what;
        int limit;
        int reply;  // vsftpd and pure-ftpd refuse with 421, ProFTPD with 530
        const char* jobs;
    } cases[] = {
        {"two at once, refused with 421", 2, 421, "4"},
        {"two at once, refused with 530", 2, 530, "4"},
        {"one at once", 1, 421, "2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        serve(FtpServerKind::Plain, {.maxPerIp = c.limit, .limitReply = c.reply});
        const CliResult r = ftp({"dir", "Set1/C$/Docs", "--to", "E:\\Fern", "--jobs", c.jobs});
        EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err) << qPrintable(r.out);
        // Said once. A server that counts logins under way too may let fewer in than its limit.
        const QRegularExpressionMatch told =
            QRegularExpression("^Warnung: Verbindungen, die der Server zugleich annimmt: (\\d); es geht mit diesen "
                               "weiter.\n$")
                .match(r.err);
        ASSERT_TRUE(told.hasMatch()) << qPrintable(r.err);
        EXPECT_GE(told.captured(1).toInt(), 1);
        EXPECT_LE(told.captured(1).toInt(), c.limit);
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(readFile(QString("E:\\Fern\\f%1.bin").arg(i)), mixedContent(200000, i)) << i;
        QDir(host("e/Fern")).removeRecursively();
    }
}

TEST_F(FtpDirTest, HostileNamesAreRefusedAndWriteNothingOutside)
{
    writeTree();
    putRemote("private/Set1/C$/Docs/Sub/back\\slash.txt.00001.nxz", "x");
    putRemote("private/Set1/C$/Docs/Sub/esc\x1b[2J.txt", "x");
    serve(FtpServerKind::Tls, {.hostileNames = true});
    const CliResult r = ftp({"dir", "Set1/C$/Docs/Sub", "--to", "E:\\Neu\\Ziel"});
    EXPECT_EQ(r.exitCode, 1);
    const QString sub = docs() + "\\Sub\\";
    for (const QString& name : {QString("../flucht.txt.00001.nxz"), QString("a/../../flucht.txt"),
                               QString("sub/b.txt.00001.nxz"), QString("back\\slash.txt.00001.nxz"),
                               QString("esc?[2J.txt"), QString(255, u'x') + "…"})
        EXPECT_TRUE(r.out.contains("ERROR *****" + sub + name + "--->   nicht rückgesichert (unzulässiger Name)"))
            << qPrintable(name) << qPrintable(r.out);
    EXPECT_FALSE(r.out.contains("\x1b"));
    EXPECT_EQ(snapshot("E:\\Neu").keys(), (QStringList{"/Ziel/b.txt", "/Ziel/c.txt"}));
}

TEST_F(FtpDirTest, ACancelLeavesNoPartialFiles)
{
    writeStoredFile(docs() + "\\gross.bin.00001.nxz", mixedContent(4 << 20, 9), "geheim", at(10));
    writeStoredFile(docs() + "\\gross2.bin.00001.nxz", mixedContent(4 << 20, 8), "geheim", at(10));
    serve(FtpServerKind::Plain, {.bytesPerSecond = 256 * 1024});
    writeFile("E:\\Fern\\gross.bin", "the user's old file");
    const auto downloading = [&](qint64 pid) {
        const QList<qint64> sizes = filesBeingWritten(pid, host("e/Fern"));
        return !sizes.isEmpty() && sizes.first() > 0;
    };
    EXPECT_TRUE(interruptCli({"ftp", "--set", "C:\\Sets\\ftp.set", "dir", "Set1/C$/Docs", "--to", "E:\\Fern"},
                             QProcessEnvironment::systemEnvironment(), downloading, SIGTERM));
    EXPECT_EQ(snapshot("E:\\Fern").keys(), QStringList{"/gross.bin"});
    EXPECT_EQ(readFile("E:\\Fern\\gross.bin"), "the user's old file");
    EXPECT_EQ(tempFiles(), QStringList());
}

TEST_F(FtpDirTest, VerifyNamesEachBadContainerWithItsCause)
{
    writeStoredFile(docs() + "\\gut.txt.00001.nxz", mixedContent(100000, 1), "geheim", at(10));
    writeStoredFile(docs() + "\\fremd.txt.00001.nxz", "x", "anders", at(10));
    writeStoredFile(docs() + "\\kaputt.txt.00001.nxz", mixedContent(100000, 4), "geheim", at(10));
    QByteArray bytes = readFile(docs() + "\\kaputt.txt.00001.nxz");
    bytes[bytes.size() - 1] = char(bytes[bytes.size() - 1] ^ 1);
    writeFile(docs() + "\\kaputt.txt.00001.nxz", bytes);
    writeStoredFile(docs() + "\\kurz.txt.00001.nxz", mixedContent(100000, 5), "geheim", at(10));
    writeFile(docs() + "\\kurz.txt.00001.nxz", readFile(docs() + "\\kurz.txt.00001.nxz").left(500));
    writeFile(docs() + "\\leer.txt.00001.nxz", "");
    serve(FtpServerKind::Tls);
    const CliResult local = runCli({"verify", docs(), "--set", "C:\\Sets\\ftp.set"});
    const CliResult remote = ftp({"verify", "Set1/C$/Docs"});
    EXPECT_EQ(remote.exitCode, 1) << qPrintable(remote.err);
    EXPECT_EQ(remote.out, local.out) << qPrintable(remote.out) << qPrintable(local.out);
    QStringList bad = remote.out.split('\n', Qt::SkipEmptyParts);
    bad.sort();  // in the listing's order, which is the server's
    EXPECT_EQ(bad.join(u'|').toStdString(),
              (QStringList{docs() + "\\fremd.txt.00001.nxz\tfalscher Schlüssel",
                           docs() + "\\kaputt.txt.00001.nxz\tDatei beschädigt",
                           docs() + "\\kurz.txt.00001.nxz\tDatei ist abgeschnitten",
                           docs() + "\\leer.txt.00001.nxz\tDatei ist leer"}).join(u'|').toStdString());
    EXPECT_TRUE(remote.err.contains("fehlerhaft: 4")) << qPrintable(remote.err);
    // A check needs no drive's folder: the set's folder is checked whole.
    EXPECT_EQ(ftp({"verify", "Set1"}).out, remote.out);
    EXPECT_TRUE(snapshot("C:\\").keys().filter(".txt").isEmpty()) << "nothing written";
}

TEST_F(FtpDirTest, UsageErrors)
{
    serve(FtpServerKind::Tls);
    EXPECT_EQ(ftp({"dir"}).exitCode, 2);
    EXPECT_EQ(ftp({"dir", "Set1/../.."}).exitCode, 2);
    EXPECT_EQ(ftp({"dir", "Set1"}).exitCode, 2);  // no "$": no store directory below a drive
    EXPECT_EQ(ftp({"dir", "Set1/C$", "--rule", "before"}).exitCode, 2);
    EXPECT_EQ(ftp({"verify", "Set1/C$", "--jobs", "0"}).exitCode, 2);
}

}  // namespace
}  // namespace quorbin::test
