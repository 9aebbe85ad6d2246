#include "app/filerestorepage.h"

#include "app/directorylist.h"
#include "app/drivecombo.h"
#include "app/errorreport.h"
#include "app/jobhost.h"
#include "app/pathtext.h"
#include "app/sharedkey.h"
#include "app/storedfilelist.h"
#include "app/versionlist.h"
#include "engine/restore.h"
#include "engine/storepath.h"
#include "engine/tempfiles.h"
#include "platform/files.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QVBoxLayout>

namespace quorbin::app {
namespace {

const char* const kNoFileSelected =
    QT_TRANSLATE_NOOP("quorbin::app::FileRestorePage", "Bitte zuerst rechts eine Datei auswählen!");
const char* const kNoStorePath =
    QT_TRANSLATE_NOOP("quorbin::app::FileRestorePage", "Kein Backup-Pfad. Bitte neu wählen!");

// A right click picks the row under the pointer and opens the menu for it.
void openMenuOnRightClick(QTreeWidget* list, QMenu* menu)
{
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(list, &QWidget::customContextMenuRequested, menu, [list, menu](const QPoint& position) {
        if (QTreeWidgetItem* item = list->itemAt(position))
            list->setCurrentItem(item);
        menu->popup(list->viewport()->mapToGlobal(position));
    });
}

}  // namespace

FileRestorePage::FileRestorePage(JobHost& host, QWidget* parent) : QWidget(parent), host_(host)
{
    setObjectName("TabSheet2");
    auto* pageColumn = new QVBoxLayout(this);
    GroupBox1 = new QGroupBox(tr("Inhalt der Datensicherung"), this);
    GroupBox1->setObjectName("GroupBox1");
    pageColumn->addWidget(GroupBox1);
    auto* groupColumn = new QVBoxLayout(GroupBox1);

    Label2 = new QLabel(tr("Links das Verzeichnis wählen, aus dem zurückgesichert werden soll. Rechts die "
                           "Datei mit rechts anklicken und zurücksichern."),
                        GroupBox1);
    Label2->setObjectName("Label2");
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    Label2->setWordWrap(true);
    groupColumn->addWidget(Label2);

    Splitter1 = new QSplitter(Qt::Horizontal, GroupBox1);
    Splitter1->setObjectName("Splitter1");
    auto* leftColumn = new QWidget(Splitter1);
    auto* left = new QVBoxLayout(leftColumn);
    left->setContentsMargins(0, 0, 0, 0);
    JvDriveCombo1 = new DriveComboBox(leftColumn);
    JvDriveCombo1->setObjectName("JvDriveCombo1");
    qdir = new DirectoryListBox(leftColumn);
    qdir->setObjectName("qdir");
    left->addWidget(JvDriveCombo1);
    left->addWidget(qdir, 1);
    // Right: the files, and below them the versions of the selected one.
    Splitter2 = new QSplitter(Qt::Vertical, Splitter1);
    Splitter2->setObjectName("Splitter2");
    qfile = new StoredFileList(Splitter2);
    qfile->setObjectName("qfile");
    auto* versionColumn = new QWidget(Splitter2);
    auto* versionsLayout = new QVBoxLayout(versionColumn);
    versionsLayout->setContentsMargins(0, 0, 0, 0);
    VersionLabel = new QLabel(tr("Versionen der gewählten Datei (neueste zuerst):"), versionColumn);
    VersionLabel->setObjectName("VersionLabel");
    qversions = new VersionList(versionColumn);
    qversions->setObjectName("qversions");
    versionsLayout->addWidget(VersionLabel);
    versionsLayout->addWidget(qversions, 1);
    Splitter2->addWidget(qfile);
    Splitter2->addWidget(versionColumn);
    Splitter2->setStretchFactor(0, 3);
    Splitter2->setStretchFactor(1, 1);
    connect(qfile, &StoredFileList::fileChosen, qversions, &VersionList::showFile);
    qdir->setDriveCombo(JvDriveCombo1);
    qfile->setDirectory(qdir->directory());
    connect(qdir, &DirectoryListBox::directoryChanged, qfile, &StoredFileList::setDirectory);
    Splitter1->addWidget(leftColumn);
    Splitter1->addWidget(Splitter2);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({185, 760});
    groupColumn->addWidget(Splitter1, 1);

    PopupMenu2 = new QMenu(qfile);
    PopupMenu2->setObjectName("PopupMenu2");
    tempffnen2 = PopupMenu2->addAction(tr("temp. öffnen"));
    tempffnen2->setObjectName("tempffnen2");
    wiederherstellen2 = PopupMenu2->addAction(tr("wiederherstellen"));
    wiederherstellen2->setObjectName("wiederherstellen2");
    wiederherstellenananderenOrt1 = PopupMenu2->addAction(tr("wiederherstellen an anderen Ort"));
    wiederherstellenananderenOrt1->setObjectName("wiederherstellenananderenOrt1");
    connect(tempffnen2, &QAction::triggered, this, guarded([this] { tempffnen2Click(); }));
    connect(wiederherstellen2, &QAction::triggered, this, guarded([this] { wiederherstellen2Click(); }));
    connect(wiederherstellenananderenOrt1, &QAction::triggered, this,
            guarded([this] { wiederherstellenananderenOrt1Click(); }));

    openMenuOnRightClick(qfile, PopupMenu2);
    openMenuOnRightClick(qversions, PopupMenu2);

    BSD.filter = tr("alle Dateien|*.*");
    BSD.initialDirectory = QStringLiteral("c:\\");
    BSD.confirmOverwrite = true;
}

QString FileRestorePage::selectedVersionOrTell() const
{
    const StoredFileVersions* file = qfile->selectedFile();
    if (!file) {
        ui().showMessage(tr(kNoFileSelected), QString());
        return {};
    }
    if (!file->unreadableVersion.isEmpty()) {
        ui().showMessage(tr("Zeit einer Version nicht lesbar: %1").arg(file->unreadableVersion), QString());
        return {};
    }
    const QString picked = qversions->selectedPath();
    return picked.isEmpty() ? file->newest()->path : picked;
}

void FileRestorePage::tempffnen2Click()
{
    if (host_.refuseWhileBusy())
        return;
    const QString selected = selectedVersionOrTell();
    if (selected.isEmpty())
        return;
    if (!HasContainerExtension(selected)) {
        ShellOpenFile(selected, QString(), QString(), 1);
        return;
    }
    // The user file's extension lets the desktop pick its application.
    const QString target = TempOpenFileName(selected.chopped(qMin(kVersionSuffixLength, selected.size())));
    host_.runJob(std::make_unique<FileRestoreJob>(selected, target, host_.key()->get()), [target](const JobResult& result) {
        // After a failure the temporary file holds what an earlier use left there: opening it
        // would show another file as this one.
        if (result.ok())
            ShellOpenFile(target, QString(), QString(), 1);
        else
            tellRestoreFailed(result);
    });
}

void FileRestorePage::wiederherstellen2Click()
{
    const QString selected = selectedVersionOrTell();
    if (selected.isEmpty())
        return;
    const QString target = RestoreBlanks(DecodeStoreFile(selected));
    if (target.isEmpty()) {
        ui().showMessage(tr(kNoStorePath), QString());
        return;
    }
    if (host_.refuseWhileBusy())
        return;
    // Only a file that is there can be overwritten: a missing one is simply restored.
    if (platform::fileExists(target) &&
        ui().ask(tr("Datei %1 überschreiben?").arg(target), tr("Bestätigen"), Buttons::NoOk) != Answer::Ok)
        return;
    restoreSelected(selected, target);
}

void FileRestorePage::restoreSelected(const QString& selected, const QString& target)
{
    // A stored file is restored, any other file copied unchanged; silence would look like success.
    host_.runJob(std::make_unique<FileRestoreJob>(selected, target, host_.key()->get()), [](const JobResult& result) {
        if (!result.ok())
            tellRestoreFailed(result);
    });
}

void FileRestorePage::wiederherstellenananderenOrt1Click()
{
    const QString selected = selectedVersionOrTell();
    if (selected.isEmpty())
        return;
    const QString original = DecodeStoreFile(selected);
    BSD.fileName = RestoreBlanks(platform::namePart(original));
    BSD.initialDirectory = RestoreBlanks(platform::directoryPart(original));
    if (host_.refuseWhileBusy())
        return;
    const auto chosen = ui().chooseSaveFile(BSD);
    if (!chosen || chosen->isEmpty())
        return;
    restoreSelected(selected, windowsTextOf(*chosen));
}

}  // namespace quorbin::app
