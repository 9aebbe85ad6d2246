#include "app/backupsetpage.h"
#include "app/tquorbin.h"

#include "app/directoryedit.h"
#include "app/jobrunner.h"
#include "app/pagecontrol.h"
#include "app/storecheck.h"
#include "app/dirrestorepage.h"
#include "app/toolcontext.h"
#include "config/initexts.h"
#include "engine/keycipher.h"
#include "engine/restore.h"
#include "fixtures/sandbox.h"
#include "fixtures/scripteduser.h"
#include "fixtures/storewriter.h"
#include "platform/winpath.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTableWidget>
#include "qstringprinter.h"

#include <gtest/gtest.h>

namespace quorbin::app {
namespace {

const QStringList kFirstSet = {
    "[Ziel]", "Ziel=D:\\Store", "[FTP]", "ftp=1", "ftphost=ftp.buero.invalid", "ftpusername=anna",
    "ftppassw=\"geheim\"", "verzeichnis=Buero", "PORT=2121", "PROXY=proxy.invalid", "PROXYPORT=8021",
    "Basis=privat/", "Passive=$1", "[SCHLÜSSEL]", "SCHLÜSSEL=Schlüssel 1",
};

const QStringList kSecondSet = {
    "[ziel]", "ziel=E:\\Andere", "[schlüssel]", "schlüssel=zwei",
};

class TquorbinTest : public test::SandboxTest {
protected:
    void writeProgramSettings(const QStringList& lines) { writeFile(windowsIni(), test::ansiIni(lines)); }
    static QString windowsIni() { return platform::windowsDirectory() + "\\quorbin.ini"; }

    // What the page "Sichern" shows, field by field.
    static QStringList sichernTexts(const Tquorbin& w)
    {
        return {w.setPage->edZiel->text(),     w.setPage->EFTPHost->text(), w.setPage->EFTPUsername->text(), w.setPage->EFTPpassw->text(),
                w.setPage->eVerzeichnis->text(), w.setPage->EFTPPort->text(), w.setPage->EProxy->text(),       w.setPage->EproxyPort->text(),
                w.setPage->EBasis->text(),     w.setPage->eschlussel->text()};
    }

