#include "app/tquorbin.h"

#include "app/backupsetpage.h"
#include "app/directoryedit.h"
#include "app/dirrestorepage.h"
#include "app/drivesdialog.h"
#include "app/errorreport.h"
#include "app/filerestorepage.h"
#include "app/jobrunner.h"
#include "app/pagecontrol.h"
#include "app/pathtext.h"
#include "app/remotepage.h"
#include "app/sharedkey.h"
#include "app/storecheck.h"
#include "app/toolcontext.h"
#include "app/widgetstyle.h"
#include "platform/files.h"
#include "platform/userinterface.h"
#include "platform/winpath.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSessionManager>
#include <QTimer>
#include <QVBoxLayout>

namespace quorbin::app {

namespace {

QString endOfJobText(const JobResult& result)
{
    if (result.ok())
        return result.message.isEmpty() ? QCoreApplication::translate("App", "abgeschlossen")
                                        : QCoreApplication::translate("App", "abgeschlossen; %1").arg(result.message);
    // A cancel may tell what was done before it.
    if (result.kind == ErrorKind::Cancelled)
        return result.message.isEmpty() ? QCoreApplication::translate("App", "abgebrochen") : result.message;
    return QCoreApplication::translate("App", "Fehler: %1").arg(describe(result));
}

const char* const kPageTitles[] = {
    QT_TRANSLATE_NOOP("quorbin::app::Tquorbin", "Sicherungs-Einstellungen"),
    QT_TRANSLATE_NOOP("quorbin::app::Tquorbin", "einzelne Datei wiederherstellen"),
    QT_TRANSLATE_NOOP("quorbin::app::Tquorbin", "Verzeichnisse wiederherstellen"),
    QT_TRANSLATE_NOOP("quorbin::app::Tquorbin", "Log ansehen"),
    QT_TRANSLATE_NOOP("quorbin::app::Tquorbin", "Verbindung zum FTP-Verzeichnis "),
};

}  // namespace

Tquorbin::Tquorbin(const QString& launchArgument, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      status_(nullptr), log_(nullptr), progress_(nullptr), key_(std::make_shared<SharedKey>()),
      storeCheck_(std::make_unique<StoreCheck>(*this, this))
{
    createControls();
    status_ = StatusPanelSink(sbPanel0);
    log_ = MemoLogSink(Memo2);
    progress_ = ProgressBarSink(pb, pro, total);
    jobs_ = std::make_unique<JobRunner>(status_, log_, progress_);
    remotePage->showTransferOn(pb, pro, total);
    connect(setPage->eschlussel, &QLineEdit::textChanged, this, [this](const QString& text) { key_->set(text); });
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { WMQueryEndSession(); });
    // An error while starting is reported, and the window opens all the same.
    guarded([&] { FormCreate(launchArgument); })();
}

Tquorbin::~Tquorbin()
{
    if (toolContext().mainWindow == this)
        toolContext() = ToolContext();
}

void Tquorbin::closeEvent(QCloseEvent* event)
{
    // A job still running would hold the program open until its end: cut it at its next check.
    jobs_->closeDown();
    QWidget::closeEvent(event);
}

bool Tquorbin::refuseWhileBusy()
{
    if (!jobs_->busy())
        return false;
    status_.setStatus(tr("Es läuft bereits eine Aktion. Bitte warten oder \"Aktion abbrechen\" wählen."));
    return true;
}

FtpSession& Tquorbin::IdFTP1() { return remotePage->IdFTP1; }

void Tquorbin::clearLog() { Memo2->clear(); }

void Tquorbin::showLog()
{
    ftp->setCurrentIndex(LogPage);
    ftpChange();
}

bool Tquorbin::runJob(std::unique_ptr<Job> job, std::function<void(const JobResult&)> done, EndStatus endStatus)
{
    if (refuseWhileBusy())
        return false;
    return jobs_->start(std::move(job), [this, done = std::move(done), endStatus](const JobResult& result) {
        if (endStatus == EndStatus::Always || !result.ok())
            status_.setStatus(endOfJobText(result));
        if (done)
            guarded([&] { done(result); })();
    });
}

QString Tquorbin::pageTitle(int index)
{
    if (index < 0 || index >= int(std::size(kPageTitles)))
        return {};
    return tr(kPageTitles[index]);
}

void Tquorbin::createControls()
{
    setObjectName("quorbin");
    setWindowTitle(tr("quorbin Wiederherstellen"));
    useProductFont(this);

    auto* client = new QWidget(this);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    Label5 = placeLabel(client, "Label5", QString());
    QFont titleFont = Label5->font();
    titleFont.setPointSize(12);
    titleFont.setBold(true);
    Label5->setFont(titleFont);
    Label5->setFixedHeight(20);
    Label5->setIndent(4);
    column->addWidget(Label5);

    ftp = new PageControl(client);
    ftp->setObjectName("ftp");
    ftp->addTab(setPage = new BackupSetPage, tr("Sichern"));
    ftp->addTab(filePage = new FileRestorePage(*this), tr("Datei wiederh."));
    ftp->addTab(dirPage = new DirRestorePage(*this), tr("Verzeichn. wiederh."));
    ftp->addTab(TabSheet4 = createLogPage(), tr("Log"));
    ftp->addTab(remotePage = new RemotePage(*this, *setPage, status_), tr("FTP-Ütra"));
    connect(ftp, &QTabWidget::currentChanged, this, guarded([this] { ftpChange(); }));
    column->addWidget(ftp, 1);

    column->addWidget(Panel2 = createBottomPanel());
    setCentralWidget(client);
    createMenu();

    // The design's size where the screen has room for it; the layouts let the window grow, and
    // shrink to what its controls need, so that it fits a laptop screen at 120 dpi.
    QSize size(1061, 652 + menuBar()->sizeHint().height());
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen)
        size = size.boundedTo(screen->availableGeometry().size());
    resize(size.expandedTo(minimumSizeHint()));
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
}

