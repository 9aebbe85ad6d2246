#include "app/commandline.h"

#include <QCoreApplication>

#include <cstdio>

namespace quorbin::app {
namespace {

const char* const kUsage =
    QT_TRANSLATE_NOOP("App",
    "Aufruf: quorbin [SET-DATEI | GESICHERTE-DATEI]\n"
    "\n"
    "Ohne Argument oder mit einer Sicherung (.set) öffnet sich das Hauptfenster: eine Datei,\n"
    "einen ganzen Verzeichnisbaum oder Dateien des FTP-Spiegels wiederherstellen.\n"
    "Mit einer gesicherten Datei (.nxz, .nx0) öffnet sich das kleine Fenster, das nur diese\n"
    "Datei wiederherstellt.\n"
    "\n"
    "  -h, --help     diesen Text ausgeben\n"
    "  --version      die Version ausgeben\n"
    "\n"
    "Qts eigene Optionen (-platform, -style, ...) werden ebenfalls angenommen. quorbin-restore\n"
    "leistet dieselbe Arbeit auf der Kommandozeile.\n");

bool isOption(const QString& argument) { return argument.size() > 1 && argument.startsWith(u'-'); }

}  // namespace

std::optional<int> answerInformationOptions(const QStringList& arguments)
{
    for (const QString& argument : arguments.mid(1)) {
        if (argument == u"--help" || argument == u"-h") {
            std::fputs(qPrintable(QCoreApplication::translate("App", kUsage)), stdout);
            return 0;
        }
        if (argument == u"--version") {
            std::printf("quorbin %s\n", QUORBIN_VERSION);
            return 0;
        }
    }
    return {};
}

std::optional<int> refuseUnknownOptions(const QStringList& arguments)
{
    for (const QString& argument : arguments.mid(1)) {
        if (!isOption(argument))
            continue;
        const QString text = QCoreApplication::translate("App", "quorbin: unbekannte Option %1\n\n%2");
        std::fputs(qPrintable(text.arg(argument, QCoreApplication::translate("App", kUsage))), stderr);
        return 2;
    }
    return {};
}

}  // namespace quorbin::app
