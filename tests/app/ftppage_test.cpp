// The page "FTP-Ütra" and "Verbindung testen" against a real FTP/FTPS server on 127.0.0.1.
#include "app/backupsetpage.h"
#include "app/directoryedit.h"
#include "app/jobrunner.h"
#include "app/pagecontrol.h"
#include "app/radiogroup.h"
#include "app/remotegrid.h"
#include "app/remotepage.h"
#include "app/remotetree.h"
#include "app/remotetreedialog.h"
#include "app/toolcontext.h"
#include "app/tquorbin.h"
#include "engine/tempfiles.h"
#include "fixtures/cli.h"
#include "fixtures/dirservice.h"
#include "fixtures/ftpserver.h"
#include "fixtures/sandbox.h"
#include "fixtures/scripteduser.h"
#include "fixtures/storewriter.h"
#include "platform/winpath.h"
#include "remote/remotebrowser.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include "qstringprinter.h"

#include <gtest/gtest.h>

namespace quorbin::app {
namespace {

using test::FtpServer;
using test::FtpServerKind;
using test::FtpServerOptions;

const QString kKey = QString::fromUtf16(u"Schlüssel 1");
// A number text with the user's decimal separator in place of ".".
QString local(QString text) { return text.replace(u'.', QLocale::system().decimalPoint()); }

const QString kStamp = QStringLiteral(R"(^\d\d\.\d\d\.\d{4}( \d\d:\d\d:\d\d)?)");

class FtpPageTest : public test::SandboxTest {
protected:
    void SetUp() override
    {
        SandboxTest::SetUp();
        QDir().mkpath(host("ftp/private"));
    }
    void TearDown() override
    {
        window.reset();  // the client says QUIT while the server still listens
        server.reset();
        SandboxTest::TearDown();
    }

    // The window with the page "Sichern" pointing at the test server, as a loaded set shows it.
    Tquorbin& start(FtpServerKind kind = FtpServerKind::Tls, FtpServerOptions options = {})
    {
        server = std::make_unique<FtpServer>(kind, host("ftp"), options);
        window = std::make_unique<Tquorbin>(QString());
        Tquorbin& w = *window;
        w.setPage->EFTPHost->setText(server->host());
        w.setPage->EFTPPort->setText(QString::number(server->port()));
        w.setPage->EFTPUsername->setText(server->user());
        w.setPage->EFTPpassw->setText(server->password());
        w.setPage->eVerzeichnis->setText("DS");
        w.setPage->EBasis->setText("private/");
        w.setPage->CBPassive->setChecked(true);
        w.setPage->MitSSL->setChecked(kind == FtpServerKind::Tls);
        w.setPage->MitVZ->setChecked(false);
        w.setPage->eschlussel->setText(kKey);
        w.ftp->setCurrentIndex(Tquorbin::FtpPage);
        w.show();  // for clicks on the tree and the grid
        return w;
    }

    void putRemote(const QString& relative, const QByteArray& bytes) const { test::putServedFile(host("ftp"), relative, bytes); }
    bool remoteExists(const QString& relative) const { return QFileInfo::exists(host("ftp/" + relative)); }

    QStringList logLines() const { return window->Memo2->toPlainText().split(u'\n', Qt::SkipEmptyParts); }

    // Column 1 of the file rows, in listing order.
    QStringList gridNames() const
    {
        QStringList names;
        for (int row = 1; row < kRemoteGridRows && !remoteGridText(window->remotePage->Vvzo, row, 1).isEmpty(); ++row)
            names << remoteGridText(window->remotePage->Vvzo, row, 1);
        return names;
    }
    int gridRowOf(const QString& name) const
    {
        for (int row = 1; row < kRemoteGridRows; ++row) {
            if (remoteGridText(window->remotePage->Vvzo, row, 1) == name)
                return row;
        }
        return -1;
    }
    // The current cell, as a left click on the file's row puts it.
    void selectFile(const QString& name)
    {
        const int row = gridRowOf(name);
        ASSERT_GT(row, 0) << qPrintable(name);
        window->remotePage->Vvzo->setCurrentCell(row - 1, 1);
    }

    static QStringList texts(const QList<QTreeWidgetItem*>& nodes)
    {
        QStringList result;
        for (const QTreeWidgetItem* node : nodes)
            result << node->text(0);
        result.sort();
        return result;
    }
    QStringList topNodes() const
    {
        QList<QTreeWidgetItem*> nodes;
        for (int i = 0; i < window->remotePage->dl->topLevelItemCount(); ++i)
            nodes << window->remotePage->dl->topLevelItem(i);
        return texts(nodes);
    }
    static QStringList children(const QTreeWidgetItem* node)
    {
        QList<QTreeWidgetItem*> nodes;
        for (int i = 0; i < node->childCount(); ++i)
            nodes << node->child(i);
        return texts(nodes);
    }
    static QTreeWidgetItem* child(const QTreeWidgetItem* node, const QString& text)
    {
        for (int i = 0; i < node->childCount(); ++i) {
            if (node->child(i)->text(0) == text)
                return node->child(i);
        }
        return nullptr;
    }
    QTreeWidgetItem* topNode(const QString& text) const
    {
        const auto found = window->remotePage->dl->findItems(text, Qt::MatchExactly);
        return found.value(0, nullptr);
    }
    void doubleClick(QTreeWidgetItem* node)
    {
        QWidget* viewport = window->remotePage->dl->viewport();
        const QPoint at = node ? window->remotePage->dl->visualItemRect(node).center() : QPoint(viewport->width() / 2, viewport->height() - 5);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
        settle();
    }
    // Waits for the job the last command started.
    void settle() const { window->jobs().waitForIdle(); }

    static QString temp(const QString& name) { return TempDirectory() + name; }

