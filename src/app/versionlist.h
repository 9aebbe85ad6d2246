#pragma once
// The versions of the file selected on "Datei wiederh.", newest first: the one picked here is
// the one the page's commands open or restore.
#include "engine/storedfiles.h"

#include <QTreeWidget>

namespace quorbin::app {

class VersionList : public QTreeWidget {
    Q_OBJECT
public:
    enum Column { DateColumn, SizeColumn, StoredNameColumn };

    explicit VersionList(QWidget* parent = nullptr);

    // Shows the file's versions with `versionPath` picked, or the newest when it is empty or
    // not among them; no file empties the list.
    void showFile(const StoredFileVersions* file, const QString& versionPath = QString());
    // The store path of the picked version; empty when none is.
    QString selectedPath() const;
    // Picks the version with that date text as the list shows it; false when none has it.
    bool selectDate(const QString& dateText);
};

}  // namespace quorbin::app
