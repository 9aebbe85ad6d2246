#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/signalstop.h"
#include "cli/terminalprogress.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "remote/ftpconnect.h"
#include "remote/ftperror.h"
#include "remote/remotebrowser.h"


namespace quorbin::cli {

const char* const kFtpHelp =
    "quorbin-restore ftp --set SETFILE [--no-tls] [--dirservice | --no-dirservice] ls [REMOTE-DIR]\n"
    "quorbin-restore ftp --set SETFILE [--no-tls] [--dirservice | --no-dirservice] get REMOTE-FILE LOCAL-FILE\n"
    "\n"
    "Connects to the FTP mirror of the backup set SETFILE as the desktop program does (host,\n"
    "port, user, password, passive mode, base path \"Basis\"; TLS and the directory service as\n"
    "quorbin.ini says, unless the options override them).\n"
    "\n"
    "ls prints the entries of REMOTE-DIR below the base path (the base path itself without it),\n"
    "one per line: name, kind (dir or file), size in bytes, modification time (local), separated\n"
    "by tabs.\n"
    "get downloads REMOTE-FILE (relative to the base path) to LOCAL-FILE; a stored file (.nxz)\n"
    "is deciphered with the set's key and expanded on the way, anything else is saved as it\n"
    "is. An existing LOCAL-FILE is replaced only when the download succeeded.\n"
    "\n"
    "Exit status: 0 done, 1 failed (reason on stderr), 2 usage error.\n";

namespace {

class ErrorLog : public LogSink {
public:
    void appendLine(const QString& line) override { lines << line; }
    QStringList lines;
};

// The session in the base path, or the reason why not.
bool openSession(FtpSession& session, const FtpSettings& settings, QString& error)
{
    ErrorLog log;
    try {
        ftpconnect(session, settings, noStatus(), log, signalStopToken());
        const FtpClient::StopScope scope(session.client, signalStopToken());
        if (!session.client.Connected())
            session.client.Connect();  // once more, for the reason of the failure
        session.client.ChangeDir(session.FtpBasePath);
        return true;
    } catch (const FtpError& e) {
        error = "Keine FTP-Verbindung: " + e.text();
    } catch (const IoError& e) {
        error = "Keine FTP-Verbindung: " + e.text();
    }
    return false;
}

int list(FtpSession& session, const QStringList& arguments)
{
    FtpClient& client = session.client;
    const FtpClient::StopScope scope(client, signalStopToken());
    if (!arguments.isEmpty())
        client.ChangeDir(arguments.first());
    client.List();
    for (const FtpListEntry& entry : client.DirectoryListing()) {
        if (entry.name == u"." || entry.name == u"..")
            continue;
        const QString time = entry.modified.isValid() ? entry.modified.toString(Qt::ISODate) : QString();
        printLine(QStringList{terminalSafe(entry.name), entry.directory ? "dir" : "file", QString::number(entry.size), time}.join(
            u'\t'));
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
    TerminalProgress progress;
    const TransferProgress transfer(session, progress);
    const JobContext context{signalStopToken(), RestoreReporter{noStatus(), noLog(), progress}};
    const JobResult result = FetchRemoteFileTo(session, remote, key, context, full);
    progress.clearLine();
    if (result.ok())
        return kOk;
    if (result.kind == ErrorKind::Network)
        printError("FTP-Fehler: " + describe(result));  // the server's reply names the file
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
    const bool service = takeFlag(arguments, QStringLiteral("--dirservice"));
    const bool noService = takeFlag(arguments, QStringLiteral("--no-dirservice"));
    const QString action = arguments.value(0);
    const bool usable = error.isEmpty() && setFile && !(service && noService) &&
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
    if (noTls)
        settings.tls = false;
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
