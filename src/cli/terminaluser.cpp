#include "cli/terminaluser.h"

#include "cli/signalstop.h"
#include "cli/terminalprogress.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTextStream>

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

namespace quorbin::cli {

void TerminalUser::showMessage(const QString& text, const QString& caption)
{
    TerminalProgress::clearActiveLine();
    QTextStream err(stderr);
    if (!caption.isEmpty())
        err << caption << ": ";
    err << text << Qt::endl;
}

namespace {

// What a typed answer means: agreed, declined, or nothing that can be taken. Both languages'
// answers count in either, so a script's answers hold whatever the locale.
std::optional<bool> agreement(const QString& typed)
{
    static const QStringList agreeing{"j", "ja", "y", "yes", "o", "ok"};
    static const QStringList declining{"n", "nein", "no", "a", "abbrechen", "c", "cancel"};
    const QString answer = typed.trimmed().toLower();
    if (agreeing.contains(answer))
        return true;
    if (declining.contains(answer))
        return false;
    return {};
}

}  // namespace

Answer TerminalUser::ask(const QString& text, const QString& caption, Buttons buttons)
{
    const bool yesNo = answersYesOrNo(buttons);
    TerminalProgress::clearActiveLine();
    QTextStream err(stderr);
    std::optional<bool> agreed;
    // Anything else is asked again; the end of the input declines.
    while (!agreed) {
        err << caption << ": " << text << ' '
            << (yesNo ? QCoreApplication::translate("Cli", "[j/n]")
                      : QCoreApplication::translate("Cli", "[o=OK/a=Abbrechen]"))
            << ' ' << Qt::flush;
        std::string line;
        const WaitingOnTerminal waiting;
        if (!std::getline(std::cin, line))
            agreed = false;
        else
            agreed = agreement(QString::fromStdString(line));
    }
    if (yesNo)
        return *agreed ? Answer::Yes : Answer::No;
    return *agreed ? Answer::Ok : Answer::Cancel;
}

void TerminalUser::beep()
{
    std::fputc('\a', stderr);
    std::fflush(stderr);
}

void TerminalUser::openWithDesktop(const QString& hostPath)
{
    QProcess::startDetached(QStringLiteral("xdg-open"), {hostPath});
}

}  // namespace quorbin::cli
