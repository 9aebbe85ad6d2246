// A tree of 2,000 keyed stored files (about 200 MiB of containers) restored from the test FTP
// server on 127.0.0.1 by `quorbin-restore ftp … dir` (four connections, each file deciphered
// and expanded as it arrives) against `lftp -e 'mirror --parallel=4'` copying the same
// containers from the same server; alternating runs, medians.
// Usage: ftpdir_bench [DIR] [FILES] [ROUNDS]  (defaults: /var/tmp, 2000, 5)
#include "support/benchftp.h"
#include "support/benchsupport.h"

#include "engine/keycipher.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <zlib.h>

#include <cstdio>

using namespace quorbin;
using namespace quorbin::bench;

namespace {

const QString kKey = QStringLiteral("Zwölf-Zeiche");
constexpr int kFolders = 20;

// The mirror below root/private: Set1/C$/Daten/fNN/DateiN.bin.00001.nxz, keyed, about 100 KiB
// of container each.
void writeMirror(const QString& root, int files)
{
    QRandomGenerator random(5);
    static const QByteArray words = "Angebot Rechnung Brief an die Bank, Datum 19.04.2018; Summe 1500 EUR.\r\n";
    const QByteArray keyBytes = KeyBytes(kKey);
    QByteArray content(200 * 1024, '\0');
    QByteArray container(qsizetype(compressBound(uLong(content.size()))), '\0');
    for (int i = 0; i < files; ++i) {
        for (qsizetype b = 0; b < content.size(); ++b)
            content[b] = b % 2 == 0 ? char(random.bounded(256u)) : words.at((b + i) % words.size());
        uLongf size = uLongf(container.size());
        compress2(reinterpret_cast<Bytef*>(container.data()), &size, reinterpret_cast<const Bytef*>(content.constData()),
                  uLong(content.size()), 1);
        QByteArray stored = container.left(qsizetype(size));
        CipherBuffer(true, stored.data(), stored.size(), keyBytes, 0);
        const QString folder = QStringLiteral("%1/private/Set1/C$/Daten/f%2").arg(root).arg(i % kFolders);
        QDir().mkpath(folder);
        writeText(QStringLiteral("%1/Datei%2.bin.00001.nxz").arg(folder).arg(i), stored);
    }
}

qint64 treeBytes(const QString& root, int* files = nullptr)
{
    qint64 bytes = 0;
    int count = 0;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        bytes += QFileInfo(it.next()).size();
        ++count;
    }
    if (files)
        *files = count;
    return bytes;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString dir = (args.size() > 1 ? args.at(1) : QStringLiteral("/var/tmp")) + "/quorbin-ftpdir-bench";
    const int files = args.size() > 2 ? args.at(2).toInt() : 2000;
    const int rounds = args.size() > 3 ? args.at(3).toInt() : 5;
    const QString lftp = QStandardPaths::findExecutable("lftp");
    if (lftp.isEmpty())
        stop("lftp is missing: sudo apt-get install lftp");
    const QString root = dir + QStringLiteral("/mirror-%1").arg(files);
    if (!QDir(root).exists()) {
        std::printf("writing a mirror of %d stored files…\n", files);
        writeMirror(root, files);
    }
    for (const char* sub : {"/tmp", "/win", "/store"})
        QDir().mkpath(dir + sub);
    writeText(dir + "/win/quorbin.ini", "[MF]\r\nMITSSL=0\r\nMITVZ=0\r\n");

    const FtpServerProcess server(root, QString(), 0);
    const QString set = dir + "/bench.set";
    writeFtpSet(set, server.port(), kKey, "Z:" + dir + "/store");
    const QString out = dir + "/out";
    const QStringList env{"TMPDIR=" + dir + "/tmp", "QUORBIN_WINDIR=" + dir + "/win"};
    const QString mirrorScript = QStringLiteral("set ftp:ssl-allow no; set net:max-retries 2; "
                                                "mirror --parallel=4 private/Set1/C$/Daten %1; quit")
                                     .arg(out);
    const QList<Contender> contenders{
        {"lftp mirror --parallel=4",
         [&] {
             return runMeasured(lftp, {"-u", kFtpUser + "," + kFtpPassword, "-p", QString::number(server.port()), "-e",
                                       mirrorScript, "127.0.0.1"});
         }},
        {"ftp dir (4 connections)",
         [&] {
             return runMeasured(QStringLiteral(QUORBIN_CLI),
                                {"ftp", "--set", set, "--no-tls", "--no-dirservice", "dir", "Set1/C$/Daten", "--to", out},
                                env, {}, "/dev/null");
         }},
        {"ftp dir --jobs 8",
         [&] {
             return runMeasured(QStringLiteral(QUORBIN_CLI),
                                {"ftp", "--set", set, "--no-tls", "--no-dirservice", "dir", "Set1/C$/Daten", "--to", out,
                                 "--jobs", "8"},
                                env, {}, "/dev/null");
         }},
    };
    int served = 0;
    const qint64 containerBytes = treeBytes(root + "/private/Set1/C$/Daten", &served);
    const QList<Run> runs = alternatingMedians(rounds, contenders, [&] { QDir(out).removeRecursively(); });
    int restored = 0;
    const qint64 restoredBytes = treeBytes(out, &restored);
    QDir(out).removeRecursively();
    std::printf("%d stored files, %.0f MiB of containers (%d files, %.0f MiB after the last run); median of %d "
                "alternating runs\n",
                served, containerBytes / 1048576.0, restored, restoredBytes / 1048576.0, rounds);
    for (qsizetype i = 0; i < runs.size(); ++i)
        std::printf("%-26s %6.2f s  %.2fx the time of lftp  peak %ld KiB\n", qPrintable(contenders[i].name),
                    runs[i].seconds, runs[i].seconds / runs[0].seconds, runs[i].peakKiB);
    return 0;
}