    test::ScriptedUser user;
    std::unique_ptr<FtpServer> server;
    std::unique_ptr<Tquorbin> window;
};

TEST_F(FtpPageTest, ThePageBeforeAnyConnection)
{
    window = std::make_unique<Tquorbin>(QString());
    Tquorbin& w = *window;

    w.ftp->setCurrentIndex(Tquorbin::FtpPage);
    w.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(w.remotePage->dl->width(), 207);
    EXPECT_EQ(w.remotePage->Vvzo->height(), 298);
    EXPECT_EQ(w.remotePage->Button4->height(), 20);
    EXPECT_EQ(w.remotePage->Button4->text(), "FTP-Verbindung herstellen");
    EXPECT_EQ(w.remotePage->Button9->text(), "FTP-Verbindung trennen");
    EXPECT_EQ(w.remotePage->GroupBox6->title(), "FTP-Verzeichnis");
    EXPECT_EQ(w.remotePage->Vvzo->columnCount(), 8);
    EXPECT_EQ(w.remotePage->Vvzo->rowCount() + 1, kRemoteGridRows);  // and the header row
    QList<int> widths;
    for (int column = 0; column < 8; ++column)
        widths << w.remotePage->Vvzo->columnWidth(column);
    EXPECT_EQ(widths, (QList<int>{0, 187, 75, 91, 186, 138, 0, 0}));
    EXPECT_EQ(w.remotePage->Vvzo->rowHeight(1), 15);
    EXPECT_EQ(w.remotePage->Vvzo->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(w.remotePage->Vvzo->showGrid());
    EXPECT_EQ(w.remotePage->dl->topLevelItemCount(), 0);
    EXPECT_TRUE(w.remotePage->Memo1->toPlainText().isEmpty());
    EXPECT_FALSE(w.remotePage->Memo1->isReadOnly());
    QStringList nodeEntries;
    for (const QAction* action : w.remotePage->dlpopup->actions())
        nodeEntries << action->text();
    EXPECT_EQ(nodeEntries, (QStringList{"Verzeichnis wiederherstellen…", "Verzeichnis löschen"}));
    QStringList entries;
    for (const QAction* action : w.remotePage->vzopopup->actions())
        entries << action->text();
    EXPECT_EQ(entries, (QStringList{"diese Datei herunterladen", "diese datei herunterladen und temp. öffnen", "löschen"}));
    EXPECT_EQ(toolContext().ftp, &w.remotePage->IdFTP1);
    EXPECT_EQ(toolContext().remoteTree, w.remotePage->dl);
    EXPECT_EQ(toolContext().remoteGrid, w.remotePage->Vvzo);
}

TEST_F(FtpPageTest, TheClientsProgressGoesToTheBottomPanel)
{
    window = std::make_unique<Tquorbin>(QString());
    Tquorbin& w = *window;
    FtpClient& client = w.remotePage->IdFTP1.client;
    // The client reports on its job's thread; the window shows it when its events run.
    const auto shown = [] { QCoreApplication::sendPostedEvents(); };

    client.onStatus("Verbunden");
    shown();
    EXPECT_EQ(w.sbPanel0->text(), "Verbunden");

    // A transfer that announced nothing counts its bytes against one.
    client.onWorkBegin(0);
    client.onWork(512);
    shown();
    EXPECT_EQ(w.remotePage->IdFTP1.BytesToTransfer, 1u);
    EXPECT_EQ(w.pro->text(), local("51200.00 %"));
    EXPECT_EQ(w.total->text(), local("0.500kB von 0.001"));

    w.remotePage->IdFTP1.BytesToTransfer = 2048;  // from SIZE, as the download commands set it
    client.onWorkBegin(0);
    client.onWork(1024);
    shown();
    EXPECT_EQ(w.pro->text(), local("50.00 %"));
    EXPECT_EQ(w.total->text(), local("1.000kB von 2.000"));
    EXPECT_EQ(w.pb->maximum(), 2048);
    EXPECT_EQ(w.pb->value(), 1024);

    client.onWorkEnd();
    shown();
    EXPECT_EQ(w.pb->value(), 0);
    EXPECT_EQ(w.pro->text(), "");
    EXPECT_EQ(w.total->text(), "");
}

TEST_F(FtpPageTest, VerbindungTestenConnectsWithTheFieldsOfThePageSichern)
{
    Tquorbin& w = start();
    w.setPage->Button11->click();
    settle();

    EXPECT_TRUE(w.remotePage->IdFTP1.client.Connected());
    EXPECT_TRUE(w.remotePage->IdFTP1.client.tls());
    EXPECT_EQ(w.remotePage->IdFTP1.FtpBasePath, "/private/");
    EXPECT_EQ(w.sbPanel0->text(), "verbunden mit: 127.0.0.1");
    const QStringList log = logLines();
    ASSERT_EQ(log.size(), 3) << w.Memo2->toPlainText().toStdString();
    EXPECT_TRUE(log[0].contains(QRegularExpression(kStamp + " OHNE Verzeichnisdienst$"))) << log[0].toStdString();
    EXPECT_EQ(log[1], QString("Neues Zertifikat von 127.0.0.1:%1 gespeichert (SHA-256 %2); ein anderes wird künftig "
                              "abgelehnt.")
                          .arg(server->port())
                          .arg(test::certificateFingerprint(test::testCertificate())));
    EXPECT_TRUE(log[2].contains(QRegularExpression("^Zeitdifferenz: 00:00:0[0-2]$"))) << log[2].toStdString();
    EXPECT_TRUE(user.messages.isEmpty());
    EXPECT_EQ(w.remotePage->dl->topLevelItemCount(), 0);  // testing lists nothing
}

TEST_F(FtpPageTest, APortTextThatIsNoNumberReachesTheErrorReport)
{
    window = std::make_unique<Tquorbin>(QString());
    window->setPage->EFTPPort->setText("21x");
    window->setPage->Button11->click();
    settle();
    EXPECT_EQ(user.messages, QStringList{"'21x' ist kein gültiger Integerwert"});
    EXPECT_FALSE(window->remotePage->IdFTP1.client.Connected());
}

TEST_F(FtpPageTest, VerbindungTestenAsksTheDirectoryServiceWhenMitVZIsSet)
{
    const QString zip = host("made.zip");
    test::makeZip(zip, {{"aktdir.txt", "DS\\a.txt\r\nDS\\b.txt\r\n"}});
    test::DirService service({"line:VD: 2 Dateien", "put", "line:fertig"}, zip, host("ftp/private/DS/Aktdir.zip"));
    Tquorbin& w = start();
    w.setPage->MitVZ->setChecked(true);
    w.remotePage->VZOptions.port = service.port();
    w.remotePage->VZOptions.idleLimit = 20;  // a service that never answers ends the test in seconds

    w.setPage->Button11->click();
    settle();
    EXPECT_EQ(service.requests(), QList<QByteArray>{"user1DS\r\n"});
    EXPECT_TRUE(w.remotePage->IdFTP1.DirectoryServiceUsed);
    EXPECT_EQ(w.remotePage->IdFTP1.mv, (QStringList{"DS\\a.txt", "DS\\b.txt"}));
    EXPECT_EQ(logLines().last(), "Verzeichnis von DS geladen");
}

TEST_F(FtpPageTest, HerstellenListsTheBasePathIntoGridAndTree)
{
    putRemote("private/b.txt", QByteArray(1536, 'b'));
    putRemote("private/  a.txt", "a");
    putRemote("private/Bericht.doc.00001.nxz", "c");
    QDir().mkpath(host("ftp/private/  Archiv"));
    QDir().mkpath(host("ftp/private/C§Users/Anna"));
    const QDateTime modified(QDate(2018, 4, 19), QTime(14, 3, 12));
    {
        QFile f(host("ftp/private/b.txt"));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(modified, QFileDevice::FileModificationTime));
    }
    Tquorbin& w = start();
    w.remotePage->Button4->click();
    settle();

    EXPECT_EQ(w.remotePage->IdFTP1.client.RetrieveCurrentDir(), "/private");
    QStringList headers;
    QList<int> widths;
    for (int column = 0; column < 8; ++column) {
        headers << remoteGridText(w.remotePage->Vvzo, 0, column);
        widths << w.remotePage->Vvzo->columnWidth(column);
    }
    EXPECT_EQ(headers, (QStringList{"", "Name", "Attribute", "Grösse", "Datum", "DATE", "Zustand", ""}));
    // The design's widths, widened where the listed texts need more (the date with its time).
    const QList<int> design{0, 180, 90, 90, 0, 70, 0, 0};
    for (int column = 0; column < 8; ++column)
        EXPECT_GE(widths[column], design[column]) << column;
    EXPECT_EQ(widths[4], 0);
    EXPECT_GT(widths[5], w.remotePage->Vvzo->fontMetrics().horizontalAdvance(remoteGridText(w.remotePage->Vvzo, 1, 5)))
        << "the date and its time are read whole";
    QStringList names = gridNames();
    names.sort();
    EXPECT_EQ(names, (QStringList{"  a.txt", "Bericht.doc.00001.nxz", "b.txt"}));
    const int row = gridRowOf("b.txt");
    EXPECT_EQ(remoteGridText(w.remotePage->Vvzo, row, 0), "");
    EXPECT_EQ(remoteGridText(w.remotePage->Vvzo, row, 2), "file");
    EXPECT_EQ(remoteGridText(w.remotePage->Vvzo, row, 3), RemoteSizeText(1536));
    EXPECT_EQ(remoteGridText(w.remotePage->Vvzo, row, 4), "");
    EXPECT_EQ(remoteGridText(w.remotePage->Vvzo, row, 5), RemoteDateText(modified.addSecs(-12)));

    EXPECT_EQ(topNodes(), (QStringList{"Archiv", "C§Users"}));
    const QTreeWidgetItem* marked = topNode("C§Users");
    EXPECT_EQ(marked->data(0, kImageIndexRole), 2);
    EXPECT_EQ(marked->data(0, kSelectedIndexRole), 3);
    EXPECT_FALSE(topNode("Archiv")->data(0, kImageIndexRole).isValid());
    EXPECT_EQ(marked->childCount(), 0);  // below a node only once it is opened
    EXPECT_TRUE(user.messages.isEmpty());
}

TEST_F(FtpPageTest, WithoutAReadableListingOnlyTheHeadersShow)
{
    putRemote("private/a.txt", "a");
    QDir().mkpath(host("ftp/private/A"));
    Tquorbin& w = start(FtpServerKind::NoMlsd, {.unreadableListing = true});
    w.remotePage->Button4->click();
    settle();
    EXPECT_EQ(remoteGridText(w.remotePage->Vvzo, 0, 1), "Name");
    EXPECT_TRUE(gridNames().isEmpty());
    EXPECT_EQ(w.remotePage->dl->topLevelItemCount(), 0);
    EXPECT_TRUE(user.messages.isEmpty());
}

TEST_F(FtpPageTest, WithTlsRequiredInQuorbinIniAServerWithoutTlsIsNotLoggedInto)
{
    writeFile(platform::windowsDirectory() + "\\quorbin.ini", "[MF]\r\nNURSSL=1\r\n");
    Tquorbin& w = start(FtpServerKind::Plain);
    w.remotePage->Button4->click();
    settle();
    EXPECT_EQ(server->loginAttempts(), 0) << "the password never goes out in clear";
    const QString shown = (user.messages + logLines()).join('\n');
    EXPECT_TRUE(shown.contains("Der Server lehnt TLS ab")) << qPrintable(shown);
    EXPECT_EQ(gridNames(), QStringList());
}

TEST_F(FtpPageTest, ADoubleClickOpensTheNodeAndListsItsDirectoryBelowIt)
{
    putRemote("private/oben.txt", "o");
    putRemote("private/A/x.txt", "x");
    QDir().mkpath(host("ftp/private/A/B/Tief"));
    QDir().mkpath(host("ftp/private/A/C"));
    Tquorbin& w = start();
    w.remotePage->Button4->click();
    settle();
    w.Memo2->clear();

    doubleClick(topNode("A"));
    EXPECT_EQ(logLines(), QStringList{"chdir /private/"});
    EXPECT_EQ(w.remotePage->IdFTP1.client.RetrieveCurrentDir(), "/private/A");
    EXPECT_EQ(gridNames(), QStringList{"x.txt"});
    QTreeWidgetItem* a = topNode("A");
    EXPECT_EQ(children(a), (QStringList{"B", "C"}));
    EXPECT_TRUE(a->isExpanded());

    // Opened again, the node's folders are listed anew, not added twice.
    doubleClick(a);
    EXPECT_EQ(children(a), (QStringList{"B", "C"}));

    // Deeper: the walk goes from the base path down the node's whole path.
    doubleClick(child(a, "B"));
    EXPECT_EQ(w.remotePage->IdFTP1.client.RetrieveCurrentDir(), "/private/A/B");
    EXPECT_TRUE(gridNames().isEmpty());

    // Beside the nodes, with none selected: the current directory's folders join the top level.
    w.remotePage->dl->clearSelection();
    doubleClick(nullptr);
    EXPECT_EQ(topNodes(), (QStringList{"A", "Tief"}));
}

TEST_F(FtpPageTest, DownloadsAStoredFileDecipheredAndExpandedAndAPlainFileAsItIs)
{
    const QByteArray stored = test::mixedContent(300000, 7);
    test::writeStoredFile(platform::toWindowsPath(host("ftp/private/A/Bericht.doc.00003.nxz")), stored, kKey);
    const QByteArray plain = test::mixedContent(100000, 8);
    putRemote("private/A/Liste.txt", plain);
    Tquorbin& w = start();
    w.remotePage->Button4->click();
    settle();
    doubleClick(topNode("A"));
    QStringList percents;
    QObject::connect(w.pro, &QLineEdit::textChanged, [&](const QString& text) { percents << text; });

    const struct {
        const char* remote;
        const char* local;
        const QByteArray& content;
    } cases[] = {{"Bericht.doc.00003.nxz", "§tmp.doc", stored}, {"Liste.txt", "§tmp.txt", plain}};
    for (const auto& c : cases) {
        user.messages.clear();
        percents.clear();
        selectFile(c.remote);
        w.remotePage->dieseDateiherunterladen1->trigger();
        settle();
        const QString result = temp(QString::fromUtf8(c.local));
        EXPECT_EQ(readFile(result), c.content) << c.remote;
        EXPECT_EQ(user.messages, QStringList{"Datei wurde nach " + result + " heruntergeladen"});
        // The progress of the transfer, to its end, then the fields are emptied.
        ASSERT_GE(percents.size(), 2) << c.remote;
        EXPECT_EQ(percents[percents.size() - 2], local("100.00 %"));
        EXPECT_EQ(w.pro->text(), "");
        EXPECT_EQ(w.total->text(), "");
        EXPECT_EQ(w.pb->value(), 0);
    }
    EXPECT_EQ(user.pointer(), Pointer::Normal);
}

TEST_F(FtpPageTest, DownloadAndOpenHandsTheResultToTheDesktop)
{
    const QByteArray content = test::mixedContent(5000, 3);
    test::writeStoredFile(platform::toWindowsPath(host("ftp/private/A/Bild.png.00002.nxz")), content, kKey);
    Tquorbin& w = start();
    w.remotePage->Button4->click();
    settle();
    doubleClick(topNode("A"));
    selectFile("Bild.png.00002.nxz");

    w.remotePage->diesedateiherunterladenundtempffnen1->trigger();
    settle();
    EXPECT_EQ(user.opened, QStringList{platform::toHostPath(temp("§tmp.png"))});
    EXPECT_EQ(readFile(temp("§tmp.png")), content);
    EXPECT_TRUE(user.messages.isEmpty());
}

TEST_F(FtpPageTest, TheGridMenuActsOnTheRowUnderThePointer)
{
    putRemote("private/A/erste.txt", "1");
    putRemote("private/A/zweite.txt", "2");
    Tquorbin& w = start();
    w.remotePage->Button4->click();
    settle();
    doubleClick(topNode("A"));
    selectFile("erste.txt");

    const QRect row = w.remotePage->Vvzo->visualItemRect(w.remotePage->Vvzo->item(gridRowOf("zweite.txt") - 1, 1));
    QTest::mouseClick(w.remotePage->Vvzo->viewport(), Qt::RightButton, {}, row.center());
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, row.center(), w.remotePage->Vvzo->viewport()->mapToGlobal(row.center()));
    QCoreApplication::sendEvent(w.remotePage->Vvzo->viewport(), &menuEvent);
    EXPECT_TRUE(w.remotePage->vzopopup->isVisible());
    w.remotePage->vzopopup->close();
    ASSERT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(w.remotePage->SelectedRemoteFile(), "zweite.txt");
    w.remotePage->diesedateiherunterladenundtempffnen1->trigger();
    settle();
    EXPECT_EQ(readFile(temp("§tmp.txt")), "2");
}

TEST_F(FtpPageTest, LoeschenAsksNamingTheRemoteFileAndOnlyJaDeletes)
{
    putRemote("private/A/weg.txt", "x");
    putRemote("private/A/  bleibt.txt", "y");
    Tquorbin& w = start();
    w.remotePage->Button4->click();
    settle();
    doubleClick(topNode("A"));
    selectFile("weg.txt");

    w.remotePage->dl->clearSelection();  // without a selected node the grid's commands do nothing
    w.remotePage->lschen1->trigger();
    settle();
    EXPECT_TRUE(user.questions.isEmpty());
    EXPECT_TRUE(remoteExists("private/A/weg.txt"));

    w.remotePage->dl->setCurrentItem(topNode("A"));
    for (const Answer answer : {Answer::No, Answer::Cancel, Answer::Yes}) {
        SCOPED_TRACE(int(answer));
        user.questions.clear();
        user.answers = {answer};
        w.remotePage->lschen1->trigger();
        settle();
        ASSERT_EQ(user.questions.size(), 1);
        EXPECT_EQ(user.questions[0].text, "Datei /private/A/weg.txt auf dem FTP-Server löschen?");
        EXPECT_EQ(user.questions[0].buttons, Buttons::NoYes);  // "Nein" the default
        EXPECT_EQ(remoteExists("private/A/weg.txt"), answer != Answer::Yes);
    }
    EXPECT_EQ(gridNames(), QStringList{"  bleibt.txt"});
    EXPECT_TRUE(user.messages.isEmpty());

    // The commands take the name without its leading blanks.
    selectFile("  bleibt.txt");
    EXPECT_EQ(w.remotePage->SelectedRemoteFile(), "bleibt.txt");
}

TEST_F(FtpPageTest, VerzeichnisLoeschenAsksThenRemovesTheNodesDirectoryOrReportsWhyNot)
{
    QDir().mkpath(host("ftp/private/A/Alt"));
    QDir().mkpath(host("ftp/private/B/Alt"));
    putRemote("private/A/Voll/datei.txt", "x");
    Tquorbin& w = start();
    w.remotePage->Button4->click();
    settle();
    QTreeWidgetItem* a = topNode("A");
    doubleClick(a);
    EXPECT_EQ(children(a), (QStringList{"Alt", "Voll"}));

    w.remotePage->dl->setCurrentItem(child(a, "Alt"));
    user.answers = {Answer::No};
    w.remotePage->Verzeichnislschen1->trigger();
    settle();
    ASSERT_EQ(user.questions.size(), 1);
    EXPECT_EQ(user.questions[0].text, "Verzeichnis /private/A/Alt auf dem FTP-Server löschen?");
    EXPECT_EQ(user.questions[0].buttons, Buttons::NoYes);
    EXPECT_TRUE(remoteExists("private/A/Alt"));
    EXPECT_EQ(children(a), (QStringList{"Alt", "Voll"}));

    user.answers = {Answer::Yes};
    w.remotePage->Verzeichnislschen1->trigger();
    settle();
    EXPECT_FALSE(remoteExists("private/A/Alt"));
    EXPECT_TRUE(remoteExists("private/B/Alt"));
    EXPECT_EQ(children(a), QStringList{"Voll"});
    EXPECT_TRUE(user.messages.isEmpty());

    w.remotePage->dl->setCurrentItem(child(a, "Voll"));
    user.answers = {Answer::Yes};
    w.remotePage->Verzeichnislschen1->trigger();
    settle();
    ASSERT_EQ(user.messages.size(), 1);
    EXPECT_FALSE(user.messages[0].isEmpty());
    EXPECT_TRUE(remoteExists("private/A/Voll/datei.txt"));
    EXPECT_EQ(children(a), QStringList{"Voll"});
}

TEST_F(FtpPageTest, TrennenClosesTheSessionAndEmptiesGridAndTree)
{
    putRemote("private/a.txt", "a");
    QDir().mkpath(host("ftp/private/A"));
    Tquorbin& w = start();
    w.remotePage->Vvzo->setHorizontalHeaderItem(7, new QTableWidgetItem("sieben"));
    w.remotePage->Button4->click();
    settle();
    ASSERT_EQ(gridNames(), QStringList{"a.txt"});

    w.remotePage->Button9->click();
    settle();

    settle();
    EXPECT_FALSE(w.remotePage->IdFTP1.client.Connected());
    EXPECT_EQ(w.sbPanel0->text(), "Verbindung getrennt");
    EXPECT_EQ(w.remotePage->dl->topLevelItemCount(), 0);
    for (int row = 0; row < kRemoteGridRows; ++row) {
        for (int column = 0; column < 7; ++column)
            ASSERT_EQ(remoteGridText(w.remotePage->Vvzo, row, column), "") << row << "," << column;
    }
    EXPECT_EQ(remoteGridText(w.remotePage->Vvzo, 0, 7), "sieben");  // column 7 is not touched

    // Once more without a connection, and then connecting again works.
    w.remotePage->Button9->click();
    settle();
    EXPECT_EQ(w.sbPanel0->text(), "Verbindung getrennt");
    w.remotePage->Button4->click();
    settle();
    EXPECT_EQ(gridNames(), QStringList{"a.txt"});
    EXPECT_TRUE(user.messages.isEmpty());
}

TEST_F(FtpPageTest, WithTlsASecondConnectIsRefusedUntilDisconnected)
{
    putRemote("private/a.txt", "a");
    Tquorbin& w = start(FtpServerKind::Tls);
    w.remotePage->Button4->click();
    settle();
    ASSERT_TRUE(user.messages.isEmpty());

    w.remotePage->Button4->click();
    settle();
    EXPECT_EQ(user.messages, QStringList{"Dieser Wert kann nicht gesetzt werden, während der Client verbunden ist."});
    EXPECT_EQ(gridNames(), QStringList{"a.txt"});

    w.remotePage->Button9->click();
    settle();

    settle();
    w.remotePage->Button4->click();
    settle();
    EXPECT_EQ(user.messages.size(), 1);
    EXPECT_TRUE(w.remotePage->IdFTP1.client.Connected());
    EXPECT_EQ(gridNames(), QStringList{"a.txt"});
}

TEST_F(FtpPageTest, AnUnreachableServer)
{
    Tquorbin& w = start(FtpServerKind::Plain);
    server.reset();  // nothing listens on its port any more
    // Testing fails quietly, as before, but the status says so instead of "verbunden".
    w.setPage->Button11->click();
    settle();
    EXPECT_TRUE(w.sbPanel0->text().startsWith("keine Verbindung mit: 127.0.0.1: ")) << qPrintable(w.sbPanel0->text());
    EXPECT_TRUE(user.messages.isEmpty());

    // Herstellen cannot enter the base path: its error is shown and the view stays empty.
    w.remotePage->Button4->click();
    settle();
    EXPECT_TRUE(w.sbPanel0->text().startsWith("Fehler: ")) << qPrintable(w.sbPanel0->text());
    EXPECT_EQ(user.messages.size(), 1);
    EXPECT_EQ(remoteGridText(w.remotePage->Vvzo, 0, 1), "");
    EXPECT_EQ(w.remotePage->dl->topLevelItemCount(), 0);
}

TEST_F(FtpPageTest, AThrottledDownloadLeavesTheWindowAliveAndAktionAbbrechenStopsIt)
{
    putRemote("private/A/gross.bin", QByteArray(4 * 1024 * 1024, 'g'));
    putRemote("private/A/klein.txt", "klein");
    Tquorbin& w = start(FtpServerKind::Plain, {.bytesPerSecond = 256 * 1024});
    w.remotePage->Button4->click();
    settle();
    doubleClick(topNode("A"));
    selectFile("gross.bin");

    QElapsedTimer timer;
    timer.start();
    w.remotePage->dieseDateiherunterladen1->trigger();
    // The window's thread ticks on while the download waits on the network.
    qint64 last = 0;
    qint64 largestGap = 0;
    const bool underWay = QTest::qWaitFor(
        [&] {
            largestGap = std::max(largestGap, timer.elapsed() - last);
            last = timer.elapsed();
            return timer.elapsed() > 1500 && !w.total->text().isEmpty();
        },
        10000);
    ASSERT_TRUE(underWay);
    EXPECT_LT(largestGap, 500);
    const QString shownWhenCancelled = w.total->text();
    w.Aktionabbrechen1->trigger();
    settle();

    EXPECT_LT(timer.elapsed(), 8000);  // the whole file would take 16 s
    EXPECT_TRUE(shownWhenCancelled.endsWith(local("kB von 4096.000"))) << shownWhenCancelled.toStdString();
    ASSERT_EQ(user.messages.size(), 1);
    EXPECT_TRUE(user.messages[0].startsWith("Die Datei gross.bin konnte nicht heruntergeladen werden.")) << user.messages[0].toStdString();
    EXPECT_FALSE(exists(temp("§tmp.bin")));
    EXPECT_EQ(w.pro->text(), "");
    EXPECT_EQ(w.pb->value(), 0);
    EXPECT_EQ(w.sbPanel0->text(), "Übertragung abgebrochen");

    // The session goes on, and no cancel is left over for the next transfer.
    user.messages.clear();
    selectFile("klein.txt");
    w.remotePage->dieseDateiherunterladen1->trigger();
    settle();
    EXPECT_EQ(readFile(temp("§tmp.txt")), "klein");
}

}  // namespace
}  // namespace quorbin::app

