// quorbin-restore: the restore engine for scripts and terminals.
#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/signalstop.h"
#include "cli/terminaluser.h"
#include "platform/datetime.h"
#include "platform/language.h"

#include <QCoreApplication>

#include <iterator>

using namespace quorbin::cli;

namespace {

const Command kCommands[] = {
    {"decode", QT_TRANSLATE_NOOP("Cli", "den Originalpfad eines Backup-Pfads ausgeben"), kDecodeHelp, runDecode},
    {"file", QT_TRANSLATE_NOOP("Cli", "eine gesicherte Datei wiederherstellen"), kFileHelp, runFile},
    {"set", QT_TRANSLATE_NOOP("Cli", "eine Sicherung und die Programmeinstellungen ausgeben"), kSetHelp, runSet},
    {"versions", QT_TRANSLATE_NOOP("Cli", "die gesicherten Versionen einer Datei auflisten"), kVersionsHelp,
     runVersions},
    {"dir", QT_TRANSLATE_NOOP("Cli", "einen Verzeichnisbaum der Datensicherung wiederherstellen"), kDirHelp, runDir},
    {"ftp", QT_TRANSLATE_NOOP("Cli", "Dateien des FTP-Spiegels auflisten, laden, wiederherstellen oder prüfen"),
     kFtpHelp, runFtp},
    {"verify", QT_TRANSLATE_NOOP("Cli", "prüfen, ob jede gesicherte Datei eines Baums wiederherstellbar ist"),
     kVerifyHelp, runVerify},
    {"find", QT_TRANSLATE_NOOP("Cli", "gesicherte Dateien nach ihrem Originalnamen suchen"), kFindHelp, runFind},
};

QString programHelp()
{
    QString commands;
    for (const Command& c : kCommands)
        commands += QStringLiteral("  %1  %2\n").arg(QString::fromUtf8(c.name).leftJustified(8), helpText(c.summary));
    return QCoreApplication::translate("Cli",
                                       "Aufruf: quorbin-restore BEFEHL [ARGUMENTE]\n\n"
                                       "Befehle:\n"
                                       "%1\n"
                                       "'quorbin-restore BEFEHL --help' sagt mehr über einen Befehl;\n"
                                       "'quorbin-restore --version' gibt die Version aus.")
        .arg(commands);
}

}  // namespace

int main(int argc, char* argv[])
{
    // Before any other thread exists, so that none of them takes the signals or reads TZ.
    quorbin::platform::settleLocalTimeZone();
    stopOnSignals();
    QCoreApplication app(argc, argv);
    quorbin::platform::installUserLanguage();
    TerminalUser user;
    quorbin::setUserInterface(&user);

    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty()) {
        printError(programHelp());
        return kUsage;
    }
    const QString name = arguments.takeFirst();
    if (name == u"--version") {
        printLine(QStringLiteral("quorbin-restore " QUORBIN_VERSION));
        return kOk;
    }
    if (name == u"--help" || name == u"-h" || name == u"help") {
        printLine(programHelp());
        return kOk;
    }
    for (const Command& c : kCommands) {
        if (name != QString::fromUtf8(c.name))
            continue;
        if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
            printLine(helpText(c.help));
            return kOk;
        }
        int status = kUsage;
        try {
            status = c.run(arguments);
        } catch (const UsageError& error) {
            printError(error.text);
        }
        // The job stopped and cleaned up; the caller learns that a signal ended it.
        if (const int signal = caughtSignal())
            dieBySignal(signal);
        return status;
    }
    printError(QCoreApplication::translate("Cli", "Unbekannter Befehl: %1\n\n%2").arg(name, programHelp()));
    return kUsage;
}
