// Restore of one large stored file, unkeyed and keyed, against pigz -dz inflating the same
// container on the same disk. Usage: restore_bench [DIR] [MiB]  (defaults: /var/tmp, 1024)
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

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString dir = (args.size() > 1 ? args.at(1) : QStringLiteral("/var/tmp")) + "/quorbin-restore-bench";
    const qint64 size = qint64(args.size() > 2 ? args.at(2).toLongLong() : 1024) << 20;
    const QString key = QStringLiteral("Zwölf-Zeiche");  // twelve characters
    QDir().mkpath(dir);

    const QString plain = dir + "/plain.bin";
    const QString container = dir + "/plain.bin.00001.nxz";
    const QString keyed = dir + "/keyed.bin.00001.nxz";
    if (QFileInfo(plain).size() != size) {
        std::printf("writing %lld MiB of mixed data…\n", size >> 20);
        writeMixedFile(plain, size);
        QFile::remove(container);
    }
    if (!QFileInfo::exists(container) || !QFileInfo::exists(keyed)) {
        Zip().Shrink(platform::toWindowsPath(plain), platform::toWindowsPath(container));
        QFile::remove(keyed);
        QFile::copy(container, keyed);
        EncipherFile(platform::toWindowsPath(keyed), key, noStatus(), nullptr);
    }
    std::printf("data %lld MiB, container %lld MiB\n", size >> 20, QFileInfo(container).size() >> 20);

    const QString out = dir + "/out.bin";
    const QString env = "TMPDIR=" + dir;
    const Run pigz = bestOf(3, "pigz", [&] { return runMeasured(findProgram("pigz"), {"-dz"}, {}, container, out); });
    if (!sameFiles(out, plain))
        return std::printf("pigz output differs\n"), 1;
    const Run unkeyed = bestOf(3, "unkeyed restore", [&] {
        return runMeasured(QStringLiteral(QUORBIN_CLI), {"file", container, out}, {env, "QUORBIN_KEY="});
    });
    if (!sameFiles(out, plain))
        return std::printf("unkeyed restore differs\n"), 1;
    const Run keyedRun = bestOf(3, "keyed restore", [&] {
        return runMeasured(QStringLiteral(QUORBIN_CLI), {"file", keyed, out}, {env, "QUORBIN_KEY=" + key});
    });
    if (!sameFiles(out, plain))
        return std::printf("keyed restore differs\n"), 1;
    QFile::remove(out);

    const double pigzRate = mebibytesPerSecond(size, pigz.seconds);
    const double unkeyedRate = mebibytesPerSecond(size, unkeyed.seconds);
    const double keyedRate = mebibytesPerSecond(size, keyedRun.seconds);
    std::printf("pigz -dz         %8.1f MiB/s  (%.2f s)\n", pigzRate, pigz.seconds);
    std::printf("restore unkeyed  %8.1f MiB/s  (%.2f s)  %.2fx pigz  peak %ld KiB\n", unkeyedRate, unkeyed.seconds,
                unkeyedRate / pigzRate, unkeyed.peakKiB);
    std::printf("restore keyed    %8.1f MiB/s  (%.2f s)  %.2fx pigz  peak %ld KiB\n", keyedRate, keyedRun.seconds,
                keyedRate / pigzRate, keyedRun.peakKiB);
    return 0;
}
