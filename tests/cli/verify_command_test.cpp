#include "engine/keycipher.h"
#include "fixtures/cli.h"
#include "fixtures/sandbox.h"
#include "fixtures/storewriter.h"
#include "platform/files.h"
#include "platform/winpath.h"


#include <QFile>
#include <gtest/gtest.h>

namespace quorbin::test {
namespace {

const QString kStart = "D:\\Store\\Set1\\C$\\Docs";

QDateTime at(int day) { return QDateTime(QDate(2018, 4, day), QTime(10, 0, 2)); }

QByteArray enciphered(QByteArray bytes, const QString& key)
{
    CipherBuffer(true, bytes.data(), bytes.size(), KeyBytes(key), 0);
    return bytes;
}

// One container of each bad kind beside good ones; the store's key is "k".
class VerifyCommandTest : public SandboxTest {
protected:
    void SetUp() override
    {
        SandboxTest::SetUp();
        const QByteArray content = mixedContent(200000, 3);
        const QByteArray container = containerOf(content);
        writeStoredFile(kStart + "\\gut.txt.00001.nxz", content, "k", at(10));
        writeStoredFile(kStart + "\\gut.txt.00002.nxz", content, "k", at(11));
        writeStoredFile(kStart + "\\Sub\\tief.txt.00001.nxz", "tief", "k", at(10));
        QByteArray damaged = container;
        damaged[damaged.size() / 2] = char(damaged.at(damaged.size() / 2) ^ 0x55);
        writeFile(kStart + "\\kaputt.txt.00001.nxz", enciphered(damaged, "k"));
        writeFile(kStart + "\\kurz.txt.00001.nxz", enciphered(container.left(container.size() / 2), "k"));
        writeFile(kStart + "\\leer.txt.00001.nxz", QByteArray());
        writeStoredFile(kStart + "\\fremd.txt.00001.nxz", content, "anderer", at(10));
        // Only the older version is bad: the newest rule never reads it.
        writeFile(kStart + "\\alt.txt.00001.nxz", enciphered(container.left(100), "k"));
        platform::setLastWriteTime(kStart + "\\alt.txt.00001.nxz", at(10));
        writeStoredFile(kStart + "\\alt.txt.00002.nxz", content, "k", at(12));
    }
    QProcessEnvironment env() const
    {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert("QUORBIN_KEY", "k");
        return e;
    }
    // The bad files' lines, sorted: path and cause.
    static QStringList badLines(const CliResult& r)
    {
        QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
        lines.sort();
        return lines;
    }
};

TEST_F(VerifyCommandTest, NamesEachBadFileWithItsCause)
{
    for (const QString jobs : {"1", "3"}) {
        const CliResult r = runCli({"verify", kStart, "--jobs", jobs}, env());
        EXPECT_EQ(r.exitCode, 1) << qPrintable(r.err);
        EXPECT_EQ(badLines(r), (QStringList{kStart + "\\fremd.txt.00001.nxz\tfalscher Schlüssel",
                                            kStart + "\\kaputt.txt.00001.nxz\tDatei beschädigt",
                                            kStart + "\\kurz.txt.00001.nxz\tDatei ist abgeschnitten",
                                            kStart + "\\leer.txt.00001.nxz\tDatei ist leer"}))
            << qPrintable(r.out);
        EXPECT_TRUE(r.err.contains("geprüft: 7 Dateien")) << qPrintable(r.err);
        EXPECT_TRUE(r.err.contains("fehlerhaft: 4")) << qPrintable(r.err);
    }
}

TEST_F(VerifyCommandTest, AllVersionsReadsTheOlderOnesToo)
{
    const CliResult r = runCli({"verify", kStart, "--all-versions"}, env());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(badLines(r).contains(kStart + "\\alt.txt.00001.nxz\tDatei ist abgeschnitten")) << qPrintable(r.out);
    EXPECT_TRUE(r.err.contains("geprüft: 9 Dateien")) << qPrintable(r.err);
    EXPECT_TRUE(r.err.contains("fehlerhaft: 5")) << qPrintable(r.err);
}

TEST_F(VerifyCommandTest, AGoodTreeExitsWithZeroAndWritesNothing)
{
    const QString good = kStart + "\\Sub";
    const CliResult r = runCli({"verify", good}, env());
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_TRUE(r.out.isEmpty()) << qPrintable(r.out);
    EXPECT_TRUE(r.err.contains("geprüft: 1 Datei,")) << qPrintable(r.err);
    EXPECT_TRUE(snapshot("C:\\").isEmpty());
}

TEST_F(VerifyCommandTest, UnreadableFolderIsABadEntry)
{
    if (!permissionsBind())
        GTEST_SKIP() << "this process reads every folder (root); scripts/test.sh runs it again without that";
    const QString host = platform::toHostPath(kStart + "\\Sub");
    QFile::setPermissions(host, QFileDevice::Permissions());
    const CliResult r = runCli({"verify", kStart + "\\Sub"}, env());
    QFile::setPermissions(host, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains("Verzeichnis nicht lesbar")) << qPrintable(r.out);
}

TEST_F(VerifyCommandTest, UsageErrors)
{
    EXPECT_EQ(runCli({"verify"}, env()).exitCode, 2);
    EXPECT_EQ(runCli({"verify", kStart + "\\Fehlt"}, env()).exitCode, 2);
    EXPECT_EQ(runCli({"verify", kStart, "--jobs", "0"}, env()).exitCode, 2);
}

// A dry run reads what it would restore: the same bad files get their ERROR lines, and the
// exit status is that of a real run.
TEST_F(VerifyCommandTest, DryRunOfDirReportsWhatWouldFail)
{
    const CliResult r = runCli({"dir", kStart, "--to", "E:\\Neu", "--dry-run"}, env());
    EXPECT_EQ(r.exitCode, 1);
    for (const QString name : {"fremd", "kaputt", "kurz", "leer"})
        EXPECT_TRUE(r.out.contains("ERROR *****" + kStart + "\\" + name + ".txt.00001.nxz--->   nicht rückgesichert"))
            << qPrintable(name) << qPrintable(r.out);
    EXPECT_FALSE(r.out.contains("ERROR *****" + kStart + "\\gut")) << qPrintable(r.out);
    EXPECT_TRUE(snapshot("E:\\").isEmpty());
}

}  // namespace
}  // namespace quorbin::test
