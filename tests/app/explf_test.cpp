#include "app/explf.h"

#include "app/jobrunner.h"
#include "exitrecorder.h"
#include "fixtures/sandbox.h"
#include "fixtures/scripteduser.h"
#include "fixtures/storewriter.h"
#include "platform/winpath.h"

#include <QApplication>
#include <QTest>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include "qstringprinter.h"

#include <gtest/gtest.h>

namespace quorbin::app {
namespace {

const QString kStored = QString::fromUtf16(u"D:\\Store\\Set1\\C$\\Users\\Anna\\Brief¯an¯Bank.docx.00002.nxz");
const QString kKey = QString::fromUtf16(u"Geh€im");

class ExplFTest : public test::SandboxTest {
protected:
    void SetUp() override
    {
        SandboxTest::SetUp();
        content = test::mixedContent(50000);
    }

    // The window as the double-click start makes it, with the key typed in.
    std::unique_ptr<TExplF> window(const QString& argument, const QString& key)
    {
        auto w = std::make_unique<TExplF>(argument);
        w->eschlussel->setText(key);
        return w;
    }

    // Clicks the button and waits for the restore it starts.
    static void clickAndWait(TExplF& w, QPushButton* TExplF::*button)
    {
        (w.*button)->click();
        w.jobs().waitForIdle();
    }

    QString tempFile(const QString& name) const { return tempHostDirectory() + "/" + name; }

    test::ScriptedUser user;
    test::ExitRecorder exits;
    QByteArray content;
};

TEST_F(ExplFTest, ShowsTheArgumentAndTakesTheKeyAsStars)
{
    const auto w = window(kStored, QString());
    EXPECT_EQ(w->windowTitle(), "Quorbin DoubleKlick");
    EXPECT_EQ(w->Edit1->text(), kStored);
    EXPECT_FALSE(w->Edit1->isEnabled());
    EXPECT_EQ(w->eschlussel->echoMode(), QLineEdit::Password);
    EXPECT_EQ(w->Label20->text(), "Key f. Verschlüsselung:");
    EXPECT_EQ(w->Button1->text(), "Datei Temp. Öffnen");
    EXPECT_EQ(w->Button2->text(), "Datei wiederherstellen nach ...");
    EXPECT_EQ(w->Button3->text(), "abbrechen");
    EXPECT_EQ(w->sbPanel0->width(), 300);
    EXPECT_EQ(w->sbPanel1->width(), 50);
    EXPECT_EQ(w->pos(), QPoint(10, 239));
}

TEST_F(ExplFTest, TheKeyFieldHasTheFocusAndTheTabOrderIsKept)
{
    const auto w = window(kStored, QString());
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));

    EXPECT_EQ(QApplication::focusWidget(), w->eschlussel);
    EXPECT_EQ(w->eschlussel->nextInFocusChain(), w->Button1);
    EXPECT_EQ(w->Button1->nextInFocusChain(), w->Button3);
    EXPECT_EQ(w->Button3->nextInFocusChain(), w->Edit1);
    EXPECT_EQ(w->Edit1->nextInFocusChain(), w->Button2);
}

TEST_F(ExplFTest, OpenTemporarilyRestoresIntoTheTemporaryOpenFileAndHandsItToTheDesktop)
{
    test::writeStoredFile(kStored, content, kKey);
    const auto w = window(kStored, kKey);

    w->Button1->click();

    w->jobs().waitForIdle();

    EXPECT_EQ(readFile(platform::toWindowsPath(tempFile("§tmp.docx"))), content);
    EXPECT_EQ(user.opened, QStringList{tempFile("§tmp.docx")});
    EXPECT_EQ(exits.codes, QList<int>{0});
    EXPECT_TRUE(user.dialogs.isEmpty());
    EXPECT_TRUE(user.messages.isEmpty());
    EXPECT_TRUE(w->sbPanel0->text().startsWith("entschlüsseln: ")) << qPrintable(w->sbPanel0->text());
}

TEST_F(ExplFTest, OpenTemporarilyTreatsAnNx0FileLikeAStoredFile)
{
    const QString stored = "D:\\Store\\C$\\Docs\\plan.xlsx.00003.NX0";
    test::writeStoredFile(stored, content);

    clickAndWait(*window(stored, QString()), &TExplF::Button1);

    EXPECT_EQ(readFile(platform::toWindowsPath(tempFile("§tmp.xlsx"))), content);
    EXPECT_EQ(user.opened, QStringList{tempFile("§tmp.xlsx")});
    EXPECT_EQ(exits.codes, QList<int>{0});
}

