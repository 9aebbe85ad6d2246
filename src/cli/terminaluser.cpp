#include "cli/terminaluser.h"

#include "cli/signalstop.h"
#include "cli/terminalprogress.h"

#include <QProcess>
#include <QTextStream>

#include <cstdio>
#include <iostream>
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

Answer TerminalUser::ask(const QString& text, const QString& caption, Buttons buttons)
{
    const bool yesNo = buttons == Buttons::YesNo;
    TerminalProgress::clearActiveLine();
    QTextStream err(stderr);
    err << caption << ": " << text << (yesNo ? " [j/n] " : " [o=OK/a=Abbrechen] ") << Qt::flush;
    std::string line;
    {
        const WaitingOnTerminal waiting;
        if (!std::getline(std::cin, line))
            line.clear();
    }
    const QString answer = QString::fromStdString(line).trimmed().toLower();
    const bool agreed = yesNo ? (answer == u"j" || answer == u"y" || answer == u"ja" || answer == u"yes")
                              : (answer == u"o" || answer == u"ok");
    if (yesNo)
        return agreed ? Answer::Yes : Answer::No;
    return agreed ? Answer::Ok : Answer::Cancel;
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