QWidget* Tquorbin::createLogPage()
{
    auto* page = new QWidget;
    page->setObjectName("TabSheet4");
    auto* layout = new QVBoxLayout(page);
    Memo2 = new QPlainTextEdit(page);
    Memo2->setObjectName("Memo2");
    Memo2->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(Memo2);
    return page;
}

void Tquorbin::createMenu()
{
    Datei1 = menuBar()->addMenu(tr("&Datei"));
    Datei1->setObjectName("Datei1");
    ffnen1 = Datei1->addAction(tr("ö&ffnen"));
    ffnen1->setShortcut(QKeySequence::Open);
    ffnen1->setObjectName("ffnen1");
    Sicherungprfen1 = Datei1->addAction(tr("Sicherung &prüfen"));
    Sicherungprfen1->setObjectName("Sicherungprfen1");
    Laufwerke1 = Datei1->addAction(tr("&Laufwerke…"));
    Laufwerke1->setObjectName("Laufwerke1");
    Shutdownundbeenden1 = Datei1->addAction(tr("Shutdown und &beenden"));
    Shutdownundbeenden1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    Shutdownundbeenden1->setObjectName("Shutdownundbeenden1");
    Aktionabbrechen1 = menuBar()->addAction(tr("&Aktion abbrechen"));
    // Escape stops the running job; with none running it does nothing.
    Aktionabbrechen1->setShortcut(QKeySequence(Qt::Key_Escape));
    Aktionabbrechen1->setObjectName("Aktionabbrechen1");
    connect(ffnen1, &QAction::triggered, this, guarded([this] { ffnen1Click(); }));
    connect(Laufwerke1, &QAction::triggered, this, guarded([this] { Laufwerke1Click(); }));
    connect(Sicherungprfen1, &QAction::triggered, this, guarded([this] { Sicherungprfen1Click(); }));
    connect(Shutdownundbeenden1, &QAction::triggered, this, guarded([this] { Shutdownundbeenden1Click(); }));
    connect(Aktionabbrechen1, &QAction::triggered, this, guarded([this] { Aktionabbrechen1Click(); }));
}

void Tquorbin::FormCreate(const QString& launchArgument)
{
    ReadQuorbinIni(QStringLiteral("quorbin.ini"));
    if (!launchArgument.isEmpty()) {
        setPage->Edit1->setText(launchArgument);
        Readini(launchArgument);
        pointDirectoryListsAt(setPage->edZiel->text());
    }
    fillToolContext();
    FormatSettings = QLocale(QLocale::German, QLocale::Germany);
    prepareRestorePages();
    ftp->setCurrentIndex(SichernPage);
    ftpChange();
    // Once the window shows, so that the question has it to stand on.
    if (!launchArgument.isEmpty())
        QTimer::singleShot(0, this, guarded([this] { checkTargetReachable(); }));
}

