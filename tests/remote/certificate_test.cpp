// The FTPS server's certificate: trusted through the system's trust store, or on first use and
// held to from then on, against the real test server.
#include "remote/ftptestbase.h"

#include "remote/ftpconnect.h"
#include "remote/ftperror.h"
#include "remote/remotestore.h"

#include <QRegularExpression>
#include <functional>

namespace quorbin::test {
namespace {

// Points OpenSSL's trust store at one file for the test's lifetime.
class TrustStore {
public:
    explicit TrustStore(const QString& pem) { qputenv("SSL_CERT_FILE", pem.toLocal8Bit()); }
    ~TrustStore() { qunsetenv("SSL_CERT_FILE"); }
    TrustStore(const TrustStore&) = delete;
    TrustStore& operator=(const TrustStore&) = delete;
};

class CertificateTest : public FtpTest {
protected:
    void serve(const QString& pem)
    {
        QDir().mkpath(host("ftp/private"));
        startServer(FtpServerKind::Tls, {.certificate = pem});
        settings = serverSettings(true);
    }

    // Where the window and the command line keep what they trust: beside laufwerke.conf.
    QString storeFile() const { return host("config/quorbin/zertifikate.conf"); }
    QString entry(const QString& pem) const
    {
        return QStringLiteral("127.0.0.1:%1=%2").arg(server_->port()).arg(certificateFingerprint(pem));
    }
    QStringList rawLines() const
    {
        QFile file(storeFile());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
    // The entries, comments left out.
    QStringList entries() const
    {
        QStringList lines = rawLines();
        lines.removeIf([](const QString& line) { return line.startsWith(u'#'); });
        return lines;
    }
    // As a user writes it by hand.
    void writeEntries(const QStringList& lines) const
    {
        QDir().mkpath(host("config/quorbin"));
        QFile file(storeFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write((lines.join(u'\n') + u'\n').toUtf8());
    }
    qsizetype handshakes() const { return server_->commands().filter(QRegularExpression("^AUTH ")).size(); }
    bool passwordSent() const
    {
        const QStringList commands = server_->commands();
        return commands.contains("PASS ******") || !commands.filter(QRegularExpression("^USER ")).isEmpty() ||
               server_->loginAttempts() > 0;
    }

    FtpSettings settings;
    StatusLines status;
    LogLines log;
};

TEST_F(CertificateTest, ASelfSignedCertificateIsStoredAtTheFirstConnectAndLaterOnesAreSilent)
{
    serve(testCertificate());
    FtpSession first;
    EXPECT_EQ(ftpconnect(first, settings, status, log).warnings, QStringList{certificateStoredWarning(server())});
    EXPECT_TRUE(log.lines.contains(certificateStoredWarning(server())));
    EXPECT_EQ(entries(), QStringList{entry(testCertificate())});

    FtpSession second;
    EXPECT_EQ(ftpconnect(second, settings, status, log).warnings, QStringList{});
    FtpClient another;
    ConnectAnother(another, settings, {});
    EXPECT_TRUE(another.Connected());
    EXPECT_EQ(entries(), QStringList{entry(testCertificate())});
}

TEST_F(CertificateTest, AnotherCertificateForTheSameHostAndPortIsRefusedBeforeTheLogin)
{
    const struct {
        const char* what;
        std::function<void(const FtpSettings&)> connect;
    } cases[] = {
        {"the connect sequence",
         [](const FtpSettings& settings) {
             FtpSession session;
             StatusLines status;
             LogLines log;
             ftpconnect(session, settings, status, log);
         }},
        {"a connection of a tree restore's pool",
         [](const FtpSettings& settings) {
             FtpClient client;
             ConnectAnother(client, settings, {});
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        serve(secondTestCertificate());
        const QStringList stored{"# by hand", entry(testCertificate()), "other.example:21=" + certificateFingerprint(secondTestCertificate())};
        writeEntries(stored);
        try {
            c.connect(settings);
            ADD_FAILURE() << "connected";
        } catch (const FtpError& error) {
            EXPECT_TRUE(error.certificateChanged()) << qPrintable(error.text());
            EXPECT_EQ(error.expectedCertificate(), certificateFingerprint(testCertificate()));
            EXPECT_EQ(error.offeredCertificate(), certificateFingerprint(secondTestCertificate()));
            for (const QString& named : {QStringLiteral("127.0.0.1:%1").arg(server().port()), error.expectedCertificate(),
                                         error.offeredCertificate(), storeFile(),
                                         "--trust-certificate " + error.offeredCertificate()})
                EXPECT_TRUE(error.text().contains(named)) << qPrintable(error.text()) << "\n" << qPrintable(named);
        }
        EXPECT_EQ(handshakes(), 1) << qPrintable(server().commands().join('|'));
        EXPECT_FALSE(passwordSent()) << qPrintable(server().commands().join('|'));
        EXPECT_EQ(entries(), stored.mid(1));
    }
}

TEST_F(CertificateTest, ATrustedFingerprintAcceptsExactlyThatCertificateAndReplacesTheEntry)
{
    const QString offered = certificateFingerprint(secondTestCertificate());
    const struct {
        const char* what;
        QString trusted;
        bool connects;
    } cases[] = {
        {"as openssl prints it", offered, true},
        {"lower case without colons", offered.toLower().remove(u':'), true},
        {"another certificate's", certificateFingerprint(testCertificate()), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        serve(secondTestCertificate());
        const QString other = "nas.example:21=" + certificateFingerprint(testCertificate());
        writeEntries({"# Büro", entry(testCertificate()), other});
        settings.trustedCertificate = c.trusted;
        FtpSession session;
        if (!c.connects) {
            EXPECT_THROW(ftpconnect(session, settings, status, log), FtpError);
            EXPECT_FALSE(passwordSent());
            EXPECT_EQ(entries(), (QStringList{entry(testCertificate()), other}));
            continue;
        }
        EXPECT_EQ(ftpconnect(session, settings, status, log).warnings,
                  QStringList{certificateStoredWarning(server(), secondTestCertificate())});
        EXPECT_TRUE(session.client.Connected());
        // In its place; the comment and the other server's line stay.
        EXPECT_EQ(rawLines(), (QStringList{"# Büro", entry(secondTestCertificate()), other}));
        // Later connections find the new entry without being told.
        FtpClient another;
        ConnectAnother(another, serverSettings(true), {});
        EXPECT_TRUE(another.Connected());
    }
}

TEST_F(CertificateTest, ACertificateTheTrustStoreVouchesForPassesSilentlyAndIsNotStored)
{
    const struct {
        const char* what;
        QString pem;           // the server's, and the one trust store's
        QStringList entries;   // stored before
        QStringList warnings;  // of the connect
    } cases[] = {
        {"chain and address vouched for", secondTestCertificate(), {}, {}},
        {"vouched for, another one stored", secondTestCertificate(), {"127.0.0.1:%1=" + certificateFingerprint(testCertificate())}, {}},
        {"chain vouched for, the address not named", testCertificate(), {}, {"stored"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TrustStore store(c.pem);
        serve(c.pem);
        QStringList before = c.entries;
        before.replaceInStrings("%1", QString::number(server().port()));
        QFile::remove(storeFile());
        if (!before.isEmpty())
            writeEntries(before);
        FtpSession session;
        const ConnectOutcome outcome = ftpconnect(session, settings, status, log);
        EXPECT_TRUE(session.client.Connected());
        EXPECT_EQ(session.client.serverCertificate().trusted, c.warnings.isEmpty());
        if (c.warnings.isEmpty()) {
            EXPECT_EQ(outcome.warnings, QStringList{});
            EXPECT_EQ(entries(), before);
        } else {
            EXPECT_EQ(outcome.warnings, QStringList{certificateStoredWarning(server(), c.pem)});
            EXPECT_EQ(entries(), QStringList{entry(c.pem)});
        }
    }
}

TEST_F(CertificateTest, PlainFtpStoresNothing)
{
    for (const bool tlsRequested : {false, true}) {
        SCOPED_TRACE(tlsRequested ? "TLS requested, the server refuses it" : "no TLS");
        QDir().mkpath(host("ftp/private"));
        startServer(FtpServerKind::Plain);
        FtpSession session;
        FtpSettings plain = serverSettings(tlsRequested);
        ftpconnect(session, plain, status, log);
        EXPECT_TRUE(session.client.Connected());
        EXPECT_FALSE(QFileInfo::exists(storeFile()));
    }
}

TEST_F(CertificateTest, TheTreeRestoresPoolIsHeldToTheEntryAndARefusalIsNotTriedAgain)
{
    serve(testCertificate());
    QStringList warnings;
    RemoteStore::Options options;
    options.storeRoot = QStringLiteral("D:\\Store");
    options.retry.firstBackOff = std::chrono::milliseconds(1);
    const std::shared_ptr<RemoteStore> store = OpenRemoteStore(settings, options, warnings);
    EXPECT_EQ(warnings, QStringList{certificateStoredWarning(server())});

    // Each listing below needs a new connection of the pool.
    writeEntries({entry(secondTestCertificate())});
    const qsizetype before = handshakes();
    QList<platform::DirEntry> listed;
    const JobResult refused = store->list(QStringLiteral("D:\\Store"), listed);
    EXPECT_EQ(refused.kind, ErrorKind::SourceUnreadable);
    EXPECT_TRUE(refused.message.contains(certificateFingerprint(secondTestCertificate()))) << qPrintable(refused.message);
    EXPECT_EQ(handshakes(), before + 1);
    EXPECT_EQ(server().logins(), 1);

    writeEntries({entry(testCertificate())});
    EXPECT_TRUE(store->list(QStringLiteral("D:\\Store"), listed).ok());
    EXPECT_EQ(server().logins(), 2);
    EXPECT_EQ(entries(), QStringList{entry(testCertificate())});
}

}  // namespace
}  // namespace quorbin::test
