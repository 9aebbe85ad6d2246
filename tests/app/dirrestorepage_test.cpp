#include "app/backupsetpage.h"
#include "app/directoryedit.h"
#include "app/directorylist.h"
#include "app/dirrestorepage.h"
#include "app/filelist.h"
#include "app/filerestorepage.h"
#include "app/jobrunner.h"
#include "app/pagecontrol.h"
#include "app/radiogroup.h"
#include "app/tquorbin.h"
#include "engine/versions.h"
#include "fixtures/cli.h"
#include "fixtures/sandbox.h"
#include "fixtures/scripteduser.h"
#include "fixtures/storewriter.h"
#include "platform/datetime.h"
#include "platform/winpath.h"
#include "platform/files.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include "qstringprinter.h"

#include <gtest/gtest.h>

#include <functional>

namespace quorbin::app {
namespace {

const QString kStart = "D:\\Store\\Set1\\C$\\Docs";
const QString kKey = QString::fromUtf16(u"Schl\u00FCssel");

QDateTime at(int day, int hour = 10, int minute = 0) { return QDateTime(QDate(2018, 4, day), QTime(hour, minute)); }

QString line(const QString& versionPath, const QDateTime& time, const QString& target)
{
    return versionPath + "--->   " + platform::userDateTimeText(time) + " " + target;
}

class DirRestorePageTest : public test::SandboxTest {
protected:
    void SetUp() override
    {
        SandboxTest::SetUp();
        window = std::make_unique<Tquorbin>(QString());
        window->setPage->eschlussel->setText(kKey);
    }
    void TearDown() override
    {
        window.reset();
        SandboxTest::TearDown();
    }

    // a.txt in three versions, the middle one exactly at 23:59 of the 12th; b.txt below.
    void writeStore()
    {
        test::writeStoredFile(kStart + "\\a.txt.00001.nxz", "eins", kKey, at(10));
        test::writeStoredFile(kStart + "\\a.txt.00002.nxz", "zwei", kKey, at(12, 23, 59));
        test::writeStoredFile(kStart + "\\a.txt.00003.nxz", "drei", kKey, at(14));
        test::writeStoredFile(kStart + "\\Sub¯Ordner\\b.txt.00001.nxz", "b", kKey, at(11));
        writeFile(kStart + "\\liesmich.txt", "plain");
    }

    QStringList memoLines() const { return window->Memo2->toPlainText().split(u'\n', Qt::SkipEmptyParts); }

    // The same restore by quorbin-restore dir: its standard output lines.
    QStringList cliLines(const QStringList& options) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QUORBIN_KEY", kKey);
        const test::CliResult result = test::runCli(QStringList{"dir", kStart} + options, environment);
        EXPECT_EQ(result.exitCode, 0) << qPrintable(result.err);
        return result.out.split(u'\n', Qt::SkipEmptyParts);
    }

    // Starts the walk; `whileRunning` acts before the window gets to see any of its reports.
    void zurueckladen(int rule, const std::function<void()>& whileRunning = {})
    {
        window->dirPage->StartDir->setText(kStart);
        window->dirPage->Version->setItemIndex(rule);
        window->dirPage->Button2->click();
        if (whileRunning)
            whileRunning();
        window->jobs().waitForIdle();
    }

