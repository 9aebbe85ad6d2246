// The connect sequence against a real FTP/FTPS server and a scripted directory service.
#include "remote/ftpconnect.h"
#include "remote/listingarchive.h"
#include "remote/ftperror.h"
#include "remote/ftptestbase.h"
#include "remote/timecheck.h"

#include "fixtures/dirservice.h"
#include "platform/errors.h"
#include "platform/tempfiles.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <stop_token>
#include <thread>

namespace quorbin::test {
namespace {

using namespace std::chrono_literals;

const QString kStamp = QStringLiteral(R"(^\d\d\.\d\d\.\d{4}( \d\d:\d\d:\d\d)?)");

class ConnectTest : public FtpTest {
protected:
    void startServer(FtpServerKind kind, FtpServerOptions options = {})
    {
        QDir().mkpath(host("ftp/private/DS"));
        FtpTest::startServer(kind, options);
        settings = serverSettings(kind == FtpServerKind::Tls);
        settings.storeDirectory = QStringLiteral("DS");
    }

    // The listing archive that the service leaves beside the store.
    void useService(const QStringList& steps, const QList<QPair<QString, QByteArray>>& members)
    {
        const QString zip = host("Aktdir-made.zip");
        makeZip(zip, members);
        service_ = std::make_unique<DirService>(steps, zip, host("ftp/private/DS/Aktdir.zip"));
        settings.directoryService = true;
        settings.service.port = service_->port();
        settings.service.idleLimit = 20;
    }

    QString tempFile(const QString& name) const { return tempHostDirectory() + "/" + name; }

