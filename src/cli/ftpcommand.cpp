#include "cli/arguments.h"
#include "cli/commands.h"
#include "engine/keycipher.h"
#include "engine/restore.h"
#include "engine/tempfiles.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/replacefile.h"
#include "platform/winpath.h"
#include "remote/ftpconnect.h"
#include "remote/ftperror.h"

#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <unistd.h>

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

// Transfer progress on standard error, when that is a terminal.
class TransferLine {
public:
    TransferLine() : enabled_(isatty(STDERR_FILENO) != 0) { clock_.start(); }
    void show(qint64 bytes, qint64 total)
    {
        if (!enabled_ || clock_.elapsed() - lastShown_ < 200)
            return;
        lastShown_ = clock_.elapsed();
        std::fprintf(stderr, "\r%.1f / %.1f MiB   ", bytes / 1048576.0, std::max<qint64>(total, 0) / 1048576.0);
    }
    void finish()
    {
        if (enabled_ && lastShown_ >= 0)
            std::fputc('\n', stderr);
    }

private:
    QElapsedTimer clock_;
    qint64 lastShown_ = -1000;
    bool enabled_;
};

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
        ftpconnect(session, settings, noStatus(), log);
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
    if (!arguments.isEmpty())
        client.ChangeDir(arguments.first());
    client.List();
    for (const FtpListEntry& entry : client.DirectoryListing()) {
        if (entry.name == u"." || entry.name == u"..")
            continue;
        const QString time = entry.modified.isValid() ? entry.modified.toString(Qt::ISODate) : QString();
        printLine(QStringList{entry.name, entry.directory ? "dir" : "file", QString::number(entry.size), time}.join(
            u'\t'));
    }
    return kOk;
}

// Fetches the remote file into a new work file of the temporary directory.
QString fetch(FtpSession& session, const QString& remote)
{
    const QString work = NewWorkFileName();
    platform::removeFile(work);  // the download makes it anew
    TransferLine line;
    const qint64 total = session.client.Size(remote);
    struct Reporting {
        FtpClient& client;
        TransferLine& line;
        ~Reporting()
        {
            client.onWork = nullptr;
            line.finish();
        }
    } reporting{session.client, line};
    session.client.onWork = [&line, total](qint64 bytes) { line.show(bytes, total); };
    session.client.Get(remote, work);
    return work;
}

int get(FtpSession& session, const QString& remote, const QString& target, const QString& key)
{
    const QString work = fetch(session, remote);
    const TemporaryFileGuard guard(work);
    if (!remote.endsWith(QStringLiteral(".nxz"))) {
        // Renamed into place when the temporary directory shares the target's file system.
        const QString full = platform::absolutePath(target);
        platform::createFolders(platform::directoryPart(full));
        if (platform::renameReplacing(work, full) || CopyPlainFile(work, full) == 0)
            return kOk;
        printError("Nicht gespeichert: " + target);
        return kFailed;
    }
    DecipherFile(work, key, noStatus(), nullptr);
    if (ExpandToFile(work, target, kReplaceExisting) != 0) {
        printError("Nicht wiederhergestellt: " + remote + " (falscher Schlüssel oder beschädigte Datei)");
        return kFailed;
    }
    return kOk;
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
