#pragma once
// Running commands and measuring them, for the benchmarks.
#include <QByteArray>
#include <QString>
#include <QList>
#include <QStringList>
#include <functional>

namespace quorbin::bench {

struct Run {
    int exitCode = -1;
    double seconds = 0;
    long peakKiB = 0;  // the child's peak resident set
};

// Runs the program with the environment additions; stdin/stdout may be redirected to files.
Run runMeasured(const QString& program, const QStringList& arguments, const QStringList& environment = {},
                const QString& stdinFile = {}, const QString& stdoutFile = {});

// The best (fastest) of n runs; aborts the benchmark if a run fails.
Run bestOf(int n, const QString& what, const std::function<Run()>& run);

// Contenders measured in one run: each round runs every one once, in turn, so a slow spell of
// the shared machine hits them alike. `prepare`, when given, runs before every run (to remove
// the last output). Returns each contender's median run and largest peak; aborts the benchmark
// if a run fails.
struct Contender {
    QString name;
    std::function<Run()> run;
};
QList<Run> alternatingMedians(int rounds, const QList<Contender>& contenders, const std::function<void()>& prepare = {});

// Mixed data: text-like runs and random runs, about half compressible.
void writeMixedFile(const QString& path, qint64 size);

bool sameFiles(const QString& a, const QString& b);
double mebibytesPerSecond(qint64 bytes, double seconds);
QString findProgram(const QString& name);

}  // namespace quorbin::bench
