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

TEST_F(SetCommandTest, PrintsTheSetAndTheProgramSettingsWithTheirFilesAndSecretsHidden)
{
    writeFile("C:\\Sets\\arbeit.set", utf16Ini(kSet));
    writeFile(platform::windowsDirectory() + "\\quorbin.ini", ansiIni({"[MF]", "SetName=Arbeit", "MITVZ=1"}));
    const auto expected = [&](const QString& key, const QString& password) {
        return "# Set-Datei: " + host("c/Sets/arbeit.set") + "\n" +
               QString::fromUtf16(u"Interval/interval=1h\n"
                                  u"Ziel/Ziel=D:\\Store\n"
                                  u"FTP/Passive=false\n"
                                  u"FTP/ftphost=nas.local\n"
                                  u"FTP/ftpusername=backup\n"
                                  u"FTP/PORT=2121\n"
                                  u"FTP/PROXY=\n"
                                  u"FTP/PROXYPORT=\n"
                                  u"FTP/ftppassw=") +
               password + "\nFTP/verzeichnis=\nFTP/Basis=private/\n" + QString::fromUtf16(u"SCHLÜSSEL/SCHLÜSSEL=") +
               key + "\nFTP/ftp=true\n" + "# quorbin.ini: " + platform::toHostPath(platform::windowsDirectory()) +
               "/quorbin.ini (aus QUORBIN_WINDIR)\n" +
               "PROG/MInternet=false\n"
               "MF/SetName=Arbeit\n"
               "MF/MITSSL=true\n"
               "MF/MITVZ=true\n"
               "MF/NURSSL=false\n"
               "MF/STILLSTAND=\n";
    };
    const struct {
        QStringList arguments;
        QString out;
    } cases[] = {
        {{"set", "C:\\Sets\\arbeit.set"}, expected("*", "*")},
        {{"set", host("c/Sets/arbeit.set")}, expected("*", "*")},
        {{"set", "--show-secrets", "C:\\Sets\\arbeit.set"}, expected(kKey, "ruxwend")},
    };
    for (const auto& c : cases) {
        const CliResult r = runCli(c.arguments);
        EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
        EXPECT_EQ(r.out.toStdString(), c.out.toStdString()) << qPrintable(c.arguments.join(' '));
        EXPECT_EQ(r.err, "");
    }
}

TEST_F(SetCommandTest, SaysWhereQuorbinIniWasLookedFor)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QUORBIN_WINDIR");
    env.insert("XDG_CONFIG_HOME", host("config"));
    writeFile("C:\\Sets\\leer.set", ansiIni({"[Ziel]", "Ziel=D:\\Store"}));
    const CliResult r = runCli({"set", "C:\\Sets\\leer.set"}, env);
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_TRUE(r.out.contains("\n# quorbin.ini: " + host("config") +
                               "/quorbin/quorbin.ini (nicht gefunden, Vorgaben) (aus XDG_CONFIG_HOME/quorbin)\n"))
        << qPrintable(r.out);
    EXPECT_TRUE(r.out.contains(QString::fromUtf16(u"\nSCHLÜSSEL/SCHLÜSSEL=\n"))) << "an empty key shows as empty";
}

TEST_F(SetCommandTest, UnreadableSetPrintsDefaultsAndFails)
{
    const CliResult r = runCli({"set", "C:\\Sets\\fehlt.set"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.startsWith("# Set-Datei: " + host("c/Sets/fehlt.set") +
                                 " (nicht gefunden, Vorgaben)\nInterval/interval=1h\nZiel/Ziel=c:\\Backups\n"))
        << qPrintable(r.out);
    EXPECT_EQ(r.out.count('\n'), 21);
    EXPECT_TRUE(r.err.contains("Set-Datei nicht gefunden oder nicht lesbar: C:\\Sets\\fehlt.set")) << qPrintable(r.err);

    EXPECT_EQ(runCli({"set"}).exitCode, 2);
    EXPECT_EQ(runCli({"set", "a.set", "b.set"}).exitCode, 2);
    const CliResult help = runCli({"set", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("quorbin-restore set SET-DATEI"));
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
