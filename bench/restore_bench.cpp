// Restore of one large stored file, unkeyed and keyed, against the bare ISA-L inflate of the
// same container (the format's practical limit on one core) and against pigz -dz, measured in
// one run, alternating, medians. The output goes to a tmpfs (/dev/shm), where the disk's
// writeback cannot blur the inflater's speed, and to DIR's disk.
// Usage: restore_bench [DIR] [MiB] [ROUNDS]  (defaults: /var/tmp, 384, 5)
#include "support/benchsupport.h"

#include "engine/keycipher.h"
#include "engine/tzip.h"
#include "platform/winpath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

using namespace quorbin;
using namespace quorbin::bench;

namespace {

struct Inputs {
    QString plain;
    QString container;
    QString keyed;
    QString key;
    qint64 size = 0;
};

bool measure(const Inputs& in, const QString& outputDirectory, int rounds)
{
    const QString out = outputDirectory + "/quorbin-bench-out.bin";
    const QString tmp = "TMPDIR=" + outputDirectory;
    QList<Contender> contenders;
#ifdef QUORBIN_ISAL_REFERENCE
    contenders << Contender{"bare ISA-L inflate", [&] {
                                return runMeasured(QStringLiteral(QUORBIN_ISAL_REFERENCE), {}, {}, in.container, out);
                            }};
#endif
    contenders << Contender{"pigz -dz", [&] { return runMeasured(findProgram("pigz"), {"-dz"}, {}, in.container, out); }}
               << Contender{"restore unkeyed", [&] {
                                return runMeasured(QStringLiteral(QUORBIN_CLI), {"file", in.container, out}, {tmp, "QUORBIN_KEY="});
                            }}
               << Contender{"restore keyed", [&] {
                                return runMeasured(QStringLiteral(QUORBIN_CLI), {"file", in.keyed, out},
                                                   {tmp, "QUORBIN_KEY=" + in.key});
                            }};
    // Each writes a new file, as a restore of a lost file does.
    const QList<Run> runs = alternatingMedians(rounds, contenders, [&] { QFile::remove(out); });
    if (!sameFiles(out, in.plain)) {
        std::printf("the last output differs from the data\n");
        return false;
    }
    QFile::remove(out);

    std::printf("\noutput to %s (median of %d alternating runs)\n", qPrintable(outputDirectory), rounds);
    const double reference = runs.first().seconds;
    for (qsizetype i = 0; i < runs.size(); ++i)
        std::printf("  %-20s %8.1f MiB/s  (%.2f s)  %.2fx %s  peak %ld KiB\n", qPrintable(contenders[i].name),
                    mebibytesPerSecond(in.size, runs[i].seconds), runs[i].seconds, reference / runs[i].seconds,
                    qPrintable(contenders.first().name), runs[i].peakKiB);
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString base = args.size() > 1 ? args.at(1) : QStringLiteral("/var/tmp");
    const QString dir = base + "/quorbin-restore-bench";
    Inputs in;
    in.size = qint64(args.size() > 2 ? args.at(2).toLongLong() : 384) << 20;
    const int rounds = args.size() > 3 ? args.at(3).toInt() : 5;
    in.key = QStringLiteral("Zwölf-Zeiche");  // twelve characters
    QDir().mkpath(dir);

    in.plain = dir + "/plain.bin";
    in.container = dir + "/plain.bin.00001.nxz";
    in.keyed = dir + "/keyed.bin.00001.nxz";
    if (QFileInfo(in.plain).size() != in.size) {
        std::printf("writing %lld MiB of mixed data…\n", in.size >> 20);
        writeMixedFile(in.plain, in.size);
        QFile::remove(in.container);
    }
    if (!QFileInfo::exists(in.container) || !QFileInfo::exists(in.keyed)) {
        Zip().Shrink(platform::toWindowsPath(in.plain), platform::toWindowsPath(in.container));
        QFile::remove(in.keyed);
        QFile::copy(in.container, in.keyed);
        EncipherFile(platform::toWindowsPath(in.keyed), in.key, noStatus(), nullptr);
    }
    std::printf("data %lld MiB, container %lld MiB\n", in.size >> 20, QFileInfo(in.container).size() >> 20);

    const QString shm = QStringLiteral("/dev/shm");
    if (QFileInfo(shm).isDir() && !measure(in, shm, rounds))
        return 1;
    return measure(in, dir, rounds) ? 0 : 1;
}
