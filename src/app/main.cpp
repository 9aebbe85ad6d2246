// quorbin: the desktop program. A stored file as argument opens the double-click window,
// anything else the main window.
#include "app/commandline.h"
#include "app/launch.h"
#include "app/qtuserinterface.h"
#include "platform/datetime.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <QWidget>

int main(int argc, char* argv[])
{
    QStringList rawArguments;
    for (int i = 0; i < argc; ++i)
        rawArguments << QString::fromLocal8Bit(argv[i]);
    if (const auto status = quorbin::app::answerInformationOptions(rawArguments))
        return *status;
    quorbin::platform::settleLocalTimeZone();
    QApplication app(argc, argv);
    if (const auto status = quorbin::app::refuseUnknownOptions(app.arguments()))
        return *status;
    QTranslator germanDialogs;
    if (germanDialogs.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&germanDialogs);
    quorbin::app::QtUserInterface userInterface;

    const auto window = quorbin::app::startWindow(quorbin::app::launchArgument(app.arguments()));
    window->show();
    app.exec();
    return 0;
}