    test::ScriptedUser user;
    std::unique_ptr<Tquorbin> window;
};

TEST_F(DirRestorePageTest, StartsWithItsControlsAsTheyAreLaidOut)
{
    Tquorbin& w = *window;
    EXPECT_EQ(w.dirPage->GroupBox8->title(), "Schritt 1: Auswahl der Datensicherung");
    EXPECT_EQ(w.dirPage->GroupBox3->title(), "Inhalt der Datensicherung");
    EXPECT_EQ(w.dirPage->GroupBox9->title(), "2. Schritt: Auswahl des Zielverzeichnisses und der Version");
    EXPECT_EQ(w.dirPage->GroupBox13->title(), "3. Schritt: Version die zurückgeladen werden soll");
    EXPECT_EQ(w.dirPage->StartDir->text(), "StartDir");
    EXPECT_EQ(w.dirPage->Art->title(), "Art der Wiederherstellung");
    EXPECT_EQ(w.dirPage->Art->item(0)->text(), "auf Ursprungspfad zurückkopieren");
    EXPECT_EQ(w.dirPage->Art->item(1)->text(), "auf neues Verzeichnis zurückkopieren");
    EXPECT_EQ(w.dirPage->Art->itemIndex(), 0);
    EXPECT_EQ(w.dirPage->zdt->text(), "Neues Startverzeichnis:");
    EXPECT_EQ(w.dirPage->Zieldir->text(), QString());
    EXPECT_FALSE(w.dirPage->Zieldir->isEnabled());
    EXPECT_EQ(w.dirPage->Zieldir->dialogText, "Zielverzeichnis auswählen");
    EXPECT_EQ(w.dirPage->Version->title(), "Version");
    ASSERT_EQ(w.dirPage->Version->count(), 3);
    EXPECT_EQ(w.dirPage->Version->item(0)->text(), "Ursprungsversion zurückladen ");
    EXPECT_EQ(w.dirPage->Version->item(1)->text(), "Version bis einschl. Datum");
    EXPECT_EQ(w.dirPage->Version->item(2)->text(), "neueste Version zurückladen");
    EXPECT_EQ(w.dirPage->Version->itemIndex(), 2);
    EXPECT_EQ(w.dirPage->Erldat->date(), QDate::currentDate());
    EXPECT_EQ(w.dirPage->Erldat->text(), QDate::currentDate().toString("dd.MM.yy")) << "German short form, two-digit year";
    EXPECT_TRUE(w.dirPage->Erldat->calendarPopup());
    EXPECT_EQ(w.dirPage->Erltime->text(), "23:59");
    EXPECT_EQ(w.dirPage->frag->text(), "vor Überschreiben nachfragen");
    EXPECT_FALSE(w.dirPage->frag->isChecked());
    EXPECT_EQ(w.dirPage->Button2->text(), "Zurückladen");
}

TEST_F(DirRestorePageTest, EachRuleLogsTheLinesOfTheCommandLineAndRestoresItsVersion)
{
    struct Case {
        const char* name;
        int rule;
        QStringList cliOptions;
        QByteArray content;
        QString versionPath;
        QDateTime time;
    };
    const QList<Case> cases = {
        {"original", 0, {"--rule", "original"}, "eins", kStart + "\\a.txt.00001.nxz", at(10)},
        // A version at exactly 23:59 lies after the limit.
        {"before", 1, {"--rule", "before", "--before", "12.04.2018 23:59"}, "eins", kStart + "\\a.txt.00001.nxz", at(10)},
        {"newest", 2, {"--rule", "newest"}, "drei", kStart + "\\a.txt.00003.nxz", at(14)},
    };
    writeStore();
    const auto storeBefore = snapshot("D:\\");
    window->dirPage->Erldat->setDate(QDate(2018, 4, 12));
    window->dirPage->Erltime->setText("23:59");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile("C:\\Docs\\a.txt", "vorher");
        window->Memo2->setPlainText("alter Inhalt");
        window->Aktionabbrechen1->trigger();  // a cancel while nothing runs is not kept for later
        user.pointerChanges.clear();

        zurueckladen(c.rule);

        const QStringList lines = memoLines();
        ASSERT_EQ(lines.size(), 5);
        EXPECT_EQ(lines.first(), "start");
        EXPECT_EQ(lines[3], "fertig");
        EXPECT_EQ(lines.last(), "wiederhergestellt nach: " + host("c/Docs"));
        EXPECT_TRUE(lines.contains(line(c.versionPath, c.time, "C:\\Docs\\a.txt"))) << qPrintable(lines.join('\n'));
        EXPECT_TRUE(lines.contains(line(kStart + "\\Sub¯Ordner\\b.txt.00001.nxz", at(11), "C:\\Docs\\Sub Ordner\\b.txt")));
        EXPECT_EQ(readFile("C:\\Docs\\a.txt"), c.content);
        EXPECT_EQ(platform::lastWriteTime("C:\\Docs\\a.txt"), c.time);
        EXPECT_EQ(readFile("C:\\Docs\\liesmich.txt"), QByteArray("plain"));
        EXPECT_EQ(window->sbPanel0->text(), "abgeschlossen; 2 Dateien wiederhergestellt nach " + host("c/Docs"));
        EXPECT_EQ(window->ftp->currentIndex(), Tquorbin::LogPage);
        EXPECT_EQ(window->Label5->text(), "Log ansehen");
        EXPECT_EQ(user.pointerChanges.value(0), Pointer::Busy) << "the hourglass from the start";
        EXPECT_EQ(user.pointer(), Pointer::Normal);
        EXPECT_EQ(lines, cliLines(c.cliOptions));
    }
    EXPECT_TRUE(user.messages.isEmpty()) << qPrintable(user.messages.join('\n'));
    EXPECT_EQ(snapshot("D:\\"), storeBefore) << "the store is only read";
}

