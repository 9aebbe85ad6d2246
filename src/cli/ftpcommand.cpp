#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/signalstop.h"
#include "cli/terminalprogress.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "remote/ftpconnect.h"
#include "remote/ftperror.h"
#include "remote/remotebrowser.h"

#include <algorithm>

namespace quorbin::cli {

const char* const kFtpHelp =
    "quorbin-restore ftp --set SETFILE [--no-tls | --require-tls] [--dirservice | --no-dirservice] ls [REMOTE-DIR]\n"
    "quorbin-restore ftp --set SETFILE [--no-tls | --require-tls] [--dirservice | --no-dirservice] get REMOTE-FILE LOCAL-FILE\n"
    "\n"
    "Connects to the FTP mirror of the backup set SETFILE as the desktop program does (host,\n"
    "port, user, password, passive mode, base path \"Basis\"; TLS and the directory service as\n"
    "quorbin.ini says, unless the options override them).\n"
    "A server that refuses TLS is used unencrypted, with a warning on stderr; with --require-tls\n"
    "(or NURSSL=1 in quorbin.ini) the connection fails instead. Other warnings of the connection,\n"
    "such as active mode going passive over TLS, go to stderr as well.\n"
    "\n"
    "ls prints the entries of REMOTE-DIR below the base path (the base path itself without it),\n"
    "one per line: name, kind (dir or file), size in bytes, modification time (local; the day\n"
    "only where the server lists no time), separated by tabs. Servers without MLSD are read\n"
    "through LIST.\n"
    "get downloads REMOTE-FILE (relative to the base path) to LOCAL-FILE; a stored file (.nxz)\n"
    "is deciphered with the set's key and expanded on the way, anything else is saved as it\n"
    "is. An existing LOCAL-FILE is replaced only when the download succeeded.\n"
    "\n"
    "Exit status: 0 done, 1 failed (reason on stderr), 2 usage error.\n";

namespace {

// The session in the base path, or the reason why not. The connect's warnings go to stderr;
// its other log lines (directory service, time difference, listing archive) tell a script
// nothing that ls or get depend on.
bool openSession(FtpSession& session, const FtpSettings& settings, QString& error)
{
    try {
        const ConnectOutcome outcome = ftpconnect(session, settings, noStatus(), noLog(), signalStopToken());
        for (const QString& warning : outcome.warnings)
            printError("Warnung: " + warning);
        if (!session.client.Connected()) {
            error = "Keine FTP-Verbindung: " + (outcome.loginFailure ? outcome.loginFailure->text() : QString());
            return false;
        }
        const FtpClient::StopScope scope(session.client, signalStopToken());
        session.client.ChangeDir(session.FtpBasePath);
        return true;
    } catch (const FtpError& e) {
        error = "Keine FTP-Verbindung: " + e.text();
    } catch (const IoError& e) {
        error = "Keine FTP-Verbindung: " + e.text();
    }
    return false;
}

bool isAscii(const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
}

// A server that announces no UTF8 may spell a name in Latin-1 or in UTF-8 bytes, and the
// typed text cannot tell which: the directory that holds such a name is listed first, so
// that the name goes out as the server listed it. Without the listing the name goes as
// Latin-1, as the backup program wrote it.
void learnSpelling(FtpClient& client, const QString& name)
{
    if (!client.announcesUtf8() && !isAscii(name))
        PassOverFailure([&] { client.List(); });
}

// Into a directory below the current one, one step at a time where a spelling is to learn.
void enter(FtpClient& client, const QString& path)
{
    if (client.announcesUtf8() || isAscii(path)) {
        if (!path.isEmpty())
            client.ChangeDir(path);
        return;
    }
    if (path.startsWith(u'/'))
        client.ChangeDir(QStringLiteral("/"));
    for (const QString& step : path.split(u'/', Qt::SkipEmptyParts)) {
        learnSpelling(client, step);
        client.ChangeDir(step);
    }
}

// A LIST line of an older entry gives its day only.
QString listedTime(const FtpListEntry& entry)
{
    if (!entry.modified.isValid())
        return {};
    if (entry.resolution == FtpTimeResolution::Day)
        return entry.modified.date().toString(Qt::ISODate);
    return entry.modified.toString(Qt::ISODate);
}

int list(FtpSession& session, const QStringList& arguments)
{
    FtpClient& client = session.client;
    const FtpClient::StopScope scope(client, signalStopToken());
    enter(client, arguments.value(0));
    client.List();
    for (const FtpListEntry& entry : client.DirectoryListing()) {
        if (entry.name == u"." || entry.name == u"..")
            continue;
        printLine(QStringList{terminalSafe(entry.name), entry.directory ? "dir" : "file", QString::number(entry.size),
                              listedTime(entry)}
                      .join(u'\t'));
    }
    return kOk;
}

// The transfer's bytes on the progress line, for as long as the download runs.
class TransferProgress {
public:
    TransferProgress(FtpSession& session, TerminalProgress& progress) : client_(session.client)
    {
        client_.onWork = [&progress](qint64 bytes) { progress.advanced(0, bytes); };
    }
    ~TransferProgress() { client_.onWork = nullptr; }
    TransferProgress(const TransferProgress&) = delete;
    TransferProgress& operator=(const TransferProgress&) = delete;

private:
    FtpClient& client_;
};

int get(FtpSession& session, const QString& remote, const QString& target, const QString& key)
{
    const QString full = platform::absolutePath(target);
    platform::createFolders(platform::directoryPart(full));
    const qsizetype slash = remote.lastIndexOf(u'/');
    const QString name = remote.mid(slash + 1);
    {
        const FtpClient::StopScope scope(session.client, signalStopToken());
        enter(session.client, slash < 0 ? QString() : slash == 0 ? QStringLiteral("/") : remote.left(slash));
        learnSpelling(session.client, name);
    }
    TerminalProgress progress;
    const TransferProgress transfer(session, progress);
    const JobContext context{signalStopToken(), RestoreReporter{noStatus(), noLog(), progress}};
    const JobResult result = FetchRemoteFileTo(session, name, key, context, full);
    progress.clearLine();
    if (result.ok())
        return kOk;
    if (result.kind == ErrorKind::Network)
        printError("FTP-Fehler: " + describe(result));  // the client's error names the remote file
    else if (!result.path.isEmpty())
        printError("Nicht wiederhergestellt: " + describe(result));  // the remote file, or the target at fault
    else
        printError("Nicht wiederhergestellt: " + remote + ": " + describe(result));
    return kFailed;
}

}  // namespace

int runFtp(QStringList arguments)
{
    QString error;
    const auto setFile = takeOption(arguments, QStringLiteral("--set"), error);
    const bool noTls = takeFlag(arguments, QStringLiteral("--no-tls"));
    const bool requireTls = takeFlag(arguments, QStringLiteral("--require-tls"));
    const bool service = takeFlag(arguments, QStringLiteral("--dirservice"));
    const bool noService = takeFlag(arguments, QStringLiteral("--no-dirservice"));
    const QString action = arguments.value(0);
    const bool usable = error.isEmpty() && setFile && !(service && noService) && !(noTls && requireTls) &&
                        ((action == u"ls" && arguments.size() <= 2) || (action == u"get" && arguments.size() == 3));
    if (!usable) {
        printError(error.isEmpty() ? QString::fromUtf8(kFtpHelp) : error);
        return kUsage;
    }
    const std::optional<BackupSet> set = readSetArgument(*setFile, error);
    if (!set) {
        printError(error);
        return kFailed;
    }
    FtpSettings settings = FtpSettingsFromSet(*set, ReadProgramSettings(QStringLiteral("quorbin.ini")));
    // The command line's word goes before quorbin.ini's, also before its NURSSL.
    if (noTls) {
        settings.tls = false;
        settings.requireTls = false;
    }
    if (requireTls)
        settings.requireTls = true;
    if (service || noService)
        settings.directoryService = service;

    FtpSession session;
    if (!openSession(session, settings, error)) {
        printError(error);
        return kFailed;
    }
    try {
        if (action == u"ls")
            return list(session, arguments.mid(1));
        return get(session, arguments.at(1), windowsPathOfArgument(arguments.at(2)), set->SCHLUESSEL);
    } catch (const FtpError& e) {
        printError("FTP-Fehler: " + e.text());
    } catch (const IoError& e) {
        printError(e.text());
    }
    return kFailed;
}

}  // namespace quorbin::cli
