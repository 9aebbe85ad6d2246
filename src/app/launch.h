#pragma once
// The program's entry: the launch argument decides between the double-click window and the
// main window.
#include <QString>
#include <QStringList>

#include <memory>

class QWidget;

namespace quorbin::app {

enum class LaunchMode { DoubleClick, Normal };

// ".nxz", ".NXZ", ".nx0" and ".NX0", with case significance.
bool isStoredFileExtension(const QString& extension);

LaunchMode launchModeOf(const QString& argument);

QString applicationTitle(LaunchMode mode);

// The first argument after the program name, or empty. A host path (from a file manager)
// becomes the Windows text of the same file; a Windows text stays as it is.
QString launchArgument(const QStringList& arguments);

// Sets the application title and creates the window of the argument's mode; the double-click
// mode sounds its one start-up beep. The caller shows the window and runs the message loop.
std::unique_ptr<QWidget> startWindow(const QString& argument);

}  // namespace quorbin::app