void Tquorbin::fillToolContext()
{
    ToolContext& context = toolContext();
    context.status = &status_;
    context.log = &log_;
    context.ftp = &IdFTP1();
    context.remoteTree = remotePage->dl;
    context.remoteGrid = remotePage->Vvzo;
    context.mainWindow = this;
}

void Tquorbin::ReadQuorbinIni(const QString& fileName)
{
    mini = ReadProgramSettings(fileName);
    setPage->Edit1->setText(mini.SetName);
}

void Tquorbin::Readini(const QString& path)
{
    ini = ReadBackupSet(path);
    const ProgramSettings settings = ReadProgramSettings(QStringLiteral("quorbin.ini"));
    setPage->edZiel->setText(ini.Ziel);
    setPage->CBPassive->setChecked(ini.Passive);
    setPage->EFTPHost->setText(ini.ftphost);
    setPage->EFTPUsername->setText(ini.ftpusername);
    setPage->EFTPPort->setText(ini.PORT);
    setPage->EProxy->setText(ini.PROXY);
    setPage->EproxyPort->setText(ini.PROXYPORT);
    setPage->EFTPpassw->setText(ini.ftppassw);
    setPage->eVerzeichnis->setText(ini.verzeichnis);
    setPage->EBasis->setText(ini.Basis);
    setPage->eschlussel->setText(ini.SCHLUESSEL);
    setPage->MitSSL->setChecked(settings.MITSSL);
    setPage->MitVZ->setChecked(settings.MITVZ);
    offerFtpPage(ini.ftp);
}

void Tquorbin::offerFtpPage(bool offered)
{
    // A set without FTP takes its page away; the user then sees the set just loaded.
    if (!offered && ftp->currentIndex() == FtpPage)
        ftp->setCurrentIndex(SichernPage);
    ftp->setTabVisible(FtpPage, offered);
}

void Tquorbin::Sicherungprfen1Click() { storeCheck_->start(dirPage->StartDir->text()); }

void Tquorbin::Laufwerke1Click()
{
    // The walk in hand converts its paths with the map it started with.
    if (refuseWhileBusy())
        return;
    if (editDriveMap(this))
        pointDirectoryListsAt(setPage->edZiel->text());
}

void Tquorbin::checkTargetReachable()
{
    const QString target = setPage->edZiel->text().trimmed();
    if (target.isEmpty() || platform::directoryExists(target) || !platform::isAbsoluteWindowsPath(target))
        return;
    const QString root = target.startsWith(u"\\\\")
                             ? target.left(target.indexOf(u'\\', target.indexOf(u'\\', 2) + 1))
                             : target.left(2);
    const QString text =
        root.startsWith(u"\\\\")
            ? tr("Das Ziel der Sicherung ist hier nicht erreichbar: %1\nFreigabe %2 liegt auf diesem Rechner in "
                 "%3, dort fehlt %4.\n\nLaufwerke jetzt zuordnen?")
            : tr("Das Ziel der Sicherung ist hier nicht erreichbar: %1\nLaufwerk %2 liegt auf diesem Rechner in "
                 "%3, dort fehlt %4.\n\nLaufwerke jetzt zuordnen?");
    const QString question = text.arg(target, root, platform::toHostPath(root + u'\\'), platform::toHostPath(target));
    if (ui().ask(question, tr("Ziel nicht erreichbar"), Buttons::YesNo) == Answer::Yes)
        Laufwerke1Click();
}

void Tquorbin::ffnen1Click()
{
    // A running walk reads the key and the target of the set it was started with.
    if (refuseWhileBusy())
        return;
    FileDialogRequest od;
    od.filter = tr("Datensicherungs-Sets (*.set)|*.set");
    od.mustExist = true;
    od.fileName = odFileName_;
    od.initialDirectory = odFileName_.isEmpty() ? QString() : platform::directoryPart(odFileName_);
    const auto chosen = ui().chooseOpenFile(od);
    if (!chosen)
        return;
    odFileName_ = windowsTextOf(*chosen);
    setPage->Edit1->setText(odFileName_);
    Readini(odFileName_);
    pointDirectoryListsAt(setPage->edZiel->text());
    checkTargetReachable();
}

void Tquorbin::Shutdownundbeenden1Click() { close(); }

void Tquorbin::Aktionabbrechen1Click()
{
    jobs_->cancel();
}

void Tquorbin::ftpChange() { Label5->setText(pageTitle(ftp->currentIndex())); }

bool Tquorbin::WMQueryEndSession()
{
    ui().beep();
    close();
    return true;
}

}  // namespace quorbin::app