TEST_F(DirRestorePageTest, RestoresBelowTheNewStartDirectory)
{
    writeStore();
    window->dirPage->Art->setItemIndex(1);
    window->dirPage->Zieldir->setText("E:\\Neu");

    zurueckladen(kNewestVersion);

    EXPECT_EQ(readFile("E:\\Neu\\a.txt"), QByteArray("drei"));
    EXPECT_EQ(readFile("E:\\Neu\\Sub Ordner\\b.txt"), QByteArray("b"));
    EXPECT_EQ(readFile("E:\\Neu\\liesmich.txt"), QByteArray("plain"));
    EXPECT_FALSE(exists("C:\\Docs"));
    const QStringList lines = memoLines();
    EXPECT_TRUE(lines.contains(line(kStart + "\\a.txt.00003.nxz", at(14), "E:\\Neu\\\\a.txt"))) << qPrintable(lines.join('\n'));
    EXPECT_EQ(lines, cliLines({"--to", "E:\\Neu"}));

    // Back at index 0 the field keeps its text, and the restore goes to the original paths.
    window->dirPage->Art->setItemIndex(0);
    EXPECT_EQ(window->dirPage->Zieldir->text(), "E:\\Neu");
    zurueckladen(kNewestVersion);
    EXPECT_EQ(readFile("C:\\Docs\\a.txt"), QByteArray("drei"));
}

// Paths typed in the host's form are the same places; a relative one is refused before any
// work starts, since the window has no current directory the user could know.
TEST_F(DirRestorePageTest, HostPathsInTheFieldsAreTakenAndShownAsWindowsPaths)
{
    writeStore();
    window->dirPage->Art->setItemIndex(1);
    const struct {
        const char* name;
        QString start;
        QString newStart;
        QString shownStart;
        QString shownNewStart;
        QString message;  // empty: the restore runs
    } cases[] = {
        {"host new start", kStart, host("e/Neu"), kStart, "E:\\Neu", {}},
        {"host start", platform::toHostPath(kStart), "E:\\Zwei", kStart, "E:\\Zwei", {}},
        {"relative new start", kStart, "Neu", kStart, "Neu",
         "Kein vollständiger Pfad: Neu\nBitte mit Laufwerk (C:\\…) oder ab / angeben."},
        {"relative start", "Store/Set1", "E:\\Drei", "Store/Set1", "E:\\Drei", "Kein Backup-Pfad. Bitte neu wählen!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        user.messages.clear();
        window->Memo2->clear();
        window->dirPage->StartDir->setText(c.start);
        window->dirPage->Zieldir->setText(c.newStart);
        window->dirPage->Button2->click();
        window->jobs().waitForIdle();
        EXPECT_EQ(window->dirPage->StartDir->text(), c.shownStart);
        EXPECT_EQ(window->dirPage->Zieldir->text(), c.shownNewStart);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(user.messages.isEmpty()) << qPrintable(user.messages.join('\n'));
            EXPECT_EQ(readFile(c.shownNewStart + "\\a.txt"), QByteArray("drei"));
        } else {
            EXPECT_EQ(user.messages, QStringList{c.message});
            EXPECT_TRUE(window->Memo2->toPlainText().isEmpty()) << "nothing started";
        }
    }
    EXPECT_FALSE(exists("E:\\Drei"));
}

