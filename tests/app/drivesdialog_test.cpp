#include "app/drivesdialog.h"

#include "app/dirrestorepage.h"
#include "app/jobrunner.h"
#include "app/tquorbin.h"
#include "fixtures/sandbox.h"
#include "fixtures/scripteduser.h"
#include "fixtures/storewriter.h"
#include "platform/drivemap.h"
#include "platform/files.h"
#include "platform/winpath.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include "qstringprinter.h"

#include <gtest/gtest.h>

namespace quorbin::app {
namespace {

class DrivesDialogTest : public test::SandboxTest {
protected:
    // The dialog's row of a drive or share.
    static int rowOf(const DrivesDialog& dialog, const QString& name)
    {
        for (int row = 0; row < dialog.table->rowCount(); ++row)
            if (dialog.table->item(row, 0)->text() == name)
                return row;
        return -1;
    }
    // Runs `act` on the drive dialog once it shows.
    static void whenDialogShows(std::function<void(DrivesDialog&)> act)
    {
        QTimer::singleShot(0, [act] {
            auto* dialog = qobject_cast<DrivesDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            act(*dialog);
        });
    }

    test::ScriptedUser user;
};

// A letter moved to another folder in the dialog: the next restore lands there.
TEST_F(DrivesDialogTest, AChangedLetterTakesTheNextRestoreToItsNewFolder)
{
    const QString start = "D:\\Store\\Set1\\F$\\Docs";
    test::writeStoredFile(start + "\\a.txt.00001.nxz", "neu");
    Tquorbin w{QString()};
    const QString newFolder = host("anderswo/f");
    user.dialogChoices << platform::toWindowsPath(newFolder);
    whenDialogShows([&](DrivesDialog& dialog) {
        const int row = rowOf(dialog, "F:");
        if (row < 0)
            dialog.addRow();
        else
            dialog.table->setCurrentCell(row, 0);
        if (row < 0)
            dialog.table->item(dialog.table->rowCount() - 1, 0)->setText("f");
        dialog.chooseFolder();
        dialog.accept();
    });
    w.Laufwerke1->trigger();

    EXPECT_EQ(platform::readDriveMap(), (QList<platform::DriveMapping>{{"F:", newFolder}}));
    w.dirPage->StartDir->setText(start);
    w.dirPage->Button2->click();
    w.jobs().waitForIdle();
    EXPECT_EQ(readFile("F:\\Docs\\a.txt"), QByteArray("neu"));
    EXPECT_TRUE(QFile::exists(newFolder + "/Docs/a.txt"));
}

// Letters that QUORBIN_DRIVES fixes are shown but not changed, and a wrong row is refused.
TEST_F(DrivesDialogTest, FixedLettersStayAndWrongRowsAreRefused)
{
    DrivesDialog dialog;
    const int c = rowOf(dialog, "C:");
    ASSERT_GE(c, 0);
    EXPECT_EQ(dialog.table->item(c, 1)->text(), host("c"));
    EXPECT_FALSE(dialog.table->item(c, 1)->flags() & Qt::ItemIsEditable);

    dialog.addRow();
    dialog.table->item(dialog.table->rowCount() - 1, 0)->setText("\\\\nas\\daten");
    dialog.table->item(dialog.table->rowCount() - 1, 1)->setText("relativ/ordner");
    EXPECT_FALSE(dialog.save());
    EXPECT_EQ(user.messages.size(), 1);
    EXPECT_TRUE(platform::readDriveMap().isEmpty());

    dialog.table->item(dialog.table->rowCount() - 1, 1)->setText(host("mnt/nas"));
    EXPECT_TRUE(dialog.save());
    EXPECT_EQ(platform::readDriveMap(), (QList<platform::DriveMapping>{{"\\\\nas\\daten", host("mnt/nas")}}));
}

// A set whose target cannot be reached says so at once, naming the drive's folder here.
TEST_F(DrivesDialogTest, AnUnreachableTargetIsToldWithItsDrivesFolder)
{
    writeFile("E:\\Sets\\buero.set", "[Ziel]\r\nZiel=G:\\Store\\Set1\r\n");
    Tquorbin w{QString()};
    user.dialogChoices << QStringLiteral("E:\\Sets\\buero.set");
    user.answers << Answer::No;
    w.ffnen1->trigger();

    ASSERT_EQ(user.questions.size(), 1);
    EXPECT_EQ(user.questions[0].text, "Das Ziel der Sicherung ist hier nicht erreichbar: G:\\Store\\Set1\nLaufwerk G: liegt "
                                      "auf diesem Rechner in " +
                                          host("data/quorbin/drives/g") + ", dort fehlt " +
                                          host("data/quorbin/drives/g/Store/Set1") + ".\n\nLaufwerke jetzt zuordnen?");

    user.questions.clear();
    writeFile("E:\\Sets\\da.set", "[Ziel]\r\nZiel=D:\\Store\r\n");
    platform::createFolders("D:\\Store");
    user.dialogChoices << QStringLiteral("E:\\Sets\\da.set");
    w.ffnen1->trigger();
    EXPECT_TRUE(user.questions.isEmpty());
}

}  // namespace
}  // namespace quorbin::app
