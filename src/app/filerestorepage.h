#pragma once
// The page "Datei wiederh.": a file browser over the store, by original names, whose context
// menu opens one version of a file temporarily or restores it to its original place or to a
// place the user picks.
#include "app/storedfilelist.h"
#include "app/versionlist.h"
#include "platform/userinterface.h"

#include <QWidget>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QSplitter;

namespace quorbin::app {

class DirectoryListBox;
class DriveComboBox;
class JobHost;

class FileRestorePage : public QWidget {
    Q_OBJECT
public:
    FileRestorePage(JobHost& host, QWidget* parent = nullptr);

    QGroupBox* GroupBox1;
    QLabel* Label2;
    QSplitter* Splitter1;
    DriveComboBox* JvDriveCombo1;
    DirectoryListBox* qdir;
    QSplitter* Splitter2;
    StoredFileList* qfile;
    QLabel* VersionLabel;
    VersionList* qversions;  // the versions of the file selected in qfile
    QMenu* PopupMenu2;
    QAction* tempffnen2;
    QAction* wiederherstellen2;
    QAction* wiederherstellenananderenOrt1;
    FileDialogRequest BSD;

    void tempffnen2Click();
    void wiederherstellen2Click();
    void wiederherstellenananderenOrt1Click();

private:
    // The store path of the version picked for the selected file; empty after telling the
    // user why there is none.
    QString selectedVersionOrTell() const;
    void restoreSelected(const QString& selected, const QString& target);

    JobHost& host_;
};

}  // namespace quorbin::app
