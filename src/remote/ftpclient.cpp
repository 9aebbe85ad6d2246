#include "remote/ftpclient.h"

#include "platform/winpath.h"
#include "remote/certificatecheck.h"
#include "remote/certificatestore.h"
#include "remote/ftperror.h"
#include "remote/ftpnames.h"
#include "remote/ftpreplies.h"
#include "remote/listparser.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimeZone>
#include <QUrl>
#include <atomic>
#include <optional>
#include <curl/curl.h>
#include <utility>

namespace quorbin {
namespace {

const long kResponseTimeoutSeconds = 10;  // the control connection's read time-out
const long kConnectTimeoutSeconds = 30;
const long kAcceptTimeoutMs = 10000;      // an active data connection that never comes
const long kLowSpeedSeconds = 10;         // a data connection that stalls this long is given up
const long kBufferSize = 256L * 1024;
const int kPollSliceMs = 25;           // how long a stop request may wait to be seen
const qint64 kMaxListingBytes = qint64(256) * 1024 * 1024;

const char* const kNotConnected = QT_TRANSLATE_NOOP("Remote", "Nicht verbunden.");
const char* const kBusy = kFtpClientBusy;
const char* const kTlsWhileConnected =
    QT_TRANSLATE_NOOP("Remote", "Dieser Wert kann nicht gesetzt werden, während der Client verbunden ist.");
const char* const kNoListParser = QT_TRANSLATE_NOOP("Remote", "Es wurden keine FTP-Listen-Parser registriert.");
const char* const kActiveModeFailed =
    QT_TRANSLATE_NOOP("Remote",
                      "Der Server lässt keine aktive Datenverbindung zu, oder sie kommt nicht zustande; bitte den "
                      "passiven Modus einschalten (Passive=1 im Backup-Set) (%1)");

// Failures after which the control connection is gone rather than one command refused.
bool losesConnection(CURLcode code)
{
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_LOGIN_DENIED:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_FTP_WEIRD_PASS_REPLY:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_USE_SSL_FAILED:
    case CURLE_GOT_NOTHING:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
        return true;
    default:
        return false;
    }
}

// Failures of an active data connection: the server refused PORT and EPRT, or never
// connected back (a firewall or NAT in between).
bool failsActiveMode(CURLcode code)
{
    return code == CURLE_FTP_PORT_FAILED || code == CURLE_FTP_ACCEPT_FAILED || code == CURLE_FTP_ACCEPT_TIMEOUT;
}

// The server took the AUTH command (reply 234): the control connection runs over TLS.
bool acceptedAuth(const QList<QByteArray>& replyLines)
{
    for (const QByteArray& line : replyLines) {
        if (line.startsWith("234"))
            return true;
    }
    return false;
}

QString directoryPath(const QString& directory)
{
    return directory.endsWith(u'/') ? directory : directory + u'/';
}

// The window's progress handlers must not stop a transfer by failing, and no exception may
// pass through the FTP library's C frames.
template <typename Handler, typename... Args>
void notify(const Handler& handler, Args... args)
{
    if (!handler)
        return;
    try {
        handler(args...);
    } catch (...) {
    }
}

struct CurlGlobal {
    CurlGlobal() { curl_global_init(CURL_GLOBAL_DEFAULT); }
};

// One data-less or data-carrying request on the control connection.
struct Operation {
    QByteArray url;
    bool noBody = false;
    bool fileTime = false;  // asks MDTM
    QByteArray customRequest;
    QList<QByteArray> postQuote;
    bool transfer = false;  // reports progress and may be aborted
    const FtpReceiver* receive = nullptr;  // takes the data; none: the data is passed over
    qint64 resumeFrom = 0;  // REST
};

class SList {
public:
    explicit SList(const QList<QByteArray>& items)
    {
        for (const QByteArray& item : items)
            list_ = curl_slist_append(list_, item.constData());
    }
    ~SList() { curl_slist_free_all(list_); }
    curl_slist* get() const { return list_; }

private:
    curl_slist* list_ = nullptr;
};

}  // namespace

QString remoteText(const char* source) { return QCoreApplication::translate("Remote", source); }

// Where and as whom the client logs in, and whether only over TLS.
struct Endpoint {
    QString host;
    int port = 21;
    QString user;
    QString password;
    bool tlsRequired = false;
    QStringList certificates;  // accepted besides trusted ones
};

