#include "app/backupsetpage.h"
#include "app/launch.h"
#include "app/errorreport.h"

#include "app/explf.h"
#include "app/tquorbin.h"
#include "fixtures/sandbox.h"
#include "fixtures/scripteduser.h"
#include "platform/winpath.h"

#include <QGuiApplication>
#include <QProcess>
#include <QLineEdit>
#include "qstringprinter.h"

#include <gtest/gtest.h>

namespace quorbin::app {
namespace {

struct LaunchCase {
    const char16_t* argument;
    LaunchMode mode;
};

void PrintTo(const LaunchCase& c, std::ostream* os)
{
    *os << '"' << QString::fromUtf16(c.argument).toStdString() << '"'
        << (c.mode == LaunchMode::DoubleClick ? " double-click" : " normal");
}

class LaunchModeTable : public ::testing::TestWithParam<LaunchCase> {};

TEST_P(LaunchModeTable, TheExtensionDecides)
{
    const QString argument = QString::fromUtf16(GetParam().argument);
    EXPECT_EQ(launchModeOf(argument), GetParam().mode) << qPrintable(argument);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, LaunchModeTable,
    ::testing::Values(LaunchCase{u"", LaunchMode::Normal},
                      LaunchCase{u"D:\\Store\\C$\\Docs\\plan.00003.nxz", LaunchMode::DoubleClick},
                      LaunchCase{u"D:\\Store\\C$\\Docs\\plan.00003.NXZ", LaunchMode::DoubleClick},
                      LaunchCase{u"D:\\Store\\C$\\Docs\\plan.00003.nx0", LaunchMode::DoubleClick},
                      LaunchCase{u"D:\\Store\\C$\\Docs\\plan.00003.NX0", LaunchMode::DoubleClick},
                      LaunchCase{u"D:\\Store\\C$\\Docs\\plan.00003.Nxz", LaunchMode::Normal},
                      LaunchCase{u"D:\\Store\\C$\\Docs\\plan.00003.nX0", LaunchMode::Normal},
                      LaunchCase{u"D:\\Store\\C$\\Docs\\plan.nxz.txt", LaunchMode::Normal},
                      LaunchCase{u"report.nxz.bak", LaunchMode::Normal},
                      LaunchCase{u"x.00001.nxz", LaunchMode::DoubleClick},
                      LaunchCase{u"D:\\Store\\a.nxz\\plan", LaunchMode::Normal},
                      LaunchCase{u"D:.nxz", LaunchMode::DoubleClick},
                      LaunchCase{u"D:\\Sets\\Buero.set", LaunchMode::Normal},
                      LaunchCase{u"/home/anna/Store/C$/plan.00002.nxz", LaunchMode::DoubleClick},
                      LaunchCase{u"/home/anna/a.nxz/plan", LaunchMode::Normal}));

class StartWindowTest : public test::SandboxTest {
protected:
    test::ScriptedUser user;
};

TEST_F(StartWindowTest, AStoredFileOpensTheDoubleClickWindowWithOneBeep)
{
    // The file need not exist: the window's commands fail later, the start does not.
    const QString argument = "D:\\Store\\C$\\Docs\\plan.00003.nxz";
    const auto window = startWindow(argument);

    auto* explf = dynamic_cast<TExplF*>(window.get());
    ASSERT_NE(explf, nullptr);
    EXPECT_EQ(explf->Edit1->text(), argument);
    EXPECT_EQ(messageCaption(), "Datenrücksicherung");
    EXPECT_EQ(user.beeps, 1);
}

TEST_F(StartWindowTest, AnythingElseOpensTheMainWindowWithoutBeep)
{
    for (const QString& argument : {QString(), QStringLiteral("D:\\Store\\C$\\Docs\\plan.00003.Nxz")}) {
        const auto window = startWindow(argument);

        auto* main = dynamic_cast<Tquorbin*>(window.get());
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(main->setPage->Edit1->text(), argument);
        EXPECT_EQ(messageCaption(), "quorbin Datenrücksicherung");
    }
    EXPECT_EQ(user.beeps, 0);
}

TEST_F(StartWindowTest, TheLaunchArgumentIsTheFirstArgumentAsAWindowsText)
{
    const QString hostFile = host("c/Store/plan.00003.nxz");
    EXPECT_EQ(launchArgument({"quorbin"}), QString());
    EXPECT_EQ(launchArgument({"quorbin", "D:\\Sets\\a b.set", "more"}), "D:\\Sets\\a b.set");
    EXPECT_EQ(launchArgument({"quorbin", "\\\\server\\share\\x.set"}), "\\\\server\\share\\x.set");
    EXPECT_EQ(launchArgument({"quorbin", hostFile}), "C:\\Store\\plan.00003.nxz");
    EXPECT_EQ(platform::toHostPath(launchArgument({"quorbin", "/srv/other/x.set"})), "/srv/other/x.set");
}

}  // namespace
}  // namespace quorbin::app

namespace quorbin::app {
namespace {

// The program's own options, run as a user runs it; --help and --version need no display.
// German under a German locale, English under any other.
TEST(ProgramOptionsTest, HelpVersionAndUnknownOptions)
{
    struct Case {
        QStringList arguments;
        const char* lang;
        int exitCode;
        const char* outStart;
        const char* errStart;
    };
    const Case cases[] = {
        {{"--help"}, "de_DE.UTF-8", 0, "Aufruf: quorbin [SET-DATEI | GESICHERTE-DATEI]", ""},
        {{"--help"}, "en_US.UTF-8", 0, "Usage: quorbin [SETFILE | STORED-FILE]", ""},
        {{"-h"}, "C.UTF-8", 0, "Usage: quorbin", ""},
        {{"--version"}, "de_DE.UTF-8", 0, "quorbin " QUORBIN_VERSION "\n", ""},
        {{"-platform", "offscreen", "--bogus"}, "de_DE.UTF-8", 2, "", "quorbin: unbekannte Option --bogus"},
        {{"-platform", "offscreen", "--bogus"},
         "en_US.UTF-8",
         2,
         "",
         "quorbin: unknown option --bogus\n\nUsage: quorbin"},
    };
    for (const Case& c : cases) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("QT_QPA_PLATFORM");
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
            environment.remove(name);
        environment.insert("LANG", c.lang);
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(QUORBIN_APP_BINARY), c.arguments);
        ASSERT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitCode(), c.exitCode) << qPrintable(c.arguments.join(' '));
        const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
        EXPECT_TRUE(*c.outStart == 0 || out.startsWith(QString::fromUtf8(c.outStart))) << qPrintable(c.arguments.join(u' ')) << ": " << qPrintable(out);
        EXPECT_TRUE(QString::fromLocal8Bit(program.readAllStandardError()).contains(QString::fromUtf8(c.errStart)));
    }
}

}  // namespace
}  // namespace quorbin::app
