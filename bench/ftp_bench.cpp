// Download of one large keyed stored file from the test FTP server on 127.0.0.1, over FTPS
// (explicit TLS) and plain FTP: `quorbin-restore ftp get` of the stored file (deciphered and
// expanded on the way), of the same bytes under a plain name (the transfer alone), the FTP
// client alone in this process, and curl fetching the same file from the same server. Rates
// are MiB/s of the remote file's size. A local `quorbin-restore file` of the stored file shows
// what deciphering and expanding cost by themselves.
// Usage: ftp_bench [DIR] [MiB of data]  (defaults: /var/tmp, 512 — a stored file of about 256 MiB)
#include "support/benchsupport.h"

#include "engine/keycipher.h"
#include "engine/tzip.h"
#include "platform/winpath.h"
#include "remote/ftpclient.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <chrono>
#include <cstdio>
#include <memory>

using namespace quorbin;
using namespace quorbin::bench;

namespace {

const QString kKey = QStringLiteral("Zwölf-Zeiche");  // twelve characters
const QString kUser = QStringLiteral("user1");
const QString kPassword = QStringLiteral("secret");
const QString kStoredName = QStringLiteral("DS/Daten.bin.00001.nxz");
const QString kPlainName = QStringLiteral("DS/Daten.bin.00001.roh");  // same bytes, saved as they are

[[noreturn]] void stop(const QString& why)
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

// The self-signed certificate and key in one PEM file; an elliptic-curve key is made at once.
QString makeCertificate(const QString& dir)
{
    const QString path = dir + "/server.pem";
    QProcess openssl;
    openssl.start(findProgram("openssl"),
                  {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout",
                   path, "-out", path, "-days", "2", "-subj", "/CN=127.0.0.1"});
    if (!openssl.waitForFinished(15000) || openssl.exitCode() != 0)
        stop("openssl could not make the certificate: " + QString::fromLocal8Bit(openssl.readAllStandardError()));
    return path;
}

// The tests' FTP server; it ends when its standard input closes.
class Server {
public:
    Server(const QString& root, const QString& certificate)
    {
        QStringList arguments{QStringLiteral(QUORBIN_SOURCE_DIR "/tests/fixtures/ftpserver.py"), "--root", root,
                              "--user", kUser, "--password", kPassword};
        if (!certificate.isEmpty())
            arguments << "--cert" << certificate;
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
    ~Server()
    {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(3000)) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }
    int port() const { return port_; }

private:
    QProcess process_;
    int port_ = 0;
};

// The set as the backup program writes it: Windows-1252, CR LF.
void writeSet(const QString& path, int port)
{
    const QStringList lines{"[FTP]",
                            "ftp=1",
                            "ftphost=127.0.0.1",
                            "PORT=" + QString::number(port),
                            "ftpusername=" + kUser,
                            "ftppassw=" + kPassword,
                            "Passive=1",
                            "Basis=private/",
                            "verzeichnis=DS",
                            QStringLiteral("[SCHLÜSSEL]"),
                            QStringLiteral("SCHLÜSSEL=") + kKey};
    writeText(path, (lines.join("\r\n") + "\r\n").toLatin1());
}

struct Figures {
    Run curl, client, plain, stored;
};

// The client of the program in this process: log in, fetch, log out.
Run clientGet(int port, bool tls, const QString& remote, const QString& out)
{
    QFile::remove(out);
    const auto start = std::chrono::steady_clock::now();
    {
        FtpClient client;
        client.setHost(QStringLiteral("127.0.0.1"));
        client.setPort(port);
        client.setUser(kUser);
        client.setPassword(kPassword);
        client.setPassive(true);
        if (tls)
            client.useTls();
        client.Connect();
        client.setTransferType(FtpTransferType::Image);
        client.Get(remote, platform::toWindowsPath(out));
    }
    Run run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.exitCode = 0;
    return run;
}

Figures measure(const QString& dir, const QString& data, const QString& stored, bool tls, const QString& certificate)
{
    const Server server(dir + "/root", tls ? certificate : QString());
    const QString set = dir + "/bench.set";
    writeSet(set, server.port());
    const QString out = dir + "/out.bin";
    const QStringList env{"TMPDIR=" + dir + "/tmp", "QUORBIN_WINDIR=" + dir + "/win"};
    QStringList cli{"ftp", "--set", set, "--no-dirservice"};
    if (!tls)
        cli << "--no-tls";
    const QString what = tls ? QStringLiteral("FTPS ") : QStringLiteral("FTP ");

    QStringList curlArguments{"-s", "-S", "-o", out};
    if (tls)
        curlArguments << "--ssl-reqd" << "-k";
    curlArguments << QStringLiteral("ftp://%1:%2@127.0.0.1:%3/private/%4")
                         .arg(kUser, kPassword, QString::number(server.port()), kStoredName);

    Figures f;
    f.curl = bestOf(3, what + "curl", [&] { return runMeasured(findProgram("curl"), curlArguments); });
    if (!sameFiles(out, stored))
        stop(what + "curl output differs from the stored file");
    f.client = bestOf(3, what + "client",
                      [&] { return clientGet(server.port(), tls, "/private/" + kStoredName, out); });
    if (!sameFiles(out, stored))
        stop(what + "client download differs from the stored file");
    f.plain = bestOf(3, what + "plain get", [&] {
        QFile::remove(out);
        return runMeasured(QStringLiteral(QUORBIN_CLI), cli + QStringList{"get", kPlainName, out}, env);
    });
    if (!sameFiles(out, stored))
        stop(what + "plain get differs from the stored file");
    f.stored = bestOf(3, what + "stored get", [&] {
        QFile::remove(out);
        return runMeasured(QStringLiteral(QUORBIN_CLI), cli + QStringList{"get", kStoredName, out}, env);
    });
    if (!sameFiles(out, data))
        stop(what + "stored get differs from the original data");
    QFile::remove(out);
    return f;
}

void print(const char* protocol, const Figures& f, qint64 remoteSize, const Run& localRestore)
{
    const double curlRate = mebibytesPerSecond(remoteSize, f.curl.seconds);
    const double clientRate = mebibytesPerSecond(remoteSize, f.client.seconds);
    const double curlThenRestore = f.curl.seconds + localRestore.seconds;
    const double curlThenRestoreRate = mebibytesPerSecond(remoteSize, curlThenRestore);
    const double plainRate = mebibytesPerSecond(remoteSize, f.plain.seconds);
    const double storedRate = mebibytesPerSecond(remoteSize, f.stored.seconds);
    std::printf("%-5s curl          %8.1f MiB/s  (%.2f s)\n", protocol, curlRate, f.curl.seconds);
    std::printf("%-5s client alone  %8.1f MiB/s  (%.2f s)  %.2fx curl  (in this process)\n", protocol, clientRate,
                f.client.seconds, clientRate / curlRate);
    std::printf("%-5s get plain     %8.1f MiB/s  (%.2f s)  %.2fx curl  peak %ld KiB\n", protocol, plainRate,
                f.plain.seconds, plainRate / curlRate, f.plain.peakKiB);
    std::printf("%-5s get stored    %8.1f MiB/s  (%.2f s)  %.2fx curl  peak %ld KiB\n", protocol, storedRate,
                f.stored.seconds, storedRate / curlRate, f.stored.peakKiB);
    std::printf("%-5s curl+restore  %8.1f MiB/s  (%.2f s)  get stored is %.2fx of it\n", protocol,
                curlThenRestoreRate, curlThenRestore, storedRate / curlThenRestoreRate);
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString dir = (args.size() > 1 ? args.at(1) : QStringLiteral("/var/tmp")) + "/quorbin-ftp-bench";
    const qint64 size = qint64(args.size() > 2 ? args.at(2).toLongLong() : 512) << 20;
    for (const char* sub : {"/root/private/DS", "/tmp", "/win"})
        QDir().mkpath(dir + sub);
    writeText(dir + "/win/quorbin.ini", "[MF]\r\nMITSSL=1\r\nMITVZ=0\r\n");

    const QString data = dir + "/data.bin";
    const QString stored = dir + "/root/private/" + kStoredName;
    const QString plainCopy = dir + "/root/private/" + kPlainName;
    if (QFileInfo(data).size() != size) {
        std::printf("writing %lld MiB of mixed data…\n", size >> 20);
        writeMixedFile(data, size);
        QFile::remove(stored);
    }
    if (!QFileInfo::exists(stored) || QFileInfo(plainCopy).size() != QFileInfo(stored).size()) {
        QFile::remove(stored);
        Zip().Shrink(platform::toWindowsPath(data), platform::toWindowsPath(stored));
        EncipherFile(platform::toWindowsPath(stored), kKey, noStatus(), nullptr);
        QFile::remove(plainCopy);
        QFile::copy(stored, plainCopy);
    }
    const qint64 remoteSize = QFileInfo(stored).size();
    std::printf("data %lld MiB, stored file %.1f MiB\n", size >> 20, double(remoteSize) / (1 << 20));

    const QString out = dir + "/out.bin";
    const Run localRestore = bestOf(3, "local restore", [&] {
        return runMeasured(QStringLiteral(QUORBIN_CLI), {"file", stored, out},
                           {"TMPDIR=" + dir + "/tmp", "QUORBIN_KEY=" + kKey});
    });
    if (!sameFiles(out, data))
        stop("local restore differs from the original data");
    QFile::remove(out);
    std::printf("restore file (local, keyed)  %.2f s  peak %ld KiB\n", localRestore.seconds, localRestore.peakKiB);

    const QString certificate = makeCertificate(dir);
    const Figures ftps = measure(dir, data, stored, true, certificate);
    const Figures ftp = measure(dir, data, stored, false, certificate);
    print("FTPS", ftps, remoteSize, localRestore);
    print("FTP", ftp, remoteSize, localRestore);
    return 0;
}
