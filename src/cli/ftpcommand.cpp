#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/signalstop.h"
#include "cli/terminalprogress.h"
#include "cli/treeoptions.h"
#include "cli/verifycommand.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "remote/certificatestore.h"
#include "remote/ftpconnect.h"
#include "remote/ftperror.h"
#include "remote/remotebrowser.h"
#include "remote/remotestore.h"
#include "remote/timecheck.h"

#include <QCoreApplication>

#include <algorithm>

namespace quorbin::cli {

const char* const kFtpHelp = QT_TRANSLATE_NOOP(
    "Cli",
    "quorbin-restore ftp --set SET-DATEI [Verbindungsoptionen] ls [FERNVERZ]\n"
    "quorbin-restore ftp --set SET-DATEI [Verbindungsoptionen] get FERNDATEI LOKALE-DATEI\n"
    "quorbin-restore ftp --set SET-DATEI [Verbindungsoptionen] dir FERNVERZ [--to NEUES-VERZ]\n"
    "                    [--rule original|before|newest] [--before DATUM] [--ask] [--dry-run]\n"
    "                    [--jobs N] [--force]\n"
    "quorbin-restore ftp --set SET-DATEI [Verbindungsoptionen] verify FERNVERZ [--all-versions] [--jobs N]\n"
    "Verbindungsoptionen: [--no-tls | --require-tls] [--dirservice | --no-dirservice]\n"
    "                     [--trust-certificate SHA256]\n"
    "\n"
    "Verbindet sich wie das Desktop-Programm mit dem FTP-Spiegel der Sicherung SET-DATEI (Host,\n"
    "Port, Benutzer, Passwort, passiver Modus, Basispfad \"Basis\"; TLS und der Verzeichnisdienst,\n"
    "wie quorbin.ini sagt, außer die Optionen legen es anders fest).\n"
    "Ein Server, der TLS ablehnt, wird unverschlüsselt genutzt, mit einer Warnung auf stderr;\n"
    "mit --require-tls (oder NURSSL=1 in quorbin.ini) scheitert die Verbindung stattdessen.\n"
    "Andere Warnungen der Verbindung, etwa dass der aktive Modus über TLS passiv wird, gehen\n"
    "ebenfalls auf stderr.\n"
    "Das Zertifikat des Servers wird geprüft: eines, dem das System vertraut (Kette und\n"
    "Hostname), gilt ohne Weiteres. Jedes andere wird beim ersten Mal angenommen und mit seinem\n"
    "SHA-256-Fingerabdruck für Host und Port in zertifikate.conf neben laufwerke.conf gespeichert\n"
    "(mit einer Warnung auf stderr). Zeigt der Server später ein anderes, scheitert die\n"
    "Verbindung, bevor das Passwort gesendet wird; die Meldung nennt beide Fingerabdrücke.\n"
    "--trust-certificate SHA256 nimmt ein Zertifikat mit genau diesem Fingerabdruck an (Groß-\n"
    "und Kleinschreibung gleich, Doppelpunkte nach Belieben) und speichert es an Stelle des alten.\n"
    "\n"
    "ls gibt die Einträge von FERNVERZ unter dem Basispfad aus (ohne FERNVERZ die des\n"
    "Basispfads selbst), einen je Zeile: Name, Art (dir oder file), Größe in Bytes,\n"
    "Änderungszeit (lokal; nur der Tag, wo der Server keine Zeit nennt), durch Tabulatoren\n"
    "getrennt. Server ohne MLSD werden über LIST gelesen.\n"
    "get lädt FERNDATEI (relativ zum Basispfad) nach LOKALE-DATEI; eine gesicherte Datei (.nxz)\n"
    "wird unterwegs mit dem Schlüssel des Sets entschlüsselt und entpackt, alles andere so\n"
    "gespeichert, wie es ist. Eine vorhandene LOKALE-DATEI wird nur ersetzt, wenn das Laden\n"
    "gelungen ist.\n"
    "\n"
    "dir stellt den Baum FERNVERZ des Spiegels (unter dem Basispfad, etwa Set1/C$/Docs) so\n"
    "wieder her, wie `dir` denselben Baum der Datensicherung selbst wiederherstellt, mit\n"
    "denselben Optionen und denselben Protokollzeilen: der Spiegel steht für das Ziel des Sets,\n"
    "sein Set1/C$/Docs ist also <Ziel>\\Set1\\C$\\Docs der Datensicherung. N Dateien (Vorgabe 4)\n"
    "werden zugleich geladen, jede über eine eigene Verbindung, entschlüsselt und entpackt,\n"
    "während sie ankommen. Eine Übertragung, die abbricht, wird dreimal erneut versucht (nach\n"
    "0,5, 1 und 2 s) und setzt fort, wo sie stand (mit REST, wo der Server es kann); erst dann\n"
    "erhält die Datei ihre ERROR-Zeile, und der Durchlauf geht weiter. Nimmt der Server nicht so\n"
    "viele Verbindungen an, geht es mit denen weiter, die er annimmt. Kommt STILLSTAND Sekunden\n"
    "lang (quorbin.ini, Vorgabe 180) kein Byte vom Server, endet der Durchlauf: jede Datei, die\n"
    "nicht wiederhergestellt ist, erhält ihre ERROR-Zeile.\n"
    "Versionen werden nach den Zeiten gewählt, die der Server auflistet, verschoben in die\n"
    "lokale Zeit um den Uhrenunterschied, den der Verbindungsaufbau misst (lokal minus Server,\n"
    "auf ganze Minuten gerundet). Nennt die Auflistung nur den Tag und reicht er nicht, eine\n"
    "Version zu wählen, wird die Zeit mit MDTM erfragt; ohne Antwort erhält die Datei ihre\n"
    "ERROR-Zeile.\n"
    "Schon wiederhergestellt: ein vorhandenes Ziel, dessen letzte Änderungszeit die Zeit der\n"
    "gewählten Version ist (bei einer einfachen Datei auch ihre aufgelistete Größe), hat ein\n"
    "früherer Lauf geschrieben, denn eine Wiederherstellung stempelt jede Datei so und legt sie\n"
    "nur vollständig an ihren Platz. Es wird ohne --force nicht erneut geladen, behält aber\n"
    "seine Protokollzeile, so dass das Protokoll eines fortgesetzten Laufs das eines ganzen ist;\n"
    "die Anzahl solcher Dateien geht auf stderr.\n"
    "verify liest jede gesicherte Datei unter FERNVERZ (oder nur die neueste Version) durch den\n"
    "Decoder ins Leere, wie `verify` es tut; nichts wird auf die Platte geschrieben.\n"
    "\n"
    "Rückgabewert: 0 erledigt, 1 gescheitert (Grund auf stderr; dir und verify: eine Datei nicht\n"
    "wiederhergestellt oder fehlerhaft), 2 Aufruffehler.\n");

namespace {

// The session in the base path, or the reason why not. The connect's warnings go to stderr;
// its other log lines (directory service, time difference, listing archive) tell a script
// nothing that ls or get depend on.
bool openSession(FtpSession& session, const FtpSettings& settings, QString& error)
{
    try {
        const ConnectOutcome outcome = ftpconnect(session, settings, noStatus(), noLog(), signalStopToken());
        for (const QString& warning : outcome.warnings)
            printError(QCoreApplication::translate("Cli", "Warnung: %1").arg(warning));
        if (!session.client.Connected()) {
            error = QCoreApplication::translate("Cli", "Keine FTP-Verbindung: %1")
                        .arg(outcome.loginFailure ? outcome.loginFailure->text() : QString());
            return false;
        }
        const FtpClient::StopScope scope(session.client, signalStopToken());
        session.client.ChangeDir(session.FtpBasePath);
        return true;
    } catch (const FtpError& e) {
        error = QCoreApplication::translate("Cli", "Keine FTP-Verbindung: %1").arg(e.text());
    } catch (const IoError& e) {
        error = QCoreApplication::translate("Cli", "Keine FTP-Verbindung: %1").arg(e.text());
    }
    return false;
}

bool isAscii(const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
}

// A typed name with umlauts does not tell its bytes: a server that announces no UTF8 may hold
// Latin-1 or UTF-8 names, and one that announces UTF8 may still keep the Latin-1 names of a
// store copied from Windows. The directory that holds such a name is listed first (on a UTF8
// server only once the name as typed was not found), so that the name goes out as the server
// listed it. Without the listing the name goes as the server's announcement says.
void learnSpelling(FtpClient& client, const QString& name)
{
    if (!isAscii(name))
        PassOverFailure([&] { client.List(); });
}

bool foundAsTyped(FtpClient& client, const QString& name)
{
    bool found = false;
    PassOverFailure([&] { found = client.Size(name) >= 0; });
    return found;
}

// Into a directory below the current one, one step at a time where a spelling is to learn.
void enter(FtpClient& client, const QString& path)
{
    if (path.isEmpty())
        return;
    if (isAscii(path)) {
        client.ChangeDir(path);
        return;
    }
    if (client.announcesUtf8() && PassOverFailure([&] { client.ChangeDir(path); }))
        return;
    if (path.startsWith(u'/'))
        client.ChangeDir(QStringLiteral("/"));
    for (const QString& step : path.split(u'/', Qt::SkipEmptyParts)) {
        learnSpelling(client, step);
        client.ChangeDir(step);
    }
}

// A LIST line of an older entry gives its day only. Times move by the clock difference that
// the connect measured, as a tree restore moves them.
QString listedTime(const FtpListEntry& entry, qint64 offsetSeconds)
{
    if (!entry.modified.isValid())
        return {};
    if (entry.resolution == FtpTimeResolution::Day)
        return entry.modified.date().toString(Qt::ISODate);
    return entry.modified.addSecs(offsetSeconds).toString(Qt::ISODate);
}

int list(FtpSession& session, const QStringList& arguments)
{
    FtpClient& client = session.client;
    const FtpClient::StopScope scope(client, signalStopToken());
    enter(client, arguments.value(0));
    client.List();
    const qint64 offset = ClockOffsetSeconds(session.TimeDifference);
    for (const FtpListEntry& entry : client.DirectoryListing()) {
        if (entry.name == u"." || entry.name == u"..")
            continue;
        printLine(QStringList{terminalSafe(entry.name), entry.directory ? "dir" : "file", QString::number(entry.size),
                              listedTime(entry, offset)}
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

// The file gets the stored file's time, as `file` stamps a restore with its version's: the
// server's (MDTM), moved by the clock difference. A server that does not tell leaves it.
void stampWithServerTime(FtpSession& session, const QString& name, const QString& target)
{
    FtpClient& client = session.client;
    const FtpClient::StopScope scope(client, signalStopToken());
    PassOverFailure([&] {
        const std::optional<QDateTime> time = client.ModificationTimeAt(client.spelling(client.remotePath(name)));
        const std::optional<QDateTime> local =
            time ? platform::storeTime(time->toSecsSinceEpoch() + ClockOffsetSeconds(session.TimeDifference))
                 : std::nullopt;
        if (local)
            platform::setLastWriteTime(target, *local);
    });
}

int get(FtpSession& session, const QString& remote, const QString& target, const QString& key)
{
    const QString full = platform::absolutePath(target);
    platform::createFolders(platform::directoryPart(full));
    const qsizetype slash = remote.lastIndexOf(u'/');
    const QString name = remote.mid(slash + 1);
    {
        const FtpClient::StopScope scope(session.client, signalStopToken());
        enter(session.client, slash < 0 ? QString() : slash == 0 ? QStringLiteral("/") : remote.left(slash));
        if (!session.client.announcesUtf8() || !foundAsTyped(session.client, name))
            learnSpelling(session.client, name);
    }
    TerminalProgress progress;
    const TransferProgress transfer(session, progress);
    const JobContext context{signalStopToken(), RestoreReporter{noStatus(), noLog(), progress}};
    const JobResult result = FetchRemoteFileTo(session, name, key, context, full);
    progress.clearLine();
    if (result.ok()) {
        stampWithServerTime(session, name, full);
        return kOk;
    }
    if (result.kind == ErrorKind::Network)
        printError(QCoreApplication::translate("Cli", "FTP-Fehler: %1")
                       .arg(describe(result)));  // the client's error names the remote file
    else if (!result.path.isEmpty())
        printError(QCoreApplication::translate("Cli", "Nicht wiederhergestellt: %1")
                       .arg(describe(result)));  // the remote file, or the target at fault
    else
        printError(QCoreApplication::translate("Cli", "Nicht wiederhergestellt: %1: %2").arg(remote, describe(result)));
    return kFailed;
}

// The mirror opened, or why not (printed). The connect's warnings go to stderr.
std::shared_ptr<RemoteStore> openStore(const FtpSettings& settings, const BackupSet& set, bool force)
{
    RemoteStore::Options options;
    options.storeRoot = set.Ziel;
    options.force = force;
    options.stop = signalStopToken();
    options.warn = [](const QString& warning) {
        printError(QCoreApplication::translate("Cli", "Warnung: %1").arg(warning));
    };
    try {
        QStringList warnings;
        auto store = OpenRemoteStore(settings, options, warnings);
        for (const QString& warning : warnings)
            printError(QCoreApplication::translate("Cli", "Warnung: %1").arg(warning));
        return store;
    } catch (const FtpError& e) {
        printError(QCoreApplication::translate("Cli", "Keine FTP-Verbindung: %1").arg(e.text()));
    } catch (const IoError& e) {
        printError(QCoreApplication::translate("Cli", "Keine FTP-Verbindung: %1").arg(e.text()));
    }
    return nullptr;
}

// The store path of REMOTE-DIR; empty (printed why) when no walk may start there. A restore
// needs a drive's folder ("C$") to know where its files go; a check reads any folder.
QString startOf(const RemoteStore& store, const QString& remoteDirectory, bool restoring)
{
    QString start = store.storePathOf(remoteDirectory);
    if (start.isEmpty())
        printError(QCoreApplication::translate("Cli", "Kein Verzeichnis unter dem Basispfad: %1").arg(remoteDirectory));
    else if (restoring && !start.contains(u'$'))
        printError(QCoreApplication::translate("Cli", "Kein Backup-Pfad. Bitte neu wählen!"));
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
        printError(error.isEmpty() ? helpText(kFtpHelp) : error);
        return kUsage;
    }
    const std::shared_ptr<RemoteStore> store = openStore(settings, set, force);
    if (!store)
        return kFailed;
    DirRestoreJob::Options options = treeJobOptions(tree, startOf(*store, arguments.first(), true));
    if (options.startDirectory.isEmpty() || refusesTargets(options))
        return kUsage;
    options.key = [key = set.SCHLUESSEL] { return key; };
    options.jobs = tree.jobs > 0 ? tree.jobs : kRemoteWorkers;
    options.store = store;
    return runTreeJob(options, [&store] {
        if (store->skipped() > 0)
            printError(QCoreApplication::translate("Cli", "schon wiederhergestellt, nicht erneut geladen: %1")
                           .arg(store->skipped()));
    });
}

int verifyTree(const FtpSettings& settings, const BackupSet& set, QStringList arguments)
{
    QString error;
    const bool allVersions = takeFlag(arguments, QStringLiteral("--all-versions"));
    const int jobs = takeJobs(arguments, kMaxWorkers, error);
    if (!error.isEmpty() || arguments.size() != 1) {
        printError(error.isEmpty() ? helpText(kFtpHelp) : error);
        return kUsage;
    }
    const std::shared_ptr<RemoteStore> store = openStore(settings, set, false);
    if (!store)
        return kFailed;
    const QString start = startOf(*store, arguments.first(), false);
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
    const auto trusted = takeOption(arguments, QStringLiteral("--trust-certificate"), error);
    if (trusted && error.isEmpty() && NormalisedFingerprint(*trusted).isEmpty())
        error = QCoreApplication::translate("Cli", "Kein SHA-256-Fingerabdruck: %1").arg(*trusted);
    const QString action = arguments.value(0);
    const bool usable = error.isEmpty() && setFile && !(service && noService) && !(noTls && requireTls) &&
                        ((action == u"ls" && arguments.size() <= 2) || (action == u"get" && arguments.size() == 3) ||
                         action == u"dir" || action == u"verify");
    if (!usable) {
        printError(error.isEmpty() ? helpText(kFtpHelp) : error);
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
    if (trusted)
        settings.trustedCertificate = NormalisedFingerprint(*trusted);

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
        printError(QCoreApplication::translate("Cli", "FTP-Fehler: %1").arg(e.text()));
    } catch (const IoError& e) {
        printError(e.text());
    }
    return kFailed;
}

}  // namespace quorbin::cli
