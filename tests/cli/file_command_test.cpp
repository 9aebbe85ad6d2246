#include "fixtures/cli.h"
#include "fixtures/sandbox.h"
#include "fixtures/storewriter.h"
#include "platform/datetime.h"
#include "platform/files.h"
#include "platform/winpath.h"

#include <QFile>
#include <gtest/gtest.h>

namespace quorbin::test {
namespace {

const QString kStored = "D:\\Store\\Set1\\C$\\Docs\\Bericht.docx.00003.nxz";

class FileCommandTest : public SandboxTest {
protected:
    QProcessEnvironment environment(const QString& key = {}) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("QUORBIN_KEY");
        if (!key.isNull())
            env.insert("QUORBIN_KEY", key);
        return env;
    }
};

TEST_F(FileCommandTest, RestoresWithTheKeyFromTheEnvironmentOrAKeyFile)
{
    const QByteArray content = mixedContent(40000);
    const QString key = QString::fromUtf16(u"Schlüssel\u0416");
    writeStoredFile(kStored, content, key);

    const CliResult byEnv = runCli({"file", kStored, "C:\\out\\a.docx"}, environment(key));
    EXPECT_EQ(byEnv.exitCode, 0) << qPrintable(byEnv.err);
    EXPECT_EQ(readFile("C:\\out\\a.docx"), content);

    QFile keyFile(host("key.txt"));
    keyFile.open(QIODevice::WriteOnly);
    keyFile.write(key.toUtf8() + "\n");
    keyFile.close();
    // Host paths work as well as Windows texts.
    const CliResult byFile = runCli({"file", platform::toHostPath(kStored), host("c/out/b.docx"), "--key-file", host("key.txt")},
                                    environment());
    EXPECT_EQ(byFile.exitCode, 0) << qPrintable(byFile.err);
    EXPECT_EQ(readFile("C:\\out\\b.docx"), content);
}

TEST_F(FileCommandTest, TheRestoredFileGetsTheDateGivenOrTheVersionsOwnTime)
{
    const QDateTime versionTime(QDate(2017, 3, 4), QTime(5, 6, 8));
    writeStoredFile(kStored, "x", QString(), versionTime);
    const QDateTime t(QDate(2019, 5, 6), QTime(7, 8, 10));
    const struct {
        QStringList date;
        QDateTime expected;
    } cases[] = {
        {{"--date", platform::userDateTimeText(t)}, t},
        {{"--date", "06.05.2019 07:08"}, QDateTime(QDate(2019, 5, 6), QTime(7, 8))},
        {{"--date", "2019-05-06 7:08"}, QDateTime(QDate(2019, 5, 6), QTime(7, 8))},
        {{}, versionTime},
    };
    for (const auto& c : cases) {
        const CliResult r = runCli(QStringList{"file", kStored, "C:\\d.txt"} + c.date, environment());
        EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
        EXPECT_EQ(platform::lastWriteTime("C:\\d.txt"), c.expected) << qPrintable(c.date.join(' '));
    }
    writeFile("C:\\d.txt", "before");
    const CliResult unreadable = runCli({"file", kStored, "C:\\d.txt", "--date", "next tuesday"}, environment());
    EXPECT_EQ(unreadable.exitCode, 2);
    EXPECT_TRUE(unreadable.err.startsWith("Datum nicht lesbar: next tuesday")) << qPrintable(unreadable.err);
    EXPECT_EQ(readFile("C:\\d.txt"), QByteArray("before"));
}

TEST_F(FileCommandTest, FailuresNameTheCauseAndThePathExitWithOneAndKeepTheExistingTarget)
{
    const QString truncated = "D:\\Store\\Set1\\C$\\Docs\\kurz.txt.00001.nxz";
    const QString damaged = "D:\\Store\\Set1\\C$\\Docs\\kaputt.txt.00001.nxz";
    const QString missing = "D:\\Store\\Set1\\C$\\Docs\\fehlt.txt.00001.nxz";
    writeStoredFile(kStored, mixedContent(5000), "richtig");
    writeFile(truncated, containerOf("abc").left(5));
    QByteArray corrupt = containerOf(mixedContent(200000));
    corrupt[corrupt.size() / 2] = char(corrupt[corrupt.size() / 2] ^ 0x5A);
    writeFile(damaged, corrupt);
    writeFile("C:\\keep.txt", "bleibt");
    writeFile("C:\\locked.txt", "bleibt");
    QFile::setPermissions(host("c/locked.txt"), QFile::ReadOwner);
    platform::createFolders("C:\\folder\\");
    struct Case {
        QString stored;
        QString key;
        QString target;
        QString cause;
        QString path;  // the host path the message names
    } cases[] = {
        {kStored, "falsch", "C:\\keep.txt", "falscher Schlüssel", kStored},
        {kStored, QString(), "C:\\keep.txt", "kein Schlüssel angegeben", kStored},
        {truncated, QString(), "C:\\keep.txt", "abgeschnitten", truncated},
        {damaged, QString(), "C:\\keep.txt", "beschädigt", damaged},
        {missing, QString(), "C:\\keep.txt", "fehlt oder ist nicht lesbar", missing},
        {kStored, "richtig", "C:\\locked.txt", "schreibgeschützt", "C:\\locked.txt"},
        {kStored, "richtig", "C:\\folder", "ist ein Verzeichnis", "C:\\folder"},
    };
    for (const Case& c : cases) {
        const CliResult r = runCli({"file", c.stored, c.target}, environment(c.key));
        EXPECT_EQ(r.exitCode, 1) << qPrintable(c.cause);
        EXPECT_TRUE(r.err.startsWith("Nicht wiederhergestellt: ")) << qPrintable(r.err);
        EXPECT_TRUE(r.err.contains(c.cause)) << qPrintable(r.err);
        EXPECT_TRUE(r.err.contains(platform::toHostPath(c.path))) << qPrintable(r.err);
        EXPECT_EQ(r.err.count('\n'), 1) << qPrintable(r.err);
    }
    EXPECT_EQ(readFile("C:\\keep.txt"), QByteArray("bleibt"));
    EXPECT_EQ(readFile("C:\\locked.txt"), QByteArray("bleibt"));
    // The target is taken as typed: a "¯" in it is no blank.
    const QString marked = "D:\\Store\\Set1\\C$\\Docs\\Bericht¯neu.docx.00003.nxz";
    writeStoredFile(marked, "neu", "richtig");
    const auto storeBefore = snapshot("D:\\Store");
    EXPECT_EQ(runCli({"file", marked, marked}, environment("richtig")).exitCode, 1) << "its own target";
    EXPECT_EQ(snapshot("D:\\Store"), storeBefore) << "nothing written into the store";
    EXPECT_EQ(runCli({"file", marked, "C:\\a¯b.txt"}, environment("richtig")).exitCode, 0);
    EXPECT_EQ(readFile("C:\\a¯b.txt"), QByteArray("neu"));
    // The stored file as its own target: refused, the store keeps its file.
    const QByteArray storedBytes = readFile(kStored);
    EXPECT_EQ(runCli({"file", kStored, kStored}, environment("richtig")).exitCode, 1);
    EXPECT_EQ(runCli({"file", kStored, kStored}, environment()).exitCode, 1);
    EXPECT_EQ(readFile(kStored), storedBytes);
    const CliResult noKeyFile = runCli({"file", kStored, "C:\\keep.txt", "--key-file", host("absent")}, environment());
    EXPECT_EQ(noKeyFile.exitCode, 1);
}

TEST_F(FileCommandTest, AHostPathOnNoDriveIsAUsageError)
{
    writeStoredFile(kStored, "x");
    QProcessEnvironment env = environment();
    env.insert("QUORBIN_DRIVES", env.value("QUORBIN_DRIVES") + ";Z=" + host("nirgends"));
    const CliResult r = runCli({"file", kStored, "/tmp/quorbin-nowhere/x.txt"}, env);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.startsWith("Pfad liegt auf keinem Laufwerk: /tmp/quorbin-nowhere/x.txt")) << qPrintable(r.err);
    EXPECT_FALSE(QFile::exists("/tmp/quorbin-nowhere/x.txt"));
}

}  // namespace
}  // namespace quorbin::test
