// quorbin-restore: the restore engine for scripts and terminals.
#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/signalstop.h"
#include "cli/terminaluser.h"
#include "platform/datetime.h"

#include <QCoreApplication>

#include <iterator>

using namespace quorbin::cli;

namespace {

const Command kCommands[] = {
    {"decode", "print the original path of a store path", kDecodeHelp, runDecode},
    {"file", "restore one stored file", kFileHelp, runFile},
    {"set", "print a backup set and the program settings", kSetHelp, runSet},
    {"versions", "list the stored versions of a file", kVersionsHelp, runVersions},
    {"dir", "restore a directory tree of the store", kDirHelp, runDir},
    {"ftp", "list, fetch, restore or verify files of the FTP mirror", kFtpHelp, runFtp},
    {"verify", "check that every stored file of a tree can be restored", kVerifyHelp, runVerify},
    {"find", "find stored files by their original name", kFindHelp, runFind},
};

QString programHelp()
{
    QString text = QStringLiteral("Usage: quorbin-restore COMMAND [ARGUMENTS]\n\nCommands:\n");
    for (const Command& c : kCommands)
        text += QStringLiteral("  %1  %2\n").arg(QString::fromUtf8(c.name).leftJustified(8), QString::fromUtf8(c.summary));
    text += QStringLiteral("\n'quorbin-restore COMMAND --help' tells more about a command;\n"
                           "'quorbin-restore --version' prints the version.");
    return text;
}

}  // namespace

int main(int argc, char* argv[])
{
    // Before any other thread exists, so that none of them takes the signals or reads TZ.
    quorbin::platform::settleLocalTimeZone();
    stopOnSignals();
    QCoreApplication app(argc, argv);
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
            printLine(QString::fromUtf8(c.help));
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
    printError("Unbekannter Befehl: " + name + "\n\n" + programHelp());
    return kUsage;
}
