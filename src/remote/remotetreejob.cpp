#include "remote/remotetreejob.h"

#include "platform/errors.h"
#include "remote/ftperror.h"

#include <QCoreApplication>

namespace quorbin {

RemoteTreeJob::RemoteTreeJob(FtpSettings settings, QString storeRoot, QString remoteDirectory,
                             DirRestoreJob::Options tree)
    : settings_(std::move(settings)), storeRoot_(std::move(storeRoot)), remoteDirectory_(std::move(remoteDirectory)),
      tree_(std::move(tree))
{
}

JobResult RemoteTreeJob::run(const JobContext& context)
{
    RemoteStore::Options options;
    options.storeRoot = storeRoot_;
    options.stop = context.stop;
    options.warn = [&log = context.report.log](const QString& warning) { log.appendLine(warning); };
    context.report.status.setStatus(QCoreApplication::translate("Remote", "verbinden mit: %1").arg(settings_.host));
    std::shared_ptr<RemoteStore> store;
    try {
        QStringList warnings;
        store = OpenRemoteStore(settings_, options, warnings);
        for (const QString& warning : warnings)
            context.report.log.appendLine(warning);
    } catch (const FtpError& error) {
        if (error.certificateChanged())
            certificateChange_ = error;
        return FtpFailure(error);
    } catch (const IoError& error) {
        return JobResult::failure(ErrorKind::Network, error.text());
    }
    DirRestoreJob::Options tree = tree_;
    tree.startDirectory = store->storePathOf(remoteDirectory_);
    if (!tree.startDirectory.contains(u'$'))
        return JobResult::failure(ErrorKind::Refused,
                                  QCoreApplication::translate("Remote", "Kein Backup-Pfad. Bitte neu wählen!"));
    tree.store = store;
    if (tree.jobs <= 0)
        tree.jobs = kRemoteWorkers;
    return DirRestoreJob(std::move(tree)).run(context);
}

}  // namespace quorbin
