#pragma once
// The options that `dir` and `ftp … dir` share: target, version rule, date, asking, dry run
// and the number of workers.
#include "engine/dirrestore.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace quorbin::cli {

struct TreeOptions {
    std::optional<QString> to;
    VersionRule rule = kNewestVersion;
    double versionLimit = 0;  // day count, for the rule "before"
    bool ask = false;
    bool dryRun = false;
    int jobs = 0;  // 0: not given
};

// Takes --to, --rule, --before, --ask, --dry-run and --jobs out of the arguments; a usage
// error goes to `error`.
TreeOptions takeTreeOptions(QStringList& arguments, QString& error);

// The job's options for a walk from `start` with these options; the new start directory
// ends in "\".
DirRestoreJob::Options treeJobOptions(const TreeOptions& tree, const QString& start);

// Prints why the walk's targets are refused; true when they are.
bool refusesTargets(const DirRestoreJob::Options& options);

// Runs the walk with its lines on stdout, warnings and the progress line on stderr, until
// done or a signal; `after` (may be empty) runs before the job's failure is printed. The
// command's exit status.
int runTreeJob(DirRestoreJob::Options options, const std::function<void()>& after = {});

}  // namespace quorbin::cli
