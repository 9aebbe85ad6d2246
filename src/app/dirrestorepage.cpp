#include "app/dirrestorepage.h"

#include "app/directoryedit.h"
#include "app/directorylist.h"
#include "app/pathtext.h"
#include "app/drivecombo.h"
#include "app/errorreport.h"
#include "app/filelist.h"
#include "app/jobhost.h"
#include "app/radiogroup.h"
#include "app/sharedkey.h"
#include "app/treechoice.h"
#include "app/widgetstyle.h"
#include "engine/dirrestore.h"
#include "engine/storepath.h"
#include "platform/userinterface.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace quorbin::app {

DirRestorePage::DirRestorePage(JobHost& host, QWidget* parent) : QWidget(parent), host_(host)
{
    setObjectName("TabSheet3");
    auto* pageColumn = new QVBoxLayout(this);
    Splitter2 = new QSplitter(Qt::Horizontal, this);
    Splitter2->setObjectName("Splitter2");
    pageColumn->addWidget(Splitter2);

    // Step 1: the store directory.
    GroupBox8 = group(Splitter2, "GroupBox8", tr("Schritt 1: Auswahl der Datensicherung"));
    auto* storeColumn = new QVBoxLayout(GroupBox8);
    Drives = new DriveComboBox(GroupBox8);
    Drives->setObjectName("Drives");
    zdlbdir = new DirectoryListBox(GroupBox8);
    zdlbdir->setObjectName("zdlbdir");
    GroupBox3 = group(GroupBox8, "GroupBox3", tr("Inhalt der Datensicherung"));
    auto* contentColumn = new QVBoxLayout(GroupBox3);
    zdlbGes = new FileListBox(GroupBox3);
    zdlbGes->setObjectName("zdlbGes");
    contentColumn->addWidget(zdlbGes);
    zdlbdir->setDriveCombo(Drives);
    zdlbdir->setFileList(zdlbGes);
    storeColumn->addWidget(Drives);
    storeColumn->addWidget(zdlbdir, 1);
    storeColumn->addWidget(GroupBox3, 1);

    // Step 2: the target.
    GroupBox9 = group(Splitter2, "GroupBox9", tr("2. Schritt: Auswahl des Zielverzeichnisses und der Version"));
    auto* targetColumn = new QVBoxLayout(GroupBox9);
    StartDir = new QLineEdit(QStringLiteral("StartDir"), GroupBox9);
    StartDir->setObjectName("StartDir");
    targetColumn->addWidget(StartDir);
    Art = NewArtGroup(GroupBox9);
    targetColumn->addWidget(Art);
    zdt = new QLabel(tr("Neues Startverzeichnis:"), GroupBox9);
    zdt->setObjectName("zdt");
    targetColumn->addWidget(zdt);
    Zieldir = new DirectoryEdit(GroupBox9);
    Zieldir->setObjectName("Zieldir");
    Zieldir->dialogText = tr("Zielverzeichnis auswählen");
    Zieldir->setEnabled(false);
    targetColumn->addWidget(Zieldir);

    // Step 3: the version.
    GroupBox13 = group(GroupBox9, "GroupBox13", tr("3. Schritt: Version die zurückgeladen werden soll"));
    auto* versionGrid = new QGridLayout(GroupBox13);
    Version = NewVersionGroup(GroupBox13);
    Erldat = new QDateEdit(GroupBox13);
    Erldat->setObjectName("Erldat");
    Erldat->setCalendarPopup(true);
    // Hours of one or two digits, a colon, two minute digits; open places show as "_".
    Erltime = new QLineEdit(GroupBox13);
    Erltime->setObjectName("Erltime");
    Erltime->setInputMask(QStringLiteral("90:99;_"));
    Erltime->setFixedWidth(50);
    auto* limitRow = new QHBoxLayout;
    limitRow->addWidget(Erldat);
    limitRow->addWidget(Erltime);
    limitRow->addStretch(1);
    frag = new QCheckBox(tr("vor Überschreiben nachfragen"), GroupBox13);
    frag->setObjectName("frag");
    Button2 = new QPushButton(tr("Zurückladen"), GroupBox13);
    Button2->setObjectName("Button2");
    versionGrid->addWidget(Version, 0, 0);
    versionGrid->addLayout(limitRow, 0, 1, Qt::AlignVCenter);
    versionGrid->addWidget(frag, 1, 0, 1, 2);
    versionGrid->addWidget(Button2, 2, 0, Qt::AlignLeft);
    versionGrid->setColumnStretch(1, 1);
    targetColumn->addWidget(GroupBox13);
    targetColumn->addStretch(1);

    Splitter2->addWidget(GroupBox8);
    Splitter2->addWidget(GroupBox9);
    Splitter2->setStretchFactor(1, 1);
    Splitter2->setSizes({289, 640});

    connect(zdlbdir, &DirectoryListBox::directoryChanged, this, guarded([this] { zdlbdirChange(); }));
    connect(zdlbGes, &QListWidget::itemClicked, this, guarded([this] { zdlbGesClick(); }));
    connect(Art, &RadioGroup::clicked, this, guarded([this] { ArtClick(); }));
    connect(Zieldir, &DirectoryEdit::beforeDialog, this, guarded([this] { ZieldirBeforeDialog(); }));
    connect(Zieldir, &DirectoryEdit::afterDialog, this, [this] {
        try {
            ZieldirAfterDialog();
        } catch (...) {
            // A chosen folder still goes into the field.
        }
    });
    connect(Button2, &QPushButton::clicked, this, guarded([this] { Button2Click(); }));
}