TEST_F(ExplFTest, OpenTemporarilyWithAShortArgumentOpensTmpWithoutExtension)
{
    test::writeStoredFile("D:\\x.nxz", content);
    clickAndWait(*window("D:\\x.nxz", QString()), &TExplF::Button1);

    EXPECT_EQ(user.opened, QStringList{tempFile("§tmp")});
    EXPECT_EQ(exits.codes, QList<int>{0});
}

TEST_F(ExplFTest, RestoreToProposesTheOriginalNameAndRestoresWhereTheUserChose)
{
    test::writeStoredFile(kStored, content, kKey);
    user.dialogChoices << QStringLiteral("C:\\Elsewhere\\Brief.docx");
    const auto w = window(kStored, kKey);

    w->Button2->click();

    w->jobs().waitForIdle();

    ASSERT_EQ(user.dialogs.size(), 1);
    const FileDialogRequest& BSD = user.dialogs.first();
    EXPECT_EQ(BSD.fileName, "Brief an Bank.docx");
    EXPECT_EQ(BSD.initialDirectory, "C:\\Users\\Anna\\");
    EXPECT_EQ(BSD.filter, "alle Dateien|*.*");
    EXPECT_TRUE(BSD.confirmOverwrite);
    EXPECT_EQ(readFile("C:\\Elsewhere\\Brief.docx"), content);
    EXPECT_EQ(exits.codes, QList<int>{0});
    EXPECT_EQ(user.pointer(), Pointer::Normal);
    EXPECT_EQ(user.pointerChanges.first(), Pointer::Busy);
}

TEST_F(ExplFTest, RestoreToTakesAHostPathFromTheDialogAsTheSameFile)
{
    test::writeStoredFile(kStored, content);
    user.dialogChoices << host("e/Host/Brief.docx");

    clickAndWait(*window(kStored, QString()), &TExplF::Button2);

    EXPECT_EQ(readFile("E:\\Host\\Brief.docx"), content);
    EXPECT_EQ(exits.codes, QList<int>{0});
}

TEST_F(ExplFTest, RestoreToCopiesTheOtherStoredFormsUnchanged)
{
    const QString stored = "D:\\Store\\C$\\Docs\\plan.xlsx.00003.NX0";
    test::writeStoredFile(stored, content);
    user.dialogChoices << QStringLiteral("C:\\Docs\\plan.xlsx");

    clickAndWait(*window(stored, kKey), &TExplF::Button2);

    ASSERT_EQ(user.dialogs.size(), 1);
    EXPECT_EQ(user.dialogs.first().fileName, "plan.xlsx.00003.NX0");
    EXPECT_EQ(readFile("C:\\Docs\\plan.xlsx"), readFile(stored));
    EXPECT_EQ(exits.codes, QList<int>{0});
}

TEST_F(ExplFTest, RestoreToCancelledWritesNothingAndEnds)
{
    test::writeStoredFile(kStored, content);

    clickAndWait(*window(kStored, QString()), &TExplF::Button2);

    EXPECT_EQ(user.dialogs.size(), 1);
    EXPECT_TRUE(snapshot("C:\\").isEmpty());
    EXPECT_EQ(exits.codes, QList<int>{0});
    EXPECT_EQ(user.pointer(), Pointer::Normal);
}

// A wrong key keeps the window open, with the cause shown and the key field cleared for the
// next try, which then works without a second double-click.
TEST_F(ExplFTest, RestoreToWithTheWrongKeyStaysOpenForAnotherTry)
{
    test::writeStoredFile(kStored, content, kKey);
    writeFile("C:\\Docs\\Brief.docx", "before");
    user.dialogChoices << QStringLiteral("C:\\Docs\\Brief.docx") << QStringLiteral("C:\\Docs\\Brief.docx");
    auto w = window(kStored, "falsch");
    w->show();
    QApplication::setActiveWindow(w.get());

    clickAndWait(*w, &TExplF::Button2);

    EXPECT_EQ(readFile("C:\\Docs\\Brief.docx"), "before");
    EXPECT_EQ(user.messages, QStringList{"Fehler beim Zurückladen der Datei\n\nfalscher Schlüssel: " +
                                         platform::toHostPath(kStored)});
    EXPECT_TRUE(exits.codes.isEmpty());
    EXPECT_EQ(w->sbPanel0->text(), "falscher Schlüssel");
    EXPECT_TRUE(w->eschlussel->text().isEmpty());
    EXPECT_TRUE(w->eschlussel->hasFocus());

    w->eschlussel->setText(kKey);
    QTest::keyClick(w->eschlussel, Qt::Key_Return);
    w->jobs().waitForIdle();
    EXPECT_EQ(readFile("C:\\Docs\\Brief.docx"), content);
    EXPECT_EQ(exits.codes, QList<int>{0});
}

