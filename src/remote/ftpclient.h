#pragma once
// The FTP/FTPS client of the remote store: one control connection that lasts between
// operations, kept by one reused libcurl handle. Every call blocks the thread that makes it;
// a window runs them on a worker thread. Failures throw FtpError.
#include "remote/ftpentry.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>

namespace quorbin {

enum class FtpTransferType { Ascii, Image };

// Takes the next bytes of a download, on the thread that runs it; false ends the transfer.
using FtpReceiver = std::function<bool(const char* data, qint64 size)>;

// The refusal while another operation of the client runs.
inline const char* const kFtpClientBusy =
    QT_TRANSLATE_NOOP("Remote", "Der FTP-Client ist mit einer anderen Operation beschäftigt.");
// A text of this layer marked for translation where it is defined, in the user's language.
QString remoteText(const char* source);

// The certificate an FTPS server showed at a TLS handshake.
struct ServerCertificate {
    QString fingerprint;   // SHA-256 as openssl prints it ("AB:CD:…"); empty without TLS
    bool trusted = false;  // the system's trust store vouches for its chain and the host name
};

class FtpClient {
public:
    FtpClient();
    ~FtpClient();
    FtpClient(const FtpClient&) = delete;
    FtpClient& operator=(const FtpClient&) = delete;

    // Connection settings; they take effect at the next Connect, an open session keeps its own.
    void setHost(const QString& host);
    QString host() const;
    void setPort(int port);
    int port() const;
    void setUser(const QString& user);
    void setPassword(const QString& password);
    // Kept for the settings' sake; no proxy type is chosen, so the connection goes direct.
    void setProxyHost(const QString& host);
    void setProxyPort(int port);
    void setPassive(bool passive);
    bool passive() const;
    // Active data connections over TLS hang in the FTP library in use: sessions that run over
    // TLS go passive whatever the setting says; a server that refused TLS gets active ones.
    bool usesPassive() const;

    // Explicit TLS, requested and not required; a control port of 990 becomes 21. Once set it
    // stays. Refused while connected.
    void useTls();
    bool tls() const;
    // With TLS requested: a server that refuses it fails the login (FtpError::tlsRefused())
    // instead of going on in clear. Takes effect at the next Connect.
    void setTlsRequired(bool required);
    // The open session runs over TLS: the server took the AUTH command.
    bool tlsInUse() const;
    // With TLS, every handshake of the session (control and data connections, and logins the
    // client makes again by itself) checks the server's certificate: one the system's trust
    // store vouches for passes, any other must have one of these SHA-256 fingerprints. Without
    // any, the first certificate passes and is held to for the session. Another one ends the
    // handshake before the login, with FtpError::certificateChange(). Takes effect at the next
    // Connect.
    void setExpectedCertificates(const QStringList& fingerprints);
    // The certificate of the open session's login; an empty fingerprint without TLS.
    ServerCertificate serverCertificate() const;

    // Progress of data transfers (downloads and listings), bound by the window. Called on the
    // thread that runs the operation.
    std::function<void(const QString& text)> onStatus;
    std::function<void(qint64 expected)> onWorkBegin;
    std::function<void(qint64 soFar)> onWork;
    std::function<void()> onWorkEnd;

    // Gives the operations run during its lifetime the stop token of one job: a stop request
    // ends a running operation within moments, and one not yet begun at once, with
    // FtpError::cancelled(). Puts back the token before it at its end. Made on the thread
    // that runs the operations, never while an operation of another thread runs.
    class StopScope {
    public:
        StopScope(FtpClient& client, std::stop_token stop);
        ~StopScope();
        StopScope(const StopScope&) = delete;
        StopScope& operator=(const StopScope&) = delete;

    private:
        FtpClient& client_;
        std::stop_token previous_;
    };

    void Connect();
    bool Connected() const;
    // After a connection that broke: logs in again (as the last Connect did) and goes back to
    // the directory the client was in. Throws FtpError as Connect does.
    void Reconnect();
    // True while an operation runs; any thread may ask. The client must not be destroyed or
    // asked for another operation then (that one is refused).
    bool Busy() const;
    void Disconnect();
    // Ends the running operation as a stop request would; nothing when none runs. Any thread
    // may call it.
    void Abort();

    // The server's current directory (PWD).
    QString RetrieveCurrentDir();
    // Relative names are taken from the current directory; ".." is the parent.
    void ChangeDir(const QString& directory);
    void MakeDir(const QString& name);
    void RemoveDir(const QString& name);
    void Delete(const QString& name);

    void setTransferType(FtpTransferType type);
    FtpTransferType transferType() const;

    // Fetches the current directory's listing: MLSD when the server announces it, else LIST
    // (read in the Unix or the DOS form, see ParseList). The names listed are sent back as
    // the bytes the server listed them with.
    void List();
    // The listing of the directory at an absolute remote path given in the bytes the server
    // listed its steps with; the current directory and the last listing stay. Throws as List
    // does, also for entries that cannot be read.
    QList<FtpListEntry> ListAt(const QByteArray& directory);
    // The entries of the last listing. A LIST reply of which no line could be read throws
    // "Es wurden keine FTP-Listen-Parser registriert.".
    const QList<FtpListEntry>& DirectoryListing() const;
    // The raw text of the last listing.
    const QByteArray& ListingText() const;

    // The file's size, -1 when the server does not tell it. A failure names the remote file.
    qint64 Size(const QString& name);
    // The last-write time of the file at an absolute remote path (bytes as for GetAt) as the
    // server tells it (MDTM, in UTC); nothing when the server does not say. A failure names
    // the remote file.
    std::optional<QDateTime> ModificationTimeAt(const QByteArray& path);
    // The absolute remote path of a name as Size and Get take it.
    QString remotePath(const QString& name) const;
    // The bytes a path goes to the server with (see FtpNames), for ListAt and GetAt.
    QByteArray spelling(const QString& absolutePath) const;
    // Downloads into a new local file (Windows path text); refuses an existing one. A failed,
    // aborted or stopped download leaves no local file behind; its error names the remote
    // file. A failed active data connection says to turn on passive mode.
    void Get(const QString& name, const QString& localPath);
    // Downloads, handing each block to `receive` as it arrives. Fails as the other Get does;
    // a refusal by `receive` fails it too, and the caller knows why.
    void Get(const QString& name, const FtpReceiver& receive);
    // The same for an absolute remote path in the server's bytes, as ListAt takes it, from the
    // byte `from` on (REST; only where the server announces REST STREAM).
    void GetAt(const QByteArray& path, const FtpReceiver& receive, qint64 from = 0);

    // What the server announced in its feature list at the last login.
    bool announcesMlsd() const;
    bool announcesUtf8() const;
    bool announcesRest() const;

private:
    struct State;
    std::unique_ptr<State> d;
};

}  // namespace quorbin
