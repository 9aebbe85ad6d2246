#include "app/filerestorepage.h"
#include "app/pagecontrol.h"
#include "app/qtuserinterface.h"
#include "app/tquorbin.h"

#include "fixtures/sandbox.h"
#include "fixtures/scripteduser.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QTranslator>
#include "qstringprinter.h"

#include <gtest/gtest.h>

namespace quorbin::app {
namespace {

// The windows under the English translation, as the program installs it for a locale that is
// not German.
class EnglishWindowTest : public test::SandboxTest {
protected:
    void SetUp() override
    {
        SandboxTest::SetUp();
        ASSERT_TRUE(english.load(QStringLiteral(":/i18n/quorbin_en.qm")));
        QCoreApplication::installTranslator(&english);
    }
    void TearDown() override
    {
        QCoreApplication::removeTranslator(&english);
        SandboxTest::TearDown();
    }

    QTranslator english;
};

TEST_F(EnglishWindowTest, TitleMenusPagesAndMessagesAreEnglish)
{
    test::ScriptedUser user;
    Tquorbin w{QString()};

    EXPECT_EQ(w.windowTitle(), "quorbin Restore");
    EXPECT_EQ(w.Label5->text(), "Backup settings");
    EXPECT_EQ(w.Datei1->title(), "&File");
    QStringList actions;
    for (const QAction* action : {w.ffnen1, w.Laufwerke1, w.Shutdownundbeenden1, w.Aktionabbrechen1})
        actions << action->text();
    EXPECT_EQ(actions, (QStringList{"&Open", "&Drives…", "Shut down and &quit", "&Cancel action"}));
    QStringList pages;
    for (int i = 0; i < w.ftp->count(); ++i)
        pages << w.ftp->tabText(i);
    EXPECT_EQ(pages, (QStringList{"Back up", "Restore file", "Restore dir.", "Log", "FTP transfer"}));

    w.filePage->wiederherstellen2->trigger();
    EXPECT_EQ(user.messages, QStringList{"Please choose a file on the right first!"});
}

TEST_F(EnglishWindowTest, AQuestionShowsEnglishButtons)
{
    QtUserInterface user;
    QStringList shown;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* b : box->buttons())
            shown << b->text();
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(user.ask("Replace file C:\\a.txt?", "Restore file, overwrite?", Buttons::YesNo), Answer::Yes);
    shown.sort();
    EXPECT_EQ(shown, (QStringList{"No", "Yes"}));
}

}  // namespace
}  // namespace quorbin::app
