// Download of one large keyed stored file from the test FTP server on 127.0.0.1:
// `quorbin-restore ftp get` of the stored file (deciphered and expanded as it arrives) against
// curl fetching the same container from the same server; also `ftp get` of the same bytes
// under a plain name (the transfer alone) and, where the network is fast, `quorbin-restore
// file` of the stored file from the disk (the decoding alone). Over plain FTP on the loopback,
// plain FTP throttled by the server to 50 MiB/s, and FTPS on the loopback; measured in one
// run, alternating, medians. Rates are MiB/s of the remote file's size; "x curl" is curl's
// time over the contender's.
// Usage: ftp_bench [DIR] [MiB of data] [ROUNDS]  (defaults: /var/tmp, 384, 5)
#include "support/benchftp.h"
#include "support/benchsupport.h"

#include "engine/keycipher.h"
#include "engine/tzip.h"
#include "platform/winpath.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>

using namespace quorbin;
using namespace quorbin::bench;

namespace {

const QString kKey = QStringLiteral("Zwölf-Zeiche");  // twelve characters
const QString kStoredName = QStringLiteral("DS/Daten.bin.00001.nxz");
const QString kPlainName = QStringLiteral("DS/Daten.bin.00001.roh");  // same bytes, saved as they are
const int kThrottle = 50 << 20;

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

struct Link {
    const char* name;
    bool tls;
    int bytesPerSecond;  // 0: as fast as the loopback goes
};

struct Files {
    QString dir;
    QString data;    // what the stored file holds
    QString stored;  // the stored file on the server's side
    QString unkeyed;  // the same stream, not enciphered, for the bare inflate
    qint64 remoteSize = 0;
};

bool measure(const Files& files, const Link& link, const QString& certificate, int rounds)
{
    const FtpServerProcess server(files.dir + "/root", link.tls ? certificate : QString(), link.bytesPerSecond);
    const QString set = files.dir + "/bench.set";
    writeFtpSet(set, server.port(), kKey);
    const QString curlOut = files.dir + "/curl.out";
    const QString getOut = files.dir + "/get.out";
    const QString plainOut = files.dir + "/plain.out";
    const QString restoreOut = files.dir + "/restore.out";
    const QString referenceOut = files.dir + "/reference.out";
    const QStringList env{"TMPDIR=" + files.dir + "/tmp", "QUORBIN_WINDIR=" + files.dir + "/win"};
    QStringList cli{"ftp", "--set", set, "--no-dirservice"};
    if (!link.tls)
        cli << "--no-tls";

    QStringList curlArguments{"-s", "-S"};
    if (link.tls)
        curlArguments << "--ssl-reqd" << "-k";
    curlArguments << QStringLiteral("ftp://%1:%2@127.0.0.1:%3/private/%4")
                         .arg(kFtpUser, kFtpPassword, QString::number(server.port()), kStoredName);

    // Each writes a new file, as a download of a lost file does.
    const auto fresh = [](const QString& out) {
        QFile::remove(out);
        return out;
    };
    const QString cliProgram = QStringLiteral(QUORBIN_CLI);
    QList<Contender> contenders{
        {"curl", [&] { return runMeasured(findProgram("curl"), QStringList{"-o", fresh(curlOut)} + curlArguments); }},
        {"ftp get stored", [&] { return runMeasured(cliProgram, cli + QStringList{"get", kStoredName, fresh(getOut)}, env); }},
        {"ftp get plain", [&] { return runMeasured(cliProgram, cli + QStringList{"get", kPlainName, fresh(plainOut)}, env); }},
    };
    // Where the network is no limit, decoding is: the same stored file restored from the disk.
    if (link.bytesPerSecond == 0)
        contenders << Contender{"restore file", [&] {
                                    return runMeasured(cliProgram, {"file", files.stored, fresh(restoreOut)},
                                                       env + QStringList{"QUORBIN_KEY=" + kKey});
                                }};
#ifdef QUORBIN_ISAL_REFERENCE
    // The limit of one core for this container: the same stream, unkeyed, inflated from the disk.
    if (link.bytesPerSecond == 0)
        contenders << Contender{"bare ISA-L inflate", [&] {
                                    return runMeasured(QStringLiteral(QUORBIN_ISAL_REFERENCE), {}, {}, files.unkeyed,
                                                       fresh(referenceOut));
                                }};
#endif
    const QList<Run> runs = alternatingMedians(rounds, contenders);
    const bool same = sameFiles(curlOut, files.stored) && sameFiles(plainOut, files.stored) &&
                      sameFiles(getOut, files.data) && (link.bytesPerSecond > 0 || sameFiles(restoreOut, files.data)) &&
                      (!QFileInfo::exists(referenceOut) || sameFiles(referenceOut, files.data));
    for (const QString& out : {curlOut, getOut, plainOut, restoreOut, referenceOut})
        QFile::remove(out);
    if (!same) {
        std::printf("%s: a download differs from what the server holds\n", link.name);
        return false;
    }

    std::printf("\n%s (median of %d alternating runs)\n", link.name, rounds);
    const double curlSeconds = runs.first().seconds;
    for (qsizetype i = 0; i < runs.size(); ++i)
        std::printf("  %-16s %8.1f MiB/s  (%.2f s)  %.2fx curl  peak %ld KiB\n", qPrintable(contenders[i].name),
                    mebibytesPerSecond(files.remoteSize, runs[i].seconds), runs[i].seconds,
                    curlSeconds / runs[i].seconds, runs[i].peakKiB);
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    Files files;
    files.dir = (args.size() > 1 ? args.at(1) : QStringLiteral("/var/tmp")) + "/quorbin-ftp-bench";
    const qint64 size = qint64(args.size() > 2 ? args.at(2).toLongLong() : 384) << 20;
    const int rounds = args.size() > 3 ? args.at(3).toInt() : 5;
    for (const char* sub : {"/root/private/DS", "/tmp", "/win"})
        QDir().mkpath(files.dir + sub);
    writeText(files.dir + "/win/quorbin.ini", "[MF]\r\nMITSSL=1\r\nMITVZ=0\r\n");

    files.data = files.dir + "/data.bin";
    files.stored = files.dir + "/root/private/" + kStoredName;
    const QString plainCopy = files.dir + "/root/private/" + kPlainName;
    if (QFileInfo(files.data).size() != size) {
        std::printf("writing %lld MiB of mixed data…\n", size >> 20);
        writeMixedFile(files.data, size);
        QFile::remove(files.stored);
    }
    if (!QFileInfo::exists(files.stored) || QFileInfo(plainCopy).size() != QFileInfo(files.stored).size()) {
        QFile::remove(files.stored);
        Zip().Shrink(platform::toWindowsPath(files.data), platform::toWindowsPath(files.stored));
        EncipherFile(platform::toWindowsPath(files.stored), kKey, noStatus(), nullptr);
        QFile::remove(plainCopy);
        QFile::copy(files.stored, plainCopy);
    }
    files.unkeyed = files.dir + "/unkeyed.nxz";
    if (QFileInfo(files.unkeyed).size() != QFileInfo(files.stored).size()) {
        QFile::remove(files.unkeyed);
        Zip().Shrink(platform::toWindowsPath(files.data), platform::toWindowsPath(files.unkeyed));
    }
    files.remoteSize = QFileInfo(files.stored).size();
    std::printf("data %lld MiB, stored file %.1f MiB, output to %s\n", size >> 20,
                double(files.remoteSize) / (1 << 20), qPrintable(files.dir));

    const QString certificate = makeCertificate(files.dir);
    const Link links[] = {
        {"FTP, loopback", false, 0},
        {"FTP, throttled to 50 MiB/s", false, kThrottle},
        {"FTPS, loopback", true, 0},
    };
    for (const Link& link : links) {
        if (!measure(files, link, certificate, rounds))
            return 1;
    }
    return 0;
}