    FtpSettings settings;
    FtpSession session;
    StatusLines status;
    LogLines log;
    std::unique_ptr<DirService> service_;
};

TEST_F(ConnectTest, ConnectsEntersTheBasePathAndMeasuresTheClock)
{
    startServer(FtpServerKind::Tls);
    ftpconnect(session, settings, status, log);

    EXPECT_TRUE(session.client.Connected());
    EXPECT_EQ(session.FtpBasePath, "/private/");
    EXPECT_EQ(status.texts, (QStringList{"verbinden mit: 127.0.0.1", " OHNE Verzeichnisdienst", "Zeitdifferent ermittlen",
                                         "verbunden mit: 127.0.0.1"}));
    ASSERT_EQ(log.lines.size(), 3);
    EXPECT_TRUE(log.lines[0].contains(QRegularExpression(kStamp + " OHNE Verzeichnisdienst$")));
    EXPECT_EQ(log.lines[1], certificateStoredWarning(server()));  // met for the first time
    EXPECT_TRUE(log.lines[2].contains(QRegularExpression("^Zeitdifferenz: 00:00:0[0-2]$"))) << log.lines[2].toStdString();
    EXPECT_LT(std::abs(session.TimeDifference) * 86400, 3);
    EXPECT_FALSE(remoteExists("private/Timecheck"));
    EXPECT_EQ(session.client.transferType(), FtpTransferType::Image);
    EXPECT_FALSE(session.DirectoryServiceUsed);
}

TEST_F(ConnectTest, ActiveModeWithTlsIsLoggedAsPassive)
{
    startServer(FtpServerKind::Tls);
    settings.passive = false;
    const ConnectOutcome outcome = ftpconnect(session, settings, status, log);
    EXPECT_EQ(log.lines[2], "Aktive Datenverbindungen sind mit TLS nicht möglich; Daten werden passiv übertragen.");
    EXPECT_TRUE(log.lines[3].startsWith("Zeitdifferenz: "));  // the listing went through passive
    EXPECT_EQ(outcome.warnings, (QStringList{certificateStoredWarning(server()), log.lines[2]}));
}

TEST_F(ConnectTest, TlsRefusedByTheServerIsWarnedOfOrWhenRequiredEndsTheConnect)
{
    const QString warning = QStringLiteral("Der Server lehnt TLS ab: Kennwort und Daten werden unverschlüsselt übertragen.");
    const struct {
        const char* what;
        FtpServerKind kind;
        bool tls;
        bool required;
        bool refused;  // the connect ends with the refusal
        QStringList warnings;
    } cases[] = {
        {"requested, refused", FtpServerKind::Plain, true, false, false, {warning}},
        {"requested, taken", FtpServerKind::Tls, true, false, false, {}},
        {"required, refused", FtpServerKind::Plain, true, true, true, {}},
        {"required with the box clear, taken", FtpServerKind::Tls, false, true, false, {}},
        {"required with the box clear, refused", FtpServerKind::Plain, false, true, true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        startServer(c.kind);
        settings.tls = c.tls;
        settings.requireTls = c.required;
        FtpSession fresh;
        log.lines.clear();
        try {
            const ConnectOutcome outcome = ftpconnect(fresh, settings, status, log);
            EXPECT_FALSE(c.refused) << "the connect went on";
            EXPECT_TRUE(fresh.client.Connected());
            QStringList warnings = c.warnings;
            if (c.kind == FtpServerKind::Tls)  // a server met for the first time
                warnings.prepend(certificateStoredWarning(server()));
            EXPECT_EQ(outcome.warnings, warnings);
            EXPECT_EQ(log.lines.contains(warning), !c.warnings.isEmpty());
        } catch (const FtpError& error) {
            EXPECT_TRUE(c.refused) << error.text().toStdString();
            EXPECT_TRUE(error.tlsRefused());
            EXPECT_FALSE(fresh.client.Connected());
            EXPECT_EQ(server().loginAttempts(), 0);
            EXPECT_FALSE(status.texts.contains("Zeitdifferent ermittlen"));
        }
        status.texts.clear();
    }
}

TEST_F(ConnectTest, AFailedLoginIsTriedOnceAndItsReasonKept)
{
    startServer(FtpServerKind::Plain);
    settings.tls = false;
    settings.password = QStringLiteral("falsch");
    const ConnectOutcome outcome = ftpconnect(session, settings, status, log);
    ASSERT_TRUE(outcome.loginFailure);
    EXPECT_EQ(outcome.loginFailure->replyCode(), 530);
    EXPECT_EQ(outcome.loginFailure->text(), "Authentication failed.");
    EXPECT_EQ(server().loginAttempts(), 1);
    EXPECT_EQ(status.texts.last(), "keine Verbindung mit: 127.0.0.1: Authentication failed.");
    EXPECT_FALSE(status.texts.contains("verbunden mit: 127.0.0.1"));
}

TEST_F(ConnectTest, OpenftpEndsInTheBasePath)
{
    startServer(FtpServerKind::Tls);
    openftp(session, settings, status, log);
    EXPECT_EQ(session.client.RetrieveCurrentDir(), "/private");

    FtpSession other;
    settings.basePath = QStringLiteral("nothere/");
    EXPECT_THROW(openftp(other, settings, status, log), FtpError);
}

TEST_F(ConnectTest, AServerClockBehindShowsAsAPositiveDifference)
{
    startServer(FtpServerKind::Plain, {.clockOffsetSeconds = -120});
    ftpconnect(session, settings, status, log);
    // The server's file times have whole seconds: the probe's time lies up to one second back.
    EXPECT_TRUE(log.lines.last().contains(QRegularExpression("^Zeitdifferenz: 00:02:0[01]$"))) << log.lines.last().toStdString();
    EXPECT_NEAR(session.TimeDifference * 86400, 120, 1.5);
}

TEST(TimeDifferenceText, ShowsTheAbsoluteDifferenceWithinADay)
{
    const double minute = 1.0 / 1440;
    const struct {
        double days;
        const char* text;
    } cases[] = {
        {2 * minute, "00:02:00"},    {-2 * minute, "00:02:00"}, {-30 * minute, "00:30:00"},
        {1 + 30 * minute, "00:30:00"}, {0, "00:00:00"},         {(3600 + 62.9996) / 86400, "01:01:03"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TimeDifferenceText(c.days), c.text) << c.days;
}

TEST_F(ConnectTest, WithoutMlsdTheClockIsMeasuredToTheMinute)
{
    for (const auto& [offset, text] : {std::pair{0, "00:00:00"}, {-120, "00:02:00"}, {120, "00:02:00"}}) {
        SCOPED_TRACE(offset);
        startServer(FtpServerKind::NoMlsd, {.clockOffsetSeconds = offset});
        FtpSession fresh;
        log.lines.clear();
        ftpconnect(fresh, settings, status, log);
        EXPECT_EQ(log.lines.last(), QStringLiteral("Zeitdifferenz: ") + text);
        EXPECT_NEAR(fresh.TimeDifference * 1440, -offset / 60, 0.01);
        EXPECT_FALSE(remoteExists("private/Timecheck"));
    }
}

TEST_F(ConnectTest, AListingNothingReadsFailsTheTimeCheckAndLeavesNoProbe)
{
    startServer(FtpServerKind::NoMlsd, {.unreadableListing = true});
    session.TimeDifference = 0.25;
    const ConnectOutcome outcome = ftpconnect(session, settings, status, log);
    // No "Zeitdifferenz: " line; a server without MLSD may list its local time, and that is said.
    ASSERT_EQ(log.lines.size(), 2);
    EXPECT_EQ(log.lines[1], remoteText(kClockNotMeasured));
    EXPECT_EQ(outcome.warnings, QStringList{log.lines[1]});
    EXPECT_EQ(session.TimeDifference, 0.25);
    EXPECT_FALSE(remoteExists("private/Timecheck"));
    EXPECT_EQ(status.texts.last(), "verbunden mit: 127.0.0.1");
}

TEST_F(ConnectTest, AnUnreachableServerEndsWithItsReasonNotWithTheConnectedText)
{
    startServer(FtpServerKind::Plain);
    settings.portText = QStringLiteral("1");  // nothing listens there
    ftpconnect(session, settings, status, log);
    EXPECT_FALSE(session.client.Connected());
    EXPECT_TRUE(status.texts.last().startsWith("keine Verbindung mit: 127.0.0.1: ")) << qPrintable(status.texts.last());
    EXPECT_FALSE(status.texts.contains("verbunden mit: 127.0.0.1"));
    EXPECT_EQ(log.lines.size(), 1);
    // Without a login directory the base path is appended to what there was.
    EXPECT_EQ(session.FtpBasePath, "private/");
    ftpconnect(session, settings, status, log);
    EXPECT_EQ(session.FtpBasePath, "private/private/");
}

TEST_F(ConnectTest, BadPortTextsStopTheSequence)
{
    startServer(FtpServerKind::Plain);
    settings.portText = QStringLiteral("21a");
    try {
        ftpconnect(session, settings, status, log);
        FAIL() << "no error";
    } catch (const FtpError& error) {
        EXPECT_EQ(error.text(), "'21a' ist kein gültiger Integerwert");
    }
    EXPECT_EQ(status.texts, QStringList{"verbinden mit: 127.0.0.1"});
    EXPECT_TRUE(log.lines.isEmpty());

    settings.portText = QString::number(server().port());
    settings.proxyPortText = QStringLiteral("x");
    EXPECT_THROW(ftpconnect(session, settings, status, log), FtpError);
    EXPECT_EQ(log.lines.size(), 1);  // the directory service step ran first
    EXPECT_FALSE(session.client.Connected());
}

TEST_F(ConnectTest, ReconnectingWithTlsNeedsADisconnectFirst)
{
    startServer(FtpServerKind::Tls);
    ftpconnect(session, settings, status, log);
    try {
        ftpconnect(session, settings, status, log);
        FAIL() << "no error";
    } catch (const FtpError& error) {
        EXPECT_EQ(error.text(), "Dieser Wert kann nicht gesetzt werden, während der Client verbunden ist.");
    }
    session.Disconnect(status);
    ftpconnect(session, settings, status, log);
    EXPECT_TRUE(session.client.Connected());
    EXPECT_EQ(session.FtpBasePath, "/private/");
}

TEST_F(ConnectTest, WithoutTlsAReconnectRunsOnTheOpenConnection)
{
    startServer(FtpServerKind::Plain);
    settings.tls = false;
    ftpconnect(session, settings, status, log);
    log.lines.clear();
    ftpconnect(session, settings, status, log);
    EXPECT_TRUE(session.client.Connected());
    // The server's current directory ("/private", as PWD gives it) is the base path by now,
    // and the base path is appended to it.
    EXPECT_EQ(session.FtpBasePath, "/private/private/");
    EXPECT_TRUE(log.lines.last().startsWith("Zeitdifferenz: "));
}

TEST_F(ConnectTest, AStopEndsTheSequenceWithACancelAndGoesWithIt)
{
    enum class Stop { DuringTheDirectoryService, RightAfterTheLogin };
    const struct {
        const char* what;
        Stop stop;
        bool connected;
    } cases[] = {
        {"during the directory service", Stop::DuringTheDirectoryService, false},
        {"right after the login", Stop::RightAfterTheLogin, true},
    };
    startServer(FtpServerKind::Tls);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FtpSession fresh;
        status.texts.clear();
        std::stop_source stop;
        std::jthread window;
        if (c.stop == Stop::DuringTheDirectoryService) {
            useService({}, {{"aktdir.txt", "x"}});  // silent
            settings.service.idleLimit = 10000;
            window = std::jthread([&] {
                std::this_thread::sleep_for(300ms);
                stop.request_stop();
            });
        } else {
            settings.directoryService = false;
            fresh.client.onStatus = [&](const QString& text) {
                if (text == u"Verbunden")
                    stop.request_stop();
            };
        }
        QElapsedTimer timer;
        timer.start();
        try {
            ftpconnect(fresh, settings, status, log, stop.get_token());
            ADD_FAILURE() << "the sequence went on";
        } catch (const FtpError& error) {
            EXPECT_TRUE(error.cancelled()) << error.text().toStdString();
        }
        EXPECT_LT(timer.elapsed(), 5000);
        EXPECT_EQ(fresh.client.Connected(), c.connected);
        EXPECT_FALSE(status.texts.contains("Zeitdifferent ermittlen"));
        EXPECT_FALSE(remoteExists("private/Timecheck"));

        // The stop went with the sequence.
        fresh.Disconnect(status);
        settings.directoryService = false;
        openftp(fresh, settings, status, log);
        EXPECT_EQ(fresh.client.RetrieveCurrentDir(), "/private");
    }
}

TEST(JoinBasePath, PutsOneSlashBetween)
{
    EXPECT_EQ(JoinBasePath("/", "private/"), "/private/");
    EXPECT_EQ(JoinBasePath("/home/web", "private/"), "/home/web/private/");
    EXPECT_EQ(JoinBasePath("/home/web", "private"), "/home/web/private");
    EXPECT_EQ(JoinBasePath("/home/web/", "private/"), "/home/web/private/");
    EXPECT_EQ(JoinBasePath("/home/web/", "/private"), "/home/web/private");
    EXPECT_EQ(JoinBasePath("/", "/"), "/");
    // A PWD that failed at the first connect leaves nothing to join to.
    EXPECT_EQ(JoinBasePath("", "private/"), "private/");
    EXPECT_EQ(JoinBasePath("private/", "private/"), "private/private/");
    EXPECT_EQ(JoinBasePath("/home/web", ""), "/home/web");
}

TEST_F(ConnectTest, TheServicesListingArchiveIsFetchedUnpackedAndLoaded)
{
    startServer(FtpServerKind::Tls);
    useService({"line:Liste wird erstellt", "put", "line:fertig"},
               {{"aktdir.txt", QByteArray("C:\\Daten\\a.txt\r\nC:\\Daten\\Gr\xfc\xdf") + "e.txt\r\n"},  // Windows-1252
                {"extra/readme.txt", "x"}});
    // Old copies in both spellings go before the download.
    ASSERT_TRUE(platform::userTempDirectory());
    for (const QString old : {"DS.zip", "Aktdir.txt", "aktdir.txt", "DS.txt"}) {
        QFile f(tempFile(old));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    ftpconnect(session, settings, status, log);

    EXPECT_TRUE(session.DirectoryServiceUsed);
    EXPECT_EQ(session.mv, (QStringList{"C:\\Daten\\a.txt", "C:\\Daten\\Grüße.txt"}));
    EXPECT_EQ(status.texts.mid(1), (QStringList{"verbinden mit Verzeichnisdienst", "VD: Liste wird erstellt",
                                                "Verzeichnisdienst erfolgreich", "Zeitdifferent ermittlen",
                                                "verbunden mit: 127.0.0.1", "Lade Verzeichnis ",
                                                "Verzeichnis entpacken"}));
    EXPECT_EQ(log.lines.mid(log.lines.size() - 2), (QStringList{"Lade Verzeichnis von DS", "Verzeichnis von DS geladen"}));
    EXPECT_FALSE(QFileInfo::exists(tempFile("Aktdir.txt")));
    EXPECT_FALSE(QFileInfo::exists(tempFile("DS.txt")));
    EXPECT_TRUE(QFileInfo::exists(tempFile("extra/readme.txt")));
    EXPECT_NE(QFileInfo(tempFile("DS.zip")).size(), 3);
}

TEST_F(ConnectTest, AListingFileWithACapitalAIsReadToo)
{
    startServer(FtpServerKind::Tls);
    useService({"put", "line:fertig"}, {{"Aktdir.txt", "eins\ntwo\rdrei"}});
    ftpconnect(session, settings, status, log);
    EXPECT_EQ(session.mv, (QStringList{"eins", "two", "drei"}));
}

TEST_F(ConnectTest, AServiceThatPutNothingEndsTheSequenceWithTheFileError)
{
    startServer(FtpServerKind::Tls);
    useService({"line:fertig"}, {{"aktdir.txt", "x"}});
    try {
        ftpconnect(session, settings, status, log);
        FAIL() << "no error";
    } catch (const IoError& error) {
        EXPECT_TRUE(error.text().startsWith("Datei ")) << error.text().toStdString();
        EXPECT_TRUE(error.text().contains("aktdir.txt kann nicht geöffnet werden. ")) << error.text().toStdString();
    }
    EXPECT_EQ(status.texts.last(), "Verzeichnis entpacken");
}

TEST_F(ConnectTest, AServiceThatSaysNixdaIsSkipped)
{
    startServer(FtpServerKind::Tls);
    useService({"put", "line:nixda"}, {{"aktdir.txt", "x"}});
    ftpconnect(session, settings, status, log);
    EXPECT_FALSE(session.DirectoryServiceUsed);
    EXPECT_TRUE(session.mv.isEmpty());
    EXPECT_EQ(status.texts.last(), "verbunden mit: 127.0.0.1");
}

}  // namespace
}  // namespace quorbin::test

namespace quorbin::test {
namespace {

TEST_F(ConnectTest, AStoreDirectoryWithPathPartsCannotSteerTheListingFilesOutOfTheTemporaryDirectory)
{
    startServer(FtpServerKind::Plain);
    settings.tls = false;
    ftpconnect(session, settings, status, log);
    // Files the hostile name would delete, one level above the temporary directory.
    ASSERT_TRUE(platform::userTempDirectory());
    const QString above = QFileInfo(tempFile("x")).dir().absolutePath() + "/..";
    for (const QString& name : {QStringLiteral("/Bericht.zip"), QStringLiteral("/Bericht.txt")}) {
        QFile f(above + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("the user's");
    }
    // No archive lies on the server for that name: the missing listing is an error of its own.
    EXPECT_THROW(LoadListingArchive(session, *platform::userTempDirectory(), QStringLiteral("..\\\\Bericht"), status, log),
                 IoError);
    EXPECT_TRUE(QFileInfo::exists(above + "/Bericht.zip"));
    EXPECT_TRUE(QFileInfo::exists(above + "/Bericht.txt"));
}

}  // namespace
}  // namespace quorbin::test
