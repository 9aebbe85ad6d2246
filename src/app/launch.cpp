#include "app/launch.h"

#include "app/errorreport.h"
#include "app/explf.h"
#include "app/pathtext.h"
#include "app/tquorbin.h"
#include "platform/files.h"
#include "platform/userinterface.h"

#include <QCoreApplication>
#include <QGuiApplication>

namespace quorbin::app {

bool isStoredFileExtension(const QString& extension)
{
    return extension == u".nxz" || extension == u".NXZ" || extension == u".nx0" || extension == u".NX0";
}

LaunchMode launchModeOf(const QString& argument)
{
    return isStoredFileExtension(platform::extensionPart(argument)) ? LaunchMode::DoubleClick : LaunchMode::Normal;
}

QString applicationTitle(LaunchMode mode)
{
    return mode == LaunchMode::DoubleClick ? QCoreApplication::translate("App", "Datenrücksicherung")
                                           : QCoreApplication::translate("App", "quorbin Datenrücksicherung");
}

QString launchArgument(const QStringList& arguments)
{
    return windowsTextOf(arguments.value(1));
}

std::unique_ptr<QWidget> startWindow(const QString& argument)
{
    const LaunchMode mode = launchModeOf(argument);
    setMessageCaption(applicationTitle(mode));
    if (mode == LaunchMode::Normal)
        return std::make_unique<Tquorbin>(argument);
    auto window = std::make_unique<TExplF>(argument);
    ui().beep();
    return window;
}

}  // namespace quorbin::app
