#pragma once
// The backup-set file (.set) and the program settings file (quorbin.ini), read-only.
#include <QString>

namespace quorbin {

struct BackupSet {
    QString interval;     // Interval/interval, default "1h"
    QString Ziel;         // Ziel/Ziel, default "c:\Backups"
    bool Passive = false; // FTP/Passive
    QString ftphost;      // FTP/ftphost, default kDefaultFtpHost
    QString ftpusername;  // FTP/ftpusername, default kDefaultFtpUser
    QString PORT;         // FTP/PORT, default "21"
    QString PROXY;        // FTP/PROXY, default empty
    QString PROXYPORT;    // FTP/PROXYPORT, default empty
    QString ftppassw;     // FTP/ftppassw, default "ruxwend"
    QString verzeichnis;  // FTP/verzeichnis, default empty
    QString Basis;        // FTP/Basis, default "private/"
    QString SCHLUESSEL;   // SCHLÜSSEL/SCHLÜSSEL, default empty
    bool ftp = false;     // FTP/ftp
};

struct ProgramSettings {
    bool MInternet = false;  // PROG/MInternet
    QString SetName;         // MF/SetName
    bool MITSSL = true;      // MF/MITSSL
    bool MITVZ = false;      // MF/MITVZ
};

// Default FTP host and user name of a set that names none.
inline const char* const kDefaultFtpHost = "ftp.example.invalid";
inline const char* const kDefaultFtpUser = "backup";

// Both never fail: whatever cannot be read takes its default. A bare file name is looked up
// in the Windows directory.
BackupSet ReadBackupSet(const QString& path);
ProgramSettings ReadProgramSettings(const QString& path);

}  // namespace quorbin
