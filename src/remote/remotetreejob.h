#pragma once
// A tree of the mirror restored as a job: connects with connections of its own (not the
// window's session, which may be busy listing), then walks as "Zurückladen" does.
#include "engine/dirrestore.h"
#include "remote/ftperror.h"
#include "remote/remotestore.h"

#include <optional>

namespace quorbin {

class RemoteTreeJob : public Job {
public:
    // `tree.startDirectory` is left empty: it comes from `remoteDirectory` below the base path;
    // `tree.store` is set by the job.
    RemoteTreeJob(FtpSettings settings, QString storeRoot, QString remoteDirectory, DirRestoreJob::Options tree);
    JobResult run(const JobContext& context) override;
    // After a run that failed because the server's certificate is not the stored one: that
    // refusal, for the window to ask whether the new certificate is to be trusted.
    const std::optional<FtpError>& certificateChange() const { return certificateChange_; }

private:
    FtpSettings settings_;
    QString storeRoot_;
    QString remoteDirectory_;
    DirRestoreJob::Options tree_;
    std::optional<FtpError> certificateChange_;
};

}  // namespace quorbin
