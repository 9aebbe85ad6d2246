#pragma once
// Windows path texts on this Linux machine: the drive map.
//
// Z: is the host's "/", every other letter a directory of its own (QUORBIN_DRIVES overrides),
// network paths \\server\share\... live below one "unc" directory. No other code builds host
// paths; everything else speaks in Windows texts.
#include <QString>

namespace quorbin::platform {

// The host path of a Windows path text. Relative texts count from the current directory;
// "." and ".." are resolved by name and never climb above the drive or share root.
QString toHostPath(const QString& windowsPath);

// The Windows text of a host path: the longest drive root that holds it, else Z:. Empty when
// no root holds it (Z: mapped elsewhere): no drive could name it.
QString toWindowsPath(const QString& hostPath);

// The process's current directory as a Windows text.
QString currentWindowsDirectory();

// Where a bare INI name is looked up, as a Windows text.
QString windowsDirectory();

// The drive letters that the map knows (configured ones and existing default ones), upper case.
QList<QChar> knownDriveLetters();

// Whether the path lies on a drive that is the host's whole file system ("/") without the
// user having mapped it so (Z: by default).
bool onWholeHostDrive(const QString& windowsPath);

// True when the text names a Windows path explicitly: "X:..." or "\\...".
bool looksLikeWindowsPath(const QString& text);
// "X:\..." or "\\server\share...": a path that names one place whatever the current directory.
bool isAbsoluteWindowsPath(const QString& text);

}  // namespace quorbin::platform
