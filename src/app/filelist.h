#pragma once
// A list of every entry of one directory (a Windows text): files of every attribute and the
// subdirectories, each with its icon, one selectable.
#include <QListWidget>

namespace quorbin::app {

class FileListBox : public QListWidget {
    Q_OBJECT
public:
    explicit FileListBox(QWidget* parent = nullptr);

    QString directory() const { return directory_; }
    void setDirectory(const QString& directory);

    // The full Windows path of the selected entry; empty when none is selected.
    QString selectedPath() const;
    // Selects the entry of that name; false when the list has none.
    bool selectName(const QString& name);

private:
    void fill();

    QString directory_;
};

// A directory text and an entry name joined by one "\".
QString joinedPath(const QString& directory, const QString& name);

}  // namespace quorbin::app
