#pragma once
// The FTP mirror of a store as a tree walk reads it. The walk names store paths as a local
// walk of the same store would (the set's target folder, then the path below it), so its
// log lines and targets are the same; here they become paths below the mirror's base path.
// Each thread that reads takes a connection of its own from a pool, so the walk's workers
// download side by side.
#include "engine/storeaccess.h"
#include "remote/ftpsession.h"
#include "remote/ftpsettings.h"
#include "remote/retries.h"

#include <QByteArray>
#include <QHash>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace quorbin {

// Downloads at a time unless told otherwise: the network, not the processor, sets the pace.
inline constexpr int kRemoteWorkers = 4;

class RemoteStore : public StoreAccess {
public:
    struct Options {
        QString storeRoot;  // the Windows path that the base path stands for: the set's target folder
        // Restore also what is in place already: a target whose last-write time is the chosen
        // version's time (a plain entry: also its size) is otherwise left as it is.
        bool force = false;
        RetryPolicy retry;  // after a dropped connection
        std::stop_token stop;  // ends listings and waits between attempts
        // Told, from any thread, of what the user should know but the log does not show: a
        // server that takes fewer connections than asked for. May be empty.
        std::function<void(const QString& warning)> warn;
    };

    // `session` went through the connect sequence: its base path and the time check count.
    RemoteStore(std::unique_ptr<FtpSession> session, FtpSettings settings, Options options);
    ~RemoteStore() override;

    // The store path of a directory below the base path ("Set1/C$/Docs"); empty for a path
    // that climbs ("..") or is absolute.
    QString storePathOf(const QString& remoteDirectory) const;
    // The time difference applied to listed times, in seconds (local minus server).
    qint64 clockOffsetSeconds() const { return offsetSeconds_; }
    // Files left as they were because they were in place already.
    qint64 skipped() const { return skipped_; }

    JobResult list(const QString& directory, QList<platform::DirEntry>& entries) override;
    JobResult restore(const QString& versionPath, const QString& target, const QString& key, const QDateTime& stamp,
                      const JobContext& context) override;
    JobResult verify(const QString& versionPath, const QString& key, const JobContext& context) override;
    JobResult copyPlain(const QString& source, const QString& target, const JobContext& context) override;
    // MDTM, moved by the clock difference as listed times are; asked once per file.
    std::optional<qint64> exactTime(const QString& storePath) override;
    bool sharesFolders() const override { return true; }

private:
    struct Known {
        QByteArray bytes;  // the remote path as the server spells it
        std::optional<qint64> seconds;  // listed time, local
        qint64 size = -1;
        bool dayOnly = false;  // `seconds` is the listed day's start
        bool asked = false;    // the server was asked for the exact time
    };
    // A connection of the pool: an idle one (unless `fresh`), a new one while the server takes
    // more, else the next one given back. Throws FtpError when none comes about.
    std::unique_ptr<FtpClient> take(std::stop_token stop, bool fresh = false);
    void giveBack(std::unique_ptr<FtpClient> client);
    // A connection that may have broken: closed, and its place free for a new one.
    void discard(std::unique_ptr<FtpClient> client);
    // After a login refused for the server's limit: once no other login is under way, the walk
    // goes on with the connections that got in, and says so once. Wakes those who wait (lock
    // held).
    void settleLimit();
    template <typename Step>
    JobResult attempt(const QString& storePath, std::stop_token stop, const Step& step);
    std::optional<Known> known(const QString& storePath);
    QByteArray remoteOf(const QString& storePath, std::stop_token stop);
    JobResult fetch(const QString& storePath, const QString& key, const QString& target, const JobContext& context,
                    bool decode);

    // Whether the server sent nothing on any connection for the stall limit; once so, every
    // step fails at once with that cause, and the walk runs out.
    std::optional<JobResult> stalled(const QString& storePath);
    void heardFromServer();

    const FtpSettings settings_;
    const Options options_;
    const std::unique_ptr<FtpSession> session_;  // holds the first connection's login
    QByteArray rootBytes_;
    bool utf8_ = false;  // the server announced UTF8
    qint64 offsetSeconds_ = 0;
    std::mutex lock_;
    std::condition_variable_any returned_;
    std::vector<std::unique_ptr<FtpClient>> idle_;
    int open_ = 0;        // connections of the pool, idle or in use
    int connecting_ = 0;  // logins under way
    int limit_ = 0;       // the most the server takes at once; 0 while none was refused
    bool refused_ = false;    // a login was refused, and others were under way
    bool limitTold_ = false;
    QHash<QString, Known> known_;  // store path → where and what it is on the server
    std::atomic<qint64> skipped_ = 0;
    std::atomic<qint64> lastHeardMs_;  // the steady clock when the server last sent something
    std::atomic<bool> stalled_ = false;
};

// The store path of a directory below the base path, the store's root standing for the base
// path; empty for a path that climbs ("..") or is absolute. Known before any connection.
QString StorePathBelow(const QString& storeRoot, const QString& remoteDirectory);

// Connects as the window's "FTP-Verbindung herstellen" does (the connect's warnings in
// `warnings`) and opens the mirror. Throws FtpError when no connection comes about.
std::shared_ptr<RemoteStore> OpenRemoteStore(const FtpSettings& settings, RemoteStore::Options options,
                                             QStringList& warnings);

}  // namespace quorbin
