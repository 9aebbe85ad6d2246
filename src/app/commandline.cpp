#include "app/commandline.h"

#include <cstdio>

namespace quorbin::app {
namespace {

const char* const kUsage =
    "Usage: quorbin [SETFILE | STORED-FILE]\n"
    "\n"
    "Without an argument, or with a backup set (.set), opens the main window: restore one\n"
    "file, a whole directory tree, or files of the FTP mirror.\n"
    "With a stored file (.nxz, .nx0), opens the small window that restores just that file.\n"
    "\n"
    "  -h, --help     print this text\n"
    "  --version      print the version\n"
    "\n"
    "Qt's own options (-platform, -style, ...) are taken as well. quorbin-restore does the\n"
    "same work on the command line.\n";

bool isOption(const QString& argument) { return argument.size() > 1 && argument.startsWith(u'-'); }

}  // namespace

std::optional<int> answerInformationOptions(const QStringList& arguments)
{
    for (const QString& argument : arguments.mid(1)) {
        if (argument == u"--help" || argument == u"-h") {
            std::fputs(kUsage, stdout);
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
        std::fprintf(stderr, "quorbin: unknown option %s\n\n%s", qPrintable(argument), kUsage);
        return 2;
    }
    return {};
}

}  // namespace quorbin::app