struct FtpClient::State {
    CURL* easy = nullptr;
    CURLM* multi = nullptr;

    Endpoint configured;
    Endpoint session;  // taken at Connect: later settings do not move an open session
    QString proxyHost;
    int proxyPort = 0;
    bool passive = false;
    bool tls = false;
    bool tlsInUse = false;
    CertificateCheck certificate;

    bool connected = false;
    QString directory = QStringLiteral("/");
    FtpFeatures features;
    FtpNames names;
    FtpTransferType type = FtpTransferType::Ascii;
    QList<FtpListEntry> entries;
    bool entriesReadable = true;
    QByteArray listing;

    FtpReplyLog replies;
    std::atomic<bool> busy = false;            // also read by other threads
    std::atomic<bool> abortRequested = false;  // also set by other threads
    std::stop_token stop;
    bool transferRunning = false;
    curl_off_t reported = -1;
    qint64 progressBase = 0;  // a resumed download counts on from where it began
    const FtpReceiver* receive = nullptr;
    char errorBuffer[CURL_ERROR_SIZE] = {};

    FtpClient* owner = nullptr;

    static size_t onHeader(char* data, size_t size, size_t count, void* self);
    static size_t onData(char* data, size_t size, size_t count, void* self);
    static int onProgress(void* self, curl_off_t, curl_off_t now, curl_off_t, curl_off_t);

    QByteArray encodeName(const QString& name, const QString& from) const;
    QByteArray baseUrl() const;
    QByteArray url(const QString& absolutePath) const;
    QByteArray urlOfBytes(QByteArray absolutePath) const;
    std::optional<QList<FtpListEntry>> fetchListing(const QByteArray& address, QByteArray& body);
    QString resolve(const QString& name) const;

    bool stopping() const { return abortRequested || stop.stop_requested(); }
    void requireIdle() const;
    void requireConnected() const;
    void applyOptions(const Operation& op);
    CURLcode run(const Operation& op);
    CURLcode perform(const Operation& op);
    FtpError errorOf(CURLcode code) const;
    [[noreturn]] void fail(CURLcode code) { throw errorOf(code); }
    FtpReply lastReply() const { return replies.lastReply(); }
    void runCommand(const QByteArray& command);
    QString printWorkingDirectory(const QString& target);
};

size_t FtpClient::State::onHeader(char* data, size_t size, size_t count, void* self)
{
    static_cast<State*>(self)->replies.add(QByteArray(data, qsizetype(size * count)));
    return size * count;
}

size_t FtpClient::State::onData(char* data, size_t size, size_t count, void* self)
{
    auto* state = static_cast<State*>(self);
    const size_t bytes = size * count;
    if (!state->receive)
        return bytes;
    // Anything short of all of it ends the transfer.
    try {
        return (*state->receive)(data, qint64(bytes)) ? bytes : 0;
    } catch (...) {
        return 0;
    }
}

int FtpClient::State::onProgress(void* self, curl_off_t, curl_off_t now, curl_off_t, curl_off_t)
{
    auto* state = static_cast<State*>(self);
    if (state->transferRunning && now != state->reported && now > 0) {
        state->reported = now;
        notify(state->owner->onWork, state->progressBase + qint64(now));
    }
    return state->stopping() ? 1 : 0;
}

QByteArray FtpClient::State::encodeName(const QString& name, const QString& from) const
{
    // A line break would end the command and start another one.
    if (name.contains(u'\r') || name.contains(u'\n') || name.contains(QChar(0)))
        throw FtpError(QCoreApplication::translate("Remote", "Ungültiger Name: %1").arg(name));
    return names.spell(name, from);
}

QByteArray FtpClient::State::baseUrl() const
{
    return "ftp://" + QUrl::toAce(session.host) + ':' + QByteArray::number(session.port);
}

QByteArray FtpClient::State::url(const QString& absolutePath) const
{
    // "%2F" makes the path absolute instead of relative to the login directory. A login
    // directory such as "C:/…" brings no leading "/" of its own to take off.
    return urlOfBytes(encodeName(absolutePath, QString()));
}