namespace quorbin::app {
namespace {

TEST_F(FtpPageTest, ClosingTheWindowCutsARunningDownload)
{
    putRemote("private/A/gross.bin", QByteArray(4 * 1024 * 1024, 'g'));
    Tquorbin& w = start(FtpServerKind::Plain, {.bytesPerSecond = 256 * 1024});
    w.remotePage->Button4->click();
    settle();
    doubleClick(topNode("A"));
    selectFile("gross.bin");

    QElapsedTimer timer;
    timer.start();
    w.remotePage->dieseDateiherunterladen1->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.total->text().isEmpty(); }, 10000));
    w.close();
    settle();

    EXPECT_LT(timer.elapsed(), 8000);  // the whole file would take 16 s
    EXPECT_FALSE(exists(temp("§tmp.bin")));
}

}  // namespace
}  // namespace quorbin::app

namespace quorbin::app {
namespace {

TEST_F(FtpPageTest, ASecondDownloadWhileOneRunsIsRefusedAndTheFirstFileStays)
{
    putRemote("private/A/mittel.bin", QByteArray(512 * 1024, 'm'));
    putRemote("private/A/other.bin", "other");
    Tquorbin& w = start(FtpServerKind::Plain, {.bytesPerSecond = 512 * 1024});
    w.remotePage->Button4->click();
    settle();
    doubleClick(topNode("A"));
    selectFile("mittel.bin");

    w.remotePage->dieseDateiherunterladen1->trigger();
    selectFile("other.bin");
    w.remotePage->dieseDateiherunterladen1->trigger();
    EXPECT_EQ(w.sbPanel0->text(), "Es läuft bereits eine Aktion. Bitte warten oder \"Aktion abbrechen\" wählen.");
    settle();

    EXPECT_EQ(readFile(temp("§tmp.bin")), QByteArray(512 * 1024, 'm'));
    EXPECT_EQ(user.messages, QStringList{"Datei wurde nach " + temp("§tmp.bin") + " heruntergeladen"})
        << "nothing modal stopped the first one";
}

}  // namespace
}  // namespace quorbin::app

