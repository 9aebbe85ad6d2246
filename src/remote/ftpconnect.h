#pragma once
// The connect sequence: settings applied, directory service asked, login, base path, time
// check and the listing archive.
#include "platform/reporter.h"
#include "remote/ftperror.h"
#include "remote/ftpsession.h"
#include "remote/ftpsettings.h"

#include <QStringList>
#include <optional>
#include <stop_token>

namespace quorbin {

// What the log of a connect says that changes what the user gets, for a caller without a
// log window; and why the login failed, for a caller that cannot go on without it.
struct ConnectOutcome {
    QStringList warnings;  // also written to the log, as they stand
    std::optional<FtpError> loginFailure;
};

// The log line when TLS was requested and the server refused it.
inline const char* const kTlsRefusedWarning =
    QT_TRANSLATE_NOOP("Remote", "Der Server lehnt TLS ab: Kennwort und Daten werden unverschlüsselt übertragen.");
// The log line when the clock difference could not be measured on a server that lists through
// LIST, whose times may be its local ones.
inline const char* const kClockNotMeasured = QT_TRANSLATE_NOOP(
    "Remote", "Der Uhrenunterschied zum Server ließ sich nicht messen (Timecheck nicht anlegbar); aufgelistete "
              "Zeiten können um die Zeitzone des Servers abweichen.");
// The log line when active mode was asked for with TLS.
inline const char* const kActiveWithTlsGoesPassive =
    QT_TRANSLATE_NOOP("Remote", "Aktive Datenverbindungen sind mit TLS nicht möglich; Daten werden passiv übertragen.");

// "Verbindung testen". A failed login is not an error here: the steps after it fail one by
// one and the status ends with "keine Verbindung mit: ", the host and the reason (after a
// login: "verbunden mit: " and the host); the login is tried once.
// With TLS, a certificate that the system's trust store does not vouch for is held to the one
// stored for host and port (see CertificateStoreFile); the first one is stored, with a warning.
// Throws FtpError for a port text that is no integer, for the TLS set-up on an open
// connection, for a server that refuses TLS when the settings require it and for a certificate
// other than the stored one (FtpError::certificateChanged(), before the login), and IoError when
// the listing file of the directory service cannot be read. The stop token is the directory
// service's and the client's for the whole sequence: a stop ends the sequence with
// FtpError::cancelled().
ConnectOutcome ftpconnect(FtpSession& session, const FtpSettings& settings, StatusSink& status, LogSink& log,
                          std::stop_token stop = {});

// "FTP-Verbindung herstellen": ftpconnect, then into FtpBasePath (its failure passes).
void openftp(FtpSession& session, const FtpSettings& settings, StatusSink& status, LogSink& log,
             std::stop_token stop = {});

// The connection values of the settings put into the client (all but the proxy port, which
// the connect sequence sets after the directory service).
void ApplyFtpSettings(FtpClient& client, const FtpSettings& settings);

// One more connection of the same settings, for work beside the session: login only, no
// directory service, no time check (the session's own connect measured the clock already).
// Its certificate is checked as ftpconnect checks it. Throws FtpError as a login fails.
void ConnectAnother(FtpClient& client, const FtpSettings& settings, std::stop_token stop);

// The login directory followed by the base path, with one "/" between them ("/home/anna"
// and "backup" give "/home/anna/backup"), where the backup program put the mirror.
QString JoinBasePath(const QString& loginDirectory, const QString& basePath);

// A port field's text as a number; FtpError "'%s' ist kein gültiger Integerwert" otherwise.
int PortFromText(const QString& text);

}  // namespace quorbin