QByteArray FtpClient::State::urlOfBytes(QByteArray absolutePath) const
{
    // A line break would end the command and start another one.
    if (absolutePath.contains('\r') || absolutePath.contains('\n') || absolutePath.contains('\0'))
        throw FtpError(
            QCoreApplication::translate("Remote", "Ungültiger Name: %1").arg(DecodeServerText(absolutePath)));
    if (absolutePath.startsWith('/'))
        absolutePath.remove(0, 1);
    return baseUrl() + "/%2F" + absolutePath.toPercentEncoding("/");
}

QString FtpClient::State::resolve(const QString& name) const
{
    return name.startsWith(u'/') ? name : directoryPath(directory) + name;
}

void FtpClient::State::requireIdle() const
{
    if (busy)
        throw FtpError(remoteText(kBusy));
}

void FtpClient::State::requireConnected() const
{
    requireIdle();
    if (!connected)
        throw FtpError(remoteText(kNotConnected));
}

void FtpClient::State::applyOptions(const Operation& op)
{
    curl_easy_reset(easy);
    curl_easy_setopt(easy, CURLOPT_URL, op.url.constData());
    curl_easy_setopt(easy, CURLOPT_USERNAME, session.user.toUtf8().constData());
    curl_easy_setopt(easy, CURLOPT_PASSWORD, session.password.toUtf8().constData());
    curl_easy_setopt(easy, CURLOPT_PROXY, "");  // no proxy, also none from the environment
    curl_easy_setopt(easy, CURLOPT_IPRESOLVE, long(CURL_IPRESOLVE_V4));
    curl_easy_setopt(easy, CURLOPT_TCP_KEEPALIVE, 0L);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(easy, CURLOPT_SERVER_RESPONSE_TIMEOUT, kResponseTimeoutSeconds);
    curl_easy_setopt(easy, CURLOPT_ACCEPTTIMEOUT_MS, kAcceptTimeoutMs);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, kLowSpeedSeconds);
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, kBufferSize);
    // One CWD to the whole path, sent as it is: the server resolves "..".
    curl_easy_setopt(easy, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_SINGLECWD));
    curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);
    if (tls) {
        curl_easy_setopt(easy, CURLOPT_USE_SSL, long(session.tlsRequired ? CURLUSESSL_ALL : CURLUSESSL_TRY));
        // The certificate check decides (a self-signed certificate may pass), not the library.
        curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 0L);
        curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 0L);
        certificate.install(easy);
    }
    if (!owner->usesPassive())
        curl_easy_setopt(easy, CURLOPT_FTPPORT, "-");  // the address of the control connection
    curl_easy_setopt(easy, CURLOPT_TRANSFERTEXT, type == FtpTransferType::Ascii ? 1L : 0L);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &State::onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &State::onData);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &State::onProgress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    if (op.noBody)
        curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
    if (op.fileTime)
        curl_easy_setopt(easy, CURLOPT_FILETIME, 1L);
    if (op.resumeFrom > 0)
        curl_easy_setopt(easy, CURLOPT_RESUME_FROM_LARGE, curl_off_t(op.resumeFrom));
    if (!op.customRequest.isEmpty())
        curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, op.customRequest.constData());
}

CURLcode FtpClient::State::run(const Operation& op)
{
    if (stop.stop_requested())
        return CURLE_ABORTED_BY_CALLBACK;  // the job was stopped before this step began
    abortRequested = false;  // before busy: an Abort() from now on is for this operation
    busy = true;             // from here on perform() puts it back, whatever happens
    replies.clear();
    certificate.forgetRefusal();
    errorBuffer[0] = 0;
    reported = -1;
    progressBase = op.resumeFrom;
    const SList postQuote(op.postQuote);
    applyOptions(op);
    if (postQuote.get())
        curl_easy_setopt(easy, CURLOPT_POSTQUOTE, postQuote.get());

    if (op.transfer)
        notify(owner->onWorkBegin, qint64(0));  // the size is not known before the data flows
    const CURLcode result = perform(op);
    if (op.transfer)
        notify(owner->onWorkEnd);
    if (losesConnection(result))
        connected = false;
    return result;
}