TEST_F(DirRestorePageTest, TheStatusCountsFilesWithLaterVersionsOnly)
{
    writeStore();
    test::writeStoredFile(kStart + "\\plan.txt.00002.nxz", "zwei", QString(), at(12));

    zurueckladen(kNewestVersion);

    EXPECT_FALSE(memoLines().join('\n').contains("plan.txt")) << "the log stays as it was";
    EXPECT_EQ(window->sbPanel0->text(), "abgeschlossen; 2 Dateien wiederhergestellt nach " + host("c/Docs") +
                                            "; 1 Datei nur mit späteren Versionen, ohne erste Version übergangen");
}

TEST_F(DirRestorePageTest, AsksBeforeReplacingWhenTold)
{
    writeStore();
    writeFile("C:\\Docs\\a.txt", "vorher");
    window->dirPage->frag->setChecked(true);

    zurueckladen(kNewestVersion);  // Cancel

    ASSERT_EQ(user.questions.size(), 1);
    EXPECT_EQ(user.questions[0].text, "Datei C:\\Docs\\a.txt ersetzen?");
    EXPECT_EQ(user.questions[0].caption, "Datei wiederherstellen, überschreiben?");
    EXPECT_EQ(user.questions[0].buttons, Buttons::OkCancel);
    EXPECT_TRUE(memoLines().contains("ERROR *****" + kStart + "\\a.txt.00003.nxz--->   nicht rückgesichert (nicht ersetzt)"));
    EXPECT_EQ(window->sbPanel0->text(), "Fehler: 1 Datei wiederhergestellt nach " + host("c/Docs") +
                                            "; 1 Datei nicht wiederhergestellt, zuerst: nicht ersetzt");
    EXPECT_EQ(readFile("C:\\Docs\\a.txt"), QByteArray("vorher"));
    EXPECT_EQ(readFile("C:\\Docs\\Sub Ordner\\b.txt"), QByteArray("b")) << "no question without an existing file";

    user.answers = {Answer::Ok, Answer::Ok, Answer::Ok};
    zurueckladen(kNewestVersion);
    EXPECT_EQ(readFile("C:\\Docs\\a.txt"), QByteArray("drei"));
}

TEST_F(DirRestorePageTest, RefusesWhatCannotBeRestoredAndTellsWhy)
{
    struct Case {
        const char* name;
        QString startDir;
        int art;
        QString zieldir;
        QString message;
    };
    const QList<Case> cases = {
        {"initial text", "StartDir", 0, {}, "Kein Backup-Pfad. Bitte neu wählen!"},
        {"store root", "D:\\Store\\Set1", 0, {}, "Kein Backup-Pfad. Bitte neu wählen!"},
        {"no new start directory", kStart, 1, {}, "Bitte zuerst das neue Startverzeichnis wählen!"},
        {"blank new start directory", kStart, 1, "  ", "Bitte zuerst das neue Startverzeichnis wählen!"},
    };
    writeStore();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        user.messages.clear();
        window->ftp->setCurrentIndex(Tquorbin::VerzeichnisPage);
        window->Memo2->setPlainText("alter Inhalt");
        window->dirPage->StartDir->setText(c.startDir);
        window->dirPage->Art->setItemIndex(c.art);
        window->dirPage->Zieldir->setText(c.zieldir);

        window->dirPage->Button2->click();

        EXPECT_EQ(user.messages, QStringList{c.message});
        EXPECT_EQ(window->Memo2->toPlainText(), QString()) << "the log has been cleared";
        EXPECT_EQ(window->ftp->currentIndex(), Tquorbin::VerzeichnisPage);
        EXPECT_TRUE(snapshot("C:\\").isEmpty());
        EXPECT_TRUE(snapshot("E:\\").isEmpty());
        EXPECT_TRUE(user.pointerChanges.isEmpty());
    }
}

