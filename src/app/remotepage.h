#pragma once
// The page "FTP-Ütra": the FTP mirror of the store as a tree and a grid, with commands to
// connect, open folders, download, open and delete; and the window's one FTP session.
#include "platform/job.h"
#include "remote/ftpsession.h"
#include "remote/ftpsettings.h"
#include "remote/remotebrowser.h"
#include "remote/remotejobs.h"

#include <QElapsedTimer>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include <QWidget>

class QAction;
class QLineEdit;
class QProgressBar;
class QGroupBox;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QTableWidget;
class QTreeWidget;

namespace quorbin::app {

class BackupSetPage;
class JobHost;

class RemotePage : public QWidget {
    Q_OBJECT
public:
    // The set page holds the connection settings and "Verbindung testen".
    RemotePage(JobHost& host, BackupSetPage& setPage, StatusSink& status, QWidget* parent = nullptr);

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
    QAction* Verzeichniswiederherstellen1;
    QMenu* vzopopup;
    QAction* dieseDateiherunterladen1;
    QAction* diesedateiherunterladenundtempffnen1;
    QAction* lschen1;
    FtpSession IdFTP1;  // the window's one FTP session
    DirectoryServiceOptions VZOptions;  // port 86; the tests shorten it

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
    // The selected node's directory restored as "Zurückladen" restores a store directory, with
    // connections of its own; the target and the rule come from a dialog.
    void Verzeichniswiederherstellen1Click();
    QString SelectedRemoteFile() const;
    FtpSettings ftpSettings() const;

    // The FTP client's progress, shown on the bottom panel's bar and fields.
    void showTransferOn(QProgressBar* bar, QLineEdit* percent, QLineEdit* amount);
    void IdFTP1Status(const QString& text);
    void IdFTP1WorkBegin(qint64 expected);
    void IdFTP1Work(qint64 count);
    void IdFTP1WorkEnd();

private:
    // "Verbindung testen" or "FTP-Verbindung herstellen" with the fields' settings.
    void runConnect(ConnectJob::Mode mode, std::function<void(const JobResult&)> done);
    bool runFtpJob(std::unique_ptr<Job> job, std::function<void(const JobResult&)> done = {});
    void showRemoteView(const std::optional<RemoteView>& view, bool clearTree);
    void download(bool open);
    // The client reports on the thread of its job; the widgets hear of it on theirs.
    void forwardClientReports();

    JobHost& host_;
    BackupSetPage& setPage_;
    // The node path of the directory the grid lists, below the base path.
    QStringList listedDirectory_;
    StatusSink& status_;
    QProgressBar* bar_ = nullptr;
    QLineEdit* percent_ = nullptr;
    QLineEdit* amount_ = nullptr;
    struct Work {
        QElapsedTimer sinceShown;
        qint64 count = -1;  // the last report
        qint64 shown = -1;  // the last one passed on
    };
    std::mutex workMutex_;
    Work work_;
};

}  // namespace quorbin::app
