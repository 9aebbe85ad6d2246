// The FTP client against a real FTP/FTPS server on 127.0.0.1.
#include "remote/ftpclient.h"
#include "remote/ftperror.h"
#include "remote/ftptestbase.h"

#include "fixtures/storewriter.h"
#include "platform/winpath.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <atomic>
#include <optional>
#include <stop_token>
#include <thread>

namespace quorbin::test {
namespace {

using namespace std::chrono_literals;

std::optional<FtpError> failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const FtpError& error) {
        return error;
    }
    return std::nullopt;
}

QString errorText(const std::function<void()>& action)
{
    const auto failure = failureOf(action);
    return failure ? failure->text() : QStringLiteral("(no error)");
}

class FtpClientTest : public FtpTest {
protected:
    QString local(const QString& name) const { return platform::toWindowsPath(host(name)); }
};

TEST_F(FtpClientTest, LogsInOverExplicitTlsAndLearnsTheServersFeatures)
{
    startServer(FtpServerKind::Tls);
    client.useTls();
    client.Connect();
    EXPECT_TRUE(client.Connected());
    EXPECT_EQ(client.RetrieveCurrentDir(), "/");
    EXPECT_TRUE(client.announcesMlsd());
    EXPECT_TRUE(client.announcesUtf8());
    EXPECT_TRUE(client.tlsInUse());
}

TEST_F(FtpClientTest, TheTlsServerRefusesAClientWithoutTls)
{
    // The test server insists on TLS, so a session that works there did use it.
    startServer(FtpServerKind::Tls);
    EXPECT_THROW(client.Connect(), FtpError);
    EXPECT_FALSE(client.Connected());
}

TEST_F(FtpClientTest, TlsIsRequestedNotRequired)
{
    startServer(FtpServerKind::Plain);
    client.useTls();
    client.Connect();
    EXPECT_TRUE(client.Connected());
    EXPECT_FALSE(client.tlsInUse());
    EXPECT_EQ(client.RetrieveCurrentDir(), "/");
}

TEST_F(FtpClientTest, RequiredTlsThatTheServerRefusesFailsBeforeTheLogin)
{
    startServer(FtpServerKind::Plain);
    client.useTls();
    client.setTlsRequired(true);
    const auto failure = failureOf([&] { client.Connect(); });
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->tlsRefused());
    EXPECT_EQ(failure->text(), "Der Server lehnt TLS ab; ohne TLS wird nicht verbunden, weil TLS vorgeschrieben ist.");
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(server().loginAttempts(), 0);  // the password never went out in clear
}

TEST_F(FtpClientTest, TlsSetUpMovesTheImplicitPortOnlyAndIsRefusedWhileConnected)
{
    for (const auto& [configured, used] : {std::pair{990, 21}, {2121, 2121}, {21, 21}}) {
        FtpClient fresh;
        fresh.setPort(configured);
        fresh.useTls();
        EXPECT_EQ(fresh.port(), used) << configured;
    }
    startServer(FtpServerKind::Tls);
    client.useTls();
    client.Connect();
    EXPECT_EQ(errorText([&] { client.useTls(); }),
              "Dieser Wert kann nicht gesetzt werden, während der Client verbunden ist.");
    EXPECT_TRUE(client.Connected());
}

TEST_F(FtpClientTest, FailedLoginsLeaveTheClientDisconnected)
{
    startServer(FtpServerKind::Plain);
    client.setPassword("wrong");
    EXPECT_TRUE(errorText([&] { client.Connect(); }).contains("Authentication failed")) << server().errors().toStdString();
    EXPECT_FALSE(client.Connected());

    FtpClient nowhere;
    nowhere.setHost("127.0.0.1");
    nowhere.setPort(1);  // nothing listens there
    EXPECT_THROW(nowhere.Connect(), FtpError);
    EXPECT_FALSE(nowhere.Connected());
    EXPECT_EQ(errorText([&] { nowhere.RetrieveCurrentDir(); }), "Nicht verbunden.");
}

TEST_F(FtpClientTest, TracksTheCurrentDirectory)
{
    putRemote("private/DS/a.txt", "a");
    startServer(FtpServerKind::Tls);
    client.useTls();
    client.Connect();
    client.ChangeDir("private/");
    client.ChangeDir("DS");
    EXPECT_EQ(client.RetrieveCurrentDir(), "/private/DS");
    client.setTransferType(FtpTransferType::Image);  // this server tells no sizes in ASCII mode
    EXPECT_EQ(client.Size("a.txt"), 1);
    client.ChangeDir("..");
    EXPECT_EQ(client.RetrieveCurrentDir(), "/private");
    client.ChangeDir("/private/DS/");
    EXPECT_EQ(client.RetrieveCurrentDir(), "/private/DS");
}

