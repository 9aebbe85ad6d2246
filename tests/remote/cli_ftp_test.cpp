// quorbin-restore ftp against a real FTPS server, as a script would run it.
#include "remote/ftptestbase.h"

#include "fixtures/cli.h"
#include "fixtures/storewriter.h"
#include "platform/files.h"
#include "platform/winpath.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTimeZone>

#include <csignal>
#include <functional>

namespace quorbin::test {
namespace {

// The set C:\Sets\ftp.set and quorbin.ini for a test server, as the backup program writes
// them: Windows-1252 with CR LF.
class CliFtpBase : public FtpTest {
protected:
    void serve(FtpServerKind kind, FtpServerOptions options = {}, const QStringList& setLines = {"Passive=1"},
               const QByteArray& ini = "[MF]\r\nMITSSL=1\r\nMITVZ=0\r\n")
    {
        QDir().mkpath(host("ftp/private/DS"));
        startServer(kind, options);
        // The first of two equal keys counts: the test's lines go before the defaults.
        const QStringList set = QStringList{"[FTP]"} + setLines +
                                QStringList{"ftp=1", "ftphost=127.0.0.1", "PORT=" + QString::number(server().port()),
                                            "ftpusername=user1", "ftppassw=secret", "Basis=private/", "verzeichnis=DS",
                                            QString::fromUtf8("[SCHLÜSSEL]"), QString::fromUtf8("SCHLÜSSEL=geheim")};
        writeFile("C:\\Sets\\ftp.set", (set.join("\r\n") + "\r\n").toLatin1());
        writeFile(platform::windowsDirectory() + "\\quorbin.ini", ini);
    }

