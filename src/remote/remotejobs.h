#pragma once
// The window's long remote operations as jobs for its worker thread. Each gives the session's
// client the context's stop token for its run and ends with a result instead of an exception:
// Network with the server's reply, Cancelled after a stop, Refused while another operation of
// the client runs. Status and log lines go to the context's sinks; transfer progress to the
// client's own handlers. The session must outlive the job, and one job at a time uses it.
#include "remote/ftperror.h"
#include "remote/ftpsettings.h"
#include "remote/remotebrowser.h"
#include "platform/job.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace quorbin {

class RemoteJob : public Job {
public:
    JobResult run(const JobContext& context) final;

protected:
    explicit RemoteJob(FtpSession& session) : session_(session) {}
    // Throws FtpError, or IoError for a local file that cannot be read.
    virtual JobResult work(const JobContext& context) = 0;

    FtpSession& session_;
};

// "Verbindung testen" (ftpconnect: a failed login is no failure of the job) or
// "FTP-Verbindung herstellen" (openftp).
class ConnectJob : public RemoteJob {
public:
    enum class Mode { Test, Open };
    ConnectJob(FtpSession& session, FtpSettings settings, Mode mode)
        : RemoteJob(session), settings_(std::move(settings)), mode_(mode)
    {
    }
    // After a run that failed because the server's certificate is not the stored one: that
    // refusal, for the window to ask whether the new certificate is to be trusted.
    const std::optional<FtpError>& certificateChange() const { return certificateChange_; }

protected:
    JobResult work(const JobContext& context) override;

private:
    FtpSettings settings_;
    Mode mode_;
    std::optional<FtpError> certificateChange_;
};

// The current directory's listing for the grid and the tree.
class ListJob : public RemoteJob {
public:
    explicit ListJob(FtpSession& session) : RemoteJob(session) {}
    // After a successful run: the view, or nothing when the entries cannot be read.
    const std::optional<RemoteView>& view() const { return view_; }

protected:
    JobResult work(const JobContext& context) override;

private:
    std::optional<RemoteView> view_;
};

// A node opened in the tree: down its path from the base path, then the listing there.
class OpenNodeJob : public ListJob {
public:
    OpenNodeJob(FtpSession& session, QStringList nodePath) : ListJob(session), nodePath_(std::move(nodePath)) {}

protected:
    JobResult work(const JobContext& context) override;

private:
    QStringList nodePath_;
};

// "diese Datei herunterladen" and "… und temp. öffnen": FetchRemoteFile; the window then hands
// the result to FinishRemoteDownload.
class DownloadJob : public RemoteJob {
public:
    DownloadJob(FtpSession& session, QString name, QString key)
        : RemoteJob(session), name_(std::move(name)), key_(std::move(key))
    {
    }
    const QString& downloadFile() const { return downloadFile_; }

protected:
    JobResult work(const JobContext& context) override;

private:
    QString name_;
    QString key_;
    QString downloadFile_;
};

// "löschen": a file of the current directory.
class DeleteFileJob : public RemoteJob {
public:
    DeleteFileJob(FtpSession& session, QString name) : RemoteJob(session), name_(std::move(name)) {}

protected:
    JobResult work(const JobContext& context) override;

private:
    QString name_;
};

// "FTP-Verbindung trennen": the server's goodbye may take as long as any other reply.
class DisconnectJob : public RemoteJob {
public:
    explicit DisconnectJob(FtpSession& session) : RemoteJob(session) {}

protected:
    JobResult work(const JobContext& context) override;
};

// "Verzeichnis löschen": DeleteRemoteDirectory.
class DeleteDirectoryJob : public RemoteJob {
public:
    DeleteDirectoryJob(FtpSession& session, QStringList nodePath)
        : RemoteJob(session), nodePath_(std::move(nodePath))
    {
    }

protected:
    JobResult work(const JobContext& context) override;

private:
    QStringList nodePath_;
};

}  // namespace quorbin
