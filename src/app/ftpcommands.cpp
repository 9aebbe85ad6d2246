// What the page "FTP-Ütra" and the button "Verbindung testen" run, and the FTP progress on the
// bottom panel. The FTP work itself is the remote layer's; this puts its results on the page.
#include "app/backupsetpage.h"
#include "app/remotegrid.h"
#include "app/remotetree.h"
#include "app/tquorbin.h"
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

FtpSettings Tquorbin::ftpSettings() const
{
    FtpSettings settings;
    settings.host = setPage->EFTPHost->text();
    settings.portText = setPage->EFTPPort->text();
    settings.user = setPage->EFTPUsername->text();
    settings.password = setPage->EFTPpassw->text();
    settings.proxyHost = setPage->EProxy->text();
    settings.proxyPortText = setPage->EproxyPort->text();
    settings.passive = setPage->CBPassive->isChecked();
    settings.storeDirectory = setPage->eVerzeichnis->text();
    settings.basePath = setPage->EBasis->text();
    settings.tls = setPage->MitSSL->isChecked();
    settings.directoryService = setPage->MitVZ->isChecked();
    settings.service = VZOptions;
    return settings;
}

void Tquorbin::Button11Click() { ftpconnect(IdFTP1, ftpSettings(), status_, log_); }

void Tquorbin::Button4Click()
{
    openftp(IdFTP1, ftpSettings(), status_, log_);
    FillRemoteView(true);
}

void Tquorbin::Button9Click() { FtpDisconnect(); }

void Tquorbin::FtpDisconnect()
{
    IdFTP1.Disconnect(status_);
    clearRemoteGrid(Vvzo);
    dl->clear();
}

bool Tquorbin::FillRemoteView(bool clearTree)
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

void Tquorbin::dlDblClick()
{
    try {
        if (const QTreeWidgetItem* node = remoteTree(dl)->selectedNode())
            OpenRemoteNode(IdFTP1, remoteNodePath(node), log_);
        FillRemoteView(false);
    } catch (const std::exception&) {
        // The view stays as it was.
    }
}

QString Tquorbin::SelectedRemoteFile() const
{
    const int row = Vvzo->currentRow();
    return row < 0 ? QString() : TrimLeadingBlanks(remoteGridText(Vvzo, row + 1, 1));
}

// The commands of the grid act on its current row and need a selected node; a row without a
// file names nothing to act on.
void Tquorbin::dieseDateiherunterladen1Click()
{
    const QString name = SelectedRemoteFile();
    if (remoteTree(dl)->selectedNode() && !name.isEmpty())
        DownloadRemoteFile(IdFTP1, name, setPage->eschlussel->text(), status_, &progress_);
}

void Tquorbin::diesedateiherunterladenundtempffnen1Click()
{
    const QString name = SelectedRemoteFile();
    if (remoteTree(dl)->selectedNode() && !name.isEmpty())
        DownloadAndOpenRemoteFile(IdFTP1, name, setPage->eschlussel->text(), status_, &progress_);
}

void Tquorbin::lschen1Click()
{
    const QString name = SelectedRemoteFile();
    if (remoteTree(dl)->selectedNode() && !name.isEmpty() && DeleteRemoteFile(IdFTP1, name))
        FillRemoteView(false);
}

void Tquorbin::Verzeichnislschen1Click()
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

void Tquorbin::IdFTP1Status(const QString& text) { status_.setStatus(text); }

void Tquorbin::IdFTP1WorkBegin(qint64 expected) { IdFTP1.WorkBegin(expected); }

void Tquorbin::IdFTP1Work(qint64 count)
{
    try {
        const FtpWorkView view = IdFTP1.Work(count);
        pb->setRange(0, view.barMaximum);
        pb->setValue(view.barPosition);
        pro->setText(view.percent);
        total->setText(view.amount);
    } catch (const std::exception&) {
        // A progress report never breaks the transfer.
    }
}

void Tquorbin::IdFTP1WorkEnd()
{
    // Back to percent steps, for the restores and the deciphering that report to the same bar.
    pb->setRange(0, 100);
    pb->setValue(0);
    pro->clear();
    total->clear();
}

}  // namespace quorbin::app
