#include "app/directoryedit.h"

#include "fixtures/scripteduser.h"

#include <QToolButton>
#include "qstringprinter.h"

#include <gtest/gtest.h>

namespace quorbin::app {
namespace {

TEST(DirectoryEditTest, TheButtonAsksForAFolderBetweenItsTwoHooks)
{
    test::ScriptedUser user;
    DirectoryEdit edit;
    edit.dialogText = "Zielverzeichnis auswählen";
    edit.setText("D:\\Alt");
    QStringList steps;
    QObject::connect(&edit, &DirectoryEdit::beforeDialog, [&] {
        steps << "before:" + edit.text();
        edit.setText("D:\\Alt\\");
    });
    QObject::connect(&edit, &DirectoryEdit::afterDialog, [&] { steps << "after:" + edit.text(); });
    user.dialogChoices << QStringLiteral("E:\\Neu");

    edit.button()->click();

    EXPECT_EQ(steps, (QStringList{"before:D:\\Alt", "after:D:\\Alt\\"}));
    ASSERT_EQ(user.dialogs.size(), 1);
    EXPECT_EQ(user.dialogs.first().title, "Zielverzeichnis auswählen");
    EXPECT_EQ(user.dialogs.first().initialDirectory, "D:\\Alt\\");
    EXPECT_EQ(edit.text(), "E:\\Neu");

    QObject::disconnect(&edit, nullptr, nullptr, nullptr);
    edit.button()->click();
    EXPECT_EQ(edit.text(), "E:\\Neu") << "a cancelled dialog keeps the text";
}

}  // namespace
}  // namespace quorbin::app
