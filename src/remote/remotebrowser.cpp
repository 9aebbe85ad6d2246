#include "remote/remotebrowser.h"

#include "engine/tempfiles.h"
#include "platform/replacefile.h"
#include "platform/userinterface.h"
#include "remote/downloaddecoder.h"
#include "remote/fixedtext.h"
#include "remote/ftperror.h"
#include "remote/resumabledownload.h"
#include "remote/retries.h"

#include <QCoreApplication>
#include <QLocale>

#include <functional>
#include <optional>

namespace quorbin {
namespace {

const QString kStoredExtension = QStringLiteral(".nxz");
const int kVersionSuffixLength = 10;  // ".00001.nxz"

// The first character of a locale format that is no letter, or the fallback.
QChar separatorOf(const QString& format, QChar fallback)
{
    for (const QChar c : format) {
        if (!c.isLetter() && c != u' ' && c != u'\'')
            return c;
    }
    return fallback;
}

QString extensionOf(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot);
}

bool isStoredFile(const QString& name) { return extensionOf(name) == kStoredExtension; }

// Tries the download again after a broken connection, as a tree's files are, logging in anew
// where the connection is gone; each try goes on where the last one ended. A refusal by the
// receiver ends it at once with `refused`.
JobResult downloadWithRetries(FtpClient& client, ResumableDownload& download, std::stop_token stop,
                              const std::function<JobResult()>& refused)
{
    const RetryPolicy policy;
    for (int round = 0;; ++round) {
        try {
            if (!client.Connected())
                client.Reconnect();
            download.tryOn(client);
            return JobResult::success();
        } catch (const FtpError& error) {
            if (download.refused())
                return refused();
            if (!mayRetry(error) || !waitBeforeRetry(policy, round, stop))
                return FtpFailure(stop.stop_requested() ? FtpError::cancellation() : error);
        }
    }
}

// What the stored file itself is to blame for, as opposed to the download.
bool isContentFailure(ErrorKind kind)
{
    return kind == ErrorKind::NoKey || kind == ErrorKind::WrongKey || kind == ErrorKind::Damaged ||
           kind == ErrorKind::DamagedOrWrongKey || kind == ErrorKind::Truncated;
}

QString failureText(const QString& name, const JobResult& result)
{
    if (isContentFailure(result.kind))
        return QCoreApplication::translate("Remote", "Fehler beim entschlüsseln der gesicherten Datei: %1")
            .arg(describe(result));
    return QCoreApplication::translate("Remote", "Die Datei %1 konnte nicht heruntergeladen werden. %2")
        .arg(name, describe(result));
}

// The old callers' sinks as the context of a download nobody cancels.
JobContext callerContext(StatusSink& status, ProgressSink* progress)
{
    return JobContext{std::stop_token(), RestoreReporter{status, noLog(), progress ? *progress : noProgress()}};
}

}  // namespace

std::optional<RemoteView> ListRemoteView(FtpSession& session)
{
    FtpClient& client = session.client;
    client.setTransferType(FtpTransferType::Ascii);
    try {
        client.List();
    } catch (const FtpError& error) {
        client.setTransferType(FtpTransferType::Image);
        if (error.cancelled())
            throw;
        // The entries of the last listing are shown then.
    }
    client.setTransferType(FtpTransferType::Image);

    RemoteView view;
    try {
        for (const FtpListEntry& entry : client.DirectoryListing()) {
            if (entry.directory) {
                const QString text = TrimLeadingBlanks(entry.name);
                if (text != u"." && text != u"..")
                    view.directories << text;
            } else if (view.files.size() < kMaxRemoteRows) {
                view.files << RemoteFileRow{entry.name, entry.type, RemoteSizeText(entry.size),
                                            RemoteDateText(entry.modified, entry.resolution)};
            }
        }
    } catch (const FtpError&) {
        return {};  // a listing that nothing could read: nothing to show
    }
    return view;
}

QString TrimLeadingBlanks(const QString& text)
{
    qsizetype first = 0;
    while (first < text.size() && text[first] == u' ')
        ++first;
    return text.mid(first);
}

QString RemoteSizeText(qint64 bytes)
{
    // The whole count: files beyond 2 GiB keep their size.
    return FormatFixed(bytes / 1024.0, 9, 3) + QStringLiteral(" kB");
}

QString RemoteDateText(const QDateTime& local, FtpTimeResolution resolution)
{
    if (!local.isValid())
        return {};
    const QLocale locale = QLocale::system();
    const QChar date = separatorOf(locale.dateFormat(QLocale::ShortFormat), u'.');
    const QChar time = separatorOf(locale.timeFormat(QLocale::ShortFormat), u':');
    // A time the server did not give is not made up.
    if (resolution == FtpTimeResolution::Day)
        return local.toString(QStringLiteral("dd'%1'MM'%1'yyyy").arg(date));
    return local.toString(QStringLiteral("dd'%1'MM'%1'yyyy HH'%2'mm").arg(date, time));
}

bool IsMarkedNode(const QString& nodeText) { return nodeText.contains(u'§'); }