namespace quorbin::app {
namespace {

// "Verzeichnis wiederherstellen…" on a node of the mirror of a small store; the set's target
// folder (edZiel) is the served folder below the base path.
class FtpTreeRestoreTest : public FtpPageTest {
protected:
    QString store() const { return platform::toWindowsPath(host("ftp/private")); }
    QString docs() const { return store() + "\\Set1\\C$\\Docs"; }

    void writeTree() const
    {
        const QDateTime at(QDate(2018, 4, 12), QTime(10, 0, 2));
        test::writeStoredFile(docs() + "\\a.txt.00001.nxz", "eins", kKey, at.addDays(-2));
        test::writeStoredFile(docs() + "\\a.txt.00002.nxz", test::mixedContent(300000, 2), kKey, at);
        test::writeStoredFile(docs() + "\\Sub\\b.txt.00001.nxz", test::mixedContent(50000, 3), kKey, at);
        putRemote("private/Set1/C$/Docs/liesmich.txt", "plain");
    }

    // Connected, with the node of the remote directory opened and selected.
    Tquorbin& openNode(const QStringList& path, FtpServerKind kind = FtpServerKind::Tls, FtpServerOptions options = {})
    {
        Tquorbin& w = start(kind, options);
        w.setPage->edZiel->setText(store());
        w.remotePage->Button4->click();
        settle();
        QTreeWidgetItem* node = topNode(path.first());
        for (const QString& step : path.mid(1)) {
            doubleClick(node);
            node = child(node, step);
        }
        EXPECT_NE(node, nullptr) << qPrintable(path.join('/'));
        w.remotePage->dl->setCurrentItem(node);
        return w;
    }

