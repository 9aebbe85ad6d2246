// The exchange with the directory service, against a scripted service on 127.0.0.1.
#include "remote/directoryservice.h"
#include "remote/logstamp.h"
#include "remote/ftptestbase.h"

#include "fixtures/dirservice.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <stop_token>
#include <thread>

namespace quorbin::test {
namespace {

using namespace std::chrono_literals;

const QString kStamp = QStringLiteral(R"(^\d\d\.\d\d\.\d{4}( \d\d:\d\d:\d\d)?)");

FtpSettings serviceSettings(quint16 port)
{
    FtpSettings settings;
    settings.host = QStringLiteral("127.0.0.1");
    settings.user = QStringLiteral("user1");
    settings.storeDirectory = QStringLiteral("DS");
    settings.directoryService = true;
    settings.service.port = port;
    settings.service.idleLimit = 5;
    return settings;
}

class DirectoryServiceTest : public ::testing::Test {
protected:
    StatusLines status;
    LogLines log;
};

TEST_F(DirectoryServiceTest, RepliesDecideTheOutcome)
{
    const QString longest(255, u'x');
    const struct {
        const char* what;
        QStringList steps;
        bool used;
        QStringList progress;  // status texts between the first and the last
        int maxMs;
    } cases[] = {
        {"progress, then fertig", {"line:3 Dateien gelistet", "line:fertig"}, true, {"VD: 3 Dateien gelistet"}, 2000},
        {"fertig with CR LF", {"crlf:fertig"}, true, {}, 2000},
        {"nixda", {"line:nixda"}, false, {}, 2000},
        {"near misses are progress", {"line:Fertig", "line:fertig ", "close"}, false, {"VD: Fertig", "VD: fertig "}, 2000},
        {"progress lines are no idle reads", {"line:a", "line:b", "line:c", "line:d", "line:e", "line:f", "line:fertig"},
         true, {"VD: a", "VD: b", "VD: c", "VD: d", "VD: e", "VD: f"}, 2000},
        {"empty lines are idle reads", {"line:", "line:", "line:", "line:", "line:", "line:", "sleep:3000", "line:fertig"},
         false, {}, 2500},
        {"bytes above 127", {"line:Größe", "line:fertig"}, true, {"VD: Gr??e"}, 2000},
        {"a line of 255 bytes", {"line:" + longest, "line:fertig"}, true, {"VD: " + longest}, 2000},
        {"a line of 256 bytes", {"line:" + longest + "x", "line:fertig"}, false, {}, 2000},
        {"a long line without its end", {"bytes:300", "sleep:3000"}, false, {}, 2500},
        {"closed early", {"line:ich fange an", "close"}, false, {"VD: ich fange an"}, 2000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DirService service(c.steps);
        status.texts.clear();
        QElapsedTimer timer;
        timer.start();
        EXPECT_EQ(QueryDirectoryService(serviceSettings(service.port()), status, log), c.used);
        EXPECT_LT(timer.elapsed(), c.maxMs);
        const QString last = c.used ? "Verzeichnisdienst erfolgreich" : "Verzeichnisdienst nicht erreichbar";
        EXPECT_EQ(status.texts, QStringList{"verbinden mit Verzeichnisdienst"} + c.progress + QStringList{last});
    }
}

TEST_F(DirectoryServiceTest, ASilentServiceEndsAfterOneMoreIdleReadThanTheLimit)
{
    DirService service({});
    FtpSettings settings = serviceSettings(service.port());
    settings.service.idleLimit = 5;
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(QueryDirectoryService(settings, status, log));
    EXPECT_GE(timer.elapsed(), 6 * 100 - 20);
    EXPECT_LT(timer.elapsed(), 3000);
    EXPECT_EQ(status.texts.last(), "Verzeichnisdienst nicht erreichbar");
}

TEST_F(DirectoryServiceTest, AStopEndsTheExchangePromptlyAsNotReachable)
{
    QStringList talking;
    for (int i = 0; i < 100; ++i)
        talking << "line:Liste wird erstellt" << "sleep:50";
    const struct {
        const char* what;
        QStringList steps;
    } cases[] = {
        {"a silent service", {}},
        {"a service that keeps talking", talking},  // never idle, so never at the idle limit
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DirService service(c.steps);
        FtpSettings settings = serviceSettings(service.port());
        settings.service.idleLimit = 10000;  // as shipped: minutes of waiting
        std::stop_source stop;
        QElapsedTimer timer;
        timer.start();
        std::jthread window([&] {
            std::this_thread::sleep_for(300ms);
            stop.request_stop();
        });
        EXPECT_FALSE(QueryDirectoryService(settings, status, log, stop.get_token()));
        EXPECT_LT(timer.elapsed(), 5000);
        EXPECT_EQ(status.texts.last(), "Verzeichnisdienst nicht erreichbar");
        EXPECT_TRUE(log.lines.last().endsWith("Verzeichnisdienst nicht erreichbar"));
    }
}

TEST_F(DirectoryServiceTest, SendsUserAndStoreDirectoryAsOneAsciiLine)
{
    DirService service({"line:fertig"});
    FtpSettings settings = serviceSettings(service.port());
    ASSERT_TRUE(QueryDirectoryService(settings, status, log));
    settings.user = QStringLiteral("Jürgen");
    settings.storeDirectory = QStringLiteral("Büro€");
    ASSERT_TRUE(QueryDirectoryService(settings, status, log));
    EXPECT_EQ(service.requests(), (QList<QByteArray>{"user1DS\r\n", "J?rgenB?ro?\r\n"}));
}

TEST_F(DirectoryServiceTest, LogsWithTheGermanTimeStamp)
{
    DirService service({"line:fertig"});
    ASSERT_TRUE(QueryDirectoryService(serviceSettings(service.port()), status, log));
    ASSERT_EQ(log.lines.size(), 2);
    EXPECT_TRUE(log.lines[0].contains(QRegularExpression(kStamp + "Versuch Verzeichnisdienst zu starten$"))) << log.lines[0].toStdString();
    EXPECT_TRUE(log.lines[1].contains(QRegularExpression(kStamp + "Verzeichnisdienst fertig$"))) << log.lines[1].toStdString();
}

TEST_F(DirectoryServiceTest, AnUnreachableServiceIsReportedNotThrown)
{
    quint16 closedPort = 0;
    {
        DirService gone({});
        closedPort = gone.port();
    }
    for (const auto& [host, port] : {std::pair{QStringLiteral("127.0.0.1"), closedPort},
                                     {QStringLiteral("nonexistent.invalid"), quint16(86)}}) {
        FtpSettings settings = serviceSettings(port);
        settings.host = host;
        log.lines.clear();
        EXPECT_FALSE(QueryDirectoryService(settings, status, log)) << host.toStdString();
        ASSERT_EQ(log.lines.size(), 2);
        EXPECT_TRUE(log.lines[1].contains(QRegularExpression(kStamp + "Verzeichnisdienst nicht erreichbar$")));
        EXPECT_EQ(status.texts.last(), "Verzeichnisdienst nicht erreichbar");
    }
}

TEST_F(DirectoryServiceTest, SwitchedOffItIsNotAsked)
{
    DirService service({"line:fertig"});
    FtpSettings settings = serviceSettings(service.port());
    settings.directoryService = false;
    EXPECT_FALSE(QueryDirectoryService(settings, status, log));
    EXPECT_EQ(status.texts, QStringList{" OHNE Verzeichnisdienst"});
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines[0].contains(QRegularExpression(kStamp + " OHNE Verzeichnisdienst$")));
    EXPECT_TRUE(service.requests().isEmpty());
}

TEST(TimeStampedLine, TheTimeIsLeftOutAtMidnight)
{
    EXPECT_EQ(TimeStampedLine(" OHNE Verzeichnisdienst", QDateTime(QDate(2018, 4, 19), QTime(14, 3, 12))),
              "19.04.2018 14:03:12 OHNE Verzeichnisdienst");
    EXPECT_EQ(TimeStampedLine("Versuch", QDateTime(QDate(2018, 4, 19), QTime(0, 0))), "19.04.2018Versuch");
}

}  // namespace
}  // namespace quorbin::test
