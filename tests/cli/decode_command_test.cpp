#include "fixtures/cli.h"

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
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_EQ(none.out, "\n");
}

TEST(CommandLine, UsageErrorsAndHelp)
{
    struct Case {
        QStringList arguments;
        int exitCode;
        const char* inOutput;
    } cases[] = {
        {{}, 2, "Usage"},
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