TEST_F(FtpClientTest, AMissingDirectoryIsRefusedWithTheServersReplyAndTheSessionGoesOn)
{
    putRemote("private/x", "");
    startServer(FtpServerKind::Plain);
    client.Connect();
    client.ChangeDir("private");
    try {
        client.ChangeDir("nothere");
        FAIL() << "changed into a missing directory";
    } catch (const FtpError& error) {
        EXPECT_EQ(error.replyCode(), 550);
        EXPECT_FALSE(error.text().isEmpty());
    }
    EXPECT_TRUE(client.Connected());
    EXPECT_EQ(client.RetrieveCurrentDir(), "/private");
}

TEST_F(FtpClientTest, MakesRemovesAndDeletesInTheCurrentDirectory)
{
    putRemote("private/old.txt", "x");
    QDir().mkpath(host("ftp/private/Archiv"));
    startServer(FtpServerKind::Tls);
    client.useTls();
    client.Connect();
    client.ChangeDir("private");

    client.MakeDir("Timecheck");
    EXPECT_TRUE(QFileInfo(host("ftp/private/Timecheck")).isDir());
    client.RemoveDir("Timecheck");
    EXPECT_FALSE(remoteExists("private/Timecheck"));
    client.Delete("old.txt");
    EXPECT_FALSE(remoteExists("private/old.txt"));

    for (const auto& refused : std::initializer_list<std::function<void()>>{
             [&] { client.RemoveDir("Timecheck"); }, [&] { client.Delete("old.txt"); },
             [&] { client.MakeDir("Archiv"); }}) {
        try {
            refused();
            ADD_FAILURE() << "no refusal";
        } catch (const FtpError& error) {
            EXPECT_EQ(error.replyCode() / 100, 5) << error.text().toStdString();
        }
    }
    EXPECT_TRUE(client.Connected());
    EXPECT_EQ(client.RetrieveCurrentDir(), "/private");
}

