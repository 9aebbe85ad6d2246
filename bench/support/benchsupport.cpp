#include "support/benchsupport.h"

#include <algorithm>

#include <QFile>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace quorbin::bench {

Run runMeasured(const QString& program, const QStringList& arguments, const QStringList& environment,
                const QString& stdinFile, const QString& stdoutFile)
{
    std::vector<QByteArray> argStore{program.toLocal8Bit()};
    for (const QString& a : arguments)
        argStore.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& a : argStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<QByteArray> envStore;
    for (const QString& e : environment)
        envStore.push_back(e.toLocal8Bit());

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        for (QByteArray& e : envStore)
            putenv(e.data());
        if (!stdinFile.isEmpty()) {
            const int fd = open(stdinFile.toLocal8Bit().constData(), O_RDONLY);
            dup2(fd, 0);
        }
        if (!stdoutFile.isEmpty()) {
            const int fd = open(stdoutFile.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(fd, 1);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    Run run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.peakKiB = usage.ru_maxrss;
    return run;
}

Run bestOf(int n, const QString& what, const std::function<Run()>& run)
{
    Run best;
    for (int i = 0; i < n; ++i) {
        const Run r = run();
        if (r.exitCode != 0) {
            std::fprintf(stderr, "%s failed with exit code %d\n", qPrintable(what), r.exitCode);
            std::exit(1);
        }
        if (i == 0 || r.seconds < best.seconds)
            best.seconds = r.seconds;
        best.peakKiB = std::max(best.peakKiB, r.peakKiB);
        best.exitCode = 0;
    }
    return best;
}

QList<Run> alternatingMedians(int rounds, const QList<Contender>& contenders, const std::function<void()>& prepare)
{
    QList<QList<Run>> runs(contenders.size());
    for (int round = 0; round < rounds; ++round) {
        for (qsizetype i = 0; i < contenders.size(); ++i) {
            if (prepare)
                prepare();
            const Run r = contenders[i].run();
            if (r.exitCode != 0) {
                std::fprintf(stderr, "%s failed with exit code %d\n", qPrintable(contenders[i].name), r.exitCode);
                std::exit(1);
            }
            runs[i] << r;
        }
    }
    QList<Run> medians;
    for (QList<Run>& all : runs) {
        std::sort(all.begin(), all.end(), [](const Run& a, const Run& b) { return a.seconds < b.seconds; });
        Run median = all[all.size() / 2];
        for (const Run& r : all)
            median.peakKiB = std::max(median.peakKiB, r.peakKiB);
        medians << median;
    }
    return medians;
}

void writeMixedFile(const QString& path, qint64 size)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::exit(1);
    QRandomGenerator random(42);
    static const QByteArray words = "Angebot Rechnung Brief an die Bank, Datum 19.04.2018; Summe 1500 EUR.\r\n";
    std::vector<char> block(1 << 20);
    qint64 written = 0;
    while (written < size) {
        qsizetype at = 0;
        while (at < qsizetype(block.size())) {
            const qsizetype run = std::min<qsizetype>(qsizetype(random.bounded(8192u)) + 1, block.size() - at);
            if (random.bounded(2u) == 0) {
                random.fillRange(reinterpret_cast<quint32*>(block.data() + at), run / 4);
                for (qsizetype i = run / 4 * 4; i < run; ++i)
                    block[at + i] = char(random.bounded(256u));
            } else {
                for (qsizetype i = 0; i < run; ++i)
                    block[at + i] = words.at((at + i) % words.size());
            }
            at += run;
        }
        const qint64 n = std::min<qint64>(qint64(block.size()), size - written);
        out.write(block.data(), n);
        written += n;
    }
}

bool sameFiles(const QString& a, const QString& b)
{
    QFile fa(a), fb(b);
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly) || fa.size() != fb.size())
        return false;
    std::vector<char> ba(1 << 20), bb(1 << 20);
    for (;;) {
        const qint64 na = fa.read(ba.data(), qint64(ba.size()));
        const qint64 nb = fb.read(bb.data(), qint64(bb.size()));
        if (na != nb)
            return false;
        if (na <= 0)
            return true;
        if (memcmp(ba.data(), bb.data(), size_t(na)) != 0)
            return false;
    }
}

double mebibytesPerSecond(qint64 bytes, double seconds) { return double(bytes) / (1 << 20) / seconds; }

QString findProgram(const QString& name)
{
    const QString found = QStandardPaths::findExecutable(name);
    if (found.isEmpty()) {
        std::fprintf(stderr, "%s is not installed (scripts/install-deps.sh installs it)\n", qPrintable(name));
        std::exit(1);
    }
    return found;
}

}  // namespace quorbin::bench
