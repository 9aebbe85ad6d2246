#pragma once
// The commands of the remote browser without the page itself: what the grid and the tree
// show after a listing, and the download, open and delete commands. The page passes the
// selected file name and the selected node's path and fills its widgets from the results.
// Nothing here touches a widget: all but the *RemoteFile wrappers and FinishRemoteDownload
// may run on a worker thread.
#include "remote/ftpsession.h"
#include "platform/job.h"
#include "platform/reporter.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace quorbin {

// One grid row: the texts of the columns "Name", "Attribute", "Grösse" and "DATE".
struct RemoteFileRow {
    QString name;  // as listed, leading blanks kept
    QString attributes;
    QString size;
    QString date;
};

struct RemoteView {
    QList<RemoteFileRow> files;  // in listing order, at most kMaxRemoteRows
    QStringList directories;     // node texts: leading blanks removed, "." and ".." left out
};

inline constexpr int kMaxRemoteRows = 499;

// The listing part of FillRemoteView: lists the current remote directory (ASCII around the
// listing; a failed fetch leaves the last listing's entries). Nothing when the entries cannot
// be read (a LIST reply of which no line is understood). A cancel throws
// FtpError::cancelled().
std::optional<RemoteView> ListRemoteView(FtpSession& session);

QString TrimLeadingBlanks(const QString& text);
// "1,500 kB": the byte count / 1024, 9 significant digits, 3 decimals.
QString RemoteSizeText(qint64 bytes);
// "19.04.2018 14:03" with the user's date and time separators; "19.04.2018" when the server
// gave the day only.
QString RemoteDateText(const QDateTime& local, FtpTimeResolution resolution = FtpTimeResolution::Second);
// Nodes of the store's naming carry "§" and get their own icons.
bool IsMarkedNode(const QString& nodeText);

// Into FtpBasePath, then down the node's path one level at a time; the first refusal ends
// the walk where it got to. A cancel throws FtpError::cancelled().
void OpenRemoteNode(FtpSession& session, const QStringList& nodePath, LogSink& log);

// The download file of a remote name: temporary directory + "§tmp" + the extension, for a
// stored file (".nxz") the extension of the name without its version suffix. Path
// characters are dropped from the extension.
QString RemoteDownloadFileName(const QString& remoteName);

// Fetches the file of the current remote directory into downloadFile (set to its
// RemoteDownloadFileName): a stored file is deciphered with the key and expanded while it
// downloads, any other file is taken as it is. Nothing goes through a work file, and
// downloadFile is replaced only on success (for a stored file: the stream and its checksum
// read to the end). Refused while another operation of the client runs; Network with the
// server's reply; Cancelled by the context's stop token (or the client's Abort()); for a
// stored file the decoding's own causes, naming the remote path, which also end the transfer.
// The context hears the size at the start; transfer progress goes to the client's handlers.
JobResult FetchRemoteFile(FtpSession& session, const QString& name, const QString& key, const JobContext& context,
                          QString& downloadFile);
// The same into a target of the caller's choosing, whose folder exists.
JobResult FetchRemoteFileTo(FtpSession& session, const QString& name, const QString& key, const JobContext& context,
                            const QString& downloadFile);

// After FetchRemoteFile, on the window's thread: tells the user where the file lies, or opens
// it when asked to, or tells what went wrong.
void FinishRemoteDownload(const QString& name, const JobResult& result, const QString& downloadFile, bool open);

// "diese Datei herunterladen": FetchRemoteFile under the busy pointer, then
// FinishRemoteDownload. Blocks the calling thread.
void DownloadRemoteFile(FtpSession& session, const QString& name, const QString& key, StatusSink& status,
                        ProgressSink* progress);
// "diese datei herunterladen und temp. öffnen": the same, then opens the result.
void DownloadAndOpenRemoteFile(FtpSession& session, const QString& name, const QString& key, StatusSink& status,
                               ProgressSink* progress);

// "löschen": true when the file is gone and the view wants filling again. A cancel throws
// FtpError::cancelled().
bool DeleteRemoteFile(FtpSession& session, const QString& name);

// "Verzeichnis löschen": removes the directory that the node stands for, below
// FtpBasePath, and leaves the client in its parent. Throws FtpError with the server's reply.
void DeleteRemoteDirectory(FtpSession& session, const QStringList& nodePath);

// The remote path of the steps below the base path ("/private/" and {"A", "x"}: "/private/A/x").
QString RemotePathBelow(const QString& basePath, const QStringList& steps);

}  // namespace quorbin
