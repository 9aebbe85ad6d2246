// What the page "FTP-Ütra" and the button "Verbindung testen" run, and the FTP progress on the
// bottom panel. The FTP work itself is the remote layer's; this puts its results on the page.
#include "app/remotepage.h"

#include "app/backupsetpage.h"
#include "app/directoryedit.h"
#include "app/errorreport.h"
#include "app/jobhost.h"
#include "app/remotegrid.h"
#include "app/remotetreedialog.h"
#include "app/sharedkey.h"
#include "app/remotetree.h"
#include "config/settings.h"
#include "platform/userinterface.h"
#include "remote/ftpconnect.h"
#include "remote/ftperror.h"
#include "remote/remotebrowser.h"
#include "remote/remotejobs.h"
#include "remote/remotestore.h"
#include "remote/remotetreejob.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QTableWidget>

namespace quorbin::app {
namespace {

RemoteTree* remoteTree(QTreeWidget* dl) { return static_cast<RemoteTree*>(dl); }

// A deletion on the mirror cannot be undone, and its menu entry sits beside the downloads:
// only a "Ja" deletes.
bool deletionAgreed(const QString& what)
{
    return ui().ask(what, QCoreApplication::translate("App", "Bestätigen"), Buttons::NoYes) == Answer::Yes;
}

// A changed certificate may be the server's new one or someone listening in between; only the
// user can tell, and only a "Ja" trusts it.
bool newCertificateTrusted(const QString& host, const FtpError& change)
{
    const QString text =
        QCoreApplication::translate("App",
                                    "Der Server %1 zeigt ein anderes Zertifikat als das gespeicherte.\n\n"
                                    "Gespeichert (SHA-256):\n%2\n\nJetzt (SHA-256):\n%3\n\n"
                                    "Hat der Server wirklich ein neues Zertifikat bekommen, wird es mit \"Ja\" "
                                    "an Stelle des alten gespeichert. Sonst könnte jemand die Verbindung abhören; "
                                    "dann \"Nein\" wählen, und es wird nicht verbunden.\n\n"
                                    "Dem neuen Zertifikat vertrauen?")
            .arg(host, change.expectedCertificate(), change.offeredCertificate());
    return ui().ask(text, QCoreApplication::translate("App", "Zertifikat geändert"), Buttons::NoYes) == Answer::Yes;
}

// Runs the connecting job that `make` makes of the settings. When it fails on a certificate
// other than the stored one, the user decides: "Ja" runs it again with the new certificate
// accepted (which stores it), "Nein" leaves it refused. `done` hears the last run that was
// not refused so.
template <typename ConnectingJob>
void runTrusting(JobHost& host, FtpSettings settings,
                 std::function<std::unique_ptr<ConnectingJob>(const FtpSettings&)> make,
                 std::function<void(const JobResult&)> done, JobHost::EndStatus endStatus)
{
    std::unique_ptr<ConnectingJob> job = make(settings);
    const ConnectingJob* running = job.get();
    auto finished = [&host, settings, make, done, endStatus, running](const JobResult& result) mutable {
        const std::optional<FtpError>& change = running->certificateChange();
        if (!change) {
            if (done)
                done(result);
            return;
        }
        if (!newCertificateTrusted(settings.host, *change))
            return;
        settings.trustedCertificate = change->offeredCertificate();
        runTrusting(host, std::move(settings), std::move(make), std::move(done), endStatus);
    };
    host.runJob(std::move(job), std::move(finished), endStatus);
}

}  // namespace

FtpSettings RemotePage::ftpSettings() const
{
    FtpSettings settings;
    settings.host = setPage_.EFTPHost->text();
    settings.portText = setPage_.EFTPPort->text();
    settings.user = setPage_.EFTPUsername->text();
    settings.password = setPage_.EFTPpassw->text();
    settings.proxyHost = setPage_.EProxy->text();
    settings.proxyPortText = setPage_.EproxyPort->text();
    settings.passive = setPage_.CBPassive->isChecked();
    settings.storeDirectory = setPage_.eVerzeichnis->text();
    settings.basePath = setPage_.EBasis->text();
    settings.tls = setPage_.MitSSL->isChecked();
    // No field of the window shows these: they are read when the user connects.
    const ProgramSettings program = ReadProgramSettings(QStringLiteral("quorbin.ini"));
    settings.requireTls = program.NURSSL;
    settings.stallLimitSeconds = StallLimitSeconds(program);
    settings.directoryService = setPage_.MitVZ->isChecked();
    settings.service = VZOptions;
    return settings;
}

// The page's commands run as the window's jobs. On success the status keeps what the FTP
// sequence said last ("verbunden mit: …"); a failure or a cancel replaces it.
bool RemotePage::runFtpJob(std::unique_ptr<Job> job, std::function<void(const JobResult&)> done)
{
    return host_.runJob(std::move(job), std::move(done), JobHost::EndStatus::OnFailure);
}

namespace {

// What the connect sequence cannot pass over (a port that is no number, TLS asked for on an
// open connection, an unreadable listing file) reaches the error report.
void reportFailure(const JobResult& result)
{
    if (!result.ok() && result.kind != ErrorKind::Cancelled)
        ReportError(describe(result));
}

}  // namespace

void RemotePage::runConnect(ConnectJob::Mode mode, std::function<void(const JobResult&)> done)
{
    runTrusting<ConnectJob>(
        host_, ftpSettings(),
        [this, mode](const FtpSettings& settings) { return std::make_unique<ConnectJob>(IdFTP1, settings, mode); },
        std::move(done), JobHost::EndStatus::OnFailure);
}

void RemotePage::Button11Click() { runConnect(ConnectJob::Mode::Test, reportFailure); }

void RemotePage::Button4Click()
{
    runConnect(ConnectJob::Mode::Open, [this](const JobResult& result) {
        reportFailure(result);
        if (result.ok()) {
            listedDirectory_.clear();
            FillRemoteView(true);
        }
    });
}

void RemotePage::Button9Click() { FtpDisconnect(); }

void RemotePage::FtpDisconnect()
{
    runFtpJob(std::make_unique<DisconnectJob>(IdFTP1), [this](const JobResult&) {
        clearRemoteGrid(Vvzo);
        dl->clear();
    });
}

bool RemotePage::FillRemoteView(bool clearTree)
{
    auto job = std::make_unique<ListJob>(IdFTP1);
    const ListJob* listing = job.get();
    return runFtpJob(std::move(job), [this, listing, clearTree](const JobResult& result) {
        if (result.ok())
            showRemoteView(listing->view(), clearTree);
    });
}

void RemotePage::showRemoteView(const std::optional<RemoteView>& view, bool clearTree)
{
    clearRemoteGrid(Vvzo);
    showRemoteHeaders(Vvzo);
    if (!view)
        return;  // a listing without readable entries: headers only, the tree as it was
    RemoteTree* tree = remoteTree(dl);
    if (clearTree)
        tree->clear();
    QTreeWidgetItem* selected = tree->selectedNode();
    if (selected)
        qDeleteAll(selected->takeChildren());
    showRemoteFiles(Vvzo, view->files);
    for (const QString& directory : view->directories)
        addRemoteNode(tree, selected, directory);
    if (selected)
        tree->expandRecursively(tree->handleOf(selected));
}

void RemotePage::dlDblClick()
{
    const QTreeWidgetItem* node = remoteTree(dl)->selectedNode();
    if (!node) {
        FillRemoteView(false);
        return;
    }
    const QStringList nodePath = remoteNodePath(node);
    auto job = std::make_unique<OpenNodeJob>(IdFTP1, nodePath);
    const OpenNodeJob* opened = job.get();
    runFtpJob(std::move(job), [this, opened, nodePath](const JobResult& result) {
        // After a failure the view stays as it was.
        if (result.ok()) {
            listedDirectory_ = nodePath;
            showRemoteView(opened->view(), false);
        }
    });
}

QString RemotePage::SelectedRemoteFile() const
{
    const int row = Vvzo->currentRow();
    return row < 0 ? QString() : TrimLeadingBlanks(remoteGridText(Vvzo, row + 1, 1));
}

// The commands of the grid act on its current row and need a selected node; a row without a
// file names nothing to act on.
void RemotePage::dieseDateiherunterladen1Click() { download(false); }

void RemotePage::diesedateiherunterladenundtempffnen1Click() { download(true); }

void RemotePage::download(bool open)
{
    const QString name = SelectedRemoteFile();
    if (!remoteTree(dl)->selectedNode() || name.isEmpty())
        return;
    auto job = std::make_unique<DownloadJob>(IdFTP1, name, setPage_.eschlussel->text());
    const DownloadJob* fetched = job.get();
    runFtpJob(std::move(job), [name, fetched, open](const JobResult& result) {
        FinishRemoteDownload(name, result, fetched->downloadFile(), open);
    });
}

void RemotePage::lschen1Click()
{
    const QString name = SelectedRemoteFile();
    if (!remoteTree(dl)->selectedNode() || name.isEmpty() || host_.refuseWhileBusy())
        return;
    const QString path = RemotePathBelow(IdFTP1.FtpBasePath, listedDirectory_ + QStringList{name});
    if (!deletionAgreed(tr("Datei %1 auf dem FTP-Server löschen?").arg(path)))
        return;
    runFtpJob(std::make_unique<DeleteFileJob>(IdFTP1, name), [this](const JobResult& result) {
        if (result.ok())
            FillRemoteView(false);
    });
}

void RemotePage::Verzeichnislschen1Click()
{
    RemoteTree* tree = remoteTree(dl);
    QTreeWidgetItem* node = tree->selectedNode();
    if (!node || host_.refuseWhileBusy())
        return;
    const QString path = RemotePathBelow(IdFTP1.FtpBasePath, remoteNodePath(node));
    if (!deletionAgreed(tr("Verzeichnis %1 auf dem FTP-Server löschen?").arg(path)))
        return;
    // The tree may change while the server works; the node is found again by its handle.
    const QPersistentModelIndex handle = tree->handleOf(node);
    runFtpJob(std::make_unique<DeleteDirectoryJob>(IdFTP1, remoteNodePath(node)),
              [tree, handle](const JobResult& result) {
                  if (result.ok())
                      delete tree->nodeOf(handle);
                  reportFailure(result);
              });
}

void RemotePage::Verzeichniswiederherstellen1Click()
{
    const QTreeWidgetItem* node = remoteTree(dl)->selectedNode();
    if (!node || host_.refuseWhileBusy())
        return;
    const QString remoteDirectory = remoteNodePath(node).join(u'/');
    // The set's target folder is the store the mirror copies, so the walk's lines and targets
    // are those of a local "Zurückladen" there.
    const QString storeRoot = setPage_.edZiel->text();
    const QString startDirectory = StorePathBelow(storeRoot, remoteDirectory);
    if (startDirectory.isEmpty() || !startDirectory.contains(u'$')) {
        ui().showMessage(startDirectory.isEmpty() ? tr("Kein Verzeichnis unter dem Basispfad: %1").arg(remoteDirectory)
                                                  : tr("Kein Backup-Pfad. Bitte neu wählen!"),
                         QString());
        return;
    }
    RemoteTreeDialog dialog(RemotePathBelow(IdFTP1.FtpBasePath, remoteNodePath(node)), startDirectory, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    DirRestoreJob::Options tree = dialog.options();
    tree.startDirectory.clear();  // the job takes it from the remote directory
    tree.key = [key = host_.key()] { return key->get(); };
    host_.clearLog();
    host_.showLog();
    runTrusting<RemoteTreeJob>(
        host_, ftpSettings(),
        [storeRoot, remoteDirectory, tree](const FtpSettings& settings) {
            return std::make_unique<RemoteTreeJob>(settings, storeRoot, remoteDirectory, tree);
        },
        {}, JobHost::EndStatus::Always);
}

void RemotePage::IdFTP1Status(const QString& text) { status_.setStatus(text); }

void RemotePage::IdFTP1WorkBegin(qint64 expected) { IdFTP1.WorkBegin(expected); }

void RemotePage::showTransferOn(QProgressBar* bar, QLineEdit* percent, QLineEdit* amount)
{
    bar_ = bar;
    percent_ = percent;
    amount_ = amount;
}

void RemotePage::IdFTP1Work(qint64 count)
{
    try {
        const FtpWorkView view = IdFTP1.Work(count);
        bar_->setRange(0, view.barMaximum);
        bar_->setValue(view.barPosition);
        percent_->setText(view.percent);
        amount_->setText(view.amount);
    } catch (const std::exception&) {
        // A progress report never breaks the transfer.
    }
}

void RemotePage::IdFTP1WorkEnd()
{
    // Back to percent steps, for the restores and the deciphering that report to the same bar.
    bar_->setRange(0, 100);
    bar_->setValue(0);
    percent_->clear();
    amount_->clear();
}

}  // namespace quorbin::app
