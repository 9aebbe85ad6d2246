#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/signalstop.h"
#include "cli/terminalprogress.h"
#include "cli/treeoptions.h"
#include "cli/verifycommand.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "remote/ftpconnect.h"
#include "remote/ftperror.h"
#include "remote/remotebrowser.h"
#include "remote/remotestore.h"

#include <algorithm>

namespace quorbin::cli {

const char* const kFtpHelp =
    "quorbin-restore ftp --set SETFILE [--no-tls | --require-tls] [--dirservice | --no-dirservice] ls [REMOTE-DIR]\n"
    "quorbin-restore ftp --set SETFILE [--no-tls | --require-tls] [--dirservice | --no-dirservice] get REMOTE-FILE LOCAL-FILE\n"
    "quorbin-restore ftp --set SETFILE [connection options] dir REMOTE-DIR [--to NEW-DIR]\n"
    "                    [--rule original|before|newest] [--before DATE] [--ask] [--dry-run]\n"
    "                    [--jobs N] [--force]\n"
    "quorbin-restore ftp --set SETFILE [connection options] verify REMOTE-DIR [--all-versions] [--jobs N]\n"
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
    "dir restores the tree REMOTE-DIR of the mirror (below the base path, such as\n"
    "Set1/C$/Docs) as `dir` restores the same tree of the store itself, with the same options\n"
    "and the same log lines: the mirror stands for the set's target folder (Ziel), so its\n"
    "Set1/C$/Docs is the store's <Ziel>\\Set1\\C$\\Docs. N files (default 4) download at a time,\n"
    "each over a connection of its own, deciphered and expanded as they come. A connection\n"
    "that breaks is tried again three times (after 0.5, 1 and 2 s), then the file gets its\n"
    "ERROR line and the walk goes on.\n"
    "Versions are chosen by the times the server lists, moved into local time by the clock\n"
    "difference that the connect measures (local minus server, rounded to whole minutes). A\n"
    "file whose listing has no time or the day only is not restored (ERROR line).\n"
    "Already restored: an existing target whose last-write time is the chosen version's time\n"
    "(a plain file: also its listed size) is one an earlier run wrote, for a restore stamps\n"
    "each file so and puts it in place only whole. It is not fetched again unless --force,\n"
    "but keeps its log line, so that the log of a resumed run is the log of a whole one; the\n"
    "count of such files goes to stderr.\n"
    "verify reads every stored file below REMOTE-DIR (or only the newest version) through\n"
    "the decoder to nowhere, as `verify` does; nothing is written to disk.\n"
    "\n"
    "Exit status: 0 done, 1 failed (reason on stderr; dir and verify: some file not restored\n"
    "or bad), 2 usage error.\n";

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

// The mirror opened, or why not (printed). The connect's warnings go to stderr.
std::shared_ptr<RemoteStore> openStore(const FtpSettings& settings, const BackupSet& set, bool force)
{
    RemoteStore::Options options;
    options.storeRoot = set.Ziel;
    options.force = force;
    options.stop = signalStopToken();
    try {
        QStringList warnings;
        auto store = OpenRemoteStore(settings, options, warnings);
        for (const QString& warning : warnings)
            printError("Warnung: " + warning);
        return store;
    } catch (const FtpError& e) {
        printError("Keine FTP-Verbindung: " + e.text());
    } catch (const IoError& e) {
        printError("Keine FTP-Verbindung: " + e.text());
    }
    return nullptr;
}

// The store path of REMOTE-DIR; empty (printed why) when no walk may start there.
QString startOf(const RemoteStore& store, const QString& remoteDirectory)
{
    QString start = store.storePathOf(remoteDirectory);
    if (start.isEmpty())
        printError("Kein Verzeichnis unter dem Basispfad: " + remoteDirectory);
    else if (!start.contains(u'$'))
        printError(QStringLiteral("Kein Backup-Pfad. Bitte neu wählen!"));
    else
        return start;
    return {};
}

int restoreTree(const FtpSettings& settings, const BackupSet& set, QStringList arguments)
{
    QString error;
    const bool force = takeFlag(arguments, QStringLiteral("--force"));
    const TreeOptions tree = takeTreeOptions(arguments, error);
    if (!error.isEmpty() || arguments.size() != 1) {
        printError(error.isEmpty() ? QString::fromUtf8(kFtpHelp) : error);
        return kUsage;
    }
    const std::shared_ptr<RemoteStore> store = openStore(settings, set, force);
    if (!store)
        return kFailed;
    DirRestoreJob::Options options = treeJobOptions(tree, startOf(*store, arguments.first()));
    if (options.startDirectory.isEmpty() || refusesTargets(options))
        return kUsage;
    options.key = [key = set.SCHLUESSEL] { return key; };
    options.jobs = tree.jobs > 0 ? tree.jobs : kRemoteWorkers;
    options.store = store;
    return runTreeJob(options, [&store] {
        if (store->skipped() > 0)
            printError(QStringLiteral("schon wiederhergestellt, nicht erneut geladen: %1").arg(store->skipped()));
    });
}

int verifyTree(const FtpSettings& settings, const BackupSet& set, QStringList arguments)
{
    QString error;
    const bool allVersions = takeFlag(arguments, QStringLiteral("--all-versions"));
    const int jobs = takeJobs(arguments, kMaxWorkers, error);
    if (!error.isEmpty() || arguments.size() != 1) {
        printError(error.isEmpty() ? QString::fromUtf8(kFtpHelp) : error);
        return kUsage;
    }
    const std::shared_ptr<RemoteStore> store = openStore(settings, set, false);
    if (!store)
        return kFailed;
    const QString start = startOf(*store, arguments.first());
    if (start.isEmpty())
        return kUsage;
    return verifyStore(VerifyRequest{start, [key = set.SCHLUESSEL] { return key; }, allVersions,
                                     jobs > 0 ? jobs : kRemoteWorkers, store});
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
                        ((action == u"ls" && arguments.size() <= 2) || (action == u"get" && arguments.size() == 3) ||
                         action == u"dir" || action == u"verify");
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

    if (action == u"dir")
        return restoreTree(settings, *set, arguments.mid(1));
    if (action == u"verify")
        return verifyTree(settings, *set, arguments.mid(1));

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
