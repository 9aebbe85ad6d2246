#pragma once
// The file list of "Datei wiederh.": the files of one store folder by the names they had on
// the user's machine, with the newest version's date and size, one selectable at a time.
#include "engine/storedfiles.h"

#include <QTreeWidget>

namespace quorbin::app {

class StoredFileList : public QTreeWidget {
    Q_OBJECT
public:
    enum Column { NameColumn, DateColumn, SizeColumn, VersionsColumn };

    explicit StoredFileList(QWidget* parent = nullptr);

    QString directory() const { return directory_; }
    // Reads the folder anew: neither hidden files nor folders are shown.
    void setDirectory(const QString& directory);

    // The selected file; nothing when none is selected.
    const StoredFileVersions* selectedFile() const;
    // Selects the file of that original name, or the file one of whose versions has that name
    // in the store; false when the list has neither.
    bool selectName(const QString& name);

signals:
    // Another file was selected (nothing: none is); a version path, when given, is the
    // version to pick instead of the newest.
    void fileChosen(const StoredFileVersions* file, const QString& versionPath);

private:
    void fill();

    QString directory_;
    QList<StoredFileVersions> files_;  // in the order of the rows
};

// A size in bytes as the lists show it.
QString sizeText(qint64 bytes);

}  // namespace quorbin::app