TEST_F(DirRestorePageTest, ATimeThatDoesNotConvertLogsStartAndFertigAndReachesTheErrorReport)
{
    writeStore();
    window->dirPage->Erldat->setDate(QDate(2018, 4, 12));
    window->dirPage->Erltime->setText("2");

    zurueckladen(kVersionBeforeDate);

    EXPECT_EQ(memoLines(), (QStringList{"start", "fertig"}));
    EXPECT_EQ(user.messages, QStringList{"'12.04.18 2:' ist kein gültiges Datum mit Uhrzeit"});
    EXPECT_TRUE(snapshot("C:\\").isEmpty());
    EXPECT_EQ(user.pointer(), Pointer::Normal);

    // Under the other rules the fields are not read.
    user.messages.clear();
    zurueckladen(kNewestVersion);
    EXPECT_TRUE(user.messages.isEmpty());
    EXPECT_EQ(readFile("C:\\Docs\\a.txt"), QByteArray("drei"));
}

TEST_F(DirRestorePageTest, ACancelWhileTheWalkWaitsForAnAnswerFinishesTheFileInHandAndStops)
{
    // The user presses "Aktion abbrechen" while the question about the first file is open,
    // then agrees to replace it.
    class CancellingUser : public test::ScriptedUser {
    public:
        Answer ask(const QString& text, const QString& caption, Buttons buttons) override
        {
            window->Aktionabbrechen1->trigger();
            return ScriptedUser::ask(text, caption, buttons);
        }
        Tquorbin* window = nullptr;
    } cancelling;
    cancelling.window = window.get();
    cancelling.answers = {Answer::Ok, Answer::Ok};
    const QByteArray big = test::mixedContent(600000);
    for (int i = 0; i < 6; ++i) {
        test::writeStoredFile(kStart + QStringLiteral("\\Sub%1\\x%2.bin.00001.nxz").arg(i % 3).arg(i), big, kKey, at(10));
        writeFile(QStringLiteral("C:\\Docs\\Sub%1\\x%2.bin").arg(i % 3).arg(i), "vorher");
    }
    window->dirPage->frag->setChecked(true);

    zurueckladen(kNewestVersion);

    ASSERT_EQ(cancelling.questions.size(), 1);
    const QStringList lines = memoLines();
    ASSERT_EQ(lines.size(), 4) << qPrintable(lines.join('\n'));
    EXPECT_FALSE(lines[1].startsWith("ERROR")) << qPrintable(lines[1]);
    EXPECT_EQ(lines[2], "fertig");
    EXPECT_EQ(lines.last(), "wiederhergestellt nach: " + host("c/Docs")) << "the file in hand was finished";
    const QString restored = lines[1].mid(lines[1].lastIndexOf(' ') + 1);
    EXPECT_EQ(readFile(restored), big) << "the file in hand is finished";
    int replaced = 0;
    for (const QByteArray& content : snapshot("C:\\"))
        replaced += content == big ? 1 : 0;
    EXPECT_EQ(replaced, 1);
    EXPECT_EQ(window->sbPanel0->text(), "abgebrochen; 1 Datei wiederhergestellt nach " + host("c/Docs"));
}

TEST_F(DirRestorePageTest, ArtEnablesTheNewStartDirectory)
{
    window->dirPage->Art->item(1)->click();
    EXPECT_TRUE(window->dirPage->Zieldir->isEnabled());
    window->dirPage->Zieldir->setText("E:\\Neu");
    window->dirPage->Art->item(0)->click();
    EXPECT_FALSE(window->dirPage->Zieldir->isEnabled());
    EXPECT_EQ(window->dirPage->Zieldir->text(), "E:\\Neu");
}

TEST_F(DirRestorePageTest, TheFolderDialogOfTheNewStartDirectory)
{
    window->dirPage->Art->setItemIndex(1);
    window->dirPage->Zieldir->setText(QString::fromUtf16(u"E:\\Ziel¯Ordner"));

    window->dirPage->Zieldir->button()->click();  // cancelled

    ASSERT_EQ(user.dialogs.size(), 1);
    EXPECT_EQ(user.dialogs[0].title, "Zielverzeichnis auswählen");
    EXPECT_EQ(window->dirPage->Zieldir->text(), "E:\\Ziel Ordner\\");

    user.dialogChoices << QStringLiteral("E:\\Neu");
    window->dirPage->Zieldir->button()->click();
    EXPECT_EQ(window->dirPage->Zieldir->text(), "E:\\Neu");
}