CURLcode FtpClient::State::perform(const Operation& op)
{
    // Whatever leaves this function leaves the handle detached and the client idle. Detaching
    // a handle mid-transfer makes the FTP library close that connection; it logs in again by
    // itself at the next operation.
    struct Running {
        State& state;
        Running(State& s, const Operation& op) : state(s)
        {
            state.busy = true;
            state.transferRunning = op.transfer;
            state.receive = op.receive;
            curl_multi_add_handle(state.multi, state.easy);
        }
        ~Running()
        {
            curl_multi_remove_handle(state.multi, state.easy);
            state.busy = false;
            state.transferRunning = false;
            state.receive = nullptr;
        }
    } running(*this, op);

    for (;;) {
        int stillRunning = 0;
        if (curl_multi_perform(multi, &stillRunning) != CURLM_OK || stillRunning == 0)
            break;
        // A server that sends nothing may leave the progress report uncalled.
        if (stopping())
            return CURLE_ABORTED_BY_CALLBACK;
        curl_multi_poll(multi, nullptr, 0, kPollSliceMs, nullptr);
    }
    // Only libcurl's own "done" counts as success; without it the transfer did not end well.
    CURLcode result = CURLE_FAILED_INIT;
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == easy)
            result = message->data.result;
    }
    return result;
}

FtpError FtpClient::State::errorOf(CURLcode code) const
{
    if (code == CURLE_ABORTED_BY_CALLBACK)
        return FtpError::cancellation();
    if (!certificate.refused().isEmpty())
        return FtpError::certificateChange(HostAndPort(session.host, session.port), certificate.expected(),
                                           certificate.refused());
    const FtpReply reply = lastReply();
    const QString text = reply.code >= 400 ? reply.text
                         : errorBuffer[0] ? QString::fromUtf8(errorBuffer)
                                          : QString::fromUtf8(curl_easy_strerror(code));
    const int replyCode = reply.code >= 400 ? reply.code : 0;
    if (failsActiveMode(code))
        return FtpError(remoteText(kActiveModeFailed).arg(text), replyCode);
    return FtpError(text, replyCode);
}

void FtpClient::State::runCommand(const QByteArray& command)
{
    requireConnected();
    Operation op;
    op.url = url(directoryPath(directory));
    op.noBody = true;
    // "*": a refusal must not close the control connection; the reply tells the outcome.
    op.postQuote = {'*' + command};
    if (const CURLcode code = run(op); code != CURLE_OK)
        fail(code);
    const FtpReply reply = lastReply();
    if (reply.code < 200 || reply.code >= 300)
        throw FtpError(reply.text, reply.code);
}

QString FtpClient::State::printWorkingDirectory(const QString& target)
{
    requireConnected();
    Operation op;
    op.url = url(directoryPath(target));
    op.noBody = true;
    op.postQuote = {"PWD"};
    if (const CURLcode code = run(op); code != CURLE_OK)
        throw errorOf(code).about(target);
    const QByteArray reported = ParseDirectoryReply(lastReply().bytes);
    directory = reported.isEmpty() ? target : names.learnPath(reported);
    return directory;
}

FtpClient::FtpClient() : d(std::make_unique<State>())
{
    static CurlGlobal global;
    d->owner = this;
    d->easy = curl_easy_init();
    d->multi = curl_multi_init();
}

FtpClient::~FtpClient()
{
    curl_multi_cleanup(d->multi);
    curl_easy_cleanup(d->easy);
}

void FtpClient::setHost(const QString& host) { d->configured.host = host; }
QString FtpClient::host() const { return d->configured.host; }
void FtpClient::setPort(int port) { d->configured.port = port; }
int FtpClient::port() const { return d->configured.port; }
void FtpClient::setUser(const QString& user) { d->configured.user = user; }
void FtpClient::setPassword(const QString& password) { d->configured.password = password; }
void FtpClient::setProxyHost(const QString& host) { d->proxyHost = host; }
void FtpClient::setProxyPort(int port) { d->proxyPort = port; }
void FtpClient::setTlsRequired(bool required) { d->configured.tlsRequired = required; }
bool FtpClient::tlsInUse() const { return d->connected && d->tlsInUse; }
void FtpClient::setExpectedCertificates(const QStringList& fingerprints) { d->configured.certificates = fingerprints; }
ServerCertificate FtpClient::serverCertificate() const { return tlsInUse() ? d->certificate.accepted() : ServerCertificate{}; }
void FtpClient::setPassive(bool passive) { d->passive = passive; }
bool FtpClient::passive() const { return d->passive; }
bool FtpClient::tls() const { return d->tls; }
bool FtpClient::usesPassive() const
{
    // Before the login it is not known whether the server takes TLS; the first data
    // connection comes after it.
    return d->passive || (d->tls && (!d->connected || d->tlsInUse));
}
void FtpClient::setTransferType(FtpTransferType type) { d->type = type; }
FtpTransferType FtpClient::transferType() const { return d->type; }
bool FtpClient::announcesMlsd() const { return d->features.mlsd; }
bool FtpClient::announcesUtf8() const { return d->features.utf8; }
bool FtpClient::announcesRest() const { return d->features.rest; }
bool FtpClient::Connected() const { return d->connected; }
bool FtpClient::Busy() const { return d->busy; }

