// Tree restore of many small stored files (three versions each, newest rule), unkeyed and
// keyed, against cp -r of the same store tree on the same disk; a quarter of the tree as
// well, to see whether time grows linearly with the number of files.
// Usage: tree_bench [DIR] [FILES]  (defaults: /var/tmp, 20000)
#include "support/benchsupport.h"

#include "engine/keycipher.h"
#include "platform/winpath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <zlib.h>

#include <cstdio>

using namespace quorbin;
using namespace quorbin::bench;

namespace {

const QString kKey = QStringLiteral("Zwölf-Zeiche");
constexpr int kQuarters = 4;
constexpr int kFilesPerFolder = 500;

QByteArray container(const QByteArray& content)
{
    uLongf size = compressBound(uLong(content.size()));
    QByteArray out(qsizetype(size), '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(content.constData()),
              uLong(content.size()), 1);
    out.truncate(qsizetype(size));
    return out;
}

QByteArray contentOf(QRandomGenerator& random)
{
    static const QByteArray words = "Angebot Rechnung Brief an die Bank, Datum 19.04.2018; Summe 1500 EUR.\r\n";
    const qsizetype size = 1024 + qsizetype(random.bounded(63u * 1024u));
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = i % 3 == 0 ? char(random.bounded(256u)) : words.at(i % words.size());
    return bytes;
}

// Files spread over quarters of folders of kFilesPerFolder each, or all in one folder.
void writeStore(const QString& root, int files, bool keyed, bool oneFolder = false)
{
    QRandomGenerator random(7);
    const QByteArray keyBytes = KeyBytes(kKey);
    for (int i = 0; i < files; ++i) {
        const QString folder = oneFolder ? root + "/C$/one"
                                         : QStringLiteral("%1/C$/q%2/f%3").arg(root).arg(i % kQuarters).arg(i / (kQuarters * kFilesPerFolder));
        QDir().mkpath(folder);
        for (int version = 1; version <= 3; ++version) {
            QByteArray bytes = container(contentOf(random));
            if (keyed)
                CipherBuffer(true, bytes.data(), bytes.size(), keyBytes, 0);
            QFile f(QStringLiteral("%1/Datei¯%2.txt.%3.nxz").arg(folder).arg(i).arg(version, 5, 10, QChar('0')));
            f.open(QIODevice::WriteOnly);
            f.write(bytes);
            f.close();
            // Versions a minute apart, the newest last.
            f.setFileTime(QDateTime(QDate(2020, 1, 1), QTime(8, version, 0)), QFileDevice::FileModificationTime);
        }
    }
}

Run restore(const QString& start, const QString& out, const QString& dir, bool keyed)
{
    QDir(out).removeRecursively();
    return runMeasured(QStringLiteral(QUORBIN_CLI), {"dir", start, "--to", out},
                       {"TMPDIR=" + dir, "QUORBIN_KEY=" + (keyed ? kKey : QString())}, {}, "/dev/null");
}

Run copy(const QString& from, const QString& out)
{
    QDir(out).removeRecursively();
    return runMeasured(findProgram("cp"), {"-r", from, out});
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString dir = (args.size() > 1 ? args.at(1) : QStringLiteral("/var/tmp")) + "/quorbin-tree-bench";
    const int files = args.size() > 2 ? args.at(2).toInt() : 20000;
    const QString plainStore = dir + QStringLiteral("/plain-%1").arg(files);
    const QString keyedStore = dir + QStringLiteral("/keyed-%1").arg(files);
    const QString flatStore = dir + QStringLiteral("/flat-%1").arg(files / kQuarters);
    const QString out = dir + "/out";
    if (!QDir(plainStore).exists() || !QDir(keyedStore).exists() || !QDir(flatStore).exists()) {
        std::printf("writing three stores of %d, %d and %d files, three versions each…\n", files, files,
                    files / kQuarters);
        writeStore(plainStore, files, false);
        writeStore(keyedStore, files, true);
        writeStore(flatStore, files / kQuarters, false, true);
    }

    const Run cpAll = bestOf(2, "cp -r", [&] { return copy(plainStore + "/C$", out); });
    const Run cpQuarter = bestOf(2, "cp -r quarter", [&] { return copy(plainStore + "/C$/q0", out); });
    const Run all = bestOf(2, "restore", [&] { return restore(plainStore + "/C$", out, dir, false); });
    const Run quarter = bestOf(2, "restore quarter", [&] { return restore(plainStore + "/C$/q0", out, dir, false); });
    const Run keyed = bestOf(2, "keyed restore", [&] { return restore(keyedStore + "/C$", out, dir, true); });
    const Run cpFlat = bestOf(2, "cp -r one folder", [&] { return copy(flatStore + "/C$/one", out); });
    const Run flat = bestOf(2, "restore one folder", [&] { return restore(flatStore + "/C$/one", out, dir, false); });
    QDir(out).removeRecursively();

    auto line = [](const char* what, int n, const Run& r, const Run& cp) {
        std::printf("%-22s %6d files  %6.2f s  %8.0f files/s  %.2fx the time of cp -r (%.2f s)\n", what, n, r.seconds,
                    n / r.seconds, r.seconds / cp.seconds, cp.seconds);
    };
    line("restore, quarter", files / kQuarters, quarter, cpQuarter);
    line("restore", files, all, cpAll);
    line("restore keyed", files, keyed, cpAll);
    line("restore, one folder", files / kQuarters, flat, cpFlat);
    std::printf("growth: %d files took %.2fx the time of %d (linear: %.0fx)\n", files, all.seconds / quarter.seconds,
                files / kQuarters, double(kQuarters));
    std::printf("peak memory of the restore: %ld KiB\n", std::max(all.peakKiB, keyed.peakKiB));
    return 0;
}