    // The command with the dialog filled as told; after OK a refused dialog is cancelled.
    // True when the dialog was still open after OK.
    bool restoreTree(int art, const QString& zieldir, int version = kNewestVersion)
    {
        bool stayedOpen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<RemoteTreeDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialogTitle = dialog->remoteLabel->text();
            dialog->Art->setItemIndex(art);
            dialog->Zieldir->setText(zieldir);
            dialog->Version->setItemIndex(version);
            dialog->buttons->button(QDialogButtonBox::Ok)->click();
            stayedOpen = dialog->isVisible();
            if (stayedOpen)
                dialog->reject();
        });
        window->remotePage->Verzeichniswiederherstellen1->trigger();
        return stayedOpen;
    }

    QString dialogTitle;
};

TEST_F(FtpTreeRestoreTest, RestoresTheNodesTreeWithTheLinesOfALocalDir)
{
    writeTree();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QUORBIN_KEY", kKey);
    const test::CliResult local = test::runCli({"dir", docs(), "--to", "E:\\Lokal"}, environment);
    ASSERT_EQ(local.exitCode, 0) << qPrintable(local.err) << qPrintable(local.out);
    Tquorbin& w = openNode({"Set1", "C$", "Docs"});
    const QString listed = w.remotePage->IdFTP1.client.RetrieveCurrentDir();

    EXPECT_FALSE(restoreTree(1, "E:\\Fern"));
    settle();
    EXPECT_EQ(dialogTitle, "FTP-Verzeichnis: /private/Set1/C$/Docs");
    EXPECT_EQ(logLines(), QString(local.out)
                              .replace("E:\\Lokal", "E:\\Fern")
                              .replace(host("e/Lokal"), host("e/Fern"))
                              .split(u'\n', Qt::SkipEmptyParts));
    EXPECT_EQ(snapshot("E:\\Fern"), snapshot("E:\\Lokal"));
    EXPECT_EQ(readFile("E:\\Fern\\Sub\\b.txt"), test::mixedContent(50000, 3));
    EXPECT_EQ(w.sbPanel0->text(), "abgeschlossen; 2 Dateien wiederhergestellt nach " + host("e/Fern"));
    EXPECT_TRUE(user.messages.isEmpty()) << qPrintable(user.messages.join('\n'));
    // The page's own session stays where it was, for the next listing.
    EXPECT_EQ(w.remotePage->IdFTP1.client.RetrieveCurrentDir(), listed);
}

