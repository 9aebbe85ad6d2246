#include "app/backupsetpage.h"
#include "app/directorylist.h"
#include "app/drivecombo.h"
#include "app/filelist.h"
#include "app/filerestorepage.h"
#include "app/jobrunner.h"
#include "app/pagecontrol.h"
#include "app/tquorbin.h"
#include "fixtures/sandbox.h"
#include "fixtures/scripteduser.h"
#include "fixtures/storewriter.h"
#include "platform/winpath.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include "qstringprinter.h"

#include <gtest/gtest.h>

namespace quorbin::app {
namespace {

const QString kFolder = "D:\\Store\\Set1\\C$\\Users\\Anna";
const QString kStoredName = QString::fromUtf16(u"Brief¯an¯Bank.docx.00002.nxz");
const QString kStored = kFolder + "\\" + kStoredName;
const QString kTarget = "C:\\Users\\Anna\\Brief an Bank.docx";
const QString kKey = QString::fromUtf16(u"Geh€im");
const QString kFailed = "Fehler beim Zurückladen der Datei\n\nfalscher Schlüssel: ";

class FileRestorePageTest : public test::SandboxTest {
protected:
    void SetUp() override
    {
        SandboxTest::SetUp();
        content = test::mixedContent(70000);
        test::writeStoredFile(kStored, content, kKey);
        writeFile(kFolder + "\\plan.00003.NXZ", "as it lies in the store");
        writeFile(kFolder + "\\.versteckt.txt.00001.nxz", "hidden");
        writeFile(kFolder + "\\Unterordner\\x.txt", "x");
        window = std::make_unique<Tquorbin>(QString());
        window->setPage->eschlussel->setText(kKey);
        window->filePage->qdir->setDirectory(kFolder);
    }
    void TearDown() override
    {
        window.reset();
        SandboxTest::TearDown();
    }

    void select(const QString& name) { ASSERT_TRUE(window->filePage->qfile->selectName(name)) << qPrintable(name); }

