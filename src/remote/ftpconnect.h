#pragma once
// The connect sequence: settings applied, directory service asked, login, base path, time
// check and the listing archive.
#include "remote/ftpsession.h"
#include "remote/ftpsettings.h"
#include "platform/reporter.h"

#include <stop_token>

namespace quorbin {

// "Verbindung testen". A failed login is not an error here: the steps after it fail one by
// one and the status still ends with "verbunden mit: " and the host. Throws FtpError for a
// port text that is no integer and for the TLS set-up on an open connection, and IoError when
// the listing file of the directory service cannot be read. The stop token is the directory
// service's and the client's for the whole sequence: a stop ends the sequence with
// FtpError::cancelled().
void ftpconnect(FtpSession& session, const FtpSettings& settings, StatusSink& status, LogSink& log,
                std::stop_token stop = {});

// "FTP-Verbindung herstellen": ftpconnect, then into FtpBasePath (its failure passes).
void openftp(FtpSession& session, const FtpSettings& settings, StatusSink& status, LogSink& log,
             std::stop_token stop = {});

// The login directory followed by the base path, joined as they stand (no "/" put between),
// where the backup program put the mirror.
QString JoinBasePath(const QString& loginDirectory, const QString& basePath);

// A port field's text as a number; FtpError "'%s' ist kein gültiger Integerwert" otherwise.
int PortFromText(const QString& text);

}  // namespace quorbin
