#include "remote/remotebrowser.h"

#include "remote/fixedtext.h"
#include "remote/ftperror.h"
#include "engine/keycipher.h"
#include "engine/restore.h"
#include "engine/tempfiles.h"
#include "platform/files.h"
#include "platform/userinterface.h"

#include <QLocale>

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

QString workFileName() { return TempDirectory() + QStringLiteral("tmp.tmp"); }

// Fetches the remote file to `target` after the old local copies went; the byte count
// first, for the progress display.
std::optional<QString> fetch(FtpSession& session, const QString& name, const QString& target)
{
    // A download already running writes one of these files: refuse before deleting anything.
    if (session.client.Busy())
        return QString::fromUtf8(kFtpClientBusy);
    platform::removeFile(workFileName());
    platform::removeFile(RemoteDownloadFileName(name));
    try {
        session.BytesToTransfer = quint32(session.client.Size(name));
        session.client.Get(name, target);
        return {};
    } catch (const FtpError& error) {
        return error.text();
    }
}

// The download file when everything worked, else nothing after telling the user.
std::optional<QString> download(FtpSession& session, const QString& name, const QString& key, StatusSink& status,
                                ProgressSink* progress)
{
    const QString downloadFile = RemoteDownloadFileName(name);
    const bool stored = isStoredFile(name);
    if (const auto failure = fetch(session, name, stored ? workFileName() : downloadFile)) {
        ui().showMessage(QStringLiteral("Die Datei ") + name + QStringLiteral(" konnte nicht heruntergeladen werden. ") +
                             *failure,
                         QString());
        return {};
    }
    if (stored) {
        DecipherFile(workFileName(), key, status, progress);
        if (ExpandToFile(workFileName(), downloadFile, kReplaceExisting) != 0) {
            ui().showMessage(QStringLiteral("Fehler beim entschlüsseln der gesicherten Datei"), QString());
            return {};
        }
    }
    return downloadFile;
}

}  // namespace

std::optional<RemoteView> ListRemoteView(FtpSession& session)
{
    FtpClient& client = session.client;
    pumpEvents();
    client.setTransferType(FtpTransferType::Ascii);
    pumpEvents();
    try {
        client.List();
    } catch (const FtpError&) {
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
                                            RemoteDateText(entry.modified)};
            }
        }
    } catch (const FtpError&) {
        return {};  // a plain LIST: nothing to show
    }
    pumpEvents();
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

QString RemoteDateText(const QDateTime& local)
{
    if (!local.isValid())
        return {};
    const QLocale locale = QLocale::system();
    const QChar date = separatorOf(locale.dateFormat(QLocale::ShortFormat), u'.');
    const QChar time = separatorOf(locale.timeFormat(QLocale::ShortFormat), u':');
    return local.toString(QStringLiteral("dd'%1'MM'%1'yyyy HH'%2'mm").arg(date, time));
}

bool IsMarkedNode(const QString& nodeText) { return nodeText.contains(u'§'); }

void OpenRemoteNode(FtpSession& session, const QStringList& nodePath, LogSink& log)
{
    log.appendLine(QStringLiteral("chdir ") + session.FtpBasePath);
    try {
        session.client.ChangeDir(session.FtpBasePath);
    } catch (const FtpError&) {
    }
    try {
        for (const QString& element : nodePath)
            session.client.ChangeDir(element);
    } catch (const FtpError&) {
        // The view shows the directory reached.
    }
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

void DownloadRemoteFile(FtpSession& session, const QString& name, const QString& key, StatusSink& status,
                        ProgressSink* progress)
{
    std::optional<QString> downloadFile;
    {
        const BusyPointer busy;
        pumpEvents();
        downloadFile = download(session, name, key, status, progress);
    }
    if (downloadFile)
        ui().showMessage(QStringLiteral("Datei wurde nach ") + *downloadFile + QStringLiteral(" heruntergeladen"),
                         QString());
}

void DownloadAndOpenRemoteFile(FtpSession& session, const QString& name, const QString& key, StatusSink& status,
                               ProgressSink* progress)
{
    if (const auto downloadFile = download(session, name, key, status, progress))
        ShellOpenFile(*downloadFile, QString(), QString(), 1);
}

bool DeleteRemoteFile(FtpSession& session, const QString& name)
{
    try {
        session.client.Delete(name);
        return true;
    } catch (const FtpError&) {
        return false;
    }
}

void DeleteRemoteDirectory(FtpSession& session, const QStringList& nodePath)
{
    if (nodePath.isEmpty())
        return;
    QString parent = session.FtpBasePath;
    for (const QString& element : nodePath.mid(0, nodePath.size() - 1))
        parent = (parent.isEmpty() || parent.endsWith(u'/') ? parent : parent + u'/') + element;
    session.client.ChangeDir(parent.isEmpty() ? QStringLiteral(".") : parent);
    session.client.RemoveDir(nodePath.last());
}

}  // namespace quorbin
