#pragma once
// What a tree restore checks before it starts, for "Zurückladen" and for the FTP mirror's
// "Verzeichnis wiederherstellen…" alike.
#include <QString>

class QDateEdit;
class QLineEdit;
class QWidget;

namespace quorbin::app {

class RadioGroup;

// The radio groups "Art der Wiederherstellung" (original paths, else a new start directory;
// the first chosen) and "Version" (item index = VersionRule; the newest chosen).
RadioGroup* NewArtGroup(QWidget* parent);
RadioGroup* NewVersionGroup(QWidget* parent);

// Why no walk from `startDirectory` may start towards the new start directory (with
// `newPlace`) or the original paths, as the user is told; empty when it may start.
QString TreeTargetRefusal(bool newPlace, const QString& newStartDirectory, const QString& startDirectory);

// The version limit as a day count: the date field's date at the time field's "H:mm". The
// date field always holds a valid date of its own; for a time text that is none, IoError.
double VersionLimitOf(const QDateEdit* dateField, const QLineEdit* timeField);

}  // namespace quorbin::app
