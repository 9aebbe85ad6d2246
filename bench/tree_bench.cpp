// Tree restore of many small stored files (three versions each, newest rule), unkeyed and
// keyed, against cp -r of the restored plain tree on the same disk and against restic
// restoring the same plain files from its own repository; alternating runs, medians.
// Usage: tree_bench [DIR] [FILES] [ROUNDS]  (defaults: /var/tmp, 20000, 5)
#include "support/benchsupport.h"

#include "engine/keycipher.h"
#include "platform/winpath.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>
#include <QStorageInfo>
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

// Files spread over quarters of folders of kFilesPerFolder each.
void writeStore(const QString& root, int files, bool keyed)
{
    QRandomGenerator random(7);
    const QByteArray keyBytes = KeyBytes(kKey);
    for (int i = 0; i < files; ++i) {
        const QString folder =
            QStringLiteral("%1/C$/q%2/f%3").arg(root).arg(i % kQuarters).arg(i / (kQuarters * kFilesPerFolder));
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

Run restore(const QString& start, const QString& out, const QString& dir, bool keyed, const QStringList& more = {})
{
    return runMeasured(QStringLiteral(QUORBIN_CLI), QStringList{"dir", start, "--to", out} + more,
                       {"TMPDIR=" + dir, "QUORBIN_KEY=" + (keyed ? kKey : QString())}, {}, "/dev/null");
}

qint64 treeBytes(const QString& root)
{
    qint64 bytes = 0;
    for (QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        bytes += it.nextFileInfo().size();
    return bytes;
}

Run copy(const QString& from, const QString& out) { return runMeasured(findProgram("cp"), {"-r", from, out}); }

// cp -r and then the file system written to the disk, as the restore does at its end.
Run copyAndSync(const QString& from, const QString& out)
{
    return runMeasured(findProgram("sh"), {"-c", "cp -r \"$0\" \"$1\" && sync -f \"$1\"", from, out});
}

const QString kResticPassword = QStringLiteral("RESTIC_PASSWORD=bench");

// A restic repository holding the same plain files, made once.
QString resticRepository(const QString& dir, const QString& plainTree)
{
    const QString repository = dir + "/restic";
    if (QDir(repository).exists())
        return repository;
    const QString restic = findProgram("restic");
    if (runMeasured(restic, {"init", "--repo", repository}, {kResticPassword}, {}, "/dev/null").exitCode != 0 ||
        runMeasured(restic, {"backup", "--repo", repository, plainTree}, {kResticPassword}, {}, "/dev/null").exitCode != 0) {
        std::printf("restic repository could not be made\n");
        std::exit(1);
    }
    return repository;
}

Run resticRestore(const QString& repository, const QString& out)
{
    return runMeasured(findProgram("restic"), {"restore", "latest", "--repo", repository, "--target", out},
                       {kResticPassword}, {}, "/dev/null");
}

void line(const QString& what, int files, const Run& r, const Run& reference, const QString& referenceName)
{
    std::printf("%-28s %6d files  %6.2f s  %8.0f files/s  %.2fx the time of %s (%.2f s)  peak %ld KiB\n",
                qPrintable(what), files, r.seconds, files / r.seconds, r.seconds / reference.seconds,
                qPrintable(referenceName), reference.seconds, r.peakKiB);
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString dir = (args.size() > 1 ? args.at(1) : QStringLiteral("/var/tmp")) + "/quorbin-tree-bench";
    const int files = args.size() > 2 ? args.at(2).toInt() : 20000;
    const int rounds = args.size() > 3 ? args.at(3).toInt() : 5;
    const QString plainStore = dir + QStringLiteral("/plain-%1").arg(files);
    const QString keyedStore = dir + QStringLiteral("/keyed-%1").arg(files);
    const QString plainTree = dir + QStringLiteral("/tree-%1").arg(files);
    // Every run writes a folder of its own, all removed at the end: ext4 without a journal
    // scans past each inode freed in the last half minute when it makes a file, so a run right
    // after removing the previous run's 20,000 files would measure that scan, not the program.
    int runNumber = 0;
    QString out;
    const auto freshOutput = [&] {
        out = dir + QStringLiteral("/out-%1").arg(++runNumber);
        QDir(out).removeRecursively();
        // Nobody's unwritten data is left for the next run's sync to write.
        runMeasured(findProgram("sync"), {});
    };
    if (!QDir(plainStore).exists() || !QDir(keyedStore).exists()) {
        std::printf("writing two stores of %d files, three versions each…\n", files);
        writeStore(plainStore, files, false);
        writeStore(keyedStore, files, true);
        QDir(plainTree).removeRecursively();
    }
    // The restored plain tree is what cp -r and restic work on.
    if (!QDir(plainTree).exists() && restore(plainStore + "/C$", plainTree, dir, false).exitCode != 0) {
        std::printf("the first restore failed\n");
        return 1;
    }
    const QString repository = resticRepository(dir, plainTree);

    const QList<Contender> contenders = {
        {"cp -r of the plain tree", [&] { return copy(plainTree, out); }},
        {"restore", [&] { return restore(plainStore + "/C$", out, dir, false); }},
        {"restore keyed", [&] { return restore(keyedStore + "/C$", out, dir, true); }},
        {"restic restore", [&] { return resticRestore(repository, out); }},
        {"cp -r, then sync", [&] { return copyAndSync(plainTree, out); }},
        {"restore --jobs 1", [&] { return restore(plainStore + "/C$", out, dir, false, {"--jobs", "1"}); }},
    };
    const qint64 needed = qint64(rounds) * contenders.size() * treeBytes(plainTree) * 11 / 10;
    if (QStorageInfo(dir).bytesAvailable() < needed) {
        std::printf("the runs' outputs need %lld MiB on %s\n", needed >> 20, qPrintable(dir));
        return 1;
    }
    const QList<Run> runs = alternatingMedians(rounds, contenders, freshOutput);
    for (int i = 1; i <= runNumber; ++i)
        QDir(dir + QStringLiteral("/out-%1").arg(i)).removeRecursively();

    std::printf("median of %d alternating runs, each into a new folder after a sync; the restore syncs the file "
                "system once at its end\n",
                rounds);
    const Run& cp = runs[0];
    for (qsizetype i = 1; i < runs.size(); ++i)
        line(contenders[i].name, files, runs[i], cp, contenders[0].name);
    line("restore", files, runs[1], runs[3], contenders[3].name);
    line("restore", files, runs[1], runs[4], contenders[4].name);
    line("restore", files, runs[1], runs[5], contenders[5].name);
    return 0;
}
