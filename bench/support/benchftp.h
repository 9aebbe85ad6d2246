#pragma once
// The tests' FTP server and a backup set pointing at it, for the download benchmarks.
#include <QByteArray>
#include <QProcess>
#include <QString>

namespace quorbin::bench {

inline const QString kFtpUser = QStringLiteral("user1");
inline const QString kFtpPassword = QStringLiteral("secret");

[[noreturn]] void stop(const QString& why);
void writeText(const QString& path, const QByteArray& bytes);

// The server serves `root` on 127.0.0.1 (with TLS when a certificate is given, throttled when
// bytesPerSecond > 0); it ends with this object.
class FtpServerProcess {
public:
    FtpServerProcess(const QString& root, const QString& certificate, int bytesPerSecond);
    ~FtpServerProcess();
    int port() const { return port_; }

private:
    QProcess process_;
    int port_ = 0;
};

// The set as the backup program writes it (Windows-1252, CR LF): the server on `port`, base
// path "private/", passive, the key, and `target` as the store's folder.
void writeFtpSet(const QString& path, int port, const QString& key, const QString& target = QString());

}  // namespace quorbin::bench
