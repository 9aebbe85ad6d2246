#pragma once
// Turning one stored file back into a user file, and the small file services that every
// restore shares. A failure never destroys an existing target: new content is written beside
// it and put in its place only when complete.
#include "platform/job.h"
#include "platform/reporter.h"

#include <QDateTime>
#include <QString>

#include <utility>

namespace quorbin {

// Overwrite modes of ExpandToFile and CopyOrExpand; any other value replaces without a check.
inline constexpr int kSkipExisting = 1;
inline constexpr int kAskBeforeReplacing = 2;
inline constexpr int kReplaceExisting = -1;

// One stored file to `target` (its blank marks restored), deciphered with the key and
// expanded; with a date text the result gets that last-write time. The store's own file is
// never a target.
JobResult RestoreStored(const QString& source, const QString& target, const QString& key, const QString& dateText,
                        const JobContext& context);
// The same to a target taken as it is, blank marks and all, stamped with the time itself when
// it is valid: a date text need not read back in every locale.
JobResult RestoreStoredTo(const QString& source, const QString& target, const QString& key, const QDateTime& stamp,
                          const JobContext& context);

// A plain file copied with its last-write time, through a fresh file put in the target's place.
JobResult CopyPlain(const QString& source, const QString& target, const JobContext& context);
// CopyPlain to a target whose folders are made first; never onto the source itself.
JobResult CopyUnchanged(const QString& source, const QString& target, const JobContext& context);

// The single-file restore as a job: a container is restored; any other file is copied
// unchanged, or taken for a container too when plain copies are not wanted.
// A success names the written file's host path as its message.
class FileRestoreJob : public Job {
public:
    struct Options {
        QDateTime stamp;                // the result's last-write time, when valid
        bool copyPlainFiles = true;
        bool blankMarksInTarget = true;  // false: the target is a name typed by the user, taken as it is
    };
    FileRestoreJob(QString source, QString target, QString key, Options options);
    FileRestoreJob(QString source, QString target, QString key)
        : FileRestoreJob(std::move(source), std::move(target), std::move(key), Options())
    {
    }
    JobResult run(const JobContext& context) override;

private:
    QString source_;
    QString target_;
    QString key_;
    Options options_;
};

// RestoreStored for callers that need the product's result code: 0 restored; -1 not.
int RestoreStoredFile(const QString& source, const QString& target, const QString& key, StatusSink& status,
                      const QString& dateText);

// 0 expanded; -1 skipped, target folders failed, or the expansion failed.
int ExpandToFile(const QString& source, const QString& target, int mode);

// Copies a store entry, or expands it when its name ends in "_" and copyOnly is false.
// 0 done or skipped; -1 expansion failed; 1 target not created or copy failed; 2 source
// cannot be opened.
int CopyOrExpand(const QString& source, const QString& target, bool copyOnly, int mode);

// 0 copied (content and last-write time), -1 failed.
int CopyPlainFile(const QString& source, const QString& target);

}  // namespace quorbin
