#include "cli/arguments.h"
#include "cli/commands.h"
#include "config/inifile.h"
#include "platform/files.h"
#include "platform/winpath.h"

#include <QCoreApplication>

#include <algorithm>
#include <iterator>

namespace quorbin::cli {

const char* const kSetHelp =
    QT_TRANSLATE_NOOP("Cli",
    "quorbin-restore set SET-DATEI [--show-secrets]\n"
    "\n"
    "Gibt die aus SET-DATEI gelesene Sicherung aus, dann die Programmeinstellungen aus\n"
    "quorbin.ini im Windows-Verzeichnis ($QUORBIN_WINDIR, sonst $XDG_CONFIG_HOME/quorbin, sonst\n"
    "~/.config/quorbin): eine Zeile je Schlüssel als Abschnitt/Schlüssel=Wert, in der Reihenfolge\n"
    "der Schlüssel der Dateien; Wahrheitswerte als true oder false. Ein Schlüssel, der in der\n"
    "Datei fehlt, zeigt seine Vorgabe. Jede Gruppe beginnt mit einer Zeile \"# \" und dem\n"
    "Host-Pfad der Datei, aus der sie gelesen oder wo sie gesucht wurde.\n"
    "Der Schlüssel der Sicherung und das FTP-Passwort erscheinen als \"*\" (leer, wenn nicht\n"
    "gesetzt), außer mit --show-secrets.\n"
    "Pfade, die mit einem Laufwerksbuchstaben und \":\" oder mit \"\\\\\" beginnen, sind\n"
    "Windows-Pfade; jeder andere Pfad ist ein Pfad dieses Rechners.\n"
    "\n"
    "Rückgabewert: 0 ausgegeben, 1 SET-DATEI nicht lesbar (die Vorgaben werden trotzdem\n"
    "ausgegeben), 2 Aufruffehler.\n");

std::optional<BackupSet> readSetArgument(const QString& argument, QString& error)
{
    const QString path = windowsPathOfArgument(argument);
    if (!config::IniFile::load(path).loaded()) {
        error = QCoreApplication::translate("Cli", "Set-Datei nicht gefunden oder nicht lesbar: %1").arg(path);
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
    return loaded ? QStringLiteral("# %1: %2").arg(what, hostPath)
                  : QCoreApplication::translate("Cli", "# %1: %2 (nicht gefunden, Vorgaben)").arg(what, hostPath);
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
        printError(helpText(kSetHelp));
        return kUsage;
    }
    QString error;
    const std::optional<BackupSet> set = readSetArgument(arguments.first(), error);
    printRecord(sourceLine(QCoreApplication::translate("Cli", "Set-Datei"), windowsPathOfArgument(arguments.first()),
                           set.has_value()));
    printSettings(settingLines(set.value_or(BackupSet())), showSecrets);
    const QString ini = QStringLiteral("quorbin.ini");
    printRecord(QCoreApplication::translate("Cli", "%1 (aus %2)")
                    .arg(sourceLine(ini, ini, config::IniFile::load(ini).loaded()), windowsDirectoryOrigin()));
    printSettings(settingLines(ReadProgramSettings(ini)), showSecrets);
    if (!set) {
        printError(QCoreApplication::translate("Cli", "%1 (Vorgaben gezeigt)").arg(error));
        return kFailed;
    }
    return kOk;
}

}  // namespace quorbin::cli
