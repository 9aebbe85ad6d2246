#include "remote/ftpconnect.h"

#include "engine/tempfiles.h"
#include "remote/certificatestore.h"
#include "remote/directoryservice.h"
#include "remote/ftperror.h"
#include "remote/listingarchive.h"
#include "remote/timecheck.h"

#include <QCoreApplication>

namespace quorbin {
namespace {

const char* const kCertificateStored =
    QT_TRANSLATE_NOOP("Remote", "Neues Zertifikat von %1 gespeichert (SHA-256 %2); ein anderes wird künftig abgelehnt.");
const char* const kCertificateNotStored =
    QT_TRANSLATE_NOOP("Remote", "Zertifikat von %1 angenommen (SHA-256 %2), aber nicht gespeichert: %3");

// The login, with the server's certificate held to the one stored for its host and port, or to
// the one the user accepted instead. A certificate taken on trust now is stored; the warning
// that says so comes back.
std::optional<QString> loginChecked(FtpClient& client, const FtpSettings& settings)
{
    const QString server = HostAndPort(client.host(), client.port());
    const QString stored = client.tls() ? StoredCertificate(server) : QString();
    QStringList accepted{stored, NormalisedFingerprint(settings.trustedCertificate)};
    accepted.removeAll(QString());
    client.setExpectedCertificates(accepted);
    client.Connect();
    const ServerCertificate shown = client.serverCertificate();
    if (shown.fingerprint.isEmpty() || shown.trusted || shown.fingerprint == stored)
        return std::nullopt;
    QString error;
    if (!StoreCertificate(server, shown.fingerprint, error))
        return remoteText(kCertificateNotStored).arg(server, shown.fingerprint, error);
    return remoteText(kCertificateStored).arg(server, shown.fingerprint);
}

}  // namespace

int PortFromText(const QString& text)
{
    bool ok = false;
    const int port = text.trimmed().toInt(&ok, 10);
    if (!ok)
        throw FtpError(QCoreApplication::translate("Remote", "'%1' ist kein gültiger Integerwert").arg(text));
    return port;
}

QString JoinBasePath(const QString& loginDirectory, const QString& basePath)
{
    // A login folder such as "/home/anna" has no "/" of its own at the end; glued to "backup"
    // it would name "/home/annabackup", a folder nobody made. An empty login folder (PWD
    // failed at the first connect) stays relative.
    if (loginDirectory.isEmpty() || basePath.isEmpty())
        return loginDirectory + basePath;
    const bool left = loginDirectory.endsWith(u'/');
    const bool right = basePath.startsWith(u'/');
    if (left && right)
        return loginDirectory + basePath.mid(1);
    if (!left && !right)
        return loginDirectory + u'/' + basePath;
    return loginDirectory + basePath;
}

void ApplyFtpSettings(FtpClient& client, const FtpSettings& settings)
{
    client.setPort(PortFromText(settings.portText));
    client.setHost(settings.host);
    client.setUser(settings.user);
    client.setPassword(settings.password);
    client.setProxyHost(settings.proxyHost);
    client.setPassive(settings.passive);
    // Required TLS is TLS: a password must not go out in clear because a box was unticked.
    if (settings.tls || settings.requireTls)
        client.useTls();
    client.setTlsRequired(settings.requireTls);
}

void ConnectAnother(FtpClient& client, const FtpSettings& settings, std::stop_token stop)
{
    const FtpClient::StopScope scope(client, stop);
    ApplyFtpSettings(client, settings);
    if (!settings.proxyPortText.isEmpty())
        client.setProxyPort(PortFromText(settings.proxyPortText));
    loginChecked(client, settings);  // the session's own connect has told of a new certificate
    if (client.tls() && !client.tlsInUse() && settings.requireTls)
        throw FtpError::tlsRefusal();
    client.setTransferType(FtpTransferType::Image);
}

ConnectOutcome ftpconnect(FtpSession& session, const FtpSettings& settings, StatusSink& status, LogSink& log,
                          std::stop_token stop)
{
    ConnectOutcome outcome;
    const auto warn = [&](const QString& text) {
        outcome.warnings << text;
        log.appendLine(outcome.warnings.last());
    };
    FtpClient& client = session.client;
    const FtpClient::StopScope scope(client, stop);
    const QString tempDirectory = TempDirectory();
    status.setStatus(QCoreApplication::translate("Remote", "verbinden mit: %1").arg(settings.host));
    ApplyFtpSettings(client, settings);
    session.DirectoryServiceUsed = QueryDirectoryService(settings, status, log, stop);
    if (!settings.proxyPortText.isEmpty())
        client.setProxyPort(PortFromText(settings.proxyPortText));

    // After a failed login the following steps fail one by one; the sequence goes on all the
    // same, and the reason is kept, so that nobody needs to log in again to learn it.
    try {
        if (const std::optional<QString> stored = loginChecked(client, settings))
            warn(*stored);
        if (client.tls() && !client.tlsInUse())
            warn(remoteText(kTlsRefusedWarning));
        // Only a session that really runs over TLS must go passive.
        if (!client.passive() && client.tlsInUse())
            warn(remoteText(kActiveWithTlsGoesPassive));
    } catch (const FtpError& error) {
        // A stop, and a refusal for the password's sake, end the sequence.
        if (error.cancelled() || error.tlsRefused() || error.certificateChanged())
            throw;
        outcome.loginFailure = error;
    }
    PassOverFailure([&] { session.FtpBasePath = client.RetrieveCurrentDir(); });
    session.FtpBasePath = JoinBasePath(session.FtpBasePath, settings.basePath);

    status.setStatus(QCoreApplication::translate("Remote", "Zeitdifferent ermittlen"));
    const bool clockMeasured = PassOverFailure([&] {
        const double difference = FtpTimeCheck(session, session.FtpBasePath);
        log.appendLine(QCoreApplication::translate("Remote", "Zeitdifferenz: %1").arg(TimeDifferenceText(difference)));
    });
    // MLSD gives UTC; a LIST line may give the server's local time, which only the check
    // makes up for. Nothing here can tell, so the user is told.
    if (!clockMeasured && client.Connected() && !client.announcesMlsd())
        warn(kClockNotMeasured);
    client.setTransferType(FtpTransferType::Image);
    // "verbunden" only after a login that came about; else the reason, not a connection that is none.
    if (outcome.loginFailure)
        status.setStatus(QCoreApplication::translate("Remote", "keine Verbindung mit: %1: %2")
                             .arg(settings.host, outcome.loginFailure->text()));
    else
        status.setStatus(QCoreApplication::translate("Remote", "verbunden mit: %1").arg(settings.host));
    if (session.DirectoryServiceUsed)
        LoadListingArchive(session, tempDirectory, settings.storeDirectory, status, log);
    return outcome;
}

void openftp(FtpSession& session, const FtpSettings& settings, StatusSink& status, LogSink& log,
             std::stop_token stop)
{
    const FtpClient::StopScope scope(session.client, stop);
    ftpconnect(session, settings, status, log, stop);
    session.client.ChangeDir(session.FtpBasePath);
}

}  // namespace quorbin
