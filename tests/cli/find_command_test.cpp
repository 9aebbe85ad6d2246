// find, and versions by original name or path, over one small store.
#include "config/initexts.h"
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

const QString kStore = "D:\\Store";
const QString kDocs = "D:\\Store\\Set1\\C$\\Docs";

QDateTime at(int day) { return QDateTime(QDate(2018, 4, day), QTime(10, 0, 2)); }

QString date(int day) { return platform::userDateTimeText(at(day)); }

class FindCommandTest : public SandboxTest {
protected:
    void SetUp() override
    {
        SandboxTest::SetUp();
        writeStoredFile(kDocs + "\\a.txt.00001.nxz", "eins", "k", at(10));
        writeStoredFile(kDocs + "\\a.txt.00002.nxz", "zwei, länger", "k", at(12));
        writeStoredFile(kDocs + QString::fromUtf16(u"\\Brief¯an¯Bank.docx.00001.nxz"), "brief", "k", at(11));
        writeFile(kDocs + "\\liesmich.txt", "so wie es ist");
        platform::setLastWriteTime(kDocs + "\\liesmich.txt", at(9));
        // Later versions only: the first one is gone.
        writeStoredFile(kDocs + "\\Sub\\Plan.TXT.00002.nxz", "zwei", "k", at(13));
        writeStoredFile(kDocs + "\\Sub\\Plan.TXT.00003.nxz", "drei", "k", at(14));
        writeStoredFile("D:\\Store\\Set1\\C$\\Andere\\a.txt.00001.nxz", "anders", "k", at(10));
        writeStoredFile("D:\\Store\\Set1\\$$nas\\daten\\b.txt.00001.nxz", "b", "k", at(10));
        writeFile("C:\\Sets\\Buero.set", ansiIni({"[Ziel]", "Ziel=D:\\Store\\"}));
    }

    QString size(const QString& storePath) const { return QString::number(platform::fileSize(storePath)); }

    // The first column of each file line: the original paths in walk order.
    static QStringList originals(const CliResult& r)
    {
        QStringList paths;
        for (const QString& line : r.out.split('\n', Qt::SkipEmptyParts))
            if (!line.startsWith('\t'))
                paths << line.section('\t', 0, 0);
        return paths;
    }
};

TEST_F(FindCommandTest, PatternsMatchOriginalNamesOrPathsCaseBlind)
{
    const QString brief = "C:\\Docs\\Brief an Bank.docx";
    struct Case {
        QString pattern;
        QStringList found;
    };
    const QList<Case> cases = {
        {"*.txt",
         {"\\\\nas\\daten\\b.txt", "C:\\Andere\\a.txt", "C:\\Docs\\a.txt", "C:\\Docs\\liesmich.txt", "C:\\Docs\\Sub\\Plan.TXT"}},
        {"?.txt", {"\\\\nas\\daten\\b.txt", "C:\\Andere\\a.txt", "C:\\Docs\\a.txt"}},
        {"PLAN.txt", {"C:\\Docs\\Sub\\Plan.TXT"}},
        {"brief an bank.docx", {brief}},
        {QString::fromUtf16(u"Brief¯an*"), {brief}},
        {"c:\\docs\\*.txt", {"C:\\Docs\\a.txt", "C:\\Docs\\liesmich.txt", "C:\\Docs\\Sub\\Plan.TXT"}},
        {"*\\Docs\\?.txt", {"C:\\Docs\\a.txt"}},
        {"\\\\nas\\*", {"\\\\nas\\daten\\b.txt"}},
        {"*.txt.00001.nxz", {}},
        {"fehlt*", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.pattern));
        const CliResult r = runCli({"find", c.pattern, kStore});
        EXPECT_EQ(r.exitCode, c.found.isEmpty() ? 1 : 0) << qPrintable(r.err);
        EXPECT_EQ(originals(r), c.found);
        if (c.found.isEmpty()) {
            EXPECT_EQ(r.err.trimmed(), "Nichts gefunden: " + c.pattern);
        }
    }
}

TEST_F(FindCommandTest, LinesTellVersionsNewestDateAndSizeAndWithVersionsEveryVersion)
{
    const QString first = kDocs + "\\a.txt.00001.nxz", second = kDocs + "\\a.txt.00002.nxz";
    CliResult r = runCli({"find", "a.txt", kDocs});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "C:\\Docs\\a.txt\t2\t" + date(12) + "\t" + size(second) + "\n");

    r = runCli({"find", "*", kDocs, "--versions"});
    EXPECT_EQ(r.exitCode, 0) << "a file without its first version is found all the same";
    const QString plan2 = kDocs + "\\Sub\\Plan.TXT.00002.nxz", plan3 = kDocs + "\\Sub\\Plan.TXT.00003.nxz";
    EXPECT_EQ(r.out.split('\n', Qt::SkipEmptyParts),
              (QStringList{"C:\\Docs\\a.txt\t2\t" + date(12) + "\t" + size(second),
                           "\t" + date(10) + "\t" + size(first) + "\t" + first,
                           "\t" + date(12) + "\t" + size(second) + "\t" + second,
                           "C:\\Docs\\Brief an Bank.docx\t1\t" + date(11) + "\t" + size(kDocs + QString::fromUtf16(u"\\Brief¯an¯Bank.docx.00001.nxz")),
                           "\t" + date(11) + "\t" + size(kDocs + QString::fromUtf16(u"\\Brief¯an¯Bank.docx.00001.nxz")) + "\t" +
                               kDocs + QString::fromUtf16(u"\\Brief¯an¯Bank.docx.00001.nxz"),
                           "C:\\Docs\\liesmich.txt\t1\t" + date(9) + "\t13",
                           "\t" + date(9) + "\t13\t" + kDocs + "\\liesmich.txt",
                           "C:\\Docs\\Sub\\Plan.TXT\t2\t" + date(14) + "\t" + size(plan3),
                           "\t" + date(13) + "\t" + size(plan2) + "\t" + plan2,
                           "\t" + date(14) + "\t" + size(plan3) + "\t" + plan3}));
    EXPECT_EQ(r.err.trimmed(),
              "Warnung: die erste Version fehlt; dir stellt diese Datei nicht wieder her: " + kDocs + "\\Sub\\Plan.TXT");
}

