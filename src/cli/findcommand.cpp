#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/signalstop.h"
#include "cli/storedfilelines.h"
#include "engine/storedfiles.h"
#include "platform/datetime.h"

namespace quorbin::cli {

const char* const kFindHelp =
    "quorbin-restore find PATTERN [START-DIR] [--set SETFILE] [--versions]\n"
    "\n"
    "Looks through the store below START-DIR for files whose original name matches PATTERN\n"
    "(\"*\" and \"?\", case-blind; a blank matches a blank mark \"¯\" of the store). A PATTERN\n"
    "with \"\\\" is matched against the whole original path, where \"*\" spans folders too:\n"
    "'C:\\Users\\*\\Docs\\*.txt' finds the .txt files below every user's Docs.\n"
    "Without START-DIR the search starts at the target folder (Ziel) of the backup set SETFILE.\n"
    "\n"
    "Prints one line per file found: its original path, the number of its versions, the date\n"
    "and time and the size in bytes of its newest version, separated by tabs. A file kept\n"
    "without version suffix counts as one version.\n"
    "\n"
    "  --versions  also print every version under its file, oldest first: a tab, the\n"
    "              version's date and time, its size, its path in the store\n"
    "\n"
    "A folder that cannot be read, and a file whose first version (.00001.nxz) is missing or\n"
    "one of whose versions has no readable time, gets a warning on standard error.\n"
    "\n"
    "Exit status: 0 found, 1 nothing found or a folder or version unreadable, 2 usage error.\n";

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
            printError("Zeit einer Version nicht lesbar: " + terminalSafe(file.unreadableVersion));
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
        printError(error.isEmpty() ? QString::fromUtf8(kFindHelp) : error);
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
        printError("Nichts gefunden: " + arguments.first());
    return lines.status();
}

}  // namespace quorbin::cli
