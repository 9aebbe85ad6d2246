#include "fixtures/cli.h"
#include "fixtures/sandbox.h"
#include "fixtures/storewriter.h"
#include "platform/winpath.h"

#include <gtest/gtest.h>

namespace quorbin::test {
namespace {

const QString kStart = "D:\\Store\\Set1\\C$\\Docs";
const QString kStored = kStart + "\\a.txt.00001.nxz";

// quorbin-restore speaks English under any locale but a German one; the log lines of a
// restore stay German in both, for scripts read them.
class CliLanguageTest : public SandboxTest {
protected:
    void SetUp() override
    {
        SandboxTest::SetUp();
        writeStoredFile(kStored, "eins", "k");
    }
    static QProcessEnvironment locale(const QString& lang, const QString& key = "k")
    {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
            e.insert(name, QString());
        e.insert("LANG", lang);
        e.insert("QUORBIN_KEY", key);
        return e;
    }
};

TEST_F(CliLanguageTest, HelpUsageErrorsAndFailuresFollowTheLocale)
{
    const QString hostStored = platform::toHostPath(kStored);
    const struct {
        QStringList arguments;
        const char* lang;
        QString key;
        int exitCode;
        QString outStart;
        QString errStart;
    } cases[] = {
        {{"--help"},
         "en_US.UTF-8",
         "k",
         0,
         "Usage: quorbin-restore COMMAND [ARGUMENTS]\n\nCommands:\n  decode    print the original path of a store "
         "path\n",
         ""},
        {{"--help"},
         "de_DE.UTF-8",
         "k",
         0,
         "Aufruf: quorbin-restore BEFEHL [ARGUMENTE]\n\nBefehle:\n  decode    den Originalpfad eines Backup-Pfads "
         "ausgeben\n",
         ""},
        {{"file", "--help"},
         "C.UTF-8",
         "k",
         0,
         "quorbin-restore file STORED TARGET [--date TEXT] [--key-file FILE] [--set SETFILE]\n\n"
         "Restores one stored file (.nxz container) to TARGET: deciphers it with the key, expands\n",
         ""},
        {{"file", "--help"},
         "de_AT.UTF-8",
         "k",
         0,
         "quorbin-restore file GESICHERT ZIELDATEI [--date TEXT] [--key-file DATEI] [--set SET-DATEI]\n\n"
         "Stellt eine gesicherte Datei (.nxz-Container) als ZIELDATEI wieder her: entschlüsselt sie\n",
         ""},
        {{"dir", kStart, "--rule", "sometimes"}, "en_US.UTF-8", "k", 2, "", "Unknown rule: sometimes\n"},
        {{"dir", kStart, "--rule", "sometimes"}, "de_DE.UTF-8", "k", 2, "", "Unbekannte Regel: sometimes\n"},
        {{"nonsense"}, "en_US.UTF-8", "k", 2, "", "Unknown command: nonsense\n\nUsage: quorbin-restore"},
        {{"file", kStored, "C:\\out.txt"},
         "en_US.UTF-8",
         "falsch",
         1,
         "",
         "Not restored: wrong key: " + hostStored + "\n"},
        {{"file", kStored, "C:\\out.txt"},
         "de_DE.UTF-8",
         "falsch",
         1,
         "",
         "Nicht wiederhergestellt: falscher Schlüssel: " + hostStored + "\n"},
        {{"file", kStart + "\\fehlt.txt.00001.nxz", "C:\\out.txt"},
         "en_US.UTF-8",
         "k",
         1,
         "",
         "Not restored: stored file is missing or not readable: " +
             platform::toHostPath(kStart + "\\fehlt.txt.00001.nxz") + "\n"},
    };
    for (const auto& c : cases) {
        const CliResult r = runCli(c.arguments, locale(c.lang, c.key));
        const QString what = c.arguments.join(' ') + " under " + c.lang;
        EXPECT_EQ(r.exitCode, c.exitCode) << qPrintable(what);
        // An empty expectation means nothing at all on that stream.
        EXPECT_TRUE(c.outStart.isEmpty() ? r.out.isEmpty() : r.out.startsWith(c.outStart)) << qPrintable(what + ": " + r.out);
        EXPECT_TRUE(c.errStart.isEmpty() ? r.err.isEmpty() : r.err.startsWith(c.errStart)) << qPrintable(what + ": " + r.err);
    }
}

TEST_F(CliLanguageTest, PromptsAndTheirAnswersFollowTheLocaleTheLogLinesStayGerman)
{
    const struct {
        const char* lang;
        QByteArray typed;
        QString question;
    } cases[] = {
        {"en_US.UTF-8", "y\n", "Restore file, overwrite?: Replace file C:\\Docs\\a.txt? [o=OK/c=Cancel] "},
        {"de_DE.UTF-8", "j\n",
         "Datei wiederherstellen, überschreiben?: Datei C:\\Docs\\a.txt ersetzen? [o=OK/a=Abbrechen] "},
    };
    for (const auto& c : cases) {
        writeFile("C:\\Docs\\a.txt", "alt");
        const CliResult r = runCli({"dir", kStart, "--ask"}, locale(c.lang), c.typed);
        EXPECT_EQ(r.exitCode, 0) << c.lang << ": " << qPrintable(r.err);
        EXPECT_EQ(r.err, c.question) << c.lang << ": " << qPrintable(r.err);
        // The date between them is written as the locale writes dates.
        EXPECT_TRUE(r.out.startsWith("start\n" + kStored + "--->   ")) << c.lang << ": " << qPrintable(r.out);
        EXPECT_TRUE(r.out.endsWith(" C:\\Docs\\a.txt\nfertig\nwiederhergestellt nach: " + platform::toHostPath("C:\\Docs") + "\n"))
            << c.lang << ": " << qPrintable(r.out);
        EXPECT_EQ(r.out.count('\n'), 4) << c.lang << ": " << qPrintable(r.out);
        EXPECT_EQ(readFile("C:\\Docs\\a.txt"), QByteArray("eins")) << c.lang;
    }
}

TEST_F(CliLanguageTest, TheErrorLineStaysGermanAroundAnEnglishCause)
{
    const CliResult r = runCli({"dir", kStart}, locale("en_US.UTF-8", "falsch"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "start\nERROR *****" + kStored + "--->   nicht rückgesichert (wrong key)\nfertig\n");
}

TEST_F(CliLanguageTest, VerifySummaryFollowsTheLocale)
{
    const CliResult english = runCli({"verify", kStart}, locale("en_US.UTF-8"));
    EXPECT_EQ(english.exitCode, 0) << qPrintable(english.err);
    EXPECT_TRUE(english.err.startsWith("checked: 1 file, ")) << qPrintable(english.err);
    const CliResult german = runCli({"verify", kStart}, locale("de_DE.UTF-8"));
    EXPECT_TRUE(german.err.startsWith("geprüft: 1 Datei, ")) << qPrintable(german.err);
}

}  // namespace
}  // namespace quorbin::test
