#include "app/backupsetpage.h"
#include "app/directorylist.h"
#include "app/drivecombo.h"
#include "app/filelist.h"
#include "app/filerestorepage.h"
#include "app/jobrunner.h"
#include "app/pagecontrol.h"
#include "app/tquorbin.h"
#include "fixtures/sandbox.h"
#include "platform/datetime.h"
#include "platform/files.h"
#include "fixtures/scripteduser.h"
#include "fixtures/storewriter.h"
#include "platform/winpath.h"

#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
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

QDateTime at(int day) { return QDateTime(QDate(2018, 4, day), QTime(14, 3, 10)); }

// The texts of a list's rows, a line per row with its columns separated by " | ".
QStringList rows(const QTreeWidget* list)
{
    QStringList shown;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        QStringList columns;
        for (int column = 0; column < list->columnCount(); ++column)
            columns << list->topLevelItem(row)->text(column);
        shown << columns.join(" | ");
    }
    return shown;
}

class FileRestorePageTest : public test::SandboxTest {
protected:
    void SetUp() override
    {
        SandboxTest::SetUp();
        content = test::mixedContent(70000);
        test::writeStoredFile(kStored, content, kKey, at(10));
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
    EXPECT_EQ(w.filePage->qfile->headerItem()->text(StoredFileList::NameColumn), "Name");
    EXPECT_EQ(w.filePage->qfile->headerItem()->text(StoredFileList::DateColumn), "Datum");
    EXPECT_EQ(w.filePage->qfile->headerItem()->text(StoredFileList::SizeColumn), "Grösse");
    EXPECT_EQ(w.filePage->qfile->headerItem()->text(StoredFileList::VersionsColumn), "Versionen");
    const QString plan = kFolder + "\\plan.00003.NXZ";
    EXPECT_EQ(rows(w.filePage->qfile),
              (QStringList{"Brief an Bank.docx | " + platform::userDateTimeText(at(10)) + " | " +
                               QString::number(platform::fileSize(kStored)) + " | 1",
                           "plan.00003.NXZ | " + platform::userDateTimeText(*platform::lastWriteTime(plan)) + " | 23 | 1"}))
        << "by original name; no hidden files, no directories";
    EXPECT_EQ(w.filePage->qfile->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(w.filePage->PopupMenu2->actions(),
              (QList<QAction*>{w.filePage->tempffnen2, w.filePage->wiederherstellen2, w.filePage->wiederherstellenananderenOrt1}));
    EXPECT_EQ(w.filePage->tempffnen2->text(), "temp. öffnen");
    EXPECT_EQ(w.filePage->wiederherstellen2->text(), "wiederherstellen");
    EXPECT_EQ(w.filePage->wiederherstellenananderenOrt1->text(), "wiederherstellen an anderen Ort");

    // A right click picks the file under the pointer and opens the menu for it.
    w.show();
    w.ftp->setCurrentIndex(Tquorbin::DateiPage);
    QTreeWidgetItem* planRow = w.filePage->qfile->topLevelItem(1);
    emit w.filePage->qfile->customContextMenuRequested(w.filePage->qfile->visualItemRect(planRow).center());
    ASSERT_NE(w.filePage->qfile->selectedFile(), nullptr);
    EXPECT_EQ(w.filePage->qfile->selectedFile()->storedName, "plan.00003.NXZ");
    EXPECT_EQ(w.filePage->qversions->selectedPath(), plan) << "a file kept as it is is its own version";
    EXPECT_TRUE(w.filePage->PopupMenu2->isVisible());
    w.filePage->PopupMenu2->hide();

    // Every column readable at the page's width: the name keeps the room the others leave.
    const QHeaderView* header = w.filePage->qfile->header();
    EXPECT_GE(header->sectionSize(StoredFileList::NameColumn), w.filePage->qfile->fontMetrics().horizontalAdvance("Brief an Bank.docx"));
    EXPECT_GE(header->sectionSize(StoredFileList::DateColumn),
              w.filePage->qfile->fontMetrics().horizontalAdvance(platform::userDateTimeText(at(10))));
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

TEST_F(FileRestorePageTest, AnOlderVersionIsPickedByItsDateAndTheCommandsRestoreIt)
{
    const QString folder = "D:\\Store\\Set1\\C$\\Docs";
    const QList<QByteArray> contents{"erste Fassung", test::mixedContent(30000, 2), "dritte"};
    for (int i = 0; i < contents.size(); ++i)
        test::writeStoredFile(folder + QStringLiteral("\\plan.txt.%1.nxz").arg(i + 1, 5, 10, QChar(u'0')), contents[i], kKey,
                              at(11 + i));
    FileRestorePage& page = *window->filePage;
    page.qdir->setDirectory(folder);
    ASSERT_EQ(rows(page.qfile).size(), 1);
    EXPECT_TRUE(rows(page.qfile).first().startsWith("plan.txt | " + platform::userDateTimeText(at(13))));
    EXPECT_TRUE(rows(page.qversions).isEmpty()) << "no file selected yet";

    ASSERT_TRUE(page.qfile->selectName("plan.txt"));
    QStringList expected;
    for (int i = contents.size() - 1; i >= 0; --i) {
        const QString name = QStringLiteral("plan.txt.%1.nxz").arg(i + 1, 5, 10, QChar(u'0'));
        expected << platform::userDateTimeText(at(11 + i)) + " | " + QString::number(platform::fileSize(folder + "\\" + name)) +
                        " | " + name;
    }
    EXPECT_EQ(rows(page.qversions), expected) << "newest first";
    EXPECT_EQ(page.qversions->selectedPath(), folder + "\\plan.txt.00003.nxz") << "the newest is picked at first";

    // "wiederherstellen" restores the newest unless another version is picked.
    page.wiederherstellen2->trigger();
    window->jobs().waitForIdle();
    EXPECT_EQ(readFile("C:\\Docs\\plan.txt"), contents[2]);

    ASSERT_TRUE(page.qversions->selectDate(platform::userDateTimeText(at(12))));
    user.answers = {Answer::Ok};
    page.wiederherstellen2->trigger();
    window->jobs().waitForIdle();
    ASSERT_EQ(user.questions.size(), 1);
    EXPECT_EQ(user.questions[0].text, "Datei C:\\Docs\\plan.txt überschreiben?");
    EXPECT_EQ(readFile("C:\\Docs\\plan.txt"), contents[1]);

    // A right click on a version picks it for the menu's commands.
    window->show();
    window->ftp->setCurrentIndex(Tquorbin::DateiPage);
    QTreeWidgetItem* oldest = page.qversions->topLevelItem(2);
    emit page.qversions->customContextMenuRequested(page.qversions->visualItemRect(oldest).center());
    EXPECT_TRUE(page.PopupMenu2->isVisible());
    page.PopupMenu2->hide();
    user.dialogChoices << QStringLiteral("E:\\Alt\\plan.txt");
    page.wiederherstellenananderenOrt1->trigger();
    window->jobs().waitForIdle();
    EXPECT_EQ(readFile("E:\\Alt\\plan.txt"), contents[0]);
    EXPECT_EQ(user.dialogs.last().fileName, "plan.txt");

    page.tempffnen2->trigger();
    window->jobs().waitForIdle();
    QFile opened(tempHostDirectory() + "/§tmp.txt");
    ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
    EXPECT_EQ(opened.readAll(), contents[0]);
    EXPECT_TRUE(user.messages.isEmpty());

    // Choosing a version by its name in the store picks that version too.
    ASSERT_TRUE(page.qfile->selectName("plan.txt.00002.nxz"));
    EXPECT_EQ(page.qversions->selectedPath(), folder + "\\plan.txt.00002.nxz");
}

}  // namespace
}  // namespace quorbin::app