void OpenRemoteNode(FtpSession& session, const QStringList& nodePath, LogSink& log)
{
    log.appendLine(QStringLiteral("chdir ") + session.FtpBasePath);
    PassOverFailure([&] { session.client.ChangeDir(session.FtpBasePath); });
    // After a refusal the view shows the directory reached.
    PassOverFailure([&] {
        for (const QString& element : nodePath)
            session.client.ChangeDir(element);
    });
}

QString RemoteDownloadFileName(const QString& remoteName)
{
    const QString userName =
        isStoredFile(remoteName) ? remoteName.left(std::max<qsizetype>(0, remoteName.size() - kVersionSuffixLength))
                                 : remoteName;
    QString extension = extensionOf(userName);
    // A server's name must not steer the file out of the temporary directory.
    extension.remove(u'/').remove(u'\\').remove(u':');
    return TempDirectory() + QStringLiteral("§tmp") + extension;
}

JobResult FetchRemoteFile(FtpSession& session, const QString& name, const QString& key, const JobContext& context,
                          QString& downloadFile)
{
    downloadFile = RemoteDownloadFileName(name);
    return FetchRemoteFileTo(session, name, key, context, downloadFile);
}

JobResult FetchRemoteFileTo(FtpSession& session, const QString& name, const QString& key, const JobContext& context,
                            const QString& downloadFile)
{
    FtpClient& client = session.client;
    // The running operation may be a download into the same file.
    if (client.Busy())
        return JobResult::failure(ErrorKind::Refused, remoteText(kFtpClientBusy));
    const FtpClient::StopScope scope(client, context.stop);
    if (const auto why = platform::whyNotReplaceable(downloadFile))
        return platform::targetNotWritable(*why, downloadFile);
    platform::ReplacementFile out(downloadFile);
    if (!out.isOpen())
        return platform::targetNotWritable(out.errorString(), downloadFile);
    try {
        const qint64 size = client.Size(name);
        session.BytesToTransfer = quint32(size);
        context.report.progress.started(0, size);
    } catch (const FtpError& error) {
        return FtpFailure(error);
    }
    // A stored file is deciphered and expanded on a second thread while it downloads; any
    // other file is written as it comes.
    const QString remote = client.remotePath(name);
    std::optional<DownloadDecoder> decoder;
    if (isStoredFile(name))
        decoder.emplace(key, &out, remote, downloadFile, context);
    ResumableDownload download(client.spelling(remote), [&](const char* data, qint64 size) {
        return decoder ? decoder->receive(data, size) : out.write(data, size);
    });
    JobResult result = downloadWithRetries(client, download, context.stop, [&] {
        return decoder ? decoder->abandon() : platform::targetNotWritable(out.errorString(), downloadFile);
    });
    if (result.ok() && decoder)
        result = decoder->finish();
    // "Aktion abbrechen" until the very end keeps the old file, whichever side saw it first.
    if (context.stopRequested())
        return FtpFailure(FtpError::cancellation());
    if (!result.ok())
        return result;
    if (!out.commit())
        return platform::targetNotWritable(out.errorString(), downloadFile);
    return JobResult::success();
}

void FinishRemoteDownload(const QString& name, const JobResult& result, const QString& downloadFile, bool open)
{
    if (!result.ok())
        ui().showMessage(failureText(name, result), QString());
    else if (open)
        ShellOpenFile(downloadFile, QString(), QString(), 1);
    else
        ui().showMessage(QCoreApplication::translate("Remote", "Datei wurde nach %1 heruntergeladen").arg(downloadFile),
                         QString());
}

void DownloadRemoteFile(FtpSession& session, const QString& name, const QString& key, StatusSink& status,
                        ProgressSink* progress)
{
    QString downloadFile;
    JobResult result;
    {
        const BusyPointer busy;
        result = FetchRemoteFile(session, name, key, callerContext(status, progress), downloadFile);
    }
    FinishRemoteDownload(name, result, downloadFile, false);
}

void DownloadAndOpenRemoteFile(FtpSession& session, const QString& name, const QString& key, StatusSink& status,
                               ProgressSink* progress)
{
    QString downloadFile;
    const JobResult result = FetchRemoteFile(session, name, key, callerContext(status, progress), downloadFile);
    FinishRemoteDownload(name, result, downloadFile, true);
}

bool DeleteRemoteFile(FtpSession& session, const QString& name)
{
    return PassOverFailure([&] { session.client.Delete(name); });
}
void DeleteRemoteDirectory(FtpSession& session, const QStringList& nodePath)
{
    if (nodePath.isEmpty())
        return;
    const QString parent = RemotePathBelow(session.FtpBasePath, nodePath.mid(0, nodePath.size() - 1));
    session.client.ChangeDir(parent.isEmpty() ? QStringLiteral(".") : parent);
    session.client.RemoveDir(nodePath.last());
}

QString RemotePathBelow(const QString& basePath, const QStringList& steps)
{
    QString path = basePath;
    for (const QString& step : steps)
        path = (path.isEmpty() || path.endsWith(u'/') ? path : path + u'/') + step;
    return path;
}

}  // namespace quorbin
