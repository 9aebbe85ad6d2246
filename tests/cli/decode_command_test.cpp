#include "fixtures/cli.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quorbin::test {
namespace {

TEST(DecodeCommand, PrintsTheDecodedPathOnOneLine)
{
    const CliResult file = runCli({"decode", QString::fromUtf16(u"D:\\Store\\Set1\\C$\\Users\\Anna\\Brief¯an¯Bank.docx.00002.nxz")});
    EXPECT_EQ(file.exitCode, 0);
    EXPECT_EQ(file.out, QString::fromUtf16(u"C:\\Users\\Anna\\Brief¯an¯Bank.docx\n"));

    const CliResult dir = runCli({"decode", "--dir", "D:\\Store\\Set1\\$$nas\\daten\\plan.xlsx.00001.nxz"});
    EXPECT_EQ(dir.exitCode, 0);
    EXPECT_EQ(dir.out, "\\\\nas\\daten\\plan.xlsx.00001.nxz\n");

    const CliResult none = runCli({"decode", "D:\\Store\\Docs\\plan.00001.nxz"});
    EXPECT_EQ(none.exitCode, 1) << "no drive or server level: nothing to decode";
    EXPECT_EQ(none.out, "");
    EXPECT_TRUE(none.err.startsWith("Kein Backup-Pfad")) << qPrintable(none.err);
}

TEST(DecodeCommand, AHostOrRelativePathIsDecodedWithBackslashes)
{
    QTemporaryDir dir;
    const QString relative = "Store/Set1/C$/Users/a.txt.00001.nxz";
    QProcess process;
    process.setWorkingDirectory(dir.path());
    for (const QString& argument : {dir.path() + "/" + relative, "./" + relative}) {
        process.start(QStringLiteral(QUORBIN_CLI), {"decode", argument});
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 0) << qPrintable(argument);
        EXPECT_EQ(QString::fromUtf8(process.readAllStandardOutput()), "C:\\Users\\a.txt\n") << qPrintable(argument);
    }
}

TEST(DecodeCommand, ControlCharactersInANameAreShownEscaped)
{
    const CliResult r = runCli({"decode", QString("D:\\S\\C$\\ab\rERROR\x1b[2K.txt.00001.nxz")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "C:\\ab\\rERROR\\x1b[2K.txt\n");
}

TEST(CommandLine, UsageErrorsAndHelp)
{
    struct Case {
        QStringList arguments;
        int exitCode;
        const char* inOutput;
    } cases[] = {
        {{}, 2, "Aufruf"},
        {{"--help"}, 0, "decode"},
        {{"nonsense"}, 2, "Unbekannter Befehl"},
        {{"decode"}, 2, "quorbin-restore decode"},
        {{"decode", "--help"}, 0, "quorbin-restore decode"},
        {{"file", "--help"}, 0, "QUORBIN_KEY"},
        {{"file", "only-one"}, 2, "quorbin-restore file"},
        {{"file", "a", "b", "--date"}, 2, "--date"},
    };
    for (const Case& c : cases) {
        const CliResult r = runCli(c.arguments);
        EXPECT_EQ(r.exitCode, c.exitCode) << qPrintable(c.arguments.join(' '));
        EXPECT_TRUE((r.out + r.err).contains(c.inOutput)) << qPrintable(c.arguments.join(' ') + ": " + r.out + r.err);
    }
}

}  // namespace
}  // namespace quorbin::test

namespace quorbin::test {
namespace {

TEST(ProgramOptions, VersionComesFromTheProject)
{
    const CliResult r = runCli({"--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "quorbin-restore " QUORBIN_VERSION "\n");
}

}  // namespace
}  // namespace quorbin::test
