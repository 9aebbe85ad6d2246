#include "support/benchftp.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace quorbin::bench {

void stop(const QString& why)
{
    std::fprintf(stderr, "%s\n", qPrintable(why));
    std::exit(1);
}

void writeText(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        stop("cannot write " + path);
}

FtpServerProcess::FtpServerProcess(const QString& root, const QString& certificate, int bytesPerSecond)
{
    QStringList arguments{QStringLiteral(QUORBIN_SOURCE_DIR "/tests/fixtures/ftpserver.py"), "--root", root,
                          "--user", kFtpUser, "--password", kFtpPassword};
    if (!certificate.isEmpty())
        arguments << "--cert" << certificate;
    if (bytesPerSecond > 0)
        arguments << "--slow" << QString::number(bytesPerSecond);
    process_.start(QStringLiteral("/usr/bin/python3"), arguments);
    const QDeadlineTimer deadline(15000);
    while (!process_.canReadLine()) {
        if (deadline.hasExpired() || process_.state() == QProcess::NotRunning)
            stop("the FTP server did not start: " + QString::fromLocal8Bit(process_.readAllStandardError()));
        process_.waitForReadyRead(100);
    }
    const QByteArray line = process_.readLine().trimmed();
    if (!line.startsWith("LISTENING "))
        stop("unexpected start line of the FTP server: " + QString::fromLatin1(line));
    port_ = line.mid(10).toInt();
}

FtpServerProcess::~FtpServerProcess()
{
    process_.closeWriteChannel();
    if (!process_.waitForFinished(3000)) {
        process_.kill();
        process_.waitForFinished(3000);
    }
}

void writeFtpSet(const QString& path, int port, const QString& key, const QString& target)
{
    QStringList lines;
    if (!target.isEmpty())
        lines << "[Ziel]" << "Ziel=" + target;
    lines << "[FTP]" << "ftp=1" << "ftphost=127.0.0.1" << "PORT=" + QString::number(port) << "ftpusername=" + kFtpUser
          << "ftppassw=" + kFtpPassword << "Passive=1" << "Basis=private/" << "verzeichnis=DS"
          << QStringLiteral("[SCHLÜSSEL]") << QStringLiteral("SCHLÜSSEL=") + key;
    writeText(path, (lines.join("\r\n") + "\r\n").toLatin1());
}

}  // namespace quorbin::bench
