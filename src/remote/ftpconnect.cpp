#include "remote/ftpconnect.h"

#include "engine/tempfiles.h"
#include "remote/directoryservice.h"
#include "remote/ftperror.h"
#include "remote/listingarchive.h"
#include "remote/timecheck.h"

#include <QCoreApplication>

namespace quorbin {

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
    client.Connect();
    if (client.tls() && !client.tlsInUse() && settings.requireTls)
        throw FtpError::tlsRefusal();
    client.setTransferType(FtpTransferType::Image);
}

ConnectOutcome ftpconnect(FtpSession& session, const FtpSettings& settings, StatusSink& status, LogSink& log,
                          std::stop_token stop)
{
    ConnectOutcome outcome;
    const auto warn = [&](const char* text) {
        outcome.warnings << remoteText(text);
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
        client.Connect();
        if (client.tls() && !client.tlsInUse())
            warn(kTlsRefusedWarning);
        // Only a session that really runs over TLS must go passive.
        if (!client.passive() && client.tlsInUse())
            warn(kActiveWithTlsGoesPassive);
    } catch (const FtpError& error) {
        if (error.cancelled() || error.tlsRefused())
            throw;
        outcome.loginFailure = error;
    }
    PassOverFailure([&] { session.FtpBasePath = client.RetrieveCurrentDir(); });
    session.FtpBasePath = JoinBasePath(session.FtpBasePath, settings.basePath);

    status.setStatus(QCoreApplication::translate("Remote", "Zeitdifferent ermittlen"));
    PassOverFailure([&] {
        const double difference = FtpTimeCheck(session, session.FtpBasePath);
        log.appendLine(QCoreApplication::translate("Remote", "Zeitdifferenz: %1").arg(TimeDifferenceText(difference)));
    });
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