    test::ScriptedUser user;
};

TEST_F(TquorbinTest, StartsWithoutArgumentOnThePageSichernWithItsInitialTexts)
{
    Tquorbin w{QString()};

    EXPECT_EQ(w.windowTitle(), "quorbin Wiederherstellen");
    EXPECT_EQ(w.setPage->Edit1->text(), QString());
    EXPECT_EQ(sichernTexts(w), (QStringList{"", "ftp.example.invalid", "", "ruxwend", "DS", "21", "", "", "private/", ""}));
    EXPECT_FALSE(w.setPage->MitSSL->isChecked());
    EXPECT_FALSE(w.setPage->MitVZ->isChecked());
    EXPECT_FALSE(w.setPage->CBPassive->isChecked());
    EXPECT_FALSE(w.setPage->cbdebug->isChecked());
    EXPECT_TRUE(w.ftp->isTabVisible(Tquorbin::FtpPage));
    EXPECT_EQ(w.ftp->currentIndex(), Tquorbin::SichernPage);
    EXPECT_EQ(w.Label5->text(), "Sicherungs-Einstellungen");
    EXPECT_EQ(w.setPage->Edit1->toolTip(), "Name des Sicherungssets");
    EXPECT_EQ(w.setPage->eschlussel->echoMode(), QLineEdit::Password);
    EXPECT_EQ(w.setPage->EFTPpassw->echoMode(), QLineEdit::Password);
    for (QWidget* field : QList<QWidget*>{w.setPage->Edit1, w.setPage->edZiel, w.setPage->EFTPHost, w.setPage->EFTPUsername, w.setPage->EFTPpassw,
                                                          w.setPage->eVerzeichnis, w.setPage->EFTPPort, w.setPage->EProxy, w.setPage->EproxyPort, w.setPage->EBasis,
                                                          w.setPage->CBPassive, w.setPage->cbdebug, w.pro, w.total})
        EXPECT_FALSE(field->isEnabled()) << qPrintable(field->objectName());
    for (QWidget* field : QList<QWidget*>{w.setPage->eschlussel, w.setPage->MitSSL, w.setPage->MitVZ, w.setPage->excl, w.setPage->Button11})
        EXPECT_TRUE(field->isEnabled()) << qPrintable(field->objectName());
    EXPECT_TRUE(user.messages.isEmpty());
}

TEST_F(TquorbinTest, ShowsTheSetNameOfTheProgramSettingsUntilASetIsLoaded)
{
    writeProgramSettings({"[MF]", "SetName=Büro-Set", "MITSSL=0", "MITVZ=1"});
    Tquorbin w{QString()};

    EXPECT_EQ(w.setPage->Edit1->text(), "Büro-Set");
    EXPECT_FALSE(w.setPage->MitSSL->isChecked()) << "before a set is loaded both stay clear";
    EXPECT_FALSE(w.setPage->MitVZ->isChecked());
}

TEST_F(TquorbinTest, StartsWithASetArgumentAndShowsEveryField)
{
    writeProgramSettings({"[MF]", "SetName=Büro-Set", "MITSSL=0", "MITVZ=0x1"});
    writeFile("D:\\Sets\\Büro.set", test::ansiIni(kFirstSet));
    Tquorbin w("D:\\Sets\\Büro.set");

    EXPECT_EQ(w.setPage->Edit1->text(), "D:\\Sets\\Büro.set");
    EXPECT_EQ(sichernTexts(w), (QStringList{"D:\\Store", "ftp.buero.invalid", "anna", "geheim", "Buero", "2121",
                                            "proxy.invalid", "8021", "privat/", "Schlüssel 1"}));
    EXPECT_TRUE(w.setPage->CBPassive->isChecked());
    EXPECT_FALSE(w.setPage->MitSSL->isChecked());
    EXPECT_TRUE(w.setPage->MitVZ->isChecked());
    EXPECT_TRUE(w.ftp->isTabVisible(Tquorbin::FtpPage));
    EXPECT_EQ(w.storeDirectory(), "D:\\Store");
    EXPECT_EQ(w.Label5->text(), "Sicherungs-Einstellungen");
}

TEST_F(TquorbinTest, AnArgumentThatNamesNoFileLoadsDefaultsAndStillShows)
{
    Tquorbin w("D:\\Sets\\fehlt.set");

    EXPECT_EQ(w.setPage->Edit1->text(), "D:\\Sets\\fehlt.set");
    EXPECT_EQ(sichernTexts(w), (QStringList{"c:\\Backups", "ftp.example.invalid", "backup", "ruxwend", "", "21", "",
                                            "", "private/", ""}));
    EXPECT_TRUE(w.setPage->MitSSL->isChecked()) << "without quorbin.ini a load ticks MitSSL";
    EXPECT_FALSE(w.setPage->MitVZ->isChecked());
    EXPECT_FALSE(w.ftp->isTabVisible(Tquorbin::FtpPage));
    EXPECT_TRUE(user.messages.isEmpty());
}

TEST_F(TquorbinTest, OpeningASecondSetReplacesEveryFieldAndTheTypedKey)
{
    writeFile("D:\\Sets\\Büro.set", test::ansiIni(kFirstSet));
    writeFile("E:\\Sets\\Zwei.set", test::utf16Ini(kSecondSet));
    Tquorbin w("D:\\Sets\\Büro.set");
    w.setPage->eschlussel->setText("getippt");
    w.ftp->setCurrentIndex(Tquorbin::FtpPage);
    // quorbin.ini is read anew at each load.
    writeProgramSettings({"[MF]", "MITSSL=0", "MITVZ=1"});
    user.dialogChoices << QStringLiteral("E:\\Sets\\Zwei.set");

    w.ffnen1->trigger();

    ASSERT_EQ(user.dialogs.size(), 1);
    EXPECT_EQ(user.dialogs.first().filter, "Datensicherungs-Sets (*.set)|*.set");
    EXPECT_TRUE(user.dialogs.first().mustExist);
    EXPECT_EQ(user.dialogs.first().initialDirectory, QString());
    EXPECT_EQ(w.setPage->Edit1->text(), "E:\\Sets\\Zwei.set");
    EXPECT_EQ(sichernTexts(w), (QStringList{"E:\\Andere", "ftp.example.invalid", "backup", "ruxwend", "", "21", "", "",
                                            "private/", "zwei"}));
    EXPECT_FALSE(w.setPage->CBPassive->isChecked());
    EXPECT_FALSE(w.setPage->MitSSL->isChecked());
    EXPECT_TRUE(w.setPage->MitVZ->isChecked());
    EXPECT_EQ(w.storeDirectory(), "E:\\Andere");
    EXPECT_FALSE(w.ftp->isTabVisible(Tquorbin::FtpPage));
    EXPECT_EQ(w.ftp->currentIndex(), Tquorbin::SichernPage);
    EXPECT_EQ(w.Label5->text(), "Sicherungs-Einstellungen");

    // The FTP set offers the page again; the dialog starts where the last choice was.
    user.dialogChoices << host("d/Sets/Büro.set");
    w.ffnen1->trigger();

    EXPECT_EQ(user.dialogs.at(1).initialDirectory, "E:\\Sets\\");
    EXPECT_EQ(user.dialogs.at(1).fileName, "E:\\Sets\\Zwei.set");
    EXPECT_EQ(w.setPage->Edit1->text(), "D:\\Sets\\Büro.set");
    EXPECT_EQ(w.setPage->eschlussel->text(), "Schlüssel 1");
    EXPECT_TRUE(w.ftp->isTabVisible(Tquorbin::FtpPage));
}

TEST_F(TquorbinTest, CancellingTheOpenDialogChangesNothing)
{
    writeFile("D:\\Sets\\Büro.set", test::ansiIni(kFirstSet));
    Tquorbin w("D:\\Sets\\Büro.set");
    w.setPage->eschlussel->setText("getippt");

    w.ffnen1->trigger();

    EXPECT_EQ(user.dialogs.size(), 1);
    EXPECT_EQ(w.setPage->Edit1->text(), "D:\\Sets\\Büro.set");
    EXPECT_EQ(w.setPage->eschlussel->text(), "getippt");
    EXPECT_EQ(w.storeDirectory(), "D:\\Store");
}

TEST_F(TquorbinTest, EachPageSetsItsTitleAndCaption)
{
    Tquorbin w{QString()};
    const QStringList captions = {"Sichern", "Datei wiederh.", "Verzeichn. wiederh.", "Log", "FTP-Ütra"};
    const QStringList titles = {"Sicherungs-Einstellungen", "einzelne Datei wiederherstellen",
                                "Verzeichnisse wiederherstellen", "Log ansehen", "Verbindung zum FTP-Verzeichnis "};
    ASSERT_EQ(w.ftp->count(), 5);
    EXPECT_EQ(w.ftp->tabPosition(), QTabWidget::West);
    for (int page : {4, 2, 0, 3, 1}) {
        w.ftp->setCurrentIndex(page);
        EXPECT_EQ(w.ftp->tabText(page), captions.at(page));
        EXPECT_EQ(w.ftp->widget(page)->objectName(), QStringLiteral("TabSheet%1").arg(page + 1));
        EXPECT_EQ(w.Label5->text(), titles.at(page));
    }
}

TEST_F(TquorbinTest, AktionAbbrechenWhileNothingRunsLeavesTheNextJobAlone)
{
    Tquorbin w{QString()};
    ASSERT_TRUE(w.menuBar()->actions().contains(w.Aktionabbrechen1)) << "an item of the menu bar itself";
    EXPECT_EQ(w.Aktionabbrechen1->text(), "&Aktion abbrechen");
    EXPECT_EQ(w.Aktionabbrechen1->shortcut(), QKeySequence(Qt::Key_Escape));

    w.Aktionabbrechen1->trigger();
    w.Aktionabbrechen1->trigger();
    EXPECT_TRUE(user.messages.isEmpty());

    test::writeStoredFile("D:\\Store\\C$\\a.txt.00001.nxz", QByteArray(3 << 20, 'a'));
    ASSERT_TRUE(w.runJob(std::make_unique<FileRestoreJob>("D:\\Store\\C$\\a.txt.00001.nxz", "C:\\a.txt", QString())));
    w.jobs().waitForIdle();
    EXPECT_EQ(readFile("C:\\a.txt"), QByteArray(3 << 20, 'a'));
    EXPECT_EQ(w.sbPanel0->text(), "abgeschlossen; wiederhergestellt: " + platform::toHostPath("C:\\a.txt"));
}

TEST_F(TquorbinTest, MenuDateiHoldsOpenAndShutdown)
{
    Tquorbin w{QString()};
    w.show();
    ASSERT_TRUE(w.menuBar()->actions().contains(w.Datei1->menuAction()));
    EXPECT_EQ(w.Datei1->title(), "&Datei");
    EXPECT_EQ(w.Datei1->actions(), (QList<QAction*>{w.ffnen1, w.Sicherungprfen1, w.Laufwerke1, w.Shutdownundbeenden1}));
    EXPECT_EQ(w.ffnen1->text(), "ö&ffnen");
    EXPECT_EQ(w.ffnen1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(w.Sicherungprfen1->text(), "Sicherung &prüfen");
    EXPECT_EQ(w.Shutdownundbeenden1->text(), "Shutdown und &beenden");
    EXPECT_EQ(w.Shutdownundbeenden1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));

    w.Shutdownundbeenden1->trigger();

    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(user.beeps, 0);
}

TEST_F(TquorbinTest, SicherungPruefenListsTheBadFilesOfTheChosenDirectory)
{
    Tquorbin w{QString()};
    w.Sicherungprfen1->trigger();
    EXPECT_EQ(user.messages, QStringList{"Verzeichnis nicht gefunden: StartDir\nBitte auf der Seite \"Verzeichn. "
                                         "wiederh.\" ein Verzeichnis der Sicherung wählen!"});
    EXPECT_EQ(w.storeCheck().results(), nullptr);

    const QString start = "D:\\Store\\Set1\\C$\\Docs";
    test::writeStoredFile(start + "\\gut.txt.00001.nxz", "gut", "k");
    test::writeStoredFile(start + "\\Sub\\fremd.txt.00001.nxz", "fremd", "anderer");
    QByteArray cut = test::containerOf(test::mixedContent(5000)).left(40);
    CipherBuffer(true, cut.data(), cut.size(), KeyBytes("k"), 0);
    writeFile(start + "\\kurz.txt.00001.nxz", cut);
    w.setPage->eschlussel->setText("k");
    w.dirPage->StartDir->setText(start);
    w.Sicherungprfen1->trigger();
    w.jobs().waitForIdle();

    StoreCheckResults* results = w.storeCheck().results();
    ASSERT_NE(results, nullptr);
    EXPECT_TRUE(results->isVisible());
    EXPECT_EQ(results->summary->text(), start + ": 3 Dateien gelesen, 2 fehlerhaft");
    QStringList rows;
    for (int row = 0; row < results->files->rowCount(); ++row)
        rows << results->files->item(row, 0)->text() + " | " + results->files->item(row, 1)->text();
    rows.sort();
    EXPECT_EQ(rows, (QStringList{start + "\\Sub\\fremd.txt.00001.nxz | falscher Schlüssel",
                                 start + "\\kurz.txt.00001.nxz | Datei ist abgeschnitten"}));
    EXPECT_TRUE(snapshot("C:\\").isEmpty()) << "a check writes nothing";
}

TEST_F(TquorbinTest, TheEndOfSessionIsAgreedToWithOneBeepAndClosesTheWindow)
{
    Tquorbin w{QString()};
    w.show();

    EXPECT_TRUE(w.WMQueryEndSession());

    EXPECT_EQ(user.beeps, 1);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(user.questions.isEmpty());
}

TEST_F(TquorbinTest, TheToolContextReachesTheWindowsSinks)
{
    Tquorbin w{QString()};
    ToolContext& context = toolContext();
    ASSERT_EQ(context.mainWindow, &w);
    ASSERT_NE(context.status, nullptr);
    ASSERT_NE(context.log, nullptr);

    context.status->setStatus("Verbindung getrennt");
    context.log->appendLine("chdir private/");
    context.log->appendLine("fertig");
    w.progressSink().setPosition(42);

    EXPECT_EQ(w.sbPanel0->text(), "Verbindung getrennt");
    EXPECT_EQ(w.sbPanel0->width(), 800);
    EXPECT_EQ(w.Memo2->toPlainText(), "chdir private/\nfertig");
    EXPECT_EQ(w.pb->value(), 42);
    EXPECT_EQ(w.pb->width(), 482);
}

// The window opens at most at the design's size, grows with its lists, log and status texts,
// and needs no more than a 1280×800 laptop screen even with fonts a quarter larger (120 dpi).
TEST_F(TquorbinTest, TheWindowGrowsAndFitsALaptopScreen)
{
    Tquorbin w{QString()};
    w.show();
    // The design's size, or less on a smaller screen (the offscreen one is 800×600), but never
    // less than the controls need.
    const QSize design(1061, 652);
    EXPECT_LE(w.centralWidget()->width(), std::max(design.width(), w.minimumSizeHint().width()));
    EXPECT_LE(w.centralWidget()->height(), std::max(design.height(), w.minimumSizeHint().height()));
    EXPECT_GE(w.width(), w.minimumSizeHint().width());
    EXPECT_EQ(w.Label5->height(), 20);
    EXPECT_EQ(w.Panel2->height(), 44);
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

    w.ftp->setCurrentIndex(Tquorbin::LogPage);
    QApplication::processEvents();
    const QSize memo = w.Memo2->size();
    const int status = w.sbPanel0->width();
    w.resize(w.size() + QSize(300, 200));
    QApplication::processEvents();
    EXPECT_EQ(w.Memo2->size(), memo + QSize(300, 200));
    EXPECT_GT(w.sbPanel0->width(), status);

    QFont larger = w.font();
    larger.setPointSizeF(larger.pointSizeF() * 1.25);
    w.setFont(larger);
    const QSize needed = w.minimumSizeHint();
    EXPECT_LE(needed.width(), 1280);
    EXPECT_LE(needed.height(), 800 - 60) << "room for a panel and the title bar";
}

// Run by tests/shell/under_xvfb.sh with QT_FONT_DPI=120 on a 1280×800 screen.
TEST_F(TquorbinTest, UnderXvfbAt120DpiTheWindowFitsALaptopScreen)
{
    if (QGuiApplication::platformName() != u"xcb" || qgetenv("QT_FONT_DPI") != "120")
        GTEST_SKIP() << "needs a real X server at 120 dpi";
    Tquorbin w{QString()};
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QRect screen = w.screen()->availableGeometry();
    // Qt draws 120 dpi as 96 dpi scaled by 1.25: the 1280×800 pixels are 1024×640 to the window.
    ASSERT_EQ(w.devicePixelRatio(), 1.25);
    ASSERT_EQ(screen.size(), QSize(1024, 640));
    const QSize pixels = w.minimumSize() * w.devicePixelRatio();
    EXPECT_LE(pixels.width(), 1280);
    EXPECT_LE(pixels.height(), 800 - 60) << "room for a panel and the title bar";
    EXPECT_TRUE(screen.contains(w.geometry())) << w.geometry().width() << "x" << w.geometry().height();
    // Every page's controls get the room they ask for at the smallest size.
    w.resize(w.minimumSize());
    for (int page = 0; page < w.ftp->count(); ++page) {
        w.ftp->setCurrentIndex(page);
        QApplication::processEvents();
        for (const QLabel* label : w.ftp->currentWidget()->findChildren<QLabel*>()) {
            if (label->isVisible() && !label->wordWrap() && !label->text().isEmpty()) {
                EXPECT_GE(label->width(), label->minimumSizeHint().width())
                    << "page " << page << ": " << qPrintable(label->text());
            }
        }
    }
}

}  // namespace
}  // namespace quorbin::app
