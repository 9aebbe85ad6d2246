#include "app/qtuserinterface.h"

#include "app/errorreport.h"

#include "fixtures/sandbox.h"
#include "fixtures/scripteduser.h"
#include "platform/winpath.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include "qstringprinter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

namespace quorbin::app {
namespace {

// Acts on the modal dialog once it is up, as a person would.
void whenDialogShows(std::function<void(QWidget*)> act)
{
    QTimer::singleShot(0, [act] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        act(dialog);
    });
}

TEST(QtNameFilters, TurnsTheWindowsFilterIntoQtFilters)
{
    EXPECT_EQ(qtNameFilters("alle Dateien|*.*"), QStringList{"alle Dateien (*)"});
    EXPECT_EQ(qtNameFilters("Datensicherungs-Sets (*.set)|*.set"), QStringList{"Datensicherungs-Sets (*.set)"});
    EXPECT_EQ(qtNameFilters("Texte|*.txt;*.log|alle|*.*"), (QStringList{"Texte (*.txt *.log)", "alle (*)"}));
    EXPECT_EQ(qtNameFilters(QString()), QStringList());
}

struct BoxCase {
    Buttons buttons;
    QStringList texts;  // the buttons the box shows
    const char* press;
    Answer answer;
};

void PrintTo(const BoxCase& c, std::ostream* os)
{
    *os << c.texts.join('/').toStdString() << ", pressing " << c.press;
}

class MessageBoxes : public ::testing::TestWithParam<BoxCase> {};

TEST_P(MessageBoxes, ShowTheButtonsAndAnswerWhatWasPressed)
{
    QtUserInterface user;
    const BoxCase& c = GetParam();
    QStringList shown;
    QString caption;
    whenDialogShows([&](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        for (QAbstractButton* b : box->buttons())
            shown << b->text();
        for (QAbstractButton* b : box->buttons())
            if (b->text() == QString::fromUtf8(c.press))
                b->click();
    });

    EXPECT_EQ(user.ask("Datei C:\\a.txt überschreiben?", "Frage", c.buttons), c.answer);
    shown.sort();
    QStringList expected = c.texts;
    expected.sort();
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(caption, "Frage");
}

INSTANTIATE_TEST_SUITE_P(Buttons, MessageBoxes,
                         ::testing::Values(BoxCase{Buttons::Ok, {"OK"}, "OK", Answer::Ok},
                                           BoxCase{Buttons::OkCancel, {"OK", "Abbrechen"}, "Abbrechen", Answer::Cancel},
                                           BoxCase{Buttons::YesNo, {"Ja", "Nein"}, "Ja", Answer::Yes},
                                           BoxCase{Buttons::NoOk, {"Nein", "OK"}, "Nein", Answer::No},
                                           BoxCase{Buttons::NoOk, {"Nein", "OK"}, "OK", Answer::Ok}));

// A question about what cannot be undone: Enter or a hasty click on the default answers "Nein".
TEST(QtUserInterfaceTest, NoYesShowsJaAndNeinWithNeinTheDefault)
{
    QtUserInterface user;
    for (const auto& [press, answer] : {std::pair{"Nein", Answer::No}, {"Ja", Answer::Yes}}) {
        SCOPED_TRACE(press);
        QStringList shown;
        QString defaultText;
        whenDialogShows([&, press = press](QWidget* dialog) {
            auto* box = static_cast<QMessageBox*>(dialog);
            ASSERT_NE(box->defaultButton(), nullptr);
            defaultText = box->defaultButton()->text();
            for (QAbstractButton* b : box->buttons()) {
                shown << b->text();
                if (b->text() == QString::fromUtf8(press))
                    b->click();
            }
        });
        EXPECT_EQ(user.ask("Datei /A/x.txt löschen?", "Frage", Buttons::NoYes), answer);
        shown.sort();
        EXPECT_EQ(shown, (QStringList{"Ja", "Nein"}));
        EXPECT_EQ(defaultText, "Nein");
    }
}

TEST(QtUserInterfaceTest, AMessageWithoutCaptionCarriesTheApplicationTitle)
{
    QtUserInterface user;
    setMessageCaption("quorbin Datenrücksicherung");
    QString caption;
    QString text;
    whenDialogShows([&](QWidget* dialog) {
        caption = dialog->windowTitle();
        text = static_cast<QMessageBox*>(dialog)->text();
        static_cast<QMessageBox*>(dialog)->button(QMessageBox::Ok)->click();
    });

    user.showMessage("Fehler beim Zurückladen der Datei", QString());

    EXPECT_EQ(caption, "quorbin Datenrücksicherung");
    EXPECT_EQ(text, "Fehler beim Zurückladen der Datei");
}

TEST(QtUserInterfaceTest, TheBusyPointerIsShownAndPutBack)
{
    QtUserInterface user;
    {
        BusyPointer outer;
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        {
            BusyPointer inner;
            EXPECT_EQ(user.pointer(), Pointer::Busy);
        }
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(user.pointer(), Pointer::Normal);
}

TEST(QtUserInterfaceTest, ADialogShowsTheArrowWhileACommandIsBusy)
{
    QtUserInterface user;
    BusyPointer busy;
    Qt::CursorShape whileAsking = Qt::WaitCursor;
    whenDialogShows([&](QWidget* dialog) {
        whileAsking = QApplication::overrideCursor()->shape();
        static_cast<QMessageBox*>(dialog)->button(QMessageBox::Ok)->click();
    });

    user.showMessage("x", "y");

    EXPECT_EQ(whileAsking, Qt::ArrowCursor);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
}

TEST(UserInterfaceTest, AQuestionFromAJobsThreadIsPutOnTheApplicationsThread)
{
    class ThreadNotingUser : public test::ScriptedUser {
    public:
        Answer ask(const QString& text, const QString& caption, Buttons buttons) override
        {
            askedOn = QThread::currentThread();
            return ScriptedUser::ask(text, caption, buttons);
        }
        QThread* askedOn = nullptr;
    } user;
    user.answers = {Answer::Yes};
    std::atomic<bool> answered = false;
    Answer answer = Answer::No;

    std::thread job([&] {
        answer = ui().ask("Datei ersetzen?", "Frage", Buttons::YesNo);
        answered = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return answered.load(); }, 10000));
    job.join();

    EXPECT_EQ(answer, Answer::Yes);
    EXPECT_EQ(user.askedOn, QCoreApplication::instance()->thread());
    ASSERT_EQ(user.questions.size(), 1);
    EXPECT_EQ(user.questions[0].text, "Datei ersetzen?");
}

class FileDialogs : public test::SandboxTest {};

TEST_F(FileDialogs, TheSaveDialogStartsAtTheProposalAndAnswersAWindowsText)
{
    writeFile("C:\\Users\\Anna\\alt.txt", "x");
    QtUserInterface user;
    FileDialogRequest request;
    request.filter = "alle Dateien|*.*";
    request.fileName = "Brief an Bank.docx";
    request.initialDirectory = "C:\\Users\\Anna\\";
    request.confirmOverwrite = true;
    QString directory;
    QStringList filters;
    bool confirms = false;
    whenDialogShows([&](QWidget* widget) {
        auto* dialog = qobject_cast<QFileDialog*>(widget);
        ASSERT_NE(dialog, nullptr);
        directory = dialog->directory().absolutePath();
        filters = dialog->nameFilters();
        confirms = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        dialog->selectFile(platform::toHostPath("C:\\Users\\Anna\\Brief an Bank.docx"));
        QMetaObject::invokeMethod(dialog, "accept");
    });

    const auto chosen = user.chooseSaveFile(request);

    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, "C:\\Users\\Anna\\Brief an Bank.docx");
    EXPECT_EQ(directory, platform::toHostPath("C:\\Users\\Anna"));
    EXPECT_EQ(filters, QStringList{"alle Dateien (*)"});
    EXPECT_TRUE(confirms);
}

TEST_F(FileDialogs, ACancelledOpenDialogAnswersNothing)
{
    QtUserInterface user;
    FileDialogRequest request;
    request.filter = "Datensicherungs-Sets (*.set)|*.set";
    request.mustExist = true;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    whenDialogShows([&](QWidget* widget) {
        auto* dialog = qobject_cast<QFileDialog*>(widget);
        ASSERT_NE(dialog, nullptr);
        mode = dialog->fileMode();
        dialog->reject();
    });

    EXPECT_FALSE(user.chooseOpenFile(request).has_value());
    EXPECT_EQ(mode, QFileDialog::ExistingFile);
}

}  // namespace
}  // namespace quorbin::app