    test::ScriptedUser user;
    std::unique_ptr<Tquorbin> window;
    QByteArray content;
};

TEST_F(FileRestorePageTest, ShowsTheVisibleFilesOfTheChosenDirectoryWithTheContextMenu)
{
    Tquorbin& w = *window;
    EXPECT_EQ(w.filePage->GroupBox1->title(), "Inhalt der Datensicherung");
    EXPECT_EQ(w.filePage->Label2->text(), "Links das Verzeichnis wählen, aus dem zurückgesichert werden soll. Rechts die Datei "
                                "mit rechts anklicken und zurücksichern.");
    EXPECT_TRUE(w.filePage->Label2->font().bold());
    EXPECT_EQ(w.filePage->qdir->directory(), kFolder);
    EXPECT_EQ(w.filePage->JvDriveCombo1->drive(), u'D');
    EXPECT_EQ(w.filePage->qfile->directory(), kFolder);
    QStringList shown;
    for (int row = 0; row < w.filePage->qfile->count(); ++row)
        shown << w.filePage->qfile->item(row)->text();
    EXPECT_EQ(shown, (QStringList{kStoredName, "plan.00003.NXZ"})) << "no hidden files, no directories";
    EXPECT_EQ(w.filePage->qfile->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(w.filePage->PopupMenu2->actions(),
              (QList<QAction*>{w.filePage->tempffnen2, w.filePage->wiederherstellen2, w.filePage->wiederherstellenananderenOrt1}));
    EXPECT_EQ(w.filePage->tempffnen2->text(), "temp. öffnen");
    EXPECT_EQ(w.filePage->wiederherstellen2->text(), "wiederherstellen");
    EXPECT_EQ(w.filePage->wiederherstellenananderenOrt1->text(), "wiederherstellen an anderen Ort");

    // A right click picks the file under the pointer and opens the menu for it.
    w.show();
    w.ftp->setCurrentIndex(Tquorbin::DateiPage);
    QListWidgetItem* plan = w.filePage->qfile->item(1);
    emit w.filePage->qfile->customContextMenuRequested(w.filePage->qfile->visualItemRect(plan).center());
    EXPECT_EQ(w.filePage->qfile->selectedPath(), kFolder + "\\plan.00003.NXZ");
    EXPECT_TRUE(w.filePage->PopupMenu2->isVisible());
    w.filePage->PopupMenu2->hide();
}

TEST_F(FileRestorePageTest, OpenTemporarily)
{
    struct Case {
        const char* name;
        QString selected;
        QString key;
        QString opened;  // below the drive map or the temporary directory
        QStringList messages;
    };
    const QList<Case> cases = {
        {"stored file", kStoredName, kKey, "tmp:§tmp.docx", {}},
        {"wrong key: told, and the earlier temporary file not opened", kStoredName, "falsch", "",
         {kFailed + platform::toHostPath(kStored)}},
        {"other stored name: the file itself", "plan.00003.NXZ", kKey, kFolder + "\\plan.00003.NXZ", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        user.opened.clear();
        user.messages.clear();
        select(c.selected);
        window->setPage->eschlussel->setText(c.key);

        window->filePage->tempffnen2->trigger();

        window->jobs().waitForIdle();

        const QString expected = c.opened.startsWith("tmp:") ? tempHostDirectory() + "/" + c.opened.mid(4)
                                                            : platform::toHostPath(c.opened);
        EXPECT_EQ(user.opened, c.opened.isEmpty() ? QStringList() : QStringList{expected});
        EXPECT_EQ(user.messages, c.messages);
    }
    QFile opened(tempHostDirectory() + "/§tmp.docx");
    ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
    EXPECT_EQ(opened.readAll(), content) << "the failed restore left the earlier temporary file whole";
}

TEST_F(FileRestorePageTest, RestoreToTheOriginalPlaceAsksFirstWhenTheFileIsThere)
{
    select(kStoredName);
    window->filePage->wiederherstellen2->trigger();
    window->jobs().waitForIdle();
    EXPECT_TRUE(user.questions.isEmpty()) << "nothing to overwrite";
    EXPECT_EQ(readFile(kTarget), content);

    writeFile(kTarget, "bisher");
    user.pointerChanges.clear();
    window->filePage->wiederherstellen2->trigger();  // No
    window->jobs().waitForIdle();
    ASSERT_EQ(user.questions.size(), 1);
    EXPECT_EQ(user.questions[0].text, "Datei " + kTarget + " überschreiben?");
    EXPECT_EQ(user.questions[0].buttons, Buttons::NoOk);
    EXPECT_EQ(readFile(kTarget), QByteArray("bisher"));
    EXPECT_TRUE(user.pointerChanges.isEmpty());

    user.answers = {Answer::Ok};
    window->filePage->wiederherstellen2->trigger();
    window->jobs().waitForIdle();

    EXPECT_EQ(readFile(kTarget), content);
    EXPECT_EQ(user.pointerChanges.value(0), Pointer::Busy) << "the hourglass while the restore runs";
    EXPECT_EQ(user.pointer(), Pointer::Normal);
    EXPECT_TRUE(user.messages.isEmpty());
}

TEST_F(FileRestorePageTest, RestoreToTheOriginalPlaceCopiesOtherStoredNamesAndKeepsTheTargetOnFailure)
{
    writeFile(kTarget, "bisher");
    window->setPage->eschlussel->setText("falsch");
    user.answers = {Answer::Ok, Answer::Ok};

    select(kStoredName);
    window->filePage->wiederherstellen2->trigger();
    window->jobs().waitForIdle();
    EXPECT_EQ(user.messages, QStringList{kFailed + platform::toHostPath(kStored)});
    EXPECT_EQ(readFile(kTarget), QByteArray("bisher"));

    select("plan.00003.NXZ");
    window->filePage->wiederherstellen2->trigger();
    window->jobs().waitForIdle();
    EXPECT_EQ(user.questions.size(), 1) << "no question where no file is";
    EXPECT_EQ(readFile("C:\\Users\\Anna\\plan.00003.NXZ"), QByteArray("as it lies in the store"));
    EXPECT_EQ(user.messages.size(), 1);
}

TEST_F(FileRestorePageTest, RestoreToAnotherPlace)
{
    select(kStoredName);
    window->filePage->wiederherstellenananderenOrt1->trigger();  // cancelled
    window->jobs().waitForIdle();

    ASSERT_EQ(user.dialogs.size(), 1);
    EXPECT_EQ(user.dialogs[0].filter, "alle Dateien|*.*");
    EXPECT_EQ(user.dialogs[0].fileName, "Brief an Bank.docx");
    EXPECT_EQ(user.dialogs[0].initialDirectory, "C:\\Users\\Anna\\");
    EXPECT_TRUE(user.dialogs[0].confirmOverwrite);
    EXPECT_TRUE(snapshot("C:\\").isEmpty());
    EXPECT_TRUE(snapshot("E:\\").isEmpty());

    user.dialogChoices << QStringLiteral("E:\\Neu\\Brief.docx") << host("e/Neu/plan.NXZ");
    window->filePage->wiederherstellenananderenOrt1->trigger();
    window->jobs().waitForIdle();
    select("plan.00003.NXZ");
    window->filePage->wiederherstellenananderenOrt1->trigger();
    window->jobs().waitForIdle();

    EXPECT_EQ(readFile("E:\\Neu\\Brief.docx"), content);
    EXPECT_EQ(readFile("E:\\Neu\\plan.NXZ"), QByteArray("as it lies in the store"));
    EXPECT_EQ(user.dialogs[2].fileName, "plan.00003.NXZ");
    EXPECT_TRUE(user.messages.isEmpty());
    EXPECT_TRUE(user.questions.isEmpty());
}

TEST_F(FileRestorePageTest, NothingSelectedOrNoDriveLevelWritesNothing)
{
    writeFile("D:\\Store\\Set1\\lose.txt.00001.nxz", "no drive level above");
    const auto before = snapshot("C:\\");
    window->filePage->qfile->clearSelection();
    for (QAction* command : {window->filePage->tempffnen2, window->filePage->wiederherstellen2, window->filePage->wiederherstellenananderenOrt1})
        command->trigger();
    EXPECT_EQ(user.messages, QStringList(3, "Bitte zuerst rechts eine Datei auswählen!"));

    user.messages.clear();
    user.answers = {Answer::Ok};
    window->filePage->qdir->setDirectory("D:\\Store\\Set1");
    select("lose.txt.00001.nxz");
    window->filePage->wiederherstellen2->trigger();
    window->jobs().waitForIdle();
    EXPECT_EQ(user.messages, QStringList{"Kein Backup-Pfad. Bitte neu wählen!"});
    EXPECT_TRUE(user.questions.isEmpty());
    EXPECT_EQ(snapshot("C:\\"), before);
}

}  // namespace
}  // namespace quorbin::app