TEST_F(FindCommandTest, TheSetsTargetIsTheDefaultStart)
{
    const CliResult r = runCli({"find", "b.txt", "--set", "C:\\Sets\\Buero.set"});
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(originals(r), QStringList{"\\\\nas\\daten\\b.txt"});

    writeFile("C:\\Sets\\Weg.set", ansiIni({"[Ziel]", "Ziel=E:\\Gibts\\nicht"}));
    const CliResult missing = runCli({"find", "b.txt", "--set", "C:\\Sets\\Weg.set"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.startsWith("Ziel des Sets nicht gefunden: E:\\Gibts\\nicht")) << qPrintable(missing.err);
}

TEST_F(FindCommandTest, UsageErrors)
{
    struct Case {
        QStringList arguments;
        const char* message;
    } cases[] = {
        {{"find"}, "quorbin-restore find MUSTER"},
        {{"find", "*.txt"}, "quorbin-restore find MUSTER"},
        {{"find", "*.txt", kStore, "zuviel"}, "quorbin-restore find MUSTER"},
        {{"find", "*.txt", "--set"}, "--set braucht einen Wert"},
        {{"find", "*.txt", kStore + "\\fehlt"}, "Verzeichnis nicht gefunden"},
        {{"versions", "C:\\Docs\\a.txt"}, "Kein Ordner der Datensicherung"},
        {{"versions", kDocs + "\\Fehlt\\a.txt"}, "Verzeichnis nicht gefunden"},
    };
    for (const Case& c : cases) {
        const CliResult r = runCli(c.arguments);
        EXPECT_EQ(r.exitCode, 2) << qPrintable(c.arguments.join(' '));
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << qPrintable(r.err);
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST_F(FindCommandTest, AnUnreadableFolderIsNamedWithItsReasonAndTheRestIsSearched)
{
    if (!permissionsBind())
        GTEST_SKIP() << "permission bits do not bind for this process";
    const QString locked = host("d/Store/Set1/C$/Andere");
    QFile::setPermissions(locked, QFileDevice::Permissions());
    const CliResult r = runCli({"find", "a.txt", kStore});
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(originals(r), QStringList{"C:\\Docs\\a.txt"});
    EXPECT_EQ(r.err.trimmed(), "Verzeichnis nicht lesbar: " + platform::systemReason(EACCES) + ": " + locked);

    // A search for a path on another folder does not read this one at all.
    QFile::setPermissions(locked, QFileDevice::Permissions());
    const CliResult elsewhere = runCli({"find", "C:\\Docs\\a.txt", kStore});
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(elsewhere.exitCode, 0) << qPrintable(elsewhere.err);
    EXPECT_EQ(originals(elsewhere), QStringList{"C:\\Docs\\a.txt"});
}

TEST_F(FindCommandTest, VersionsByOriginalNameInAStoreFolderOrByOriginalPathBelowTheTarget)
{
    const QString versionsOfA = date(10) + "\t" + kDocs + "\\a.txt.00001.nxz\n" + date(12) + "\t" + kDocs + "\\a.txt.00002.nxz\n";
    const QString plan = date(13) + "\t" + kDocs + "\\Sub\\Plan.TXT.00002.nxz\n" + date(14) + "\t" + kDocs +
                         "\\Sub\\Plan.TXT.00003.nxz\n";
    const QString planWarning =
        "Warnung: die erste Version fehlt; dir stellt diese Datei nicht wieder her: " + kDocs + "\\Sub\\Plan.TXT";
    struct Case {
        const char* name;
        QStringList arguments;
        int exitCode;
        QString out;
        QString err;
    };
    const QList<Case> cases = {
        {"store folder and name, case-blind", {"versions", kDocs + "\\A.TXT"}, 0, versionsOfA, ""},
        {"a name with blanks", {"versions", kDocs + "\\Brief an Bank.docx"}, 0,
         date(11) + "\t" + kDocs + QString::fromUtf16(u"\\Brief¯an¯Bank.docx.00001.nxz\n"), ""},
        {"a plain file is its own version", {"versions", kDocs + "\\liesmich.txt"}, 0,
         date(9) + "\t" + kDocs + "\\liesmich.txt\n", ""},
        {"original path below the set's target", {"versions", "--set", "C:\\Sets\\Buero.set", "C:\\Docs\\a.txt"}, 0,
         versionsOfA, ""},
        {"original path below a start directory, later versions only", {"versions", "c:\\docs\\sub\\plan.txt", kStore}, 0,
         plan, planWarning},
        {"a store path with the set", {"versions", "--set", "C:\\Sets\\Buero.set", kDocs + "\\a.txt"}, 0, versionsOfA, ""},
        {"no such file", {"versions", kDocs + "\\fehlt.txt"}, 1, "", "Keine Versionen gefunden: " + kDocs + "\\fehlt.txt"},
        {"no such original path", {"versions", "C:\\Docs\\fehlt.txt", kStore}, 1, "",
         "Keine Versionen gefunden: C:\\Docs\\fehlt.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliResult r = runCli(c.arguments);
        EXPECT_EQ(r.exitCode, c.exitCode) << qPrintable(r.err);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err.trimmed(), c.err);
    }
}

}  // namespace
}  // namespace quorbin::test
