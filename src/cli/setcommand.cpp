#include "cli/arguments.h"
#include "cli/commands.h"
#include "config/inifile.h"

namespace quorbin::cli {

const char* const kSetHelp =
    "quorbin-restore set SETFILE\n"
    "\n"
    "Prints the backup set read from SETFILE, then the program settings read from quorbin.ini\n"
    "in the Windows directory ($QUORBIN_WINDIR), one line per key as Section/Key=value, in the\n"
    "order of the files' keys; Booleans as true or false. A key the file lacks shows its default.\n"
    "Paths beginning with a drive letter and \":\" or with \"\\\\\" are Windows paths;\n"
    "any other path is a path of this machine.\n"
    "\n"
    "Exit status: 0 printed, 1 SETFILE not readable (the defaults are printed all the same),\n"
    "2 usage error.\n";

std::optional<BackupSet> readSetArgument(const QString& argument, QString& error)
{
    const QString path = windowsPathOfArgument(argument);
    if (!config::IniFile::load(path).loaded()) {
        error = "Set-Datei nicht gefunden oder nicht lesbar: " + path;
        return {};
    }
    return ReadBackupSet(path);
}

namespace {

void printSettings(const SettingLines& lines)
{
    for (const auto& [name, value] : lines)
        printRecord(name + u'=' + value);
}

}  // namespace

int runSet(QStringList arguments)
{
    if (arguments.size() != 1) {
        printError(QString::fromUtf8(kSetHelp));
        return kUsage;
    }
    QString error;
    const std::optional<BackupSet> set = readSetArgument(arguments.first(), error);
    printSettings(settingLines(set.value_or(BackupSet())));
    printSettings(settingLines(ReadProgramSettings(QStringLiteral("quorbin.ini"))));
    if (!set) {
        printError(error + " (Vorgaben gezeigt)");
        return kFailed;
    }
    return kOk;
}

}  // namespace quorbin::cli
