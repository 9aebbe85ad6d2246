#include "config/initexts.h"
#include "fixtures/cli.h"
#include "fixtures/sandbox.h"
#include "fixtures/storewriter.h"
#include "platform/winpath.h"

#include <QFile>
#include <gtest/gtest.h>

namespace quorbin::test {
namespace {

const QString kKey = QString::fromUtf16(u"Schlüssel \u0416");

const QStringList kSet = {
    "[Ziel]",
    "Ziel=D:\\Store",
    "[FTP]",
    "ftp=1",
    "ftphost=nas.local",
    "PORT=2121",
    QString::fromUtf16(u"[SCHLÜSSEL]"),
    QString::fromUtf16(u"SCHLÜSSEL=\"") + kKey + "\"",
};

class SetCommandTest : public SandboxTest {
protected:
    void SetUp() override
    {
        SandboxTest::SetUp();
        qunsetenv("QUORBIN_KEY");
    }

    QProcessEnvironment environmentWithKey(const QString& key) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QUORBIN_KEY", key);
        return env;
    }
};

TEST_F(SetCommandTest, PrintsTheSetAndTheProgramSettings)
{
    writeFile("C:\\Sets\\arbeit.set", utf16Ini(kSet));
    writeFile(platform::windowsDirectory() + "\\quorbin.ini", ansiIni({"[MF]", "SetName=Arbeit", "MITVZ=1"}));
    const QString expected = QString::fromUtf16(
        u"Interval/interval=1h\n"
        u"Ziel/Ziel=D:\\Store\n"
        u"FTP/Passive=false\n"
        u"FTP/ftphost=nas.local\n"
        u"FTP/ftpusername=backup\n"
        u"FTP/PORT=2121\n"
        u"FTP/PROXY=\n"
        u"FTP/PROXYPORT=\n"
        u"FTP/ftppassw=ruxwend\n"
        u"FTP/verzeichnis=\n"
        u"FTP/Basis=private/\n"
        u"SCHLÜSSEL/SCHLÜSSEL=Schlüssel \u0416\n"
        u"FTP/ftp=true\n"
        u"PROG/MInternet=false\n"
        u"MF/SetName=Arbeit\n"
        u"MF/MITSSL=true\n"
        u"MF/MITVZ=true\n");

    for (const QString& argument : {QStringLiteral("C:\\Sets\\arbeit.set"), host("c/Sets/arbeit.set")}) {
        const CliResult r = runCli({"set", argument});
        EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
        EXPECT_EQ(r.out.toStdString(), expected.toStdString()) << qPrintable(argument);
        EXPECT_EQ(r.err, "");
    }
}

TEST_F(SetCommandTest, UnreadableSetPrintsDefaultsAndFails)
{
    const CliResult r = runCli({"set", "C:\\Sets\\fehlt.set"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.startsWith("Interval/interval=1h\nZiel/Ziel=c:\\Backups\n")) << qPrintable(r.out);
    EXPECT_EQ(r.out.count('\n'), 17);
    EXPECT_TRUE(r.err.contains("Set-Datei nicht gefunden oder nicht lesbar: C:\\Sets\\fehlt.set")) << qPrintable(r.err);

    EXPECT_EQ(runCli({"set"}).exitCode, 2);
    EXPECT_EQ(runCli({"set", "a.set", "b.set"}).exitCode, 2);
    const CliResult help = runCli({"set", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("quorbin-restore set SETFILE"));
}

TEST_F(SetCommandTest, FileTakesTheKeyFromTheSet)
{
    const QString stored = "D:\\Store\\C$\\Docs\\Plan.txt.00001.nxz";
    const QByteArray content = mixedContent(20000);
    writeStoredFile(stored, content, kKey);
    writeFile("C:\\Sets\\arbeit.set", utf16Ini(kSet));
    writeFile("C:\\Sets\\falsch.set", ansiIni({QString::fromUtf16(u"[SCHLÜSSEL]"), QString::fromUtf16(u"SCHLÜSSEL=falsch")}));
    QFile keyFile(host("key.txt"));
    ASSERT_TRUE(keyFile.open(QIODevice::WriteOnly));
    keyFile.write(kKey.toUtf8());
    keyFile.close();

    // Precedence: --key-file, then --set, then QUORBIN_KEY.
    const struct {
        const char* what;
        QStringList options;
        QString environmentKey;
        int exitCode;
    } cases[] = {
        {"set alone", {"--set", "C:\\Sets\\arbeit.set"}, {}, 0},
        {"set before the environment", {"--set", "C:\\Sets\\arbeit.set"}, "falsch", 0},
        {"key file before the set", {"--set", "C:\\Sets\\falsch.set", "--key-file", host("key.txt")}, {}, 0},
        {"a wrong key in the set", {"--set", "C:\\Sets\\falsch.set"}, kKey, 1},
        {"a missing set", {"--set", "C:\\Sets\\fehlt.set"}, kKey, 1},
        {"--set without a value", {"--set"}, kKey, 2},
    };
    for (const auto& c : cases) {
        writeFile("C:\\out\\Plan.txt", "vorher");
        const CliResult r = runCli(QStringList{"file", stored, "C:\\out\\Plan.txt"} + c.options, environmentWithKey(c.environmentKey));
        EXPECT_EQ(r.exitCode, c.exitCode) << c.what << ": " << qPrintable(r.err);
        EXPECT_EQ(readFile("C:\\out\\Plan.txt"), c.exitCode == 0 ? content : QByteArray("vorher")) << c.what;
    }
    const CliResult missing = runCli({"file", stored, "C:\\out\\Plan.txt", "--set", "C:\\Sets\\fehlt.set"});
    EXPECT_TRUE(missing.err.contains("Set-Datei nicht gefunden")) << qPrintable(missing.err);
}

}  // namespace
}  // namespace quorbin::test
