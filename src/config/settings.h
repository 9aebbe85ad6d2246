#pragma once
// The backup-set file (.set) and the program settings file (quorbin.ini), read-only.
// A record built by default holds the defaults of a file that names nothing.
#include <QList>
#include <QString>
#include <utility>

namespace quorbin {

// Default FTP host and user name of a set that names none.
inline const char* const kDefaultFtpHost = "ftp.example.invalid";
inline const char* const kDefaultFtpUser = "backup";

struct BackupSet {
    QString interval = QStringLiteral("1h");                    // Interval/interval
    QString Ziel = QStringLiteral("c:\\Backups");               // Ziel/Ziel
    bool Passive = false;                                       // FTP/Passive
    QString ftphost = QString::fromLatin1(kDefaultFtpHost);     // FTP/ftphost
    QString ftpusername = QString::fromLatin1(kDefaultFtpUser); // FTP/ftpusername
    QString PORT = QStringLiteral("21");                        // FTP/PORT
    QString PROXY;                                              // FTP/PROXY, default empty
    QString PROXYPORT;                                          // FTP/PROXYPORT, default empty
    QString ftppassw = QStringLiteral("ruxwend");               // FTP/ftppassw
    QString verzeichnis;                                        // FTP/verzeichnis, default empty
    QString Basis = QStringLiteral("private/");                 // FTP/Basis
    QString SCHLUESSEL;                                         // SCHLÜSSEL/SCHLÜSSEL, default empty
    bool ftp = false;                                           // FTP/ftp
};

struct ProgramSettings {
    bool MInternet = false;  // PROG/MInternet
    QString SetName;         // MF/SetName
    bool MITSSL = true;      // MF/MITSSL
    bool MITVZ = false;      // MF/MITVZ
    bool NURSSL = false;     // MF/NURSSL: FTP only over TLS; a server that refuses it is not used
    // MF/STILLSTAND: seconds without a byte from the FTP server after which a tree from the
    // mirror stops; empty or no number: 180.
    QString STILLSTAND;
};

// Both never fail: whatever cannot be read takes its default. A bare file name is looked up
// in the Windows directory.
BackupSet ReadBackupSet(const QString& path);
ProgramSettings ReadProgramSettings(const QString& path);

// Every field in the order of its file as ("Section/Key", value), names spelt as in the file,
// Booleans as "true" or "false".
using SettingLines = QList<std::pair<QString, QString>>;
SettingLines settingLines(const BackupSet& set);
SettingLines settingLines(const ProgramSettings& settings);

}  // namespace quorbin
