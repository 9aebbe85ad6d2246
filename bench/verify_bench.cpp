// verify of a store of about 1 GiB of containers against pigz -t of the same containers;
// alternating runs, medians, as throughput of container bytes.
// Usage: verify_bench [DIR] [MIB] [ROUNDS]  (defaults: /var/tmp, 1024, 5)
#include "support/benchsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>
#include <zlib.h>

#include <cstdio>

using namespace quorbin::bench;

namespace {

constexpr int kFolders = 8;
constexpr qint64 kContent = 4 << 20;  // per file, before compression

// Stored files of mixed content until the containers reach `bytes`; their paths.
QStringList writeStore(const QString& root, qint64 bytes)
{
    QStringList paths;
    QRandomGenerator random(11);
    static const QByteArray words = "Angebot Rechnung Brief an die Bank, Datum 19.04.2018; Summe 1500 EUR.\r\n";
    QByteArray content(kContent, '\0');
    QByteArray container(qsizetype(compressBound(uLong(kContent))), '\0');
    for (qint64 written = 0; written < bytes;) {
        const int index = int(paths.size());
        for (qsizetype i = 0; i < content.size(); ++i)
            content[i] = i % 4 == 0 ? char(random.bounded(256u)) : words.at((i + index) % words.size());
        uLongf size = uLongf(container.size());
        compress2(reinterpret_cast<Bytef*>(container.data()), &size, reinterpret_cast<const Bytef*>(content.constData()),
                  uLong(content.size()), 1);
        const QString folder = QStringLiteral("%1/C$/Daten/f%2").arg(root).arg(index % kFolders);
        QDir().mkpath(folder);
        const QString path = QStringLiteral("%1/Datei%2.bin.00001.nxz").arg(folder).arg(index);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(container.constData(), qint64(size)) != qint64(size)) {
            std::printf("cannot write %s\n", qPrintable(path));
            std::exit(1);
        }
        paths << path;
        written += qint64(size);
    }
    return paths;
}

QStringList storedFiles(const QString& root)
{
    QStringList paths;
    QDirIterator it(root, {"*.nxz"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << it.next();
    paths.sort();
    return paths;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString dir = (args.size() > 1 ? args.at(1) : QStringLiteral("/var/tmp")) + "/quorbin-verify-bench";
    const qint64 mebibytes = args.size() > 2 ? args.at(2).toLongLong() : 1024;
    const int rounds = args.size() > 3 ? args.at(3).toInt() : 5;
    const QString root = dir + QStringLiteral("/store-%1").arg(mebibytes);
    QStringList files = storedFiles(root);
    if (files.isEmpty()) {
        std::printf("writing a store of %lld MiB of containers…\n", static_cast<long long>(mebibytes));
        files = writeStore(root, mebibytes << 20);
    }
    qint64 bytes = 0;
    for (const QString& f : files)
        bytes += QFileInfo(f).size();

    const QString start = root + "/C$/Daten";
    const auto verify = [&](const QStringList& more) {
        return runMeasured(QStringLiteral(QUORBIN_CLI), QStringList{"verify", start} + more, {"QUORBIN_KEY="}, {},
                           "/dev/null");
    };
    const QList<Contender> contenders = {
        {"pigz -t", [&] { return runMeasured(findProgram("pigz"), QStringList{"-t"} + files); }},
        {"verify", [&] { return verify({}); }},
        {"verify --jobs 1", [&] { return verify({"--jobs", "1"}); }},
    };
    const QList<Run> runs = alternatingMedians(rounds, contenders);
    std::printf("%lld files, %.0f MiB of containers; median of %d alternating runs (page cache warm)\n",
                static_cast<long long>(files.size()), double(bytes) / (1 << 20), rounds);
    for (qsizetype i = 0; i < runs.size(); ++i)
        std::printf("%-16s %6.2f s  %7.0f MiB/s  %.2fx the throughput of pigz -t  peak %ld KiB\n",
                    qPrintable(contenders[i].name), runs[i].seconds, mebibytesPerSecond(bytes, runs[i].seconds),
                    runs[0].seconds / runs[i].seconds, runs[i].peakKiB);
    return 0;
}