    CliResult ftp(const QStringList& arguments) { return runCli(QStringList{"ftp", "--set", "C:\\Sets\\ftp.set"} + arguments); }
};

class CliFtpTest : public CliFtpBase {
protected:
    void SetUp() override
    {
        CliFtpBase::SetUp();
        serve(FtpServerKind::Tls);
    }
};

TEST_F(CliFtpTest, ListsTheBasePathAndADirectoryBelowIt)
{
    putRemote("private/a.txt", "abc");
    putRemote("private/DS/b.bin", QByteArray(2048, 'b'));
    CliResult result = ftp({"ls"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    QStringList lines = result.out.split(u'\n', Qt::SkipEmptyParts);
    lines.sort();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("DS\tdir\t")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith("a.txt\tfile\t3\t")) << lines[1].toStdString();

    result = ftp({"ls", "DS"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(result.out.startsWith("b.bin\tfile\t2048\t")) << result.out.toStdString();
}

TEST_F(CliFtpTest, GetsAKeyedStoredFileByteExactWithItsTime)
{
    const QByteArray content = mixedContent(400000, 4);
    const QDateTime stored(QDate(2018, 4, 19), QTime(14, 3, 12));
    writeStoredFile(platform::toWindowsPath(host("ftp/private/DS/Bericht.doc.00002.nxz")), content, "geheim", stored);
    const CliResult result = ftp({"get", "DS/Bericht.doc.00002.nxz", "D:\\Bericht.doc"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(readFile("D:\\Bericht.doc"), content);
    EXPECT_EQ(platform::lastWriteTime("D:\\Bericht.doc"), std::optional(stored));
    EXPECT_EQ(tempFiles(), QStringList{});  // no work file
}

TEST_F(CliFtpTest, GetsAnyOtherFileAsItIsOverTheOldOne)
{
    putRemote("private/notiz.txt", "neu");
    writeFile("D:\\notiz.txt", "alt");
    const CliResult result = ftp({"get", "notiz.txt", "D:\\notiz.txt"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(readFile("D:\\notiz.txt"), "neu");
}

TEST_F(CliFtpTest, ConnectionFailuresAndUsageErrors)
{
    // The test server insists on TLS.
    CliResult result = ftp({"--no-tls", "ls"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.startsWith("Keine FTP-Verbindung: ")) << result.err.toStdString();

    EXPECT_EQ(runCli({"ftp", "ls"}).exitCode, 2);
    EXPECT_EQ(ftp({"get", "a.txt"}).exitCode, 2);
    EXPECT_EQ(ftp({"--dirservice", "--no-dirservice", "ls"}).exitCode, 2);
    EXPECT_EQ(runCli({"ftp", "--set", "C:\\Sets\\fehlt.set", "ls"}).exitCode, 1);
}

TEST_F(CliFtpBase, ListsAndGetsNonAsciiNamesWhateverBytesTheServerKeeps)
{
    // Noon UTC: the server's day is the same in every zone.
    const QDateTime noon(QDate(2018, 4, 19), QTime(12, 0), QTimeZone::utc());
    const struct {
        const char* what;
        FtpServerKind kind;
        FtpServerOptions options;
        QString oldTime;  // as ls shows it
    } cases[] = {
        {"no UTF8, Latin-1 names", FtpServerKind::NoMlsd, {}, "2018-04-19"},  // LIST: the day only
        {"no UTF8, UTF-8 names", FtpServerKind::NoMlsdUtf8Names, {}, "2018-04-19"},
        {"UTF8 announced, Latin-1 names kept", FtpServerKind::Plain, {.utf8OverLatin1 = true},
         noon.toLocalTime().toString(Qt::ISODate)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        putRemote("private/Büro/Grüße.txt", "inhalt");
        putRemote("private/Büro/alt.txt", "x");
        setRemoteTime("private/Büro/alt.txt", noon);
        serve(c.kind, c.options, {"Passive=1"}, "[MF]\r\nMITSSL=0\r\n");
        CliResult result = ftp({"ls", "Büro"});
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
        QStringList lines = result.out.split(u'\n', Qt::SkipEmptyParts);
        lines.sort();
        EXPECT_EQ(lines.value(0), "Grüße.txt\tfile\t6\t" + lines.value(0).section(u'\t', 3)) << lines.value(0).toStdString();
        EXPECT_EQ(lines.value(1), "alt.txt\tfile\t1\t" + c.oldTime);

        result = ftp({"get", "Büro/Grüße.txt", "D:\\Grüße.txt"});
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
        EXPECT_EQ(readFile("D:\\Grüße.txt"), "inhalt");
        EXPECT_EQ(result.err, "");
    }
}

TEST_F(CliFtpBase, TheConnectionsWarningsGoToStderr)
{
    const QString passive = "Warnung: Aktive Datenverbindungen sind mit TLS nicht möglich; Daten werden passiv übertragen.";
    const QString clear = "Warnung: Der Server lehnt TLS ab: Kennwort und Daten werden unverschlüsselt übertragen.";
    const QString required = "Keine FTP-Verbindung: Der Server lehnt TLS ab; ohne TLS wird nicht verbunden, weil TLS "
                             "vorgeschrieben ist.";
    const QByteArray tls = "[MF]\r\nMITSSL=1\r\n";
    const struct {
        const char* what;
        FtpServerKind kind;
        QString passiveLine;
        QByteArray ini;
        QStringList options;
        int exitCode;
        QStringList err;
    } cases[] = {
        {"active mode over TLS goes passive", FtpServerKind::Tls, "Passive=0", tls, {}, 0, {passive}},
        {"TLS refused", FtpServerKind::Plain, "Passive=1", tls, {}, 0, {clear}},
        {"TLS refused, active mode stays active", FtpServerKind::Plain, "Passive=0", tls, {}, 0, {clear}},
        {"TLS refused, --require-tls", FtpServerKind::Plain, "Passive=1", tls, {"--require-tls"}, 1, {required}},
        {"TLS refused, NURSSL=1", FtpServerKind::Plain, "Passive=1", "[MF]\r\nMITSSL=0\r\nNURSSL=1\r\n", {}, 1,
         {required}},
        {"--no-tls before NURSSL=1", FtpServerKind::Plain, "Passive=1", "[MF]\r\nNURSSL=1\r\n", {"--no-tls"}, 0, {}},
        {"TLS taken", FtpServerKind::Tls, "Passive=1", tls, {"--require-tls"}, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        serve(c.kind, {}, {c.passiveLine}, c.ini);
        const CliResult result = ftp(c.options + QStringList{"ls"});
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err.toStdString();
        QStringList err = c.err;
        if (c.kind == FtpServerKind::Tls)  // a server met for the first time
            err.prepend("Warnung: " + certificateStoredWarning(server()));
        EXPECT_EQ(result.err.split(u'\n', Qt::SkipEmptyParts), err) << result.err.toStdString();
        const bool active = !server().commands().filter(QRegularExpression("^(PORT|EPRT) ")).isEmpty();
        EXPECT_EQ(active, c.passiveLine == "Passive=0" && c.err == QStringList{clear});
    }
    EXPECT_EQ(ftp({"--no-tls", "--require-tls", "ls"}).exitCode, 2);
}

TEST_F(CliFtpBase, ListedTimesMoveByTheServersClockDifference)
{
    // Two hours ahead, as a server that lists its local time where UTC is meant.
    const QDateTime written = QDateTime::currentDateTime().addDays(-2);
    putRemote("private/DS/a.txt", "abc");
    setRemoteTime("private/DS/a.txt", written);
    for (const FtpServerKind kind : {FtpServerKind::Plain, FtpServerKind::NoMlsd}) {
        SCOPED_TRACE(kind == FtpServerKind::Plain ? "MLSD" : "LIST");
        serve(kind, {.clockOffsetSeconds = 7200}, {"Passive=1"}, "[MF]\r\nMITSSL=0\r\n");
        const CliResult result = ftp({"ls", "DS"});
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
        const QDateTime shown = QDateTime::fromString(result.out.trimmed().section(u'\t', 3), Qt::ISODate);
        EXPECT_LE(std::abs(shown.secsTo(written)), 60) << result.out.toStdString();
    }
}

TEST_F(CliFtpBase, AClockDifferenceThatCannotBeMeasuredIsWarnedOfWhereTimesMayBeLocal)
{
    // A read-only account cannot make "Timecheck". MLSD times are UTC; LIST times may be the
    // server's local ones, which only the check would have made up for.
    putRemote("private/DS/a.txt", "abc");
    const struct {
        const char* what;
        FtpServerKind kind;
        QString err;
    } cases[] = {
        {"LIST", FtpServerKind::NoMlsd,
         "Warnung: Der Uhrenunterschied zum Server ließ sich nicht messen (Timecheck nicht anlegbar); aufgelistete "
         "Zeiten können um die Zeitzone des Servers abweichen.\n"},
        {"MLSD", FtpServerKind::Plain, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        serve(c.kind, {.readOnly = true}, {"Passive=1"}, "[MF]\r\nMITSSL=0\r\n");
        const CliResult result = ftp({"ls", "DS"});
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.err.toStdString(), c.err.toStdString());
    }
}

TEST_F(CliFtpBase, AnAccountsHomeFolderAndTheBasePathAreJoinedWithOneSlash)
{
    // PWD answers "/home/anna", without a "/" at its end, as for any account not shut in.
    putRemote("private/DS/a.txt", "abc");
    for (const char* basis : {"Basis=private", "Basis=private/", "Basis=/private"}) {
        SCOPED_TRACE(basis);
        serve(FtpServerKind::NoMlsd, {.home = "/home/anna"}, {"Passive=1", basis}, "[MF]\r\nMITSSL=0\r\n");
        CliResult result = ftp({"ls", "DS"});
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
        EXPECT_TRUE(result.out.startsWith("a.txt\tfile\t3\t")) << result.out.toStdString();
        result = ftp({"get", "DS/a.txt", "D:\\a.txt"});
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
        EXPECT_EQ(readFile("D:\\a.txt"), "abc");
        EXPECT_TRUE(server().commands().contains("CWD /home/anna/private/DS")) << server().commands().join(u'|').toStdString();
    }
}

TEST_F(CliFtpBase, AFailedLoginIsTriedOnceAndItsReasonShown)
{
    serve(FtpServerKind::Plain, {}, {"Passive=1", "ftppassw=falsch"}, "[MF]\r\nMITSSL=0\r\n");
    const CliResult result = ftp({"ls"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Keine FTP-Verbindung: Authentication failed.\n");
    EXPECT_EQ(server().loginAttempts(), 1);
}

TEST_F(CliFtpBase, AFailedGetTellsItsCauseAndKeepsTheTarget)
{
    const QString stored = platform::toWindowsPath(host("ftp/private/DS/Bericht.doc.00002.nxz"));
    const QByteArray plain = "[MF]\r\nMITSSL=0\r\n";
    const QByteArray tls = "[MF]\r\nMITSSL=1\r\n";
    const struct {
        const char* what;
        FtpServerKind kind;
        FtpServerOptions options;
        QByteArray ini;
        std::function<void()> store;
        const char* err;  // its start; the remote file is named too
    } cases[] = {
        {"missing", FtpServerKind::Tls, {}, tls, [] {}, "FTP-Fehler: "},
        {"wrong key", FtpServerKind::Tls, {}, tls,
         [&] { writeStoredFile(stored, mixedContent(400000, 4), "anders"); },
         "Nicht wiederhergestellt: falscher Schlüssel: "},
        {"damaged", FtpServerKind::Tls, {}, tls,
         [&] {
             writeStoredFile(stored, mixedContent(400000, 4), "geheim");
             QByteArray bytes = readFile(stored);
             bytes[bytes.size() - 1] = char(bytes[bytes.size() - 1] ^ 1);  // the checksum
             writeFile(stored, bytes);
         },
         "Nicht wiederhergestellt: Datei beschädigt"},
        {"truncated", FtpServerKind::Tls, {}, tls,
         [&] {
             writeStoredFile(stored, mixedContent(400000, 4), "geheim");
             writeFile(stored, readFile(stored).left(100000));
         },
         "Nicht wiederhergestellt: Datei ist abgeschnitten: "},
        {"connection dropped at every try", FtpServerKind::Plain, {.dropAfterBytes = 10000}, plain,
         [&] { writeStoredFile(stored, mixedContent(400000, 4), "geheim"); },
         "FTP-Fehler: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(platform::toHostPath(stored));
        c.store();
        serve(c.kind, c.options, {"Passive=1"}, c.ini);
        writeFile("D:\\Bericht.doc", "the user's old file");
        const CliResult result = ftp({"get", "DS/Bericht.doc.00002.nxz", "D:\\Bericht.doc"});
        EXPECT_EQ(result.exitCode, 1);
        // After the warning of a certificate met for the first time.
        const QString cause = result.err.section(u'\n', c.kind == FtpServerKind::Tls ? 1 : 0);
        EXPECT_TRUE(cause.startsWith(QString::fromUtf8(c.err))) << result.err.toStdString();
        EXPECT_TRUE(result.err.contains("/private/DS/Bericht.doc.00002.nxz")) << result.err.toStdString();
        EXPECT_EQ(readFile("D:\\Bericht.doc"), "the user's old file");
        EXPECT_EQ(QDir(host("d")).entryList(QDir::Files | QDir::Hidden), QStringList{"Bericht.doc"});
        EXPECT_EQ(tempFiles(), QStringList{});
    }
}

// A transfer that breaks off is tried again (three times, after 0.5, 1 and 2 s) and goes on
// where it stopped: the server is asked for the rest (REST) where it announces REST STREAM,
// else the file comes again and what came already is passed over.
TEST_F(CliFtpBase, ABrokenTransferGoesOnWhereItStopped)
{
    const QByteArray content = mixedContent(3 << 20, 7);
    writeStoredFile(platform::toWindowsPath(host("ftp/private/DS/Film.mov.00001.nxz")), content, "geheim");
    const qint64 cut = 1 << 20;
    const struct {
        const char* what;
        FtpServerOptions options;
        qint64 restartAt;  // 0: any offset up to the cut; -1: no REST
    } cases[] = {
        {"data connection cut", {.dropAfterBytes = cut, .dropTimes = 1}, cut},
        {"control connection dropped", {.fault = TransferFault::DropControl, .faultAfterBytes = cut, .faultTimes = 1}, 0},
        {"421 in the middle", {.fault = TransferFault::Shutdown, .faultAfterBytes = cut, .faultTimes = 1}, 0},
        {"stalled for good", {.fault = TransferFault::Stall, .faultAfterBytes = cut, .faultTimes = 1}, 0},
        {"data connection cut, no REST", {.dropAfterBytes = cut, .dropTimes = 1, .without = {"REST"}}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        serve(FtpServerKind::Plain, c.options, {"Passive=1"}, "[MF]\r\nMITSSL=0\r\n");
        writeFile("D:\\Film.mov", "the user's old file");
        const CliResult result = ftp({"get", "DS/Film.mov.00001.nxz", "D:\\Film.mov"});
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
        EXPECT_TRUE(readFile("D:\\Film.mov") == content);
        const QStringList commands = server().commands();
        EXPECT_EQ(commands.filter(QRegularExpression("^RETR ")).size(), 2) << commands.join(u'|').toStdString();
        const QStringList restarts = commands.filter(QRegularExpression("^REST [1-9]"));
        if (c.restartAt < 0) {
            EXPECT_EQ(restarts, QStringList());
        } else {
            ASSERT_EQ(restarts.size(), 1) << commands.join(u'|').toStdString();
            const qint64 at = restarts.first().mid(5).toLongLong();
            if (c.restartAt > 0) {
                EXPECT_EQ(at, c.restartAt);
            }
            EXPECT_GT(at, 0);
            EXPECT_LE(at, cut);
        }
    }
}

// One run after the other against a server whose certificate is not the one stored for it.
TEST_F(CliFtpBase, AChangedCertificateIsRefusedUntilTrustCertificateNamesTheNewOne)
{
    serve(FtpServerKind::Tls, {.certificate = secondTestCertificate()});
    const QString stored = certificateFingerprint(testCertificate());
    const QString offered = certificateFingerprint(secondTestCertificate());
    const QString where = "127.0.0.1:" + QString::number(server().port());
    const QString store = host("config/quorbin/zertifikate.conf");
    QDir().mkpath(host("config/quorbin"));
    {
        QFile file(store);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write((where + "=" + stored + "\n").toUtf8());
    }
    const QString refused = "Keine FTP-Verbindung: Das Zertifikat von " + where +
                            " ist nicht das erwartete (SHA-256 erwartet: " + stored + ", erhalten: " + offered + ").";
    const struct {
        const char* what;
        QStringList options;
        int exitCode;
        QString err;  // its start
        QString entry;
    } runs[] = {
        {"refused", {}, 1, refused, stored},
        {"another fingerprint named", {"--trust-certificate", stored}, 1, refused, stored},
        {"no fingerprint named", {"--trust-certificate", "AB:CD"}, 2, "Kein SHA-256-Fingerabdruck: AB:CD\n", stored},
        {"the new one named", {"--trust-certificate", offered.toLower().remove(u':')}, 0,
         "Warnung: " + certificateStoredWarning(server(), secondTestCertificate()) + "\n", offered},
        {"the new one found", {}, 0, "", offered},
    };
    int logins = 0;
    for (const auto& c : runs) {
        SCOPED_TRACE(c.what);
        const CliResult result = ftp(c.options + QStringList{"ls"});
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_TRUE(c.err.isEmpty() ? result.err.isEmpty() : result.err.startsWith(c.err)) << qPrintable(result.err);
        if (c.exitCode == 1) {
            EXPECT_TRUE(result.err.contains("--trust-certificate " + offered)) << qPrintable(result.err);
        }
        logins += c.exitCode == 0 ? 1 : 0;
        EXPECT_EQ(server().loginAttempts(), logins) << "no password goes to a certificate not trusted";
        QFile file(store);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(QString::fromUtf8(file.readAll()), where + "=" + c.entry + "\n");
    }
}

// On a terminal the download shows a progress line in the user's language; the throttled
// server keeps the download going long enough for the line to show.
TEST_F(CliFtpBase, TheProgressLineOnATerminalFollowsTheLocale)
{
    serve(FtpServerKind::Plain, {.bytesPerSecond = 150000}, {"Passive=1"}, "[MF]\r\nMITSSL=0\r\nMITVZ=0\r\n");
    putRemote("private/gross.bin", QByteArray(450000, 'x'));
    const struct {
        const char* lang;
        QString line;  // as a pattern: the numbers are whatever the transfer made of them
    } cases[] = {
        {"en_US.UTF-8", "\\d+[.,]\\d/0[.,]4 MiB, \\d+[.,]\\d MiB/s, \\d+:\\d\\d left"},
        {"de_DE.UTF-8", "\\d+[.,]\\d/0[.,]4 MiB, \\d+[.,]\\d MiB/s, noch \\d+:\\d\\d"},
    };
    for (const auto& c : cases) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
            environment.insert(name, QString());
        environment.insert("LANG", c.lang);
        // script(1) gives the program a terminal, as a person at a shell has.
        QProcess terminal;
        terminal.setProcessEnvironment(environment);
        terminal.start("script", {"-qec",
                                  QStringLiteral("'%1' ftp --set 'C:\\Sets\\ftp.set' get gross.bin 'D:\\gross.bin'")
                                      .arg(QStringLiteral(QUORBIN_CLI)),
                                  "/dev/null"});
        ASSERT_TRUE(terminal.waitForFinished(60000));
        const QString shown = QString::fromUtf8(terminal.readAllStandardOutput());
        EXPECT_EQ(terminal.exitCode(), 0) << qPrintable(shown);
        EXPECT_TRUE(shown.contains(QRegularExpression("\\r\\x1b\\[K" + c.line))) << c.lang << ": " << qPrintable(shown);
        EXPECT_EQ(readFile("D:\\gross.bin"), QByteArray(450000, 'x'));
    }
}

TEST_F(CliFtpBase, AMissingFileIsNamedWhereTheServerDoesNot)
{
    // This server refuses SIZE as vsftpd does: "Could not get file size."
    serve(FtpServerKind::NoMlsd, {}, {"Passive=1"}, "[MF]\r\nMITSSL=0\r\n");
    const CliResult result = ftp({"get", "DS/fehlt.txt", "D:\\fehlt.txt"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "FTP-Fehler: /private/DS/fehlt.txt: Could not get file size.\n");
}

// A signal in the middle of a download, from a plain server slowed down enough to be caught.
class CliFtpSignalTest : public FtpTest {
protected:
    void SetUp() override
    {
        FtpTest::SetUp();
        QDir().mkpath(host("ftp/private"));
        startServer(FtpServerKind::Plain, {.bytesPerSecond = 256 * 1024});
        const QStringList set{"[FTP]", "ftp=1", "ftphost=127.0.0.1", "PORT=" + QString::number(server().port()),
                              "ftpusername=user1", "ftppassw=secret", "Passive=1", "Basis=private/",
                              QString::fromUtf8("[SCHLÜSSEL]"), QString::fromUtf8("SCHLÜSSEL=geheim")};
        writeFile("C:\\Sets\\ftp.set", (set.join("\r\n") + "\r\n").toLatin1());
        writeFile(platform::windowsDirectory() + "\\quorbin.ini", "[MF]\r\nMITSSL=0\r\nMITVZ=0\r\n");
    }
};

TEST_F(CliFtpSignalTest, InterruptedDuringADownloadItLeavesNothingAndKeepsTheOldTarget)
{
    writeStoredFile(platform::toWindowsPath(host("ftp/private/gross.bin.00001.nxz")), mixedContent(4 << 20, 9), "geheim");
    writeFile("D:\\gross.bin", "the user's old file");
    // The target's replacement beside it has its first bytes.
    const auto downloading = [&](qint64 pid) {
        const QList<qint64> sizes = filesBeingWritten(pid, host("d"));
        return !sizes.isEmpty() && sizes.first() > 0;
    };

    for (const int signal : {SIGINT, SIGHUP}) {
        EXPECT_TRUE(interruptCli({"ftp", "--set", "C:\\Sets\\ftp.set", "get", "gross.bin.00001.nxz", "D:\\gross.bin"},
                                 QProcessEnvironment::systemEnvironment(), downloading, signal))
            << "the signal ends the download";
        EXPECT_EQ(tempFiles(), QStringList());
        EXPECT_EQ(readFile("D:\\gross.bin"), QByteArray("the user's old file"));
        EXPECT_EQ(QDir(host("d")).entryList(QDir::Files | QDir::Hidden), QStringList{"gross.bin"});
    }
}

}  // namespace
}  // namespace quorbin::test
