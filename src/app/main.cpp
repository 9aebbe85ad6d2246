// quorbin: the desktop program. A stored file as argument opens the double-click window,
// anything else the main window.
#include "app/commandline.h"
#include "app/launch.h"
#include "app/qtuserinterface.h"
#include "platform/datetime.h"
#include "platform/language.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QStringList rawArguments;
    for (int i = 0; i < argc; ++i)
        rawArguments << QString::fromLocal8Bit(argv[i]);
    quorbin::platform::settleLocalTimeZone();
    {
        // --help and --version need no display: they are answered before the window system
        // starts, in the user's language all the same.
        QCoreApplication console(argc, argv);
        quorbin::platform::installUserLanguage();
        if (const auto status = quorbin::app::answerInformationOptions(rawArguments))
            return *status;
    }
    QApplication app(argc, argv);
    quorbin::platform::installUserLanguage();
    if (const auto status = quorbin::app::refuseUnknownOptions(app.arguments()))
        return *status;
    quorbin::app::QtUserInterface userInterface;

    const auto window = quorbin::app::startWindow(quorbin::app::launchArgument(app.arguments()));
    window->show();
    app.exec();
    return 0;
}
