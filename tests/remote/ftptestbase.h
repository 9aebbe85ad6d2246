#pragma once
// A sandbox with a real FTP server serving its "ftp" folder, and a client set up for it.
#include "fixtures/ftpserver.h"
#include "fixtures/sandbox.h"
#include "fixtures/scripteduser.h"
#include "remote/ftpclient.h"
#include "remote/ftpsettings.h"
#include "platform/reporter.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <chrono>
#include <memory>
#include <thread>

namespace quorbin::test {

// Waits, within a generous limit, for what another thread does.
template <typename Condition>
void awaitUntil(Condition done)
{
    const QDeadlineTimer limit(10000);
    while (!done() && !limit.hasExpired())
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

// What the connect sequence wrote to the status bar and the log.
class StatusLines : public StatusSink {
public:
    void setStatus(const QString& text) override { texts << text; }
    QStringList texts;
};

class LogLines : public LogSink {
public:
    void appendLine(const QString& line) override { lines << line; }
    QStringList lines;
};

// The connect's warning for a server met for the first time, whose certificate it stored.
inline QString certificateStoredWarning(const FtpServer& server, const QString& pem = testCertificate())
{
    return QStringLiteral("Neues Zertifikat von 127.0.0.1:%1 gespeichert (SHA-256 %2); ein anderes wird künftig "
                          "abgelehnt.")
        .arg(server.port())
        .arg(certificateFingerprint(pem));
}

class FtpTest : public SandboxTest {
protected:
    void startServer(FtpServerKind kind, FtpServerOptions options = {})
    {
        server_ = std::make_unique<FtpServer>(kind, host("ftp"), options);
        pointAtServer(client, false);
    }

    // Host, port, login and passive mode of the test server; TLS when asked.
    void pointAtServer(FtpClient& ftp, bool tls) const
    {
        ftp.setHost(server_->host());
        ftp.setPort(server_->port());
        ftp.setUser(server_->user());
        ftp.setPassword(server_->password());
        ftp.setPassive(true);
        if (tls)
            ftp.useTls();
    }

    // The connection values of the test server as the window shows them, base path "private/".
    FtpSettings serverSettings(bool tls) const
    {
        FtpSettings settings;
        settings.host = server_->host();
        settings.portText = QString::number(server_->port());
        settings.user = server_->user();
        settings.password = server_->password();
        settings.passive = true;
        settings.basePath = QStringLiteral("private/");
        settings.tls = tls;
        return settings;
    }

    // A file on the server side, by its path below the served folder.
    void putRemote(const QString& relative, const QByteArray& bytes) const { putServedFile(host("ftp"), relative, bytes); }
    bool remoteExists(const QString& relative) const { return QFileInfo::exists(host("ftp/" + relative)); }
    void setRemoteTime(const QString& relative, const QDateTime& time) const
    {
        QFile f(host("ftp/" + relative));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(time, QFileDevice::FileModificationTime));
    }

    FtpServer& server() { return *server_; }

    ScriptedUser user;
    std::unique_ptr<FtpServer> server_;
    FtpClient client;  // after the server: it says QUIT before the server goes
};

}  // namespace quorbin::test