void DirRestorePage::Button2Click()
{
    // A second walk beside the running one would mix their logs and share their cancel.
    if (host_.refuseWhileBusy())
        return;
    // Paths the user typed in the host's form are taken, and shown, as the Windows paths they name.
    // Any other start directory meets the store's own checks below.
    QString refusal;
    if (StartDir->text().startsWith(u'/')) {
        const auto start = fieldPath(StartDir->text(), refusal);
        if (!start) {
            ui().showMessage(refusal, QString());
            return;
        }
        StartDir->setText(*start);
    }
    if (Art->itemIndex() == 1) {
        const auto newStart = fieldPath(Zieldir->text(), refusal);
        if (!newStart) {
            ui().showMessage(refusal, QString());
            return;
        }
        if (*newStart != Zieldir->text().trimmed())
            Zieldir->setText(*newStart);
    }
    host_.clearLog();
    DirRestoreJob::Options options;
    options.startDirectory = StartDir->text();
    options.rule = VersionRule(Version->itemIndex());
    options.ask = frag->isChecked();
    options.key = [key = host_.key()] { return key->get(); };
    if (Art->itemIndex() == 1 && !Zieldir->text().trimmed().isEmpty()) {
        options.newStartDirectory = Zieldir->text();
        if (!options.newStartDirectory.endsWith(u'\\'))
            options.newStartDirectory += u'\\';
    }
    refusal = TreeTargetRefusal(Art->itemIndex() == 1, options.newStartDirectory, options.startDirectory);
    if (!refusal.isEmpty()) {
        ui().showMessage(refusal, QString());
        return;
    }
    host_.showLog();
    if (options.rule == kVersionBeforeDate) {
        try {
            options.versionLimit = VersionLimitOf(Erldat, Erltime);
        } catch (...) {
            // The log tells that nothing ran; the error itself goes to the general report.
            host_.logSink().appendLine(QStringLiteral("start"));
            host_.logSink().appendLine(QStringLiteral("fertig"));
            throw;
        }
    }
    host_.runJob(std::make_unique<DirRestoreJob>(std::move(options)));
}

void DirRestorePage::ArtClick() { Zieldir->setEnabled(Art->itemIndex() == 1); }

void DirRestorePage::zdlbdirChange() { StartDir->setText(zdlbdir->directory()); }

void DirRestorePage::zdlbGesClick() {}

void DirRestorePage::ZieldirBeforeDialog() { Zieldir->setText(RestoreBlanks(Zieldir->text())); }

void DirRestorePage::ZieldirAfterDialog()
{
    const QString text = Zieldir->text();
    if (!text.isEmpty() && !text.endsWith(u'\\'))
        Zieldir->setText(text + u'\\');
}

}  // namespace quorbin::app
