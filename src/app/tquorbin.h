#pragma once
// The main window: the settings of one backup set, the restore pages, the log, the FTP page,
// and the bottom panel with status, progress and transfer fields.
#include "app/widgetsinks.h"
#include "config/settings.h"
#include "platform/job.h"
#include "platform/userinterface.h"
#include "remote/ftpsession.h"
#include "remote/ftpsettings.h"

#include <QLocale>
#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QDateEdit;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSplitter;
class QStatusBar;
class QTableWidget;
class QTreeWidget;

namespace quorbin::app {

class DirectoryEdit;
class JobRunner;
class SharedKey;
class DirectoryListBox;
class DriveComboBox;
class FileListBox;
class PageControl;
class RadioGroup;

class Tquorbin : public QMainWindow {
    Q_OBJECT
public:
    // Page indexes of ftp.
    enum Page { SichernPage = 0, DateiPage = 1, VerzeichnisPage = 2, LogPage = 3, FtpPage = 4 };

    explicit Tquorbin(const QString& launchArgument, QWidget* parent = nullptr);
    ~Tquorbin() override;

    // Title and page control.
    QLabel* Label5;
    PageControl* ftp;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QWidget* TabSheet3;
    QWidget* TabSheet4;
    QWidget* TabSheet5;

    // Page "Sichern".
    QLineEdit* Edit1;
    QLineEdit* eschlussel;
    DirectoryEdit* edZiel;
    QGroupBox* gbftp;
    QLineEdit* EFTPHost;
    QLineEdit* EFTPUsername;
    QLineEdit* EFTPpassw;
    QLineEdit* eVerzeichnis;
    QLineEdit* EFTPPort;
    QLineEdit* EProxy;
    QLineEdit* EproxyPort;
    QLineEdit* EBasis;
    QCheckBox* CBPassive;
    QCheckBox* cbdebug;
    QPushButton* Button11;
    QPlainTextEdit* excl;
    QCheckBox* MitSSL;
    QCheckBox* MitVZ;

    // Page "Datei wiederh.".
    QGroupBox* GroupBox1;
    QLabel* Label2;
    QSplitter* Splitter1;
    DriveComboBox* JvDriveCombo1;
    DirectoryListBox* qdir;
    FileListBox* qfile;
    QMenu* PopupMenu2;
    QAction* tempffnen2;
    QAction* wiederherstellen2;
    QAction* wiederherstellenananderenOrt1;
    FileDialogRequest BSD;

    // Page "Verzeichn. wiederh.".
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

    // Page "Log".
    QPlainTextEdit* Memo2;

    // Page "FTP-Ütra" (ftppage.cpp, ftpcommands.cpp).
    QPushButton* Button4;
    QPushButton* Button9;
    QGroupBox* GroupBox6;
    QSplitter* Splitter3;
    QSplitter* Splitter4;
    QTreeWidget* dl = nullptr;
    QTableWidget* Vvzo = nullptr;
    QPlainTextEdit* Memo1;
    QMenu* dlpopup;
    QAction* Verzeichnislschen1;
    QMenu* vzopopup;
    QAction* dieseDateiherunterladen1;
    QAction* diesedateiherunterladenundtempffnen1;
    QAction* lschen1;
    FtpSession IdFTP1;  // the window's one FTP session
    DirectoryServiceOptions VZOptions;  // port 86; the tests shorten it

    // Bottom panel.
    QFrame* Panel2;
    QProgressBar* pb;
    QLineEdit* pro;
    QLineEdit* total;
    QStatusBar* sb;
    QLabel* sbPanel0;

    // Menu.
    QMenu* Datei1;
    QAction* ffnen1;
    QAction* Shutdownundbeenden1;
    QAction* Aktionabbrechen1;

    // The window's reporter: panel 0 of sb, Memo2 and pb.
    StatusSink& statusSink() { return status_; }
    LogSink& logSink() { return log_; }
    ProgressSink& progressSink() { return progress_; }

    // The window's long jobs, one at a time on a worker thread. runJob refuses (with a note in
    // the status bar, nothing modal) while another job or an FTP operation runs; when the job
    // has ended, the status tells how, then `done` runs.
    JobRunner& jobs() { return *jobs_; }
    bool runJob(std::unique_ptr<Job> job, std::function<void(const JobResult&)> done = {});
    // True, after the note, while a long operation runs.
    bool refuseWhileBusy();
    // The key field's text, readable from a job's thread.
    std::shared_ptr<const SharedKey> key() const { return key_; }

    ProgramSettings mini;      // quorbin.ini as read at start-up
    BackupSet ini;             // the set loaded last
    QLocale FormatSettings;    // German formats, for dates and log time stamps

    void FormCreate(const QString& launchArgument);
    void ReadQuorbinIni(const QString& fileName);
    void Readini(const QString& path);
    void ffnen1Click();
    void Shutdownundbeenden1Click();
    void Aktionabbrechen1Click();
    void ftpChange();
    // Page "Datei wiederh.": the commands of the file list's context menu.
    void tempffnen2Click();
    void wiederherstellen2Click();
    void wiederherstellenananderenOrt1Click();
    void restoreSelected(const QString& selected, const QString& target);
    // Page "Verzeichn. wiederh.".
    void Button2Click();
    void ArtClick();
    void zdlbdirChange();
    void zdlbGesClick();
    void ZieldirBeforeDialog();
    void ZieldirAfterDialog();
    // Page "FTP-Ütra" and the button "Verbindung testen".
    void Button4Click();
    void Button9Click();
    void Button11Click();
    void FtpDisconnect();
    bool FillRemoteView(bool clearTree);
    void dlDblClick();
    void dieseDateiherunterladen1Click();
    void diesedateiherunterladenundtempffnen1Click();
    void lschen1Click();
    void Verzeichnislschen1Click();
    QString SelectedRemoteFile() const;
    FtpSettings ftpSettings() const;
    // The FTP client's progress.
    void IdFTP1Status(const QString& text);
    void IdFTP1WorkBegin(qint64 expected);
    void IdFTP1Work(qint64 count);
    void IdFTP1WorkEnd();
    // The answer to the desktop's end-of-session query: agree, beep, close.
    bool WMQueryEndSession();

    // Moves the directory lists of the restore pages to a set's target directory.
    void pointDirectoryListsAt(const QString& directory);
    QString storeDirectory() const { return storeDirectory_; }

    static QString pageTitle(int index);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    QWidget* createSichernPage();
    QWidget* createLogPage();
    QFrame* createBottomPanel();
    void createMenu();
    void buildFileRestorePage();
    void buildDirRestorePage();
    void prepareRestorePages();
    void buildFtpPage();
    void offerFtpPage(bool offered);
    void fillToolContext();

    StatusPanelSink status_;
    MemoLogSink log_;
    ProgressBarSink progress_;
    QString odFileName_;  // the open dialog starts where the last choice was
    QString storeDirectory_;
    std::shared_ptr<SharedKey> key_;
    // Last: it stops and waits for a running job before the widgets it reports to go.
    std::unique_ptr<JobRunner> jobs_;
};

}  // namespace quorbin::app
