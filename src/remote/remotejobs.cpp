#include "remote/remotejobs.h"

#include "platform/errors.h"
#include "remote/ftpconnect.h"
#include "remote/ftperror.h"

namespace quorbin {

JobResult RemoteJob::run(const JobContext& context)
{
    // The token must not change under an operation of another thread.
    if (session_.client.Busy())
        return JobResult::failure(ErrorKind::Refused, remoteText(kFtpClientBusy));
    const FtpClient::StopScope scope(session_.client, context.stop);
    const struct Finished {
        ProgressSink& progress;
        ~Finished() { progress.finished(); }
    } finished{context.report.progress};
    try {
        return work(context);
    } catch (const FtpError& error) {
        return FtpFailure(error);
    } catch (const IoError& error) {
        return JobResult::failure(ErrorKind::SourceUnreadable, error.text());
    }
}

JobResult ConnectJob::work(const JobContext& context)
{
    try {
        if (mode_ == Mode::Open)
            openftp(session_, settings_, context.report.status, context.report.log, context.stop);
        else
            ftpconnect(session_, settings_, context.report.status, context.report.log, context.stop);
    } catch (const FtpError& error) {
        if (error.certificateChanged())
            certificateChange_ = error;
        throw;
    }
    return JobResult::success();
}

JobResult ListJob::work(const JobContext&)
{
    view_ = ListRemoteView(session_);
    return JobResult::success();
}

JobResult OpenNodeJob::work(const JobContext& context)
{
    OpenRemoteNode(session_, nodePath_, context.report.log);
    return ListJob::work(context);
}

JobResult DownloadJob::work(const JobContext& context)
{
    return FetchRemoteFile(session_, name_, key_, context, downloadFile_);
}

JobResult DeleteFileJob::work(const JobContext&)
{
    session_.client.Delete(name_);
    return JobResult::success();
}

JobResult DisconnectJob::work(const JobContext& context)
{
    session_.Disconnect(context.report.status);
    return JobResult::success();
}

JobResult DeleteDirectoryJob::work(const JobContext&)
{
    DeleteRemoteDirectory(session_, nodePath_);
    return JobResult::success();
}

}  // namespace quorbin
