// The page "FTP-Ütra": buttons, the remote tree and grid, the text box, their context menus,
// and the FTP client's progress bound to the bottom panel.
#include "app/remotepage.h"

#include "app/backupsetpage.h"
#include "app/errorreport.h"
#include "app/jobhost.h"
#include "app/remotegrid.h"
#include "app/remotetree.h"
#include "app/widgetstyle.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quorbin::app {
namespace {

QAction* menuEntry(QMenu* menu, const char* name, const QString& text)
{
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

// The right-click that opens the menu also makes the row or node under the pointer current, so
// the commands act on what the user pointed at, never on a row clicked earlier.
QMenu* contextMenu(QAbstractItemView* view, const char* name)
{
    auto* menu = new QMenu(view);
    menu->setObjectName(QString::fromLatin1(name));
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(view, &QWidget::customContextMenuRequested, menu,
                     [view, menu](const QPoint& at) { menu->popup(view->viewport()->mapToGlobal(at)); });
    return menu;
}

}  // namespace

RemotePage::RemotePage(JobHost& host, BackupSetPage& setPage, StatusSink& status, QWidget* parent)
    : QWidget(parent), host_(host), setPage_(setPage), status_(status)
{
    setObjectName("TabSheet5");
    QWidget* TabSheet5 = this;
    auto* page = new QVBoxLayout(TabSheet5);

    auto* buttonBar = new QHBoxLayout;
    Button4 = placeButton(TabSheet5, "Button4", tr("FTP-Verbindung herstellen"));
    Button9 = placeButton(TabSheet5, "Button9", tr("FTP-Verbindung trennen"));
    for (QPushButton* button : {Button4, Button9}) {
        button->setFixedHeight(20);
        buttonBar->addWidget(button);
    }
    buttonBar->addStretch(1);
    page->addLayout(buttonBar);

    GroupBox6 = new QGroupBox(tr("FTP-Verzeichnis"), TabSheet5);
    GroupBox6->setObjectName("GroupBox6");
    auto* groupLayout = new QVBoxLayout(GroupBox6);
    Splitter3 = new QSplitter(Qt::Horizontal, GroupBox6);
    Splitter3->setObjectName("Splitter3");
    auto* tree = new RemoteTree(Splitter3);
    tree->setObjectName("dl");
    dl = tree;
    Splitter4 = new QSplitter(Qt::Vertical, Splitter3);
    Splitter4->setObjectName("Splitter4");
    Vvzo = new QTableWidget(Splitter4);
    Vvzo->setObjectName("Vvzo");
    setupRemoteGrid(Vvzo);
    Memo1 = new QPlainTextEdit(Splitter4);
    Memo1->setObjectName("Memo1");
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The tree and the grid keep their sizes; the text box takes what the window gives.
    Splitter3->setStretchFactor(0, 0);
    Splitter3->setStretchFactor(1, 1);
    Splitter3->setSizes({207, 700});
    Splitter4->setStretchFactor(0, 0);
    Splitter4->setStretchFactor(1, 1);
    Splitter4->setSizes({298, 200});
    groupLayout->addWidget(Splitter3);
    page->addWidget(GroupBox6, 1);

    dlpopup = contextMenu(dl, "dlpopup");
    Verzeichniswiederherstellen1 =
        menuEntry(dlpopup, "Verzeichniswiederherstellen1", tr("Verzeichnis wiederherstellen…"));
    Verzeichnislschen1 = menuEntry(dlpopup, "Verzeichnislschen1", tr("Verzeichnis löschen"));
    vzopopup = contextMenu(Vvzo, "vzopopup");
    dieseDateiherunterladen1 = menuEntry(vzopopup, "dieseDateiherunterladen1", tr("diese Datei herunterladen"));
    diesedateiherunterladenundtempffnen1 =
        menuEntry(vzopopup, "diesedateiherunterladenundtempffnen1", tr("diese datei herunterladen und temp. öffnen"));
    lschen1 = menuEntry(vzopopup, "lschen1", tr("löschen"));

    connect(Button4, &QPushButton::clicked, this, guarded([this] { Button4Click(); }));
    connect(Button9, &QPushButton::clicked, this, guarded([this] { Button9Click(); }));
    // "Verbindung testen" on the page "Sichern" runs the same connect sequence.
    connect(setPage_.Button11, &QPushButton::clicked, this, guarded([this] { Button11Click(); }));
    tree->onDoubleClick = guarded([this] { dlDblClick(); });
    connect(Verzeichniswiederherstellen1, &QAction::triggered, this,
            guarded([this] { Verzeichniswiederherstellen1Click(); }));
    connect(Verzeichnislschen1, &QAction::triggered, this, guarded([this] { Verzeichnislschen1Click(); }));
    connect(dieseDateiherunterladen1, &QAction::triggered, this, guarded([this] { dieseDateiherunterladen1Click(); }));
    connect(diesedateiherunterladenundtempffnen1, &QAction::triggered, this,
            guarded([this] { diesedateiherunterladenundtempffnen1Click(); }));
    connect(lschen1, &QAction::triggered, this, guarded([this] { lschen1Click(); }));

    forwardClientReports();
}

void RemotePage::forwardClientReports()
{
    const auto onPageThread = [this](auto call) { QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection); };
    FtpClient& client = IdFTP1.client;
    client.onStatus = [this, onPageThread](const QString& text) { onPageThread([this, text] { IdFTP1Status(text); }); };
    client.onWorkBegin = [this, onPageThread](qint64 expected) {
        {
            const std::lock_guard lock(workMutex_);
            work_ = Work{};
        }
        onPageThread([this, expected] { IdFTP1WorkBegin(expected); });
    };
    // The library reports after every piece of data; a few reports a second are enough to see,
    // and the last one before the end.
    client.onWork = [this, onPageThread](qint64 count) {
        {
            const std::lock_guard lock(workMutex_);
            work_.count = count;
            if (work_.sinceShown.isValid() && work_.sinceShown.elapsed() < 40)
                return;
            work_.sinceShown.start();
            work_.shown = count;
        }
        onPageThread([this, count] { IdFTP1Work(count); });
    };
    client.onWorkEnd = [this, onPageThread] {
        qint64 unshown = -1;
        {
            const std::lock_guard lock(workMutex_);
            if (work_.count != work_.shown)
                unshown = work_.count;
            work_ = Work{};
        }
        if (unshown >= 0)
            onPageThread([this, unshown] { IdFTP1Work(unshown); });
        onPageThread([this] { IdFTP1WorkEnd(); });
    };
}

}  // namespace quorbin::app
