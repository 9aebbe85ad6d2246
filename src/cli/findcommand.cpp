#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/signalstop.h"
#include "cli/storedfilelines.h"
#include "engine/storedfiles.h"
#include "platform/datetime.h"

#include <QCoreApplication>

namespace quorbin::cli {

const char* const kFindHelp = QT_TRANSLATE_NOOP(
    "Cli",
    "quorbin-restore find MUSTER [STARTVERZ] [--set SET-DATEI] [--versions]\n"
    "\n"
    "Sucht in der Datensicherung unter STARTVERZ nach Dateien, deren Originalname auf MUSTER passt\n"
    "(\"*\" und \"?\", ohne Rücksicht auf Groß- und Kleinschreibung; ein Leerzeichen passt auf die\n"
    "Leerzeichenmarke \"¯\" der Datensicherung). Ein MUSTER mit \"\\\" wird mit dem ganzen\n"
    "Originalpfad verglichen, wobei \"*\" auch über Ordner reicht: 'C:\\Users\\*\\Docs\\*.txt' findet\n"
    "die .txt-Dateien unter Docs jedes Benutzers.\n"
    "Ohne STARTVERZ beginnt die Suche im Ziel der Sicherung SET-DATEI.\n"
    "\n"
    "Gibt eine Zeile je gefundener Datei aus: ihren Originalpfad, die Zahl ihrer Versionen,\n"
    "Datum und Zeit und die Größe in Bytes ihrer neuesten Version, durch Tabulatoren getrennt.\n"
    "Eine Datei ohne Versionsendung zählt als eine Version.\n"
    "\n"
    "  --versions  auch jede Version unter ihrer Datei ausgeben, die älteste zuerst: ein\n"
    "              Tabulator, Datum und Zeit der Version, ihre Größe, ihr Pfad in der\n"
    "              Datensicherung\n"
    "\n"
    "Ein Ordner, der nicht gelesen werden kann, und eine Datei, deren erste Version\n"
    "(.00001.nxz) fehlt oder bei der eine Version keine lesbare Zeit hat, erhalten eine Warnung\n"
    "auf der Standardfehlerausgabe.\n"
    "\n"
    "Rückgabewert: 0 gefunden, 1 nichts gefunden oder ein Ordner oder eine Version nicht lesbar,\n"
    "2 Aufruffehler.\n");

namespace {

// Prints what the search finds as it goes, and keeps what decides the exit status.
class FoundLines {
public:
    explicit FoundLines(bool everyVersion) : everyVersion_(everyVersion) {}

    FindCallbacks callbacks()
    {
        return {[this](const StoredFileVersions& file) { found(file); },
                [this](const JobResult& unreadable) {
                    printError(describe(unreadable));
                    failed_ = true;
                }};
    }
    int status() const { return found_ > 0 && !failed_ ? kOk : kFailed; }
    int count() const { return found_; }

private:
    void found(const StoredFileVersions& file)
    {
        ++found_;
        const VersionCandidate* newest = file.newest();
        if (!newest) {
            printError(QCoreApplication::translate("Cli", "Zeit einer Version nicht lesbar: %1")
                           .arg(terminalSafe(file.unreadableVersion)));
            failed_ = true;
            return;
        }
        printRecord(QStringList{file.originalPath, QString::number(file.versions.size()),
                                platform::userDateTimeText(newest->time), QString::number(newest->size)}
                        .join(u'\t'));
        if (everyVersion_)
            for (const VersionCandidate& version : file.versions)
                printRecord(QStringList{QString(), platform::userDateTimeText(version.time),
                                        QString::number(version.size), version.path}
                                .join(u'\t'));
        if (!file.hasFirstVersion())
            warnWithoutFirstVersion(storedBasePath(file));
    }

    bool everyVersion_;
    int found_ = 0;
    bool failed_ = false;
};

}  // namespace

int runFind(QStringList arguments)
{
    QString error;
    const auto setFile = takeOption(arguments, QStringLiteral("--set"), error);
    const bool everyVersion = takeFlag(arguments, QStringLiteral("--versions"));
    if (!error.isEmpty() || arguments.isEmpty() || arguments.size() > 2 || (arguments.size() == 1 && !setFile)) {
        printError(error.isEmpty() ? helpText(kFindHelp) : error);
        return kUsage;
    }
    const std::optional<QString> start = storeStartOf(arguments.value(1), setFile, error);
    if (!start) {
        printError(error);
        return kFailed;
    }
    FoundLines lines(everyVersion);
    if (!FindStoredFiles(*start, arguments.first(), lines.callbacks(), signalStopToken()))
        return kFailed;  // stopped by a signal
    if (lines.count() == 0)
        printError(QCoreApplication::translate("Cli", "Nichts gefunden: %1").arg(arguments.first()));
    return lines.status();
}

}  // namespace quorbin::cli
