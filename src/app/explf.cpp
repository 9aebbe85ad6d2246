#include "app/explf.h"

#include "app/errorreport.h"
#include "app/exithook.h"
#include "app/jobrunner.h"
#include "app/pathtext.h"
#include "app/widgetstyle.h"
#include "engine/restore.h"
#include "engine/storepath.h"
#include "engine/tempfiles.h"
#include "platform/files.h"
#include "platform/userinterface.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QVBoxLayout>

namespace quorbin::app {
namespace {

// The failures that another key may mend; damage that reads like a wrong key counts too.
bool blamesTheKey(const JobResult& result)
{
    return result.kind == ErrorKind::WrongKey || result.kind == ErrorKind::NoKey ||
           result.kind == ErrorKind::DamagedOrWrongKey;
}

}  // namespace

TExplF::TExplF(const QString& launchArgument, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      launchArgument_(launchArgument), status_(nullptr), progress_(nullptr)
{
    createControls();
    status_ = StatusPanelSink(sbPanel0);
    progress_ = ProgressBarSink(pb);
    jobs_ = std::make_unique<JobRunner>(status_, noLog(), progress_);
    // An error while starting is reported, and the window opens all the same.
    guarded([&] { FormCreate(); })();
}

void TExplF::createControls()
{
    setObjectName("ExplF");
    setWindowTitle(tr("Quorbin DoubleKlick"));
    useProductFont(this);
    move(10, 239);

    // The design's columns (8, 128, 312 pixels from the left); wider fonts widen them.
    auto* grid = new QGridLayout;
    grid->setContentsMargins(8, 12, 8, 8);
    grid->setHorizontalSpacing(7);
    grid->setVerticalSpacing(6);
    Label20 = placeLabel(this, "Label20", tr("Key f. Verschlüsselung:"));
    eschlussel = placeLineEdit(this, "eschlussel");
    showAsStars(eschlussel);
    Edit1 = placeLineEdit(this, "Edit1");
    Edit1->setEnabled(false);
    Button1 = placeButton(this, "Button1", tr("Datei Temp. Öffnen"));
    Button2 = placeButton(this, "Button2", tr("Datei wiederherstellen nach ..."));
    Button3 = placeButton(this, "Button3", tr("abbrechen"));
    Label20->setMinimumWidth(110);
    eschlussel->setMinimumWidth(257);
    Edit1->setMinimumWidth(377);
    Button1->setMinimumSize(113, 25);
    Button2->setMinimumSize(177, 25);
    Button3->setMinimumSize(75, 25);
    grid->addWidget(Label20, 0, 0);
    grid->addWidget(eschlussel, 0, 1, 1, 2);
    grid->addWidget(Edit1, 1, 0, 1, 3);
    grid->addWidget(Button1, 2, 0);
    grid->addWidget(Button2, 2, 1);
    grid->addWidget(Button3, 2, 2);
    pb = new QProgressBar(this);
    pb->setObjectName("pb");
    pb->setTextVisible(false);
    pb->setFixedHeight(12);
    pb->setRange(0, 100);
    pb->setValue(0);
    grid->addWidget(pb, 3, 0, 1, 3);
    grid->setRowMinimumHeight(3, 22);
    grid->setRowStretch(3, 1);
    setTabOrder(eschlussel, Button1);
    setTabOrder(Button1, Button3);
    setTabOrder(Button3, Edit1);
    setTabOrder(Edit1, Button2);

    sb = new QStatusBar(this);
    sb->setObjectName("sb");
    sb->setSizeGripEnabled(false);
    sb->setFixedHeight(20);
    sbPanel0 = addStatusPanel(sb, "sbPanel0", 300);
    sbPanel1 = addStatusPanel(sb, "sbPanel1", 50);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(grid, 1);
    column->addWidget(sb);
    resize(qMax(450, sizeHint().width()), qMax(145, sizeHint().height()));

    connect(Button1, &QPushButton::clicked, this, guarded([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, guarded([this] { Button2Click(); }));
    connect(Button3, &QPushButton::clicked, this, guarded([this] { Button3Click(); }));
    // Enter restores to a chosen place, the command a double-click is mostly for; Escape
    // cancels as "abbrechen" does.
    auto* enter = new QShortcut(QKeySequence(Qt::Key_Return), this);
    connect(enter, &QShortcut::activated, this, guarded([this] { Button2Click(); }));
    auto* keypadEnter = new QShortcut(QKeySequence(Qt::Key_Enter), this);
    connect(keypadEnter, &QShortcut::activated, this, guarded([this] { Button2Click(); }));
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, guarded([this] { Button3Click(); }));
    eschlussel->setFocus();
}

void TExplF::FormCreate() { Edit1->setText(launchArgument_); }

TExplF::~TExplF() = default;

void TExplF::Button1Click()
{
    if (jobs_->busy())
        return;
    Edit1->setText(launchArgument_);
    const QString baseName = launchArgument_.chopped(qMin(kVersionSuffixLength, launchArgument_.size()));
    const QString tempOpenFile = TempOpenFileName(baseName);
    // After a failure the temporary file holds what an earlier use left there: opening it
    // would show another file as this one.
    restoreThenEnd(tempOpenFile, false, [tempOpenFile] { ShellOpenFile(tempOpenFile, QString(), QString(), 1); });
}

void TExplF::Button2Click()
{
    if (jobs_->busy())
        return;
    restoreWhereTheUserChooses();
}

void TExplF::restoreWhereTheUserChooses()
{
    Edit1->setText(launchArgument_);
    const QString originalPath = DecodeStoreFile(launchArgument_);
    FileDialogRequest BSD;
    BSD.filter = tr("alle Dateien|*.*");
    BSD.fileName = RestoreBlanks(platform::namePart(originalPath));
    BSD.initialDirectory = RestoreBlanks(platform::directoryPart(originalPath));
    BSD.confirmOverwrite = true;
    const auto chosen = ui().chooseSaveFile(BSD);
    if (!chosen) {
        EndProcess(0);
        return;
    }
    // Only a container is expanded; the other stored forms are copied as they are.
    restoreThenEnd(windowsTextOf(*chosen), true, {});
}

void TExplF::restoreThenEnd(const QString& target, bool copyPlainFiles, std::function<void()> succeeded)
{
    FileRestoreJob::Options options;
    options.copyPlainFiles = copyPlainFiles;
    auto job = std::make_unique<FileRestoreJob>(launchArgument_, target, eschlussel->text(), options);
    jobs_->start(std::move(job), [this, succeeded = std::move(succeeded)](const JobResult& result) {
        if (!result.ok())
            tellRestoreFailed(result);
        // A mistyped key is worth another try without a second double-click.
        if (blamesTheKey(result)) {
            sbPanel0->setText(result.message);
            eschlussel->clear();
            eschlussel->setFocus();
            return;
        }
        // The window ends otherwise; ending silently after a failure would look like success.
        if (result.ok() && succeeded)
            succeeded();
        EndProcess(0);
    });
}

void TExplF::Button3Click()
{
    // A running restore ends first; its end then ends the program, with nothing opened.
    if (jobs_->busy())
        jobs_->cancel();
    else
        EndProcess(0);
}

}  // namespace quorbin::app