TEST_F(FtpTreeRestoreTest, RefusedTargetsAreToldBeforeAnythingConnects)
{
    writeTree();
    test::writeStoredFile(store() + "\\Set1\\Z$\\srv\\z.txt.00001.nxz", "z", kKey);
    const struct {
        QStringList node;
        int art;
        QString zieldir;
        QString message;
    } cases[] = {
        {{"Set1", "C$", "Docs"}, 1, "", "Bitte zuerst das neue Startverzeichnis wählen!"},
        {{"Set1", "C$", "Docs"}, 1, "Neu", "Kein vollständiger Pfad: Neu\nBitte mit Laufwerk (C:\\…) oder ab / angeben."},
        {{"Set1", "C$", "Docs"}, 1, store() + "\\Set1\\Neu",
         "Das neue Startverzeichnis liegt in der Datensicherung selbst. Bitte neu wählen!"},
        {{"Set1", "Z$", "srv"}, 0, "",
         "Die Dateien gehören auf Laufwerk Z:, das hier das ganze System ist. Bitte ein neues Startverzeichnis wählen "
         "oder das Laufwerk zuordnen (QUORBIN_DRIVES)!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(qPrintable(c.zieldir));
        openNode(c.node);
        const int logins = server->loginAttempts();
        user.messages.clear();
        window->Memo2->clear();
        EXPECT_TRUE(restoreTree(c.art, c.zieldir));
        settle();
        EXPECT_EQ(user.messages, QStringList{c.message});
        EXPECT_EQ(server->loginAttempts(), logins);
        EXPECT_TRUE(logLines().isEmpty());
        window.reset();
        server.reset();
    }
}

TEST_F(FtpTreeRestoreTest, AktionAbbrechenLeavesNoPartialFileAndTheUsersOldFile)
{
    // Older than the user's file: a target with the version's own time would count as restored.
    test::writeStoredFile(docs() + "\\gross.bin.00001.nxz", test::mixedContent(4 * 1024 * 1024, 5), kKey,
                          QDateTime(QDate(2018, 4, 12), QTime(10, 0, 2)));
    writeFile("E:\\Fern\\gross.bin", "the user's old file");
    Tquorbin& w = openNode({"Set1", "C$", "Docs"}, FtpServerKind::Plain, {.bytesPerSecond = 256 * 1024});

    restoreTree(1, "E:\\Fern");
    // Cut in the middle of the file: its new copy has begun beside the old one.
    const auto inFern = [&] { return QDir(host("e/Fern")).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return !test::filesBeingWritten(0, host("e/Fern")).isEmpty(); }, 20000))
        << qPrintable(w.sbPanel0->text() + " / " + w.Memo2->toPlainText() + user.messages.join(" "));
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.pb->value() > 0; }, 10000)) << "the bar moves within the one file";
    w.Aktionabbrechen1->trigger();
    settle();

    EXPECT_EQ(w.sbPanel0->text(), "abgebrochen");
    EXPECT_EQ(readFile("E:\\Fern\\gross.bin"), "the user's old file");
    EXPECT_EQ(inFern(), QStringList{"gross.bin"});
    EXPECT_EQ(logLines().value(0), "start");
    EXPECT_EQ(logLines().last(), "fertig");
}

