#pragma once
// The connection values that the connect sequence reads from the main window at each call.
#include "config/settings.h"

#include <QString>

namespace quorbin {

// The directory service's fixed values; the tests shorten them.
struct DirectoryServiceOptions {
    quint16 port = 86;
    int readTimeoutMs = 100;
    int idleLimit = 10000;  // the exchange gives up after one more idle read than this
};

inline constexpr int kDefaultStallLimitSeconds = 180;

struct FtpSettings {
    QString host;            // EFTPHost
    QString portText;        // EFTPPort
    QString user;            // EFTPUsername
    QString password;        // EFTPpassw
    QString proxyHost;       // EProxy
    QString proxyPortText;   // EproxyPort
    bool passive = false;    // CBPassive
    QString storeDirectory;  // eVerzeichnis
    QString basePath;        // EBasis
    bool tls = false;        // MitSSL
    bool requireTls = false;  // NURSSL of quorbin.ini: a server that refuses TLS fails the connect
    // A SHA-256 fingerprint the user accepted (--trust-certificate, or "Ja" in the window): a
    // certificate with it passes for this server and is stored in place of the one before.
    QString trustedCertificate;
    bool directoryService = false;  // MitVZ
    // A tree from the mirror stops after this long without a byte from the server on any of its
    // connections (STILLSTAND of quorbin.ini).
    int stallLimitSeconds = kDefaultStallLimitSeconds;
    DirectoryServiceOptions service;
};

// The values as the main window shows them for a loaded set: the set's FTP section, TLS, the
// directory service and the stall limit from the program settings.
FtpSettings FtpSettingsFromSet(const BackupSet& set, const ProgramSettings& program);

// STILLSTAND's seconds; the default for an empty text, no number or one below 1.
int StallLimitSeconds(const ProgramSettings& program);

}  // namespace quorbin
