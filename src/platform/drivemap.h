#pragma once
// The user's drive map: which host folder stands for a drive letter or a server share. Kept
// in the program's own settings file, read by the window and the command line alike;
// QUORBIN_DRIVES overrides single letters for one run.
#include <QList>
#include <QString>

namespace quorbin::platform {

struct DriveMapping {
    QString name;        // "D:" or "\\server\share"
    QString hostFolder;  // absolute
    bool operator==(const DriveMapping&) const = default;
};

// $XDG_CONFIG_HOME/quorbin/laufwerke.conf (~/.config when unset).
QString driveMapFile();

// The mappings of the file, in its order; nothing when it is missing. Lines that name no
// drive or share, or no absolute folder, are passed over.
QList<DriveMapping> readDriveMap();

// Replaces the file's mappings; false with the reason when it cannot be written. Path
// conversions of this process follow the new map at once.
bool writeDriveMap(const QList<DriveMapping>& mappings, QString& error);

// Counts every change of the map made by this process; path conversions read the file again
// when it moved on.
int driveMapGeneration();

// "D:" for "d", "d:" or "D:\"; "\\server\share" for "\\server\share\"; empty for anything else.
QString normalisedDriveName(const QString& text);

}  // namespace quorbin::platform