void FtpClient::useTls()
{
    if (d->connected)
        throw FtpError(remoteText(kTlsWhileConnected));
    d->tls = true;
    if (d->configured.port == 990)  // implicit TLS's port; this client speaks explicit TLS on the FTP port
        d->configured.port = 21;
}

void FtpClient::Connect()
{
    d->requireIdle();
    if (d->connected)
        throw FtpError(QCoreApplication::translate("Remote", "Bereits verbunden."));
    notify(onStatus, QCoreApplication::translate("Remote", "Verbinde mit %1").arg(d->configured.host));

    d->session = d->configured;
    d->certificate.expect(d->session.host, d->session.certificates);
    Operation op;
    op.url = d->baseUrl() + '/';
    op.noBody = true;
    op.postQuote = {"*FEAT"};
    d->features = {};
    if (const CURLcode code = d->run(op); code != CURLE_OK) {
        if (code == CURLE_USE_SSL_FAILED && d->session.tlsRequired)
            throw FtpError::tlsRefusal();
        d->fail(code);
    }
    d->features = ParseFeatures(d->replies.lines());
    d->tlsInUse = d->tls && acceptedAuth(d->replies.lines());
    d->names.reset(d->features.utf8);
    char* entryPath = nullptr;
    curl_easy_getinfo(d->easy, CURLINFO_FTP_ENTRY_PATH, &entryPath);
    d->directory = entryPath && *entryPath ? d->names.learnPath(entryPath) : QStringLiteral("/");
    d->connected = true;
    notify(onStatus, QStringLiteral("Verbunden"));
}

void FtpClient::Reconnect()
{
    const QString directory = d->directory;
    if (d->connected)
        Disconnect();
    Connect();
    if (directory != d->directory)
        ChangeDir(directory);
}

void FtpClient::Disconnect()
{
    d->requireIdle();
    // Closing the connection pool sends QUIT.
    curl_multi_cleanup(d->multi);
    d->multi = curl_multi_init();
    d->connected = false;
    notify(onStatus, QStringLiteral("Getrennt"));
}

void FtpClient::Abort()
{
    // The operation ends at its next progress report or poll slice; the FTP library closes
    // the control connection and logs in again by itself at the next operation.
    if (d->busy)
        d->abortRequested = true;
}

FtpClient::StopScope::StopScope(FtpClient& client, std::stop_token stop)
    : client_(client), previous_(std::exchange(client.d->stop, std::move(stop)))
{
}

FtpClient::StopScope::~StopScope() { client_.d->stop = std::move(previous_); }

QString FtpClient::RetrieveCurrentDir() { return d->printWorkingDirectory(d->directory); }

void FtpClient::ChangeDir(const QString& directory) { d->printWorkingDirectory(d->resolve(directory)); }

void FtpClient::MakeDir(const QString& name) { d->runCommand("MKD " + d->encodeName(name, d->directory)); }

void FtpClient::RemoveDir(const QString& name) { d->runCommand("RMD " + d->encodeName(name, d->directory)); }

void FtpClient::Delete(const QString& name) { d->runCommand("DELE " + d->encodeName(name, d->directory)); }

std::optional<QList<FtpListEntry>> FtpClient::State::fetchListing(const QByteArray& address, QByteArray& body)
{
    requireConnected();
    const FtpReceiver append = [&body](const char* data, qint64 size) {
        if (body.size() + size > kMaxListingBytes)
            return false;  // a listing without end
        body.append(data, size);
        return true;
    };
    Operation op;
    op.url = address;
    if (features.mlsd)
        op.customRequest = "MLSD";
    op.transfer = true;
    op.receive = &append;
    if (const CURLcode code = run(op); code != CURLE_OK)
        fail(code);
    return features.mlsd ? ParseMlsd(body) : ParseList(body, QDateTime::currentDateTime());
}

