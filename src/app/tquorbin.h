#pragma once
// The main window: the settings of one backup set, the restore pages, the log, the FTP page,
// and the bottom panel with status, progress and transfer fields.
#include "app/jobhost.h"
#include "app/widgetsinks.h"
#include "config/settings.h"
#include "platform/job.h"
#include "platform/userinterface.h"
#include "remote/ftpsession.h"

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

class BackupSetPage;
class DirRestorePage;
class FileRestorePage;
class JobRunner;
class RemotePage;
class SharedKey;
class StoreCheck;
class PageControl;

class Tquorbin : public QMainWindow, public JobHost {
    Q_OBJECT
public:
    // Page indexes of ftp.
    enum Page { SichernPage = 0, DateiPage = 1, VerzeichnisPage = 2, LogPage = 3, FtpPage = 4 };

    explicit Tquorbin(const QString& launchArgument, QWidget* parent = nullptr);
    ~Tquorbin() override;

    // Title and page control.
    QLabel* Label5;
    PageControl* ftp;
    QWidget* TabSheet4;

    // The pages; each owns its widgets and handlers.
    BackupSetPage* setPage;       // "Sichern"
    FileRestorePage* filePage;    // "Datei wiederh."
    DirRestorePage* dirPage;      // "Verzeichn. wiederh."
    RemotePage* remotePage;       // "FTP-Ütra"

    // Page "Log".
    QPlainTextEdit* Memo2;

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
    QAction* Sicherungprfen1;  // checks the directory chosen on "Verzeichn. wiederh."
    QAction* Laufwerke1;       // where the drive letters lie on this machine
    QAction* Shutdownundbeenden1;
    QAction* Aktionabbrechen1;

    // The window's reporter: panel 0 of sb, Memo2 and pb.
    StatusSink& statusSink() { return status_; }
    LogSink& logSink() override { return log_; }
    ProgressSink& progressSink() { return progress_; }

    // The window's long jobs, one at a time on a worker thread; the status tells how each ended.
    JobRunner& jobs() { return *jobs_; }
    bool runJob(std::unique_ptr<Job> job, std::function<void(const JobResult&)> done = {},
                EndStatus endStatus = EndStatus::Always) override;
    bool refuseWhileBusy() override;
    std::shared_ptr<const SharedKey> key() const override { return key_; }
    void clearLog() override;
    void showLog() override;

    ProgramSettings mini;      // quorbin.ini as read at start-up
    BackupSet ini;             // the set loaded last
    QLocale FormatSettings;    // German formats, for dates and log time stamps

    void FormCreate(const QString& launchArgument);
    void ReadQuorbinIni(const QString& fileName);
    void Readini(const QString& path);
    void ffnen1Click();
    void Sicherungprfen1Click();
    void Laufwerke1Click();
    // Says so when the loaded set's target cannot be reached, naming its drive's folder here,
    // and offers to map the drives.
    void checkTargetReachable();
    StoreCheck& storeCheck() { return *storeCheck_; }
    void Shutdownundbeenden1Click();
    void Aktionabbrechen1Click();
    void ftpChange();
    // The window's one FTP session, on the page "FTP-Ütra".
    FtpSession& IdFTP1();
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
    QWidget* createLogPage();
    QFrame* createBottomPanel();
    void createMenu();
    void prepareRestorePages();
    void offerFtpPage(bool offered);
    void fillToolContext();

    StatusPanelSink status_;
    MemoLogSink log_;
    ProgressBarSink progress_;
    QString odFileName_;  // the open dialog starts where the last choice was
    QString storeDirectory_;
    std::shared_ptr<SharedKey> key_;
    std::unique_ptr<StoreCheck> storeCheck_;
    // Last: it stops and waits for a running job before the widgets it reports to go.
    std::unique_ptr<JobRunner> jobs_;
};

}  // namespace quorbin::app
