#include "remote/remotestore.h"

#include "platform/files.h"
#include "platform/hostnames.h"
#include "platform/replacefile.h"
#include "remote/downloaddecoder.h"
#include "remote/ftpconnect.h"
#include "remote/ftperror.h"
#include "remote/ftpreplies.h"
#include "remote/resumabledownload.h"
#include "remote/retries.h"
#include "remote/timecheck.h"

#include <QCoreApplication>
#include <QSet>
#include <cerrno>
#include <cmath>
#include <condition_variable>

namespace quorbin {
namespace {

// A listed time that cannot be used: before the store's first possible time, so the version
// choice fails on it (with its ERROR line) instead of looking for the path on this disk.
constexpr qint64 kNoUsableTime = 0;
constexpr qint64 kProgressStep = qint64(64) * 1024;

// A login refused while another connection of the same account is in: the server's limit of
// connections from one address (vsftpd and pure-ftpd greet with 421, ProFTPD with 530), not a
// wrong password, which the first connection would have met.
bool refusedForNow(const FtpError& error) { return error.replyCode() == 421 || error.replyCode() == 530; }

qint64 steadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The listed time in local time. The server's clock may run ahead or behind: the time check
// of the connect measured by how much, and the times move by that, rounded to whole minutes
// (the check's own latency and the listing's whole seconds make the rest noise). A listing
// with the day only (old LIST lines) gives that day's local midnight, unmoved: a clock a few
// minutes off does not move a day. No time gives none that can be used.
qint64 listedSeconds(const FtpListEntry& entry, qint64 offsetSeconds)
{
    if (!entry.modified.isValid())
        return kNoUsableTime;
    if (entry.resolution == FtpTimeResolution::Day)
        return entry.modified.toSecsSinceEpoch();
    return entry.modified.toSecsSinceEpoch() + offsetSeconds;
}

bool sameTime(const QString& target, const QDateTime& time)
{
    const auto existing = platform::lastWriteTime(target);
    return existing && time.isValid() && existing->toSecsSinceEpoch() == time.toSecsSinceEpoch();
}

}  // namespace

RemoteStore::RemoteStore(std::unique_ptr<FtpSession> session, FtpSettings settings, Options options)
    : settings_(std::move(settings)), options_(std::move(options)), session_(std::move(session)),
      lastHeardMs_(steadyMs())
{
    QString base = session_->FtpBasePath;
    while (base.endsWith(u'/'))
        base.chop(1);
    rootBytes_ = base.isEmpty() ? QByteArray() : session_->client.spelling(base);
    utf8_ = session_->client.announcesUtf8();
    offsetSeconds_ = ClockOffsetSeconds(session_->TimeDifference);
    // The connect's own connection would hold one of the places that a server gives each
    // address; the walk's connections come from the pool.
    PassOverFailure([this] { session_->client.Disconnect(); });
}

RemoteStore::~RemoteStore() = default;

QString RemoteStore::storePathOf(const QString& remoteDirectory) const
{
    return StorePathBelow(options_.storeRoot, remoteDirectory);
}

QString StorePathBelow(const QString& storeRoot, const QString& remoteDirectory)
{
    QString path = storeRoot;
    while (path.endsWith(u'\\'))
        path.chop(1);
    if (remoteDirectory.startsWith(u'/'))
        return {};
    for (const QString& step : remoteDirectory.split(u'/', Qt::SkipEmptyParts)) {
        if (step == u".." || step.contains(u'\\'))
            return {};
        if (step != u".")
            path += u'\\' + step;
    }
    return path;
}

std::unique_ptr<FtpClient> RemoteStore::take(std::stop_token stop, bool fresh)
{
    std::unique_lock held(lock_);
    for (;;) {
        if (!idle_.empty() && !fresh) {
            auto client = std::move(idle_.back());
            idle_.pop_back();
            return client;
        }
        if (!idle_.empty() && limit_ != 0 && open_ + connecting_ >= limit_) {
            // At the server's limit an idle connection makes room for the new one.
            auto room = std::move(idle_.back());
            idle_.pop_back();
            --open_;
            held.unlock();
            room.reset();
            held.lock();
            continue;
        }
        if (limit_ == 0 || open_ + connecting_ < limit_) {
            ++connecting_;
            held.unlock();
            auto client = std::make_unique<FtpClient>();
            std::optional<FtpError> failure;
            try {
                ConnectAnother(*client, settings_, stop);
            } catch (const FtpError& error) {
                failure = error;
            }
            held.lock();
            --connecting_;
            if (!failure) {
                ++open_;
                settleLimit();
                return client;
            }
            if (!refusedForNow(*failure) || open_ + connecting_ == 0) {
                settleLimit();
                throw *failure;  // with no connection of ours in, a refusal is the server's to retry
            }
            // No more logins than those under way until they tell how many got in.
            refused_ = true;
            limit_ = open_ + connecting_;
            settleLimit();
            continue;
        }
        // Wait for a connection given back, or for a place that a broken one left.
        if (!returned_.wait(held, stop, [this, fresh] {
                return (!idle_.empty() && !fresh) || limit_ == 0 || open_ + connecting_ < limit_;
            }))
            throw FtpError::cancellation();
    }
}

void RemoteStore::settleLimit()
{
    if (refused_ && connecting_ == 0) {
        refused_ = false;
        limit_ = open_;
        if (!limitTold_ && options_.warn) {
            limitTold_ = true;
            options_.warn(QCoreApplication::translate("Remote", "Verbindungen, die der Server zugleich annimmt: %1; es "
                                                                "geht mit diesen weiter.")
                              .arg(open_));
        }
    }
    returned_.notify_all();
}

void RemoteStore::giveBack(std::unique_ptr<FtpClient> client)
{
    const std::lock_guard guard(lock_);
    if (client->Connected())
        idle_.push_back(std::move(client));
    else
        --open_;
    returned_.notify_all();
}

void RemoteStore::discard(std::unique_ptr<FtpClient> client)
{
    client.reset();  // closes the connection before another may take its place
    const std::lock_guard guard(lock_);
    --open_;
    returned_.notify_all();
}

void RemoteStore::heardFromServer() { lastHeardMs_.store(steadyMs(), std::memory_order_relaxed); }

std::optional<JobResult> RemoteStore::stalled(const QString& storePath)
{
    const qint64 limitMs = qint64(settings_.stallLimitSeconds) * 1000;
    if (!stalled_ && steadyMs() - lastHeardMs_.load(std::memory_order_relaxed) < limitMs)
        return std::nullopt;
    stalled_ = true;
    return JobResult::failure(
        ErrorKind::Network,
        QCoreApplication::translate("Remote", "der Server hat %1 s lang nichts gesendet; abgebrochen")
            .arg(settings_.stallLimitSeconds),
        storePath);
}

template <typename Step>
JobResult RemoteStore::attempt(const QString& storePath, std::stop_token stop, const Step& step)
{
    for (int round = 0;; ++round) {
        if (stalled_)
            return *stalled(storePath);
        std::unique_ptr<FtpClient> client;
        try {
            // A server that hangs hangs the idle connections too: a new try logs in anew.
            client = take(stop, round > 0);
            JobResult result;
            {
                const FtpClient::StopScope scope(*client, stop);
                result = step(*client);
            }
            giveBack(std::move(client));
            heardFromServer();
            return result;
        } catch (const FtpError& error) {
            // A refusal leaves the connection as it was; anything else may have broken it.
            if (client && error.replyCode() >= 500)
                giveBack(std::move(client));
            else if (client)
                discard(std::move(client));
            if (error.cancelled() || stop.stop_requested())
                return JobResult::cancelled();
            if (const auto gaveUp = stalled(storePath))
                return *gaveUp;
            if (!mayRetry(error) || round >= options_.retry.retries)
                return JobResult::failure(ErrorKind::Network, error.text(), storePath);
            if (!waitBeforeRetry(options_.retry, round, stop))
                return JobResult::cancelled();
        } catch (...) {
            if (client)
                discard(std::move(client));
            throw;
        }
    }
}

std::optional<RemoteStore::Known> RemoteStore::known(const QString& storePath)
{
    const std::lock_guard guard(lock_);
    const auto found = known_.constFind(storePath);
    return found == known_.cend() ? std::nullopt : std::optional(*found);
}

QByteArray RemoteStore::remoteOf(const QString& storePath, std::stop_token stop)
{
    const QString root = storePathOf(QString());
    if (storePath == root)
        return rootBytes_;
    if (const auto found = known(storePath))
        return found->bytes;
    // A typed start directory: its steps are spelt as the server listed them.
    const QString parent = platform::directoryPart(storePath).chopped(1);
    if (parent.size() < root.size() || stop.stop_requested())
        return {};
    QList<platform::DirEntry> entries;
    if (!list(parent, entries).ok())
        return {};
    if (const auto found = known(storePath))
        return found->bytes;
    const QString name = platform::namePart(storePath);
    const QByteArray parentBytes = remoteOf(parent, stop);
    return parentBytes + '/' + (utf8_ ? name.toUtf8() : name.toLatin1());
}

JobResult RemoteStore::list(const QString& directory, QList<platform::DirEntry>& entries)
{
    entries.clear();
    const auto unreadable = [&](const QString& reason) {
        return JobResult::failure(ErrorKind::SourceUnreadable,
                                  QCoreApplication::translate("Remote", "Verzeichnis nicht lesbar: %1").arg(reason),
                                  directory);
    };
    const QByteArray bytes = remoteOf(directory, options_.stop);
    if (bytes.isEmpty() && directory != storePathOf(QString()))
        return unreadable(QCoreApplication::translate("Remote", "nicht auf dem Server"));
    QList<FtpListEntry> listed;
    const JobResult fetched = attempt(directory, options_.stop, [&](FtpClient& client) {
        listed = client.ListAt(bytes.isEmpty() ? QByteArray("/") : bytes);
        return JobResult::success();
    });
    if (!fetched.ok())
        return fetched.kind == ErrorKind::Cancelled ? fetched : unreadable(fetched.message);

    // A name that is no UTF-8 reads as Windows-1252, as on a disk; when that reading is
    // another entry's name too, the text cannot tell the two apart.
    QHash<QString, int> readings;
    for (const FtpListEntry& entry : listed)
        ++readings[platform::nameText(entry.rawName)];
    QHash<QString, Known> found;
    for (const FtpListEntry& entry : listed) {
        if (entry.directory && (entry.rawName == "." || entry.rawName == ".."))
            continue;
        platform::DirEntry dirEntry;
        dirEntry.name = platform::nameText(entry.rawName);
        dirEntry.directory = entry.directory;
        dirEntry.ambiguousName = !QByteArrayView(entry.rawName).isValidUtf8() && readings.value(dirEntry.name) > 1;
        if (!entry.directory) {
            dirEntry.size = entry.size;
            dirEntry.lastWriteSeconds = listedSeconds(entry, offsetSeconds_);
            dirEntry.dayOnly = entry.modified.isValid() && entry.resolution == FtpTimeResolution::Day;
        }
        found.insert(directory + u'\\' + dirEntry.name,
                     Known{bytes + '/' + entry.rawName, dirEntry.lastWriteSeconds, dirEntry.size, dirEntry.dayOnly});
        entries << dirEntry;
    }
    const std::lock_guard guard(lock_);
    known_.insert(found);
    return JobResult::success();
}

JobResult RemoteStore::fetch(const QString& storePath, const QString& key, const QString& target,
                             const JobContext& context, bool decode)
{
    const QByteArray bytes = remoteOf(storePath, context.stop);
    if (bytes.isEmpty())
        return JobResult::failure(ErrorKind::SourceUnreadable,
                                  QCoreApplication::translate("Remote", "Datei fehlt oder ist nicht lesbar"),
                                  storePath);
    const QString remoteText = DecodeServerText(bytes);
    QString full;
    if (!target.isEmpty()) {
        full = platform::absolutePath(target);
        errno = 0;
        if (!platform::createFolders(platform::directoryPart(full)))
            return platform::targetNotWritable(
                errno ? platform::systemReason(errno) : QCoreApplication::translate("Remote", "Ordner nicht anlegbar"),
                full);
        if (platform::directoryExists(full))
            return platform::targetNotWritable(QCoreApplication::translate("Remote", "ist ein Verzeichnis"), full);
        if (const auto why = platform::whyNotReplaceable(full); why && decode)
            return platform::targetNotWritable(*why, full);
    }
    if (decode && !key.isEmpty())
        context.report.status.setStatus(QCoreApplication::translate("Remote", "entschlüsseln: %1").arg(remoteText));
    // One file beside the target and one decoder for all tries: a try after a broken
    // connection goes on where the last one ended, and the target itself is replaced only once
    // the whole stream (and its checksum) came.
    std::optional<platform::ReplacementFile> out;
    if (!full.isEmpty()) {
        out.emplace(full);
        if (!out->isOpen())
            return platform::targetNotWritable(out->errorString(), full);
    }
    std::optional<DownloadDecoder> decoder;
    if (decode)
        decoder.emplace(key, out ? &*out : nullptr, remoteText, full, context);
    // The container's bytes as they come, as a local restore reports what it read, in steps of
    // its read size rather than the network's small chunks.
    qint64 received = 0;
    qint64 reported = 0;
    ResumableDownload download(bytes, [&](const char* data, qint64 size) {
        heardFromServer();
        received += size;
        if (received - reported >= kProgressStep) {
            reported = received;
            context.report.progress.advanced(0, received);
        }
        return decoder ? decoder->receive(data, size) : out->write(data, size);
    });
    JobResult fetched = attempt(storePath, context.stop, [&](FtpClient& client) -> JobResult {
        try {
            download.tryOn(client);
        } catch (const FtpError&) {
            // A wrong key, damage or a full disk is the result: no new try mends that.
            if (download.refused())
                return decoder ? decoder->abandon() : platform::targetNotWritable(out->errorString(), full);
            throw;
        }
        return JobResult::success();
    });
    if (!fetched.ok())
        return fetched;
    context.report.progress.advanced(0, received);  // the last piece too: a summary adds them up
    if (decoder) {
        JobResult decoded = decoder->finish();
        if (!decoded.ok())
            return decoded;
    }
    if (context.stopRequested())
        return JobResult::cancelled();
    if (out && !out->commit())
        return platform::targetNotWritable(out->errorString(), full);
    return JobResult::success();
}

JobResult RemoteStore::restore(const QString& versionPath, const QString& target, const QString& key,
                               const QDateTime& stamp, const JobContext& context)
{
    // The restore stamps each file with its version's time and puts it in place only whole:
    // a target of that time is one an earlier run brought back.
    if (!options_.force && sameTime(platform::absolutePath(target), stamp)) {
        ++skipped_;
        return JobResult::success();
    }
    JobResult result = fetch(versionPath, key, target, context, true);
    if (result.ok() && stamp.isValid())
        platform::setLastWriteTime(platform::absolutePath(target), stamp);
    return result;
}

JobResult RemoteStore::verify(const QString& versionPath, const QString& key, const JobContext& context)
{
    return fetch(versionPath, key, QString(), context, true);
}

std::optional<qint64> RemoteStore::exactTime(const QString& storePath)
{
    const std::optional<Known> listed = known(storePath);
    if (!listed || !listed->dayOnly)
        return listed ? listed->seconds : std::nullopt;
    if (listed->asked)
        return std::nullopt;
    std::optional<QDateTime> told;
    attempt(storePath, options_.stop, [&](FtpClient& client) {
        told = client.ModificationTimeAt(listed->bytes);
        return JobResult::success();
    });
    const std::lock_guard guard(lock_);
    Known& entry = known_[storePath];
    entry.asked = true;
    if (!told)
        return std::nullopt;
    entry.seconds = told->toSecsSinceEpoch() + offsetSeconds_;
    entry.dayOnly = false;
    return entry.seconds;
}

JobResult RemoteStore::copyPlain(const QString& source, const QString& target, const JobContext& context)
{
    std::optional<Known> listed = known(source);
    if (listed && listed->dayOnly)  // else the listed day alone, at its local midnight
        listed->seconds = exactTime(source).value_or(*listed->seconds);
    const std::optional<QDateTime> stamp =
        listed && listed->seconds ? platform::storeTime(*listed->seconds) : std::nullopt;
    const QString full = platform::absolutePath(target);
    if (!options_.force && stamp && sameTime(full, *stamp) && platform::fileSize(full) == listed->size) {
        ++skipped_;
        return JobResult::success();
    }
    JobResult result = fetch(source, QString(), target, context, false);
    if (result.ok() && stamp)
        platform::setLastWriteTime(full, *stamp);
    return result;
}

std::shared_ptr<RemoteStore> OpenRemoteStore(const FtpSettings& settings, RemoteStore::Options options,
                                             QStringList& warnings)
{
    auto session = std::make_unique<FtpSession>();
    const ConnectOutcome outcome = ftpconnect(*session, settings, noStatus(), noLog(), options.stop);
    warnings = outcome.warnings;
    if (!session->client.Connected())
        throw outcome.loginFailure.value_or(FtpError(QCoreApplication::translate("Remote", "Nicht verbunden.")));
    return std::make_shared<RemoteStore>(std::move(session), settings, std::move(options));
}

}  // namespace quorbin
