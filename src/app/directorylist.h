#pragma once
// The directory list: the path from the drive's root to the current directory, and the
// current directory's subdirectories; activating one (double click, Enter) moves there.
// Directories are Windows texts; the linked drive selector and file list follow every change.
#include <QTreeWidget>

namespace quorbin::app {

class DriveComboBox;
class FileListBox;

class DirectoryListBox : public QTreeWidget {
    Q_OBJECT
public:
    // Starts at "c:\".
    explicit DirectoryListBox(QWidget* parent = nullptr);

    QString directory() const { return directory_; }
    // Moves to the directory. A text without a drive letter, or with a letter the drive map
    // does not know, changes nothing (false); a directory that does not exist moves to its
    // drive's current directory.
    bool setDirectory(const QString& directory);

    void setDriveCombo(DriveComboBox* combo);
    void setFileList(FileListBox* list);

signals:
    void directoryChanged(const QString& directory);

private:
    void show(const QString& directory);
    void fill();

    QString directory_;
    DriveComboBox* driveCombo_ = nullptr;
    FileListBox* fileList_ = nullptr;
};

// Where a drive stands when it is picked: the process's current directory when it lies on that
// drive, else the drive's root.
QString driveCurrentDirectory(QChar letter);

}  // namespace quorbin::app
