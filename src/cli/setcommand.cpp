#include "cli/arguments.h"
#include "cli/commands.h"
#include "config/inifile.h"
#include "platform/files.h"
#include "platform/winpath.h"

#include <algorithm>
#include <iterator>

namespace quorbin::cli {

const char* const kSetHelp =
    "quorbin-restore set SETFILE [--show-secrets]\n"
    "\n"
    "Prints the backup set read from SETFILE, then the program settings read from quorbin.ini\n"
    "in the Windows directory ($QUORBIN_WINDIR, else $XDG_CONFIG_HOME/quorbin, else\n"
    "~/.config/quorbin), one line per key as Section/Key=value, in the order of the files' keys;\n"
    "Booleans as true or false. A key the file lacks shows its default. Each group opens with a\n"
    "line \"# \" + the file's host path it was read from, or where it was looked for.\n"
    "The key and the FTP password show as \"*\" (empty when not set) unless --show-secrets.\n"
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

const QString kSecretNames[] = {QString::fromUtf16(u"SCHL\u00DCSSEL/SCHL\u00DCSSEL"), QStringLiteral("FTP/ftppassw")};

void printSettings(const SettingLines& lines, bool showSecrets)
{
    for (const auto& [name, value] : lines) {
        const bool secret = std::find(std::begin(kSecretNames), std::end(kSecretNames), name) != std::end(kSecretNames);
        printRecord(name + u'=' + (secret && !showSecrets && !value.isEmpty() ? QStringLiteral("*") : value));
    }
}

// The host path a settings file was read from, or where it was looked for.
QString sourceLine(const QString& what, const QString& path, bool loaded)
{
    const QString hostPath = platform::caseBlindHostPath(platform::toHostPath(config::iniFilePath(path)));
    return "# " + what + ": " + hostPath + (loaded ? QString() : QStringLiteral(" (nicht gefunden, Vorgaben)"));
}

// Why quorbin.ini is looked for where it is.
QString windowsDirectoryOrigin()
{
    if (!qEnvironmentVariableIsEmpty("QUORBIN_WINDIR"))
        return QStringLiteral("QUORBIN_WINDIR");
    if (!qEnvironmentVariableIsEmpty("XDG_CONFIG_HOME"))
        return QStringLiteral("XDG_CONFIG_HOME/quorbin");
    return QStringLiteral("~/.config/quorbin");
}

}  // namespace

int runSet(QStringList arguments)
{
    const bool showSecrets = takeFlag(arguments, QStringLiteral("--show-secrets"));
    if (arguments.size() != 1) {
        printError(QString::fromUtf8(kSetHelp));
        return kUsage;
    }
    QString error;
    const std::optional<BackupSet> set = readSetArgument(arguments.first(), error);
    printRecord(sourceLine(QStringLiteral("Set-Datei"), windowsPathOfArgument(arguments.first()), set.has_value()));
    printSettings(settingLines(set.value_or(BackupSet())), showSecrets);
    const QString ini = QStringLiteral("quorbin.ini");
    printRecord(sourceLine(ini, ini, config::IniFile::load(ini).loaded()) + " (aus " + windowsDirectoryOrigin() + ")");
    printSettings(settingLines(ReadProgramSettings(ini)), showSecrets);
    if (!set) {
        printError(error + " (Vorgaben gezeigt)");
        return kFailed;
    }
    return kOk;
}

}  // namespace quorbin::cli
