#pragma once
// The page "Verzeichn. wiederh.": choose a store directory, the target and the version rule,
// and restore the whole tree.
#include <QWidget>

class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;

namespace quorbin::app {

class DirectoryEdit;
class DirectoryListBox;
class DriveComboBox;
class FileListBox;
class JobHost;
class RadioGroup;

class DirRestorePage : public QWidget {
    Q_OBJECT
public:
    DirRestorePage(JobHost& host, QWidget* parent = nullptr);

    QSplitter* Splitter2;
    QGroupBox* GroupBox8;
    DriveComboBox* Drives;
    DirectoryListBox* zdlbdir;
    QGroupBox* GroupBox3;
    FileListBox* zdlbGes;
    QGroupBox* GroupBox9;
    QLineEdit* StartDir;
    RadioGroup* Art;
    QLabel* zdt;
    DirectoryEdit* Zieldir;
    QGroupBox* GroupBox13;
    RadioGroup* Version;
    QDateEdit* Erldat;
    QLineEdit* Erltime;
    QCheckBox* frag;
    QPushButton* Button2;

    void Button2Click();
    void ArtClick();
    void zdlbdirChange();
    void zdlbGesClick();
    void ZieldirBeforeDialog();
    void ZieldirAfterDialog();

private:
    JobHost& host_;
};

}  // namespace quorbin::app