TEST_F(ExplFTest, OpenTemporarilyWithTheWrongKeyTellsItAndOpensNothing)
{
    // An earlier use left its file under the same temporary name.
    test::writeStoredFile(kStored, content, kKey);
    clickAndWait(*window(kStored, kKey), &TExplF::Button1);
    user.opened.clear();

    clickAndWait(*window(kStored, "falsch"), &TExplF::Button1);

    EXPECT_TRUE(user.opened.isEmpty());
    EXPECT_EQ(user.messages, QStringList{"Fehler beim Zurückladen der Datei\n\nfalscher Schlüssel: " +
                                         platform::toHostPath(kStored)});
    EXPECT_EQ(exits.codes, (QList<int>{0}));
}

TEST_F(ExplFTest, EscapeClosesTheWindow)
{
    auto w = window(kStored, QString());
    w->show();
    QApplication::setActiveWindow(w.get());
    QTest::keyClick(w->eschlussel, Qt::Key_Escape);
    EXPECT_EQ(exits.codes, QList<int>{0});
}

TEST_F(ExplFTest, AbbrechenDuringARestoreStopsItOpensNothingAndEnds)
{
    test::writeStoredFile(kStored, QByteArray(64 << 20, 'q'), kKey);
    writeFile(platform::toWindowsPath(tempFile("§tmp.docx")), "an earlier file");
    const auto w = window(kStored, kKey);

    w->Button1->click();
    w->Button3->click();
    w->jobs().waitForIdle();

    EXPECT_TRUE(user.opened.isEmpty());
    EXPECT_TRUE(user.messages.isEmpty()) << "the user asked for it";
    EXPECT_EQ(readFile(platform::toWindowsPath(tempFile("§tmp.docx"))), "an earlier file");
    EXPECT_EQ(exits.codes, QList<int>{0});
}

TEST_F(ExplFTest, CancelEndsAtOnce)
{
    window(kStored, QString())->Button3->click();

    EXPECT_EQ(exits.codes, QList<int>{0});
    EXPECT_TRUE(user.dialogs.isEmpty());
    EXPECT_TRUE(user.opened.isEmpty());
}

TEST_F(ExplFTest, AKeyedRestoreNeedsNoTemporaryDirectory)
{
    test::writeStoredFile(kStored, content, kKey);
    // No private temporary directory can be made: the key is applied while the file is read.
    qputenv("TMPDIR", platform::toHostPath(kStored).toLocal8Bit());
    user.dialogChoices << QStringLiteral("C:\\Docs\\Brief.docx");

    clickAndWait(*window(kStored, kKey), &TExplF::Button2);

    EXPECT_EQ(readFile("C:\\Docs\\Brief.docx"), content);
    EXPECT_TRUE(user.messages.isEmpty()) << qPrintable(user.messages.join("|"));
    EXPECT_EQ(exits.codes, QList<int>{0});
    EXPECT_EQ(user.pointer(), Pointer::Normal);
}

}  // namespace
}  // namespace quorbin::app

namespace quorbin::app {
namespace {

TEST(ExitHookTest, WithoutATestHookACommandEndsTheMessageLoopWithZero)
{
    test::ScriptedUser user;
    TExplF w("D:\\Store\\C$\\Docs\\plan.00003.nxz");
    w.show();
    QTimer::singleShot(0, w.Button3, &QPushButton::click);
    // Should the command not end the loop, this ends it with another code; tied to the window,
    // so it cannot end a later test's loop.
    QTimer::singleShot(5000, &w, [] { QCoreApplication::exit(7); });

    EXPECT_EQ(QCoreApplication::exec(), 0);
}

}  // namespace
}  // namespace quorbin::app
