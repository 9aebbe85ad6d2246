#include "remote/remotestore.h"

#include "platform/files.h"
#include "platform/hostnames.h"
#include "platform/replacefile.h"
#include "remote/downloaddecoder.h"
#include "remote/ftpconnect.h"
#include "remote/ftperror.h"
#include "remote/ftpreplies.h"

#include <QCoreApplication>
#include <QSet>
#include <QTimeZone>
#include <cerrno>
#include <cmath>
#include <condition_variable>

namespace quorbin {
namespace {

// A listed time that cannot be used: before the store's first possible time, so the version
// choice fails on it (with its ERROR line) instead of looking for the path on this disk.
constexpr qint64 kNoUsableTime = 0;
constexpr qint64 kProgressStep = qint64(256) * 1024;

// Whether an attempt may go better on a new connection: the connection broke (no reply) or
// the server refused for the time being (4xx). A 5xx refusal stays what it is, and so does a
// certificate that is not the stored one.
bool mayRetry(const FtpError& error)
{
    if (error.certificateChanged())
        return false;
    return error.replyCode() == 0 || (error.replyCode() >= 400 && error.replyCode() < 500);
}

// Waits, or less when the stop comes first; false then.
bool pause(std::chrono::milliseconds wait, std::stop_token stop)
{
    std::mutex m;
    std::condition_variable_any woken;
    std::unique_lock held(m);
    woken.wait_for(held, stop, wait, [] { return false; });
    return !stop.stop_requested();
}

// The listed time in local time. The server's clock may run ahead or behind: the time check
// of the connect measured by how much, and the times move by that, rounded to whole minutes
// (the check's own latency and the listing's whole seconds make the rest noise). A listing
// with the day only (old LIST lines) gives that day's first second, unmoved: a clock a few
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
    : settings_(std::move(settings)), options_(std::move(options)), session_(std::move(session))
{
    QString base = session_->FtpBasePath;
    while (base.endsWith(u'/'))
        base.chop(1);
    rootBytes_ = base.isEmpty() ? QByteArray() : session_->client.spelling(base);
    offsetSeconds_ = std::llround(session_->TimeDifference * 86400.0 / 60.0) * 60;
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

std::unique_ptr<FtpClient> RemoteStore::take(std::stop_token stop)
{
    {
        const std::lock_guard guard(lock_);
        if (!idle_.empty()) {
            auto client = std::move(idle_.back());
            idle_.pop_back();
            return client;
        }
    }
    auto client = std::make_unique<FtpClient>();
    ConnectAnother(*client, settings_, stop);
    return client;
}

void RemoteStore::giveBack(std::unique_ptr<FtpClient> client)
{
    if (!client->Connected())
        return;
    const std::lock_guard guard(lock_);
    idle_.push_back(std::move(client));
}

template <typename Step>
JobResult RemoteStore::attempt(const QString& storePath, std::stop_token stop, const Step& step)
{
    for (int round = 0;; ++round) {
        std::unique_ptr<FtpClient> client;
        try {
            client = take(stop);
            JobResult result;
            {
                const FtpClient::StopScope scope(*client, stop);
                result = step(*client);
            }
            giveBack(std::move(client));
            return result;
        } catch (const FtpError& error) {
            if (error.cancelled() || stop.stop_requested())
                return JobResult::cancelled();
            // A refusal leaves the connection as it was; anything else may have broken it.
            if (client && error.replyCode() >= 500)
                giveBack(std::move(client));
            if (!mayRetry(error) || round >= options_.retries)
                return JobResult::failure(ErrorKind::Network, error.text(), storePath);
            if (!pause(options_.firstBackOff * (1 << round), stop))
                return JobResult::cancelled();
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
    return parentBytes + '/' + (session_->client.announcesUtf8() ? name.toUtf8() : name.toLatin1());
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
    // Each attempt begins a fresh file beside the target: the target itself is replaced only
    // once a whole stream (and its checksum) came.
    return attempt(storePath, context.stop, [&](FtpClient& client) -> JobResult {
        std::optional<platform::ReplacementFile> out;
        if (!full.isEmpty()) {
            out.emplace(full);
            if (!out->isOpen())
                return platform::targetNotWritable(out->errorString(), full);
        }
        // The container's bytes as they come, as a local restore reports what it read, in
        // steps of its read size rather than the network's small chunks.
        qint64 received = 0;
        qint64 reported = 0;
        const auto counted = [&](const FtpReceiver& receive) {
            return [&, receive](const char* data, qint64 size) {
                received += size;
                if (received - reported >= kProgressStep) {
                    reported = received;
                    context.report.progress.advanced(0, received);
                }
                return receive(data, size);
            };
        };
        if (decode) {
            DownloadDecoder decoder(key, out ? &*out : nullptr, remoteText, full, context);
            // A wrong key, damage or a full disk is the result: no new attempt mends that.
            JobResult decoded =
                DecodeDownload(decoder, [&](const FtpReceiver& receive) { client.GetAt(bytes, counted(receive)); });
            if (!decoded.ok())
                return decoded;
        } else {
            bool written = true;
            try {
                client.GetAt(bytes, counted([&](const char* data, qint64 size) { return written = out->write(data, size); }));
            } catch (const FtpError&) {
                if (!written)
                    return platform::targetNotWritable(out->errorString(), full);
                throw;
            }
        }
        if (context.stopRequested())
            return JobResult::cancelled();
        if (out && !out->commit())
            return platform::targetNotWritable(out->errorString(), full);
        return JobResult::success();
    });
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
        listed->seconds = exactTime(source).value_or(
            QDateTime(QDateTime::fromSecsSinceEpoch(*listed->seconds, QTimeZone::utc()).date(), QTime(0, 0))
                .toSecsSinceEpoch());
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