TEST_F(FtpClientTest, ListsThroughMlsd)
{
    putRemote("private/a.txt", QByteArray(1234, 'a'));
    putRemote("private/Grüße §1.txt", "g");
    QDir().mkpath(host("ftp/private/Archiv"));
    const QDateTime stamp(QDate(2018, 4, 19), QTime(14, 3, 12));
    QFile file(host("ftp/private/a.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(stamp, QFileDevice::FileModificationTime));
    file.close();

    startServer(FtpServerKind::Tls);
    client.useTls();
    client.Connect();
    client.ChangeDir("private");
    client.List();
    QMap<QString, FtpListEntry> byName;
    for (const FtpListEntry& entry : client.DirectoryListing())
        byName.insert(entry.name, entry);
    ASSERT_EQ(byName.keys(), (QStringList{"Archiv", "Grüße §1.txt", "a.txt"}));
    EXPECT_TRUE(byName["Archiv"].directory);
    EXPECT_FALSE(byName["a.txt"].directory);
    EXPECT_EQ(byName["a.txt"].size, 1234);
    EXPECT_EQ(byName["a.txt"].modified, stamp);
}

TEST_F(FtpClientTest, WithoutMlsdTheListIsRead)
{
    putRemote("private/a.txt", QByteArray(1234, 'a'));
    putRemote("private/  Mein Bericht.doc", "b");
    QDir().mkpath(host("ftp/private/Archiv"));
    ASSERT_TRUE(QFile::link("a.txt", host("ftp/private/verweis")));
    QFile big(host("ftp/private/big.bin"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(5LL << 30));  // sparse: 5 GiB without the disk space
    big.close();
    // Recent enough for "Apr 19 14:03" rather than "Apr 19  2018": the minute is listed.
    const QDateTime stamp = QDateTime(QDate::currentDate().addDays(-10), QTime(14, 3, 12));
    setRemoteTime("private/a.txt", stamp);

    startServer(FtpServerKind::NoMlsd);
    client.Connect();
    EXPECT_FALSE(client.announcesMlsd());
    client.ChangeDir("private");
    client.List();
    QMap<QString, FtpListEntry> byName;
    for (const FtpListEntry& entry : client.DirectoryListing())
        byName.insert(entry.name, entry);
    ASSERT_EQ(byName.keys(), (QStringList{"  Mein Bericht.doc", "Archiv", "a.txt", "big.bin", "verweis"}));
    EXPECT_TRUE(byName["Archiv"].directory);
    EXPECT_FALSE(byName["a.txt"].directory);
    EXPECT_EQ(byName["a.txt"].size, 1234);
    EXPECT_EQ(byName["a.txt"].modified, stamp.addSecs(-12));
    EXPECT_EQ(byName["a.txt"].resolution, FtpTimeResolution::Minute);
    EXPECT_EQ(byName["big.bin"].size, 5LL << 30);
    EXPECT_EQ(byName["verweis"].type, "link");
    EXPECT_FALSE(byName["verweis"].directory);

    client.setTransferType(FtpTransferType::Image);
    client.Get("  Mein Bericht.doc", local("bericht.doc"));
    EXPECT_EQ(readFile(local("bericht.doc")), "b");
}

TEST_F(FtpClientTest, ListedNonAsciiNamesGoBackAsTheServerListedThem)
{
    // vsftpd on Linux sends UTF-8 names without announcing UTF8; other servers send Latin-1.
    for (const FtpServerKind kind : {FtpServerKind::NoMlsd, FtpServerKind::NoMlsdUtf8Names}) {
        SCOPED_TRACE(kind == FtpServerKind::NoMlsd ? "Latin-1 names" : "UTF-8 names");
        putRemote("private/Büro/Grüße.txt", "inhalt");
        startServer(kind);
        FtpClient ftp;
        pointAtServer(ftp, false);
        ftp.setTransferType(FtpTransferType::Image);
        ftp.Connect();
        EXPECT_FALSE(ftp.announcesUtf8());
        ftp.ChangeDir("private");
        ftp.List();
        ASSERT_EQ(ftp.DirectoryListing().size(), 1);
        EXPECT_EQ(ftp.DirectoryListing()[0].name, "Büro");
        ftp.ChangeDir("Büro");
        EXPECT_EQ(ftp.RetrieveCurrentDir(), "/private/Büro");
        ftp.List();
        ASSERT_EQ(ftp.DirectoryListing().size(), 1);
        EXPECT_EQ(ftp.DirectoryListing()[0].name, "Grüße.txt");
        EXPECT_EQ(ftp.Size("Grüße.txt"), 6);
        ftp.Get("Grüße.txt", local("got.txt"));
        EXPECT_EQ(readFile(local("got.txt")), "inhalt");
        ftp.Get("/private/Büro/Grüße.txt", local("again.txt"));
        EXPECT_EQ(readFile(local("again.txt")), "inhalt");
        ftp.Delete("Grüße.txt");
        EXPECT_FALSE(remoteExists("private/Büro/Grüße.txt"));
        QFile::remove(host("got.txt"));
        QFile::remove(host("again.txt"));
    }
}

TEST_F(FtpClientTest, NamesNeverListedGoAsLatin1WithoutUtf8)
{
    putRemote("Grüße.txt", "12345");
    putRemote("a?b.txt", "123");
    startServer(FtpServerKind::NoMlsd);
    client.Connect();
    client.setTransferType(FtpTransferType::Image);
    EXPECT_EQ(client.Size("Grüße.txt"), 5);
    EXPECT_EQ(client.Size("a€b.txt"), 3);  // "€" has no Latin-1 form and goes as "?"
}

TEST_F(FtpClientTest, ALoginDirectoryWithADriveKeepsItsFirstCharacter)
{
    putRemote("private/a.txt", "abc");
    startServer(FtpServerKind::Plain, {.drivePaths = true});
    client.setTransferType(FtpTransferType::Image);
    client.Connect();
    EXPECT_EQ(client.RetrieveCurrentDir(), "C:/");
    client.ChangeDir("private");
    EXPECT_EQ(client.RetrieveCurrentDir(), "C:/private");
    client.List();
    ASSERT_EQ(client.DirectoryListing().size(), 1);
    EXPECT_EQ(client.Size("a.txt"), 3);
    client.Get("a.txt", local("a.txt"));
    EXPECT_EQ(readFile(local("a.txt")), "abc");
}

TEST_F(FtpClientTest, FailuresNameTheRemoteFileOrDirectory)
{
    QDir().mkpath(host("ftp/private"));
    // This server refuses SIZE without naming the file, as vsftpd does.
    startServer(FtpServerKind::NoMlsd);
    client.setTransferType(FtpTransferType::Image);
    client.Connect();
    client.ChangeDir("private");
    EXPECT_EQ(errorText([&] { client.Get("fehlt.txt", local("fehlt.txt")); }),
              "/private/fehlt.txt: Could not get file size.");
    EXPECT_TRUE(errorText([&] { client.ChangeDir("nirgends"); }).startsWith("/private/nirgends: "));
}

TEST_F(FtpClientTest, AFailedActiveDataConnectionSaysToTurnOnPassiveMode)
{
    // Without a connection coming, the client gives up after its accept time-out.
    for (const ActiveMode mode : {ActiveMode::Refused, ActiveMode::NeverConnects}) {
        SCOPED_TRACE(mode == ActiveMode::Refused ? "refused" : "never connects");
        putRemote("f.bin", "f");
        startServer(FtpServerKind::Plain, {.active = mode});
        FtpClient ftp;
        pointAtServer(ftp, false);
        ftp.setPassive(false);
        ftp.setTransferType(FtpTransferType::Image);
        ftp.Connect();
        const QString text = errorText([&] { ftp.Get("f.bin", local("f.bin")); });
        EXPECT_TRUE(text.startsWith("/f.bin: Der Server lässt keine aktive Datenverbindung zu, oder sie kommt nicht "
                                    "zustande; bitte den passiven Modus einschalten (Passive=1 im Backup-Set) ("))
            << text.toStdString();
        EXPECT_FALSE(exists(local("f.bin")));
    }
}

TEST_F(FtpClientTest, SizeOfAMissingFileIsMinusOne)
{
    putRemote("f.bin", QByteArray(70000, 'f'));
    startServer(FtpServerKind::Tls);
    client.useTls();
    client.Connect();
    client.setTransferType(FtpTransferType::Image);
    EXPECT_EQ(client.Size("f.bin"), 70000);
    EXPECT_EQ(client.Size("missing.bin"), -1);
    EXPECT_TRUE(client.Connected());
}

TEST_F(FtpClientTest, DownloadsByteExactIntoANewFileOnly)
{
    const QByteArray content = mixedContent(3 * 1024 * 1024 + 17, 7);
    putRemote("private/f.bin", content);
    startServer(FtpServerKind::Tls);
    client.useTls();
    client.Connect();
    client.ChangeDir("private");
    client.setTransferType(FtpTransferType::Image);
    QList<qint64> work;
    client.onWork = [&](qint64 count) { work << count; };

    client.Get("f.bin", local("got.bin"));
    EXPECT_EQ(readFile(local("got.bin")), content);
    ASSERT_FALSE(work.isEmpty());
    EXPECT_EQ(work.last(), content.size());

    writeFile(local("there.bin"), "keep me");
    EXPECT_THROW(client.Get("f.bin", local("there.bin")), FtpError);
    EXPECT_EQ(readFile(local("there.bin")), "keep me");

    EXPECT_THROW(client.Get("missing.bin", local("missing.bin")), FtpError);
    EXPECT_FALSE(exists(local("missing.bin")));
}

TEST_F(FtpClientTest, AReceiverTakesTheBlocksAsTheyComeAndItsRefusalEndsTheTransfer)
{
    const QByteArray content = mixedContent(8 * 1024 * 1024 + 3, 3);
    putRemote("private/f.bin", content);
    startServer(FtpServerKind::Tls);
    client.useTls();
    client.Connect();
    client.ChangeDir("private");
    client.setTransferType(FtpTransferType::Image);
    QByteArray received;
    client.Get("f.bin", [&](const char* data, qint64 size) {
        received.append(data, size);
        return true;
    });
    EXPECT_EQ(received, content);

    qint64 reported = 0;
    client.onWork = [&](qint64 count) { reported = count; };
    int blocks = 0;
    const auto failure = failureOf([&] { client.Get("f.bin", [&](const char*, qint64) { return ++blocks < 3; }); });
    ASSERT_TRUE(failure);
    EXPECT_FALSE(failure->cancelled());
    EXPECT_TRUE(failure->text().startsWith("/private/f.bin: ")) << failure->text().toStdString();
    EXPECT_EQ(blocks, 3);
    EXPECT_LT(reported, content.size() / 2);
    client.onWork = nullptr;
    EXPECT_EQ(client.Size("f.bin"), content.size());  // the session goes on
}

TEST_F(FtpClientTest, AnAbortFromTheProgressReportEndsTheTransferAndTheSessionGoesOn)
{
    for (const FtpServerKind kind : {FtpServerKind::Tls, FtpServerKind::Plain}) {
        putRemote("private/big.bin", QByteArray(64 * 1024 * 1024, 'b'));
        putRemote("private/small.bin", "small");
        startServer(kind);
        FtpClient session;
        pointAtServer(session, kind == FtpServerKind::Tls);
        session.Connect();
        session.ChangeDir("private");
        session.setTransferType(FtpTransferType::Image);
        int reports = 0;
        session.onWork = [&](qint64) {
            if (++reports == 1)
                session.Abort();
        };
        QElapsedTimer timer;
        timer.start();
        const auto failure = failureOf([&] { session.Get("big.bin", local("big.bin")); });
        EXPECT_LT(timer.elapsed(), 5000);
        ASSERT_TRUE(failure);
        EXPECT_TRUE(failure->cancelled());
        EXPECT_EQ(failure->text(), "Übertragung abgebrochen");
        EXPECT_FALSE(exists(local("big.bin")));
        EXPECT_EQ(server().logins(), 1);

        // The library logged in again by itself; directory and type are as they were.
        EXPECT_TRUE(session.Connected());
        EXPECT_EQ(session.RetrieveCurrentDir(), "/private");
        EXPECT_EQ(session.Size("small.bin"), 5);
        EXPECT_EQ(server().logins(), 2);
        session.Get("small.bin", local("small.bin"));
        EXPECT_EQ(readFile(local("small.bin")), "small");
        QFile::remove(host("small.bin"));
        session.Disconnect();
    }
}

TEST_F(FtpClientTest, AStopEndsTheOperationPromptlyAndGoesWithItsScope)
{
    enum class Stop { BeforeItBegins, FromTheProgressReport, FromAnotherThreadWhileTheDataStalls };
    const struct {
        const char* what;
        FtpServerKind kind;
        FtpServerOptions options;
        qsizetype size;
        Stop stop;
    } cases[] = {
        {"before it begins", FtpServerKind::Tls, {}, 8 << 20, Stop::BeforeItBegins},
        {"from the progress report, TLS", FtpServerKind::Tls, {}, 64 << 20, Stop::FromTheProgressReport},
        {"from the progress report", FtpServerKind::Plain, {}, 64 << 20, Stop::FromTheProgressReport},
        // 8 KiB, then seconds of silence: the stop must not wait for data.
        {"from another thread while the data stalls", FtpServerKind::Plain, {.bytesPerSecond = 2000}, 32 << 10,
         Stop::FromAnotherThreadWhileTheDataStalls},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        putRemote("big.bin", QByteArray(c.size, 'b'));
        putRemote("small.bin", "small");
        startServer(c.kind, c.options);
        FtpClient ftp;
        pointAtServer(ftp, c.kind == FtpServerKind::Tls);
        ftp.setTransferType(FtpTransferType::Image);
        ftp.Connect();

        std::stop_source stop;
        std::jthread window;
        QElapsedTimer timer;
        std::optional<FtpError> failure;
        {
            const FtpClient::StopScope scope(ftp, stop.get_token());
            switch (c.stop) {
            case Stop::BeforeItBegins:
                stop.request_stop();
                break;
            case Stop::FromTheProgressReport:
                ftp.onWork = [&](qint64 count) {
                    if (count >= (1 << 20))
                        stop.request_stop();
                };
                break;
            case Stop::FromAnotherThreadWhileTheDataStalls:
                window = std::jthread([&] {
                    std::this_thread::sleep_for(500ms);
                    stop.request_stop();
                });
                break;
            }
            timer.start();
            failure = failureOf([&] { ftp.Get("big.bin", local("big.bin")); });
        }
        EXPECT_LT(timer.elapsed(), 5000);
        ASSERT_TRUE(failure);
        EXPECT_TRUE(failure->cancelled());
        EXPECT_EQ(failure->text(), "Übertragung abgebrochen");
        EXPECT_FALSE(exists(local("big.bin")));

        // The stop went with its scope: the client's next operations run whole.
        ftp.onWork = nullptr;
        EXPECT_FALSE(ftp.Busy());
        EXPECT_EQ(ftp.Size("small.bin"), 5);
        ftp.Get("small.bin", local("small.bin"));
        EXPECT_EQ(readFile(local("small.bin")), "small");
        QFile::remove(host("small.bin"));
    }
}

TEST_F(FtpClientTest, AnotherThreadSeesTheClientBusyAndCanAbortIt)
{
    putRemote("big.bin", QByteArray(64 * 1024 * 1024, 'b'));
    startServer(FtpServerKind::Tls);
    client.useTls();
    client.setTransferType(FtpTransferType::Image);
    client.Connect();
    std::atomic<bool> transferring = false;
    std::atomic<bool> windowActed = false;
    // The first progress report waits for the window, so the transfer surely runs meanwhile.
    client.onWork = [&](qint64) {
        transferring = true;
        awaitUntil([&] { return windowActed.load(); });
    };
    bool busySeen = false;
    QString refusal;
    std::thread window([&] {
        awaitUntil([&] { return transferring.load(); });
        busySeen = client.Busy();
        refusal = errorText([&] { client.RetrieveCurrentDir(); });  // another command of the window
        client.Abort();
        windowActed = true;
    });
    const auto failure = failureOf([&] { client.Get("big.bin", local("big.bin")); });
    window.join();
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->cancelled());
    EXPECT_TRUE(busySeen);
    EXPECT_EQ(refusal, "Der FTP-Client ist mit einer anderen Operation beschäftigt.");
    EXPECT_FALSE(exists(local("big.bin")));
    client.onWork = nullptr;
    EXPECT_FALSE(client.Busy());
    EXPECT_EQ(client.Size("big.bin"), 64 * 1024 * 1024);
}

TEST_F(FtpClientTest, OneControlConnectionServesEveryOperation)
{
    putRemote("private/f.bin", "content");
    startServer(FtpServerKind::Tls);
    client.useTls();
    client.Connect();
    client.ChangeDir("private");
    client.List();
    client.setTransferType(FtpTransferType::Image);
    EXPECT_EQ(client.Size("f.bin"), 7);
    client.Get("f.bin", local("f.bin"));
    client.MakeDir("d");
    client.RemoveDir("d");
    client.Delete("f.bin");
    EXPECT_EQ(client.RetrieveCurrentDir(), "/private");
    EXPECT_EQ(server().logins(), 1);
}

TEST_F(FtpClientTest, NewSettingsWaitForTheNextConnect)
{
    startServer(FtpServerKind::Plain);
    client.Connect();
    client.setPort(1);
    client.setPassword("other");
    EXPECT_EQ(client.RetrieveCurrentDir(), "/");
    EXPECT_EQ(server().logins(), 1);
    client.Disconnect();
    EXPECT_THROW(client.Connect(), FtpError);
}

TEST_F(FtpClientTest, DisconnectEndsTheSessionUntilTheNextConnect)
{
    startServer(FtpServerKind::Tls);
    client.useTls();
    client.Connect();
    client.Disconnect();
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(errorText([&] { client.List(); }), "Nicht verbunden.");
    EXPECT_EQ(errorText([&] { client.Connect(); client.Connect(); }), "Bereits verbunden.");
    EXPECT_TRUE(client.Connected());
}

TEST_F(FtpClientTest, ActiveDataConnections)
{
    putRemote("f.bin", mixedContent(100000, 9));
    startServer(FtpServerKind::Plain);
    client.setPassive(false);
    client.setTransferType(FtpTransferType::Image);
    client.Connect();
    client.Get("f.bin", local("f.bin"));
    EXPECT_EQ(readFile(local("f.bin")).size(), 100000);
}

TEST_F(FtpClientTest, ActiveModeOverTlsGoesPassive)
{
    putRemote("f.bin", mixedContent(100000, 9));
    startServer(FtpServerKind::Tls);
    client.setPassive(false);
    EXPECT_FALSE(client.usesPassive());
    client.useTls();
    EXPECT_TRUE(client.usesPassive());
    client.setTransferType(FtpTransferType::Image);
    client.Connect();
    client.Get("f.bin", local("f.bin"));
    EXPECT_EQ(readFile(local("f.bin")).size(), 100000);
}

TEST_F(FtpClientTest, LongReplyLinesArriveWhole)
{
    startServer(FtpServerKind::Plain, {.longReplies = 300});
    client.Connect();
    try {
        client.Delete("missing.txt");
        FAIL() << "deleted a missing file";
    } catch (const FtpError& error) {
        EXPECT_EQ(error.replyCode(), 550);
        EXPECT_EQ(error.text(), QString(296, u'y'));
    }
    EXPECT_TRUE(client.Connected());
}

}  // namespace
}  // namespace quorbin::test
