// The window's remote jobs against a real FTPS server, run as its worker runs them.
#include "remote/ftptestbase.h"
#include "remote/remotejobs.h"

#include "engine/tempfiles.h"
#include "fixtures/storewriter.h"
#include "platform/winpath.h"

#include <atomic>
#include <functional>
#include <memory>
#include <stop_token>
#include <thread>

namespace quorbin::test {
namespace {

class RemoteJobTest : public FtpTest {
protected:
    void SetUp() override
    {
        FtpTest::SetUp();
        QDir().mkpath(host("ftp/private/A/B"));
        putRemote("private/a.txt", "abc");
        startServer(FtpServerKind::Tls);
        settings = serverSettings(true);
    }

    JobResult run(Job& job, std::stop_token stop = {})
    {
        return job.run(JobContext{std::move(stop), RestoreReporter{status, log, noProgress()}});
    }

    // A session as "FTP-Verbindung herstellen" leaves it.
    void open()
    {
        ConnectJob connect(session, settings, ConnectJob::Mode::Open);
        ASSERT_TRUE(run(connect).ok());
    }

    FtpSettings settings;
    FtpSession session;
    StatusLines status;
    LogLines log;
};

TEST_F(RemoteJobTest, ConnectingTestsOrOpensTheSessionAndReportsToTheContext)
{
    ConnectJob test(session, settings, ConnectJob::Mode::Test);
    ASSERT_TRUE(run(test).ok());
    EXPECT_TRUE(session.client.Connected());
    EXPECT_EQ(status.texts.last(), "verbunden mit: 127.0.0.1");
    EXPECT_TRUE(log.lines.last().startsWith("Zeitdifferenz: "));

    FtpSession other;
    ConnectJob open(other, settings, ConnectJob::Mode::Open);
    ASSERT_TRUE(run(open).ok());
    EXPECT_EQ(other.client.RetrieveCurrentDir(), "/private");

    // A failed login is no failure of the test; entering the base path then is.
    settings.password = QStringLiteral("wrong");
    FtpSession refused;
    ConnectJob testRefused(refused, settings, ConnectJob::Mode::Test);
    EXPECT_TRUE(run(testRefused).ok());
    ConnectJob openRefused(refused, settings, ConnectJob::Mode::Open);
    const JobResult result = run(openRefused);
    EXPECT_EQ(result.kind, ErrorKind::Network);
    EXPECT_EQ(result.message, "Nicht verbunden.");
}

TEST_F(RemoteJobTest, ListingAndOpeningANodeGiveTheView)
{
    open();
    ListJob list(session);
    ASSERT_TRUE(run(list).ok());
    ASSERT_TRUE(list.view());
    EXPECT_EQ(list.view()->directories, QStringList{"A"});
    ASSERT_EQ(list.view()->files.size(), 1);
    EXPECT_EQ(list.view()->files[0].name, "a.txt");

    OpenNodeJob node(session, {"A"});
    ASSERT_TRUE(run(node).ok());
    ASSERT_TRUE(node.view());
    EXPECT_EQ(node.view()->directories, QStringList{"B"});
    EXPECT_TRUE(node.view()->files.isEmpty());
    EXPECT_EQ(session.client.RetrieveCurrentDir(), "/private/A");
}

TEST_F(RemoteJobTest, DownloadingHandsBackTheDownloadFile)
{
    const QByteArray content = mixedContent(100000, 6);
    writeStoredFile(platform::toWindowsPath(host("ftp/private/Bericht.doc.00002.nxz")), content, "geheim");
    open();
    DownloadJob download(session, "Bericht.doc.00002.nxz", "geheim");
    ASSERT_TRUE(run(download).ok());
    EXPECT_EQ(download.downloadFile(), TempDirectory() + "§tmp.doc");
    EXPECT_EQ(readFile(download.downloadFile()), content);

    FinishRemoteDownload("Bericht.doc.00002.nxz", JobResult::success(), download.downloadFile(), true);
    EXPECT_EQ(user.opened, QStringList{platform::toHostPath(download.downloadFile())});
    FinishRemoteDownload("Bericht.doc.00002.nxz", JobResult::failure(ErrorKind::Network, "Verbindung weg"),
                         download.downloadFile(), true);
    EXPECT_EQ(user.messages,
              QStringList{"Die Datei Bericht.doc.00002.nxz konnte nicht heruntergeladen werden. Verbindung weg"});
}

TEST_F(RemoteJobTest, DeletingGivesTheServersReplyWhenRefused)
{
    putRemote("private/A/Voll/datei.txt", "x");
    open();
    DeleteFileJob file(session, "a.txt");
    EXPECT_TRUE(run(file).ok());
    EXPECT_FALSE(remoteExists("private/a.txt"));
    DeleteDirectoryJob directory(session, {"A", "B"});
    EXPECT_TRUE(run(directory).ok());
    EXPECT_FALSE(remoteExists("private/A/B"));

    session.client.ChangeDir("/private");
    const std::function<std::unique_ptr<Job>()> refusals[] = {
        [&] { return std::make_unique<DeleteFileJob>(session, "a.txt"); },
        [&] { return std::make_unique<DeleteDirectoryJob>(session, QStringList{"A", "Voll"}); },
    };
    for (const auto& make : refusals) {
        const JobResult result = run(*make());
        EXPECT_EQ(result.kind, ErrorKind::Network);
        EXPECT_FALSE(result.message.isEmpty());
    }
    EXPECT_TRUE(remoteExists("private/A/Voll/datei.txt"));
}

TEST_F(RemoteJobTest, AStoppedJobIsCancelledAndChangesNothing)
{
    open();
    session.client.ChangeDir("/");
    FtpSession unconnected;
    std::stop_source stop;
    stop.request_stop();
    const std::function<std::unique_ptr<Job>()> jobs[] = {
        [&] { return std::make_unique<ConnectJob>(unconnected, settings, ConnectJob::Mode::Open); },
        [&] { return std::make_unique<ListJob>(session); },
        [&] { return std::make_unique<OpenNodeJob>(session, QStringList{"A"}); },
        [&] { return std::make_unique<DownloadJob>(session, "a.txt", ""); },
        [&] { return std::make_unique<DeleteFileJob>(session, "private/a.txt"); },
        [&] { return std::make_unique<DeleteDirectoryJob>(session, QStringList{"A", "B"}); },
    };
    for (const auto& make : jobs) {
        const JobResult result = run(*make(), stop.get_token());
        EXPECT_EQ(result.kind, ErrorKind::Cancelled) << describe(result).toStdString();
    }
    EXPECT_FALSE(unconnected.client.Connected());
    EXPECT_TRUE(remoteExists("private/a.txt"));
    EXPECT_TRUE(remoteExists("private/A/B"));
    EXPECT_EQ(tempFiles(), QStringList{});
    // No stop stays behind on the client.
    EXPECT_EQ(session.client.RetrieveCurrentDir(), "/");
}

TEST_F(RemoteJobTest, AStopDuringASlowDownloadEndsItAndLeavesNothing)
{
    writeStoredFile(platform::toWindowsPath(host("ftp/private/gross.bin.00001.nxz")), mixedContent(4 << 20, 9), "geheim");
    startServer(FtpServerKind::Tls, {.bytesPerSecond = 256 * 1024});
    settings = serverSettings(true);
    open();
    const QString last = TempDirectory() + "§tmp.bin";
    writeFile(last, "the last download");
    // Past the first block handed to the decoder.
    std::atomic<qint64> received = 0;
    session.client.onWork = [&](qint64 count) { received = count; };
    std::stop_source stop;
    JobResult result;
    std::thread worker([&] {
        DownloadJob job(session, "gross.bin.00001.nxz", "geheim");
        result = run(job, stop.get_token());
    });
    awaitUntil([&] { return received > 600 * 1024; });
    stop.request_stop();  // "Aktion abbrechen"
    worker.join();

    EXPECT_GT(received, 600 * 1024);
    EXPECT_EQ(result.kind, ErrorKind::Cancelled) << describe(result).toStdString();
    EXPECT_EQ(readFile(last), "the last download");
    EXPECT_EQ(tempFiles(), QStringList{"§tmp.bin"});
}

TEST_F(RemoteJobTest, AJobIsRefusedWhileAnotherOperationRuns)
{
    putRemote("private/big.bin", QByteArray(64 * 1024 * 1024, 'b'));
    open();
    std::atomic<bool> transferring = false;
    std::atomic<bool> refusedSeen = false;
    session.client.onWork = [&](qint64) {
        transferring = true;
        awaitUntil([&] { return refusedSeen.load(); });
        session.client.Abort();
    };
    JobResult download;
    std::thread worker([&] {
        DownloadJob job(session, "big.bin", "");
        download = job.run(quietContext());
    });
    awaitUntil([&] { return transferring.load(); });
    DeleteFileJob other(session, "a.txt");
    const JobResult refused = run(other);
    refusedSeen = true;
    worker.join();

    EXPECT_EQ(refused.kind, ErrorKind::Refused);
    EXPECT_EQ(refused.message, "Der FTP-Client ist mit einer anderen Operation beschäftigt.");
    EXPECT_TRUE(remoteExists("private/a.txt"));
    EXPECT_EQ(download.kind, ErrorKind::Cancelled);
}

}  // namespace
}  // namespace quorbin::test