void FtpClient::List()
{
    d->requireConnected();
    QByteArray body;
    std::optional<QList<FtpListEntry>> entries = d->fetchListing(d->url(directoryPath(d->directory)), body);
    d->listing = body;
    d->entriesReadable = entries.has_value();
    d->entries = entries.value_or(QList<FtpListEntry>());
    d->names.learn(d->directory, d->entries);
}

QList<FtpListEntry> FtpClient::ListAt(const QByteArray& directory)
{
    d->requireConnected();
    QByteArray body;
    const std::optional<QList<FtpListEntry>> entries =
        d->fetchListing(d->urlOfBytes(directory.endsWith('/') ? directory : directory + '/'), body);
    if (!entries)
        throw FtpError(remoteText(kNoListParser));
    return *entries;
}

const QList<FtpListEntry>& FtpClient::DirectoryListing() const
{
    if (!d->entriesReadable)
        throw FtpError(remoteText(kNoListParser));
    return d->entries;
}

const QByteArray& FtpClient::ListingText() const { return d->listing; }

qint64 FtpClient::Size(const QString& name)
{
    d->requireConnected();
    const QString remote = d->resolve(name);
    Operation op;
    op.url = d->url(remote);
    op.noBody = true;
    const CURLcode code = d->run(op);
    if (code == CURLE_REMOTE_FILE_NOT_FOUND)
        return -1;
    if (code != CURLE_OK)
        throw d->errorOf(code).about(remote);
    curl_off_t length = -1;
    curl_easy_getinfo(d->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    return qint64(length);
}

std::optional<QDateTime> FtpClient::ModificationTimeAt(const QByteArray& path)
{
    d->requireConnected();
    Operation op;
    op.url = d->urlOfBytes(path);
    op.noBody = true;
    op.fileTime = true;
    const CURLcode code = d->run(op);
    if (code == CURLE_REMOTE_FILE_NOT_FOUND)
        return std::nullopt;
    if (code != CURLE_OK)
        throw d->errorOf(code).about(DecodeServerText(path));
    curl_off_t seconds = -1;
    curl_easy_getinfo(d->easy, CURLINFO_FILETIME_T, &seconds);
    if (seconds < 0)
        return std::nullopt;  // the server does not know MDTM
    return QDateTime::fromSecsSinceEpoch(qint64(seconds), QTimeZone::utc());
}

QString FtpClient::remotePath(const QString& name) const { return d->resolve(name); }

QByteArray FtpClient::spelling(const QString& absolutePath) const { return d->encodeName(absolutePath, QString()); }

void FtpClient::Get(const QString& name, const QString& localPath)
{
    d->requireConnected();
    QFile file(platform::toHostPath(localPath));
    if (file.exists())
        throw FtpError(QCoreApplication::translate("Remote", "Die Datei %1 existiert bereits.").arg(localPath));
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        throw FtpError(QCoreApplication::translate("Remote", "Datei %1 kann nicht erstellt werden. %2")
                           .arg(localPath, file.errorString()));
    bool written = true;
    std::optional<FtpError> failure;
    try {
        Get(name, [&](const char* data, qint64 size) { return written = file.write(data, size) == size; });
        written = file.flush();
    } catch (const FtpError& error) {
        failure = error;
    }
    if (written && !failure) {
        file.close();
        return;
    }
    const QString reason = file.errorString();
    // Half a file must not pass for the whole one.
    file.remove();
    if (!written)
        throw FtpError(
            QCoreApplication::translate("Remote", "Datei %1 kann nicht geschrieben werden. %2").arg(localPath, reason));
    throw *failure;
}

void FtpClient::Get(const QString& name, const FtpReceiver& receive)
{
    d->requireConnected();
    const QString remote = d->resolve(name);
    GetAt(d->encodeName(remote, QString()), receive);
}

void FtpClient::GetAt(const QByteArray& path, const FtpReceiver& receive, qint64 from)
{
    d->requireConnected();
    Operation op;
    op.url = d->urlOfBytes(path);
    op.transfer = true;
    op.receive = &receive;
    op.resumeFrom = from;
    if (const CURLcode code = d->run(op); code != CURLE_OK)
        throw d->errorOf(code).about(DecodeServerText(path));
}

}  // namespace quorbin
