// What the page "FTP-Ütra" and the button "Verbindung testen" run, and the FTP progress on the
// bottom panel. The FTP work itself is the remote layer's; this puts its results on the page.
#include "app/remotepage.h"

#include "app/backupsetpage.h"
#include "app/jobhost.h"
#include "app/remotegrid.h"
#include "app/remotetree.h"
#include "platform/userinterface.h"
#include "remote/ftpconnect.h"
#include "remote/remotebrowser.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QTableWidget>

namespace quorbin::app {
namespace {

RemoteTree* remoteTree(QTreeWidget* dl) { return static_cast<RemoteTree*>(dl); }

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
    settings.directoryService = setPage_.MitVZ->isChecked();
    settings.service = VZOptions;
    return settings;
}

void RemotePage::Button11Click() { ftpconnect(IdFTP1, ftpSettings(), status_, host_.logSink()); }

void RemotePage::Button4Click()
{
    openftp(IdFTP1, ftpSettings(), status_, host_.logSink());
    FillRemoteView(true);
}

void RemotePage::Button9Click() { FtpDisconnect(); }

void RemotePage::FtpDisconnect()
{
    IdFTP1.Disconnect(status_);
    clearRemoteGrid(Vvzo);
    dl->clear();
}

bool RemotePage::FillRemoteView(bool clearTree)
{
    const std::optional<RemoteView> view = ListRemoteView(IdFTP1);
    clearRemoteGrid(Vvzo);
    showRemoteHeaders(Vvzo);
    if (!view)
        return false;  // a listing without readable entries: headers only, the tree as it was
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
    pumpEvents();
    return true;
}

void RemotePage::dlDblClick()
{
    try {
        if (const QTreeWidgetItem* node = remoteTree(dl)->selectedNode())
            OpenRemoteNode(IdFTP1, remoteNodePath(node), host_.logSink());
        FillRemoteView(false);
    } catch (const std::exception&) {
        // The view stays as it was.
    }
}

QString RemotePage::SelectedRemoteFile() const
{
    const int row = Vvzo->currentRow();
    return row < 0 ? QString() : TrimLeadingBlanks(remoteGridText(Vvzo, row + 1, 1));
}

// The commands of the grid act on its current row and need a selected node; a row without a
// file names nothing to act on.
void RemotePage::dieseDateiherunterladen1Click()
{
    const QString name = SelectedRemoteFile();
    if (remoteTree(dl)->selectedNode() && !name.isEmpty())
        DownloadRemoteFile(IdFTP1, name, setPage_.eschlussel->text(), status_, nullptr);
}

void RemotePage::diesedateiherunterladenundtempffnen1Click()
{
    const QString name = SelectedRemoteFile();
    if (remoteTree(dl)->selectedNode() && !name.isEmpty())
        DownloadAndOpenRemoteFile(IdFTP1, name, setPage_.eschlussel->text(), status_, nullptr);
}

void RemotePage::lschen1Click()
{
    const QString name = SelectedRemoteFile();
    if (remoteTree(dl)->selectedNode() && !name.isEmpty() && DeleteRemoteFile(IdFTP1, name))
        FillRemoteView(false);
}

void RemotePage::Verzeichnislschen1Click()
{
    RemoteTree* tree = remoteTree(dl);
    QTreeWidgetItem* node = tree->selectedNode();
    if (!node)
        return;
    // Window events run while the server works; the node may be gone by then.
    const QPersistentModelIndex handle = tree->handleOf(node);
    DeleteRemoteDirectory(IdFTP1, remoteNodePath(node));
    delete tree->nodeOf(handle);
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