// A server whose certificate is not the one stored for it: the window asks before it trusts it.
class CertificateQuestionTest : public FtpTreeRestoreTest {
protected:
    QString storeFile() const { return host("config/quorbin/zertifikate.conf"); }
    // What is stored for the test server; the file is written by hand to make it say `fingerprint`.
    void storeFor(const QString& fingerprint) const
    {
        QDir().mkpath(host("config/quorbin"));
        QFile file(storeFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QString("127.0.0.1:%1=%2\n").arg(server->port()).arg(fingerprint).toUtf8());
    }
    QString stored() const
    {
        QFile file(storeFile());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QString prefix = QString("127.0.0.1:%1=").arg(server->port());
        for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
            if (line.startsWith(prefix))
                return line.mid(prefix.size());
        }
        return {};
    }
    void expectOneQuestionNaming(const QString& expected, const QString& offered) const
    {
        ASSERT_EQ(user.questions.size(), 1);
        const test::Question& asked = user.questions.first();
        EXPECT_EQ(asked.caption, "Zertifikat geändert");
        EXPECT_EQ(asked.buttons, Buttons::NoYes);
        EXPECT_TRUE(asked.text.contains(expected) && asked.text.contains(offered)) << qPrintable(asked.text);
    }

    const QString first = test::certificateFingerprint(test::testCertificate());
    const QString second = test::certificateFingerprint(test::secondTestCertificate());
};

