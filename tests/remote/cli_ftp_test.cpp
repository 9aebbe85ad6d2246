// quorbin-restore ftp against a real FTPS server, as a script would run it.
#include "remote/ftptestbase.h"

#include "fixtures/cli.h"
#include "fixtures/storewriter.h"
#include "platform/winpath.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <csignal>

namespace quorbin::test {
namespace {

class CliFtpTest : public FtpTest {
protected:
    void SetUp() override
    {
        FtpTest::SetUp();
        QDir().mkpath(host("ftp/private/DS"));
        startServer(FtpServerKind::Tls);
        // Windows-1252 with CR LF, as the backup program writes them.
        const QStringList set{"[FTP]",
                              "ftp=1",
                              "ftphost=127.0.0.1",
                              "PORT=" + QString::number(server().port()),
                              "ftpusername=user1",
                              "ftppassw=secret",
                              "Passive=1",
                              "Basis=private/",
                              "verzeichnis=DS",
                              QString::fromUtf8("[SCHLÜSSEL]"),
                              QString::fromUtf8("SCHLÜSSEL=geheim")};
        writeFile("C:\\Sets\\ftp.set", (set.join("\r\n") + "\r\n").toLatin1());
        writeFile(platform::windowsDirectory() + "\\quorbin.ini", "[MF]\r\nMITSSL=1\r\nMITVZ=0\r\n");
    }

    CliResult ftp(const QStringList& arguments) { return runCli(QStringList{"ftp", "--set", "C:\\Sets\\ftp.set"} + arguments); }
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

TEST_F(CliFtpTest, GetsAKeyedStoredFileByteExact)
{
    const QByteArray content = mixedContent(400000, 4);
    writeStoredFile(platform::toWindowsPath(host("ftp/private/DS/Bericht.doc.00002.nxz")), content, "geheim");
    const CliResult result = ftp({"get", "DS/Bericht.doc.00002.nxz", "D:\\Bericht.doc"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(readFile("D:\\Bericht.doc"), content);
    EXPECT_EQ(tempFiles(), QStringList{});  // the work file is gone
}

TEST_F(CliFtpTest, GetsAnyOtherFileAsItIsAndKeepsTheTargetOnFailure)
{
    putRemote("private/notiz.txt", "neu");
    writeFile("D:\\notiz.txt", "alt");
    CliResult result = ftp({"get", "fehlt.txt", "D:\\notiz.txt"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.startsWith("FTP-Fehler: ")) << result.err.toStdString();
    EXPECT_EQ(readFile("D:\\notiz.txt"), "alt");

    result = ftp({"get", "notiz.txt", "D:\\notiz.txt"});
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

TEST_F(CliFtpSignalTest, InterruptedDuringADownloadItLeavesNoWorkFileAndKeepsTheOldTarget)
{
    writeStoredFile(platform::toWindowsPath(host("ftp/private/gross.bin.00001.nxz")), mixedContent(4 << 20, 9), "geheim");
    writeFile("D:\\gross.bin", "the user's old file");
    const auto downloading = [&] {
        const QStringList work = tempFiles().filter(QRegularExpression("^~tm.*\\.tmp$"));
        return !work.isEmpty() && QFileInfo(tempHostDirectory() + "/" + work.first()).size() > 0;
    };

    for (const int signal : {SIGINT, SIGHUP}) {
        EXPECT_TRUE(interruptCli({"ftp", "--set", "C:\\Sets\\ftp.set", "get", "gross.bin.00001.nxz", "D:\\gross.bin"},
                                 QProcessEnvironment::systemEnvironment(), downloading, signal))
            << "the signal ends the download";
        EXPECT_EQ(tempFiles(), QStringList()) << "no work file";
        EXPECT_EQ(readFile("D:\\gross.bin"), QByteArray("the user's old file"));
        EXPECT_EQ(QDir(host("d")).entryList({"*.part"}, QDir::Files | QDir::Hidden), QStringList());
    }
}

}  // namespace
}  // namespace quorbin::test
