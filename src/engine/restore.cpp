#include "engine/restore.h"

#include "engine/storepath.h"
#include "engine/tempfiles.h"
#include "engine/tzip.h"
#include "platform/datetime.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/replacefile.h"
#include "platform/userinterface.h"
#include "platform/winpath.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <memory>

namespace quorbin {
namespace {

// Absolute target with its folders made, or why they cannot be made.
JobResult prepareTarget(const QString& target, QString& full)
{
    full = platform::absolutePath(target);
    // A walk writes many files into each folder: the folder is made once. Should it vanish
    // meanwhile, the replacement file makes it again.
    thread_local QString lastFolderMade;
    const QString folder = platform::directoryPart(full);
    if (folder == lastFolderMade)
        return JobResult::success();
    errno = 0;
    if (!platform::createFolders(folder))
        return platform::targetNotWritable(
            errno ? platform::systemReason(errno) : QCoreApplication::translate("Engine", "Ordner nicht anlegbar"),
            full);
    lastFolderMade = folder;
    return JobResult::success();
}

// Whether the existing target may be replaced under the overwrite mode.
bool mayReplace(const QString& existing, int mode)
{
    if (!platform::fileExists(existing))
        return true;
    if (mode == kSkipExisting)
        return false;
    if (mode == kAskBeforeReplacing)
        return ui().ask(existing, QCoreApplication::translate("Engine", "überschreiben?"), Buttons::YesNo) ==
               Answer::Yes;
    return true;
}

int resultCode(const JobResult& result) { return result.ok() ? 0 : -1; }

// A date text in the user's format as a time; none for a text that is no date.
QDateTime stampOf(const QString& dateText) { return platform::parseUserDateTimeText(dateText).value_or(QDateTime()); }

}  // namespace

JobResult RestoreStored(const QString& source, const QString& target, const QString& key, const QString& dateText,
                        const JobContext& context)
{
    return RestoreStoredTo(source, RestoreBlanks(target), key, stampOf(dateText), context);
}

JobResult RestoreStoredTo(const QString& source, const QString& target, const QString& key, const QDateTime& stamp,
                          const JobContext& context)
{
    QString full;
    if (JobResult prepared = prepareTarget(target, full); !prepared.ok())
        return prepared;
    if (!key.isEmpty())
        context.report.status.setStatus(QCoreApplication::translate("Engine", "entschlüsseln: %1").arg(source));
    // Deciphered as it is read: no deciphered copy of the stored file has to be written to the
    // temporary directory first, which a large file might not even fit into.
    // Stamped before it takes its place: a failed restore leaves the old target and its time.
    return ExpandContainer(source, full, key, context, stamp);
}

JobResult CopyPlain(const QString& source, const QString& target, const JobContext& context)
{
    platform::ReadFile in(source);
    if (!in.isOpen())
        return JobResult::failure(ErrorKind::SourceUnreadable,
                                  QCoreApplication::translate("Engine", "Datei fehlt oder ist nicht lesbar"),
                                  platform::hostPathOf(source));
    // A read-only target is replaced all the same (a copy clears the attribute); a directory never.
    if (platform::directoryExists(target))
        return platform::targetNotWritable(QCoreApplication::translate("Engine", "ist ein Verzeichnis"), target);
    platform::ReplacementFile out(target);
    if (!out.isOpen())
        return platform::targetNotWritable(out.errorString(), target);
    constexpr qint64 kBuffer = 1 << 20;
    const auto buffer = std::make_unique_for_overwrite<char[]>(kBuffer);
    qint64 copied = 0;
    for (;;) {
        const qint64 got = in.read(buffer.get(), kBuffer);
        if (got < 0)
            return JobResult::failure(ErrorKind::SourceUnreadable, QCoreApplication::translate("Engine", "Lesefehler"),
                                      platform::hostPathOf(source));
        if (got == 0)
            break;
        if (!out.write(buffer.get(), got))
            return platform::targetNotWritable(out.errorString(), target);
        copied += got;
        context.report.progress.advanced(0, copied);
        if (context.stopRequested())
            return JobResult::cancelled();
    }
    // Like the store's platform, a copy keeps the source's last-write time.
    if (const auto time = platform::lastWriteTime(source))
        out.setLastWriteTime(*time);
    if (!out.commit())
        return platform::targetNotWritable(out.errorString(), target);
    return JobResult::success();
}

JobResult CopyUnchanged(const QString& source, const QString& target, const JobContext& context)
{
    QString full;
    if (JobResult prepared = prepareTarget(target, full); !prepared.ok())
        return prepared;
    return platform::isSameFile(source, full) ? SameFileRefusal(source) : CopyPlain(source, full, context);
}

FileRestoreJob::FileRestoreJob(QString source, QString target, QString key, Options options)
    : source_(std::move(source)), target_(std::move(target)), key_(std::move(key)), options_(std::move(options))
{
}

JobResult FileRestoreJob::run(const JobContext& context)
{
    context.report.progress.started(1, std::max<qint64>(0, platform::fileSize(source_)));
    context.report.progress.item(source_);
    JobResult result;
    QString target = target_;
    if (HasContainerExtension(source_) || !options_.copyPlainFiles) {
        target = options_.blankMarksInTarget ? RestoreBlanks(target_) : target_;
        result = RestoreStoredTo(source_, target, key_, options_.stamp, context);
    } else {
        result = CopyUnchanged(source_, target, context);
    }
    context.report.progress.finished();
    // The user learns where the file went, which on this system may be a mapped drive's folder.
    if (result.ok())
        result.message = QCoreApplication::translate("Engine", "wiederhergestellt: %1")
                             .arg(platform::hostPathOf(platform::absolutePath(target)));
    return result;
}

int RestoreStoredFile(const QString& source, const QString& target, const QString& key, StatusSink& status,
                      const QString& dateText)
{
    BusyPointer busy;
    const JobContext context{std::stop_token(), RestoreReporter{status, noLog(), noProgress()}};
    return resultCode(RestoreStored(source, target, key, dateText, context));
}

int ExpandToFile(const QString& source, const QString& target, int mode)
{
    QString full;
    if (!prepareTarget(target, full).ok())
        return -1;
    if (!mayReplace(full, mode))
        return -1;
    return resultCode(ExpandContainer(source, full, QString(), quietContext()));
}

int CopyOrExpand(const QString& source, const QString& target, bool copyOnly, int mode)
{
    QString full;
    prepareTarget(target, full);
    const QString checkName = full.endsWith(u'_') ? full.chopped(1) : full;
    if (!mayReplace(checkName, mode))
        return 0;
    if (!platform::fileExists(source))
        return 2;
    if (platform::isSameFile(source, full))
        return 1;  // a copy onto itself would empty the store's file
    if (source.endsWith(u'_') && !copyOnly)
        return Zip().Expand(source, full.chopped(1));
    return CopyPlainFile(source, full) == 0 ? 0 : 1;
}

int CopyPlainFile(const QString& source, const QString& target)
{
    return resultCode(CopyPlain(source, target, quietContext()));
}

}  // namespace quorbin