TEST_F(CertificateQuestionTest, AConnectMeetingAnotherCertificateAsksAndOnlyJaTrustsIt)
{
    const struct {
        const char* what;
        bool herstellen;  // else "Verbindung testen"
        Answer answer;
    } cases[] = {
        {"Verbindung testen, Ja", false, Answer::Yes},
        {"FTP-Verbindung herstellen, Ja", true, Answer::Yes},
        {"FTP-Verbindung herstellen, Nein", true, Answer::No},
    };
    putRemote("private/a.txt", "a");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Tquorbin& w = start(FtpServerKind::Tls, {.certificate = test::secondTestCertificate()});
        storeFor(first);
        user.questions.clear();
        user.messages.clear();
        user.answers = {c.answer};
        (c.herstellen ? w.remotePage->Button4 : w.setPage->Button11)->click();
        settle();

        expectOneQuestionNaming(first, second);
        const bool trusted = c.answer == Answer::Yes;
        EXPECT_EQ(w.remotePage->IdFTP1.client.Connected(), trusted);
        EXPECT_EQ(server->loginAttempts(), trusted ? 1 : 0);
        EXPECT_EQ(stored(), trusted ? second : first);
        EXPECT_EQ(gridNames(), c.herstellen && trusted ? QStringList{"a.txt"} : QStringList{});
        EXPECT_TRUE(user.messages.isEmpty()) << qPrintable(user.messages.join('\n'));
        window.reset();
        server.reset();
    }
}

TEST_F(CertificateQuestionTest, ATreeRestoreMeetingAnotherCertificateAsksAndOnJaRestores)
{
    writeTree();
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        SCOPED_TRACE(answer == Answer::Yes ? "Ja" : "Nein");
        openNode({"Set1", "C$", "Docs"});
        // Since the page connected, the store names another certificate for the server.
        storeFor(second);
        const int logins = server->loginAttempts();
        user.questions.clear();
        user.answers = {answer};
        window->Memo2->clear();
        EXPECT_FALSE(restoreTree(1, "E:\\Fern"));
        settle();

        expectOneQuestionNaming(second, first);
        if (answer == Answer::No) {
            EXPECT_EQ(server->loginAttempts(), logins);
            EXPECT_FALSE(exists("E:\\Fern\\a.txt"));
            EXPECT_EQ(stored(), second);
        } else {
            EXPECT_EQ(readFile("E:\\Fern\\Sub\\b.txt"), test::mixedContent(50000, 3));
            EXPECT_EQ(logLines().last(), "wiederhergestellt nach: " + host("e/Fern"));
            EXPECT_EQ(stored(), first);
        }
        window.reset();
        server.reset();
    }
}

}  // namespace
}  // namespace quorbin::app
