// Number texts and the progress display of the FTP session.
#include "remote/fixedtext.h"
#include "remote/ftperror.h"
#include "remote/ftpsession.h"
#include "remote/ftptestbase.h"

#include "platform/winpath.h"

#include <atomic>
#include <limits>
#include <optional>
#include <stop_token>
#include <thread>

namespace quorbin::test {
namespace {

TEST(FormatFixed, RoundsToThePrecisionThenWritesTheDecimals)
{
    const struct {
        double value;
        int precision;
        int decimals;
        const char* text;
    } cases[] = {
        {51200, 8, 2, "51200,00"},
        {0.5, 8, 3, "0,500"},
        {1 / 1024.0, 8, 3, "0,001"},
        {0, 8, 2, "0,00"},
        {-0.0001, 8, 2, "0,00"},
        {1500, 8, 3, "1500,000"},            // no thousands separator
        {12345678.9, 8, 2, "12345679,00"},   // the ninth digit is rounded away first
        {123456.789, 4, 2, "1,235E+05"},
        {99999999.5, 8, 2, "1,0000000E+08"}, // rounding adds a digit past the precision
        {123456789012.0, 8, 2, "1,2345679E+11"},
        {-123456789012.0, 8, 3, "-1,2345679E+011"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFixed(c.value, c.precision, c.decimals), QString::fromUtf8(c.text)) << c.value;
}

TEST(FormatFixed, AValueThatRoundsPastTheLargestDoubleStaysFinite)
{
    const QString text = FormatFixed(std::numeric_limits<double>::max(), 2, 2);
    EXPECT_TRUE(text.startsWith("1.8e+308")) << text.toStdString();
}

TEST(FtpSessionProgress, ShowsPercentAndAmountAndTakesOneByteForUnknownSizes)
{
    FtpSession session;
    const FtpWorkView view = session.Work(512);
    EXPECT_EQ(session.BytesToTransfer, 1u);
    EXPECT_EQ(view.percent, "51200,00 %");
    EXPECT_EQ(view.amount, "0,500kB von 0,001");
    EXPECT_EQ(view.barMaximum, 1);
    EXPECT_EQ(view.barPosition, 512);
}

TEST(FtpSessionProgress, AnnouncedZeroKeepsTheCountFromSize)
{
    FtpSession session;
    session.BytesToTransfer = 2048;
    session.WorkBegin(0);
    EXPECT_EQ(session.BytesToTransfer, 2048u);
    EXPECT_EQ(session.Work(1024).percent, "50,00 %");
    session.WorkBegin(0x1'0000'0400);  // its low 32 bits
    EXPECT_EQ(session.BytesToTransfer, 1024u);
}

TEST(FtpSessionProgress, AnUnansweredSizeLeavesThePercentNearZeroAndTheBarWithinRange)
{
    FtpSession session;
    session.BytesToTransfer = quint32(qint64(-1));  // SIZE answered -1
    const FtpWorkView view = session.Work(1 << 20);
    EXPECT_EQ(session.BytesToTransfer, 4294967295u);
    EXPECT_EQ(view.percent, "0,02 %");
    EXPECT_EQ(view.amount, "1024,000kB von 4194304,000");
    EXPECT_GT(view.barMaximum, 0);
    EXPECT_LE(view.barPosition, view.barMaximum);
}

TEST(FtpSessionProgress, DisconnectWithoutAConnectionStillSaysSo)
{
    FtpSession session;
    StatusLines status;
    session.Disconnect(status);
    EXPECT_EQ(status.texts, QStringList{"Verbindung getrennt"});
}

class FtpSessionTest : public FtpTest {};

TEST_F(FtpSessionTest, AStopFromAnotherThreadEndsATransferWithProgressHandlersBoundAndTheSessionGoesOn)
{
    putRemote("big.bin", QByteArray(64 * 1024 * 1024, 'b'));
    putRemote("small.bin", "12345");
    startServer(FtpServerKind::Tls);
    FtpSession session;
    FtpClient& ftp = session.client;
    pointAtServer(ftp, true);
    ftp.setTransferType(FtpTransferType::Image);
    ftp.Connect();
    session.BytesToTransfer = quint32(ftp.Size("big.bin"));

    // Progress handlers like the window's; the first report waits for the cancel so
    // that the transfer surely runs when it comes.
    std::stop_source job;
    std::atomic<bool> reported = false;
    QStringList shown;
    ftp.onWorkBegin = [&](qint64 expected) { session.WorkBegin(expected); };
    ftp.onWork = [&](qint64 count) {
        shown << session.Work(count).percent;
        reported = true;
        awaitUntil([&] { return job.stop_requested(); });
    };
    std::optional<FtpError> failure;
    std::thread worker([&] {
        const FtpClient::StopScope scope(ftp, job.get_token());
        try {
            ftp.Get("big.bin", platform::toWindowsPath(host("big.bin")));
        } catch (const FtpError& error) {
            failure = error;
        }
    });
    awaitUntil([&] { return reported.load(); });
    job.request_stop();  // "Aktion abbrechen"
    worker.join();

    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->cancelled());
    EXPECT_FALSE(shown.isEmpty());
    EXPECT_FALSE(exists(platform::toWindowsPath(host("big.bin"))));

    ftp.Get("small.bin", platform::toWindowsPath(host("small.bin")));
    EXPECT_EQ(readFile(platform::toWindowsPath(host("small.bin"))), "12345");
    StatusLines status;
    session.Disconnect(status);
    EXPECT_FALSE(ftp.Connected());
    EXPECT_EQ(status.texts.last(), "Verbindung getrennt");
}

}  // namespace
}  // namespace quorbin::test