TEST_F(DirRestorePageTest, ChangingTheDirectoryOfTheStoreListFillsStartDir)
{
    writeStore();
    ASSERT_TRUE(window->dirPage->zdlbdir->setDirectory("D:\\Store\\Set1\\C$"));
    EXPECT_EQ(window->dirPage->StartDir->text(), "D:\\Store\\Set1\\C$");

    // The user opens the subdirectory by a double click.
    QTreeWidgetItem* docs = window->dirPage->zdlbdir->findItems("Docs", Qt::MatchExactly | Qt::MatchRecursive).value(0);
    ASSERT_NE(docs, nullptr);
    emit window->dirPage->zdlbdir->itemActivated(docs, 0);

    EXPECT_EQ(window->dirPage->StartDir->text(), kStart);
    window->dirPage->StartDir->setText(kStart + "\\Sub¯Ordner");  // typed
    window->dirPage->Button2->click();
    window->jobs().waitForIdle();
    EXPECT_EQ(readFile("C:\\Docs\\Sub Ordner\\b.txt"), QByteArray("b"));
    EXPECT_FALSE(exists("C:\\Docs\\a.txt"));
}

}  // namespace
}  // namespace quorbin::app

namespace quorbin::app {
namespace {

TEST_F(DirRestorePageTest, WhileAWalkRunsOtherLongCommandsAreRefusedWithoutStoppingIt)
{
    const QByteArray big = test::mixedContent(600000);
    for (const char* name : {"x1.bin", "x2.bin", "x3.bin"})
        test::writeStoredFile(kStart + "\\" + name + ".00001.nxz", big, kKey, at(10));
    const QString otherSet = "D:\\Sets\\Anders.set";
    user.dialogChoices << otherSet;
    window->filePage->qdir->setDirectory(kStart);
    window->filePage->qfile->selectName("x1.bin.00001.nxz");
    const QString refused = "Es läuft bereits eine Aktion. Bitte warten oder \"Aktion abbrechen\" wählen.";

    zurueckladen(kNewestVersion, [&] {
        for (const auto& command : std::initializer_list<std::function<void()>>{
                 [&] { window->dirPage->Button2->click(); },
                 [&] { window->ffnen1->trigger(); },
                 [&] { window->filePage->tempffnen2->trigger(); },
                 [&] { window->filePage->wiederherstellenananderenOrt1->trigger(); },
             }) {
            window->sbPanel0->clear();
            command();
            EXPECT_EQ(window->sbPanel0->text(), refused);
        }
    });

    EXPECT_TRUE(user.messages.isEmpty()) << "nothing modal pauses the walk";
    EXPECT_EQ(user.dialogs.size(), 0);
    EXPECT_EQ(window->setPage->eschlussel->text(), kKey) << "no other set was loaded";
    const QStringList lines = memoLines();
    ASSERT_EQ(lines.size(), 6) << qPrintable(lines.join('\n'));
    for (const char* name : {"x1.bin", "x2.bin", "x3.bin"})
        EXPECT_EQ(readFile(QStringLiteral("C:\\Docs\\") + name), big);
    EXPECT_TRUE(user.opened.isEmpty());
}

TEST_F(DirRestorePageTest, ANewStartDirectoryInsideTheStoreIsRefused)
{
    test::writeStoredFile(kStart + "\\a.txt.00001.nxz", "a", kKey, at(10));
    const auto storeBefore = snapshot("D:\\");
    window->dirPage->Art->item(1)->click();
    window->dirPage->Zieldir->setText(kStart + "\\Neu");

    zurueckladen(kNewestVersion);

    EXPECT_EQ(user.messages, QStringList{"Das neue Startverzeichnis liegt in der Datensicherung selbst. Bitte neu wählen!"});
    EXPECT_EQ(snapshot("D:\\"), storeBefore);
}

}  // namespace
}  // namespace quorbin::app
