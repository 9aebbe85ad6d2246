#include "app/directorylist.h"
#include "app/dirrestorepage.h"
#include "app/drivecombo.h"
#include "app/filelist.h"
#include "app/filerestorepage.h"
#include "app/tquorbin.h"
#include "config/initexts.h"
#include "fixtures/sandbox.h"
#include "fixtures/scripteduser.h"
#include "platform/winpath.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include "qstringprinter.h"

#include <gtest/gtest.h>

namespace quorbin::app {
namespace {

// Where the restore pages' lists stand.
struct ListPlaces {
    QString qdir, qfile, zdlbdir, zdlbGes, startDir;
    QChar fileDrive, dirDrive;

    static ListPlaces of(const Tquorbin& w)
    {
        return {w.filePage->qdir->directory(),    w.filePage->qfile->directory(),     w.dirPage->zdlbdir->directory(),
                w.dirPage->zdlbGes->directory(), w.dirPage->StartDir->text(),        w.filePage->JvDriveCombo1->drive(),
                w.dirPage->Drives->drive()};
    }
    bool operator==(const ListPlaces&) const = default;
};

void PrintTo(const ListPlaces& p, std::ostream* os)
{
    const QStringList parts{p.qdir, p.qfile, p.zdlbdir, p.zdlbGes, p.startDir, p.fileDrive, p.dirDrive};
    *os << parts.join(" | ").toStdString();
}

QStringList texts(const QListWidget* list)
{
    QStringList shown;
    for (int row = 0; row < list->count(); ++row)
        shown << list->item(row)->text();
    return shown;
}

// The names of the file list of "Datei wiederh.".
QStringList texts(const QTreeWidget* list)
{
    QStringList shown;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        shown << list->topLevelItem(row)->text(0);
    return shown;
}

class RestorePagesStartTest : public test::SandboxTest {
protected:
    void writeSet(const QString& path, const QString& ziel) { writeFile(path, test::ansiIni({"[Ziel]", "Ziel=" + ziel})); }

    test::ScriptedUser user;
};

TEST_F(RestorePagesStartTest, WithoutASetTheListsStartAtC)
{
    writeFile("C:\\brief.txt", "b");
    Tquorbin w{QString()};
    EXPECT_EQ(ListPlaces::of(w), (ListPlaces{"c:\\", "c:\\", "c:\\", "c:\\", "StartDir", u'C', u'C'}));
    EXPECT_EQ(texts(w.filePage->qfile), QStringList{"brief.txt"});
}

TEST_F(RestorePagesStartTest, ASetMovesTheListsToItsTargetButTheFileListStaysAtCUntilTheUserMoves)
{
    writeFile("D:\\Store\\Set1\\C$\\a.txt.00001.nxz", "a");
    writeFile("D:\\Store\\Set1\\.hidden", "h");
    writeSet("D:\\Sets\\Buero.set", "D:\\Store\\Set1");

    Tquorbin w("D:\\Sets\\Buero.set");

    const QString store = "D:\\Store\\Set1";
    EXPECT_EQ(ListPlaces::of(w), (ListPlaces{store, "c:\\", store, store, store, u'D', u'D'}));
    EXPECT_EQ(texts(w.dirPage->zdlbGes), (QStringList{".hidden", "C$"})) << "every entry, hidden ones and directories";
    // The store directory itself is no backup path.
    w.dirPage->Button2->click();
    EXPECT_EQ(user.messages, QStringList{"Kein Backup-Pfad. Bitte neu wählen!"});

    // The user's first change in qdir takes the file list along.
    QTreeWidgetItem* drive = w.filePage->qdir->findItems("C$", Qt::MatchExactly | Qt::MatchRecursive).value(0);
    ASSERT_NE(drive, nullptr);
    emit w.filePage->qdir->itemActivated(drive, 0);
    EXPECT_EQ(w.filePage->qdir->directory(), store + "\\C$");
    EXPECT_EQ(w.filePage->qfile->directory(), store + "\\C$");
    EXPECT_EQ(texts(w.filePage->qfile), QStringList{"a.txt"});
    EXPECT_EQ(w.dirPage->zdlbdir->directory(), store) << "the pages move their lists apart";
}

TEST_F(RestorePagesStartTest, TargetsWithoutADriveLetterOrDriveLeaveTheListsAndMissingDirectoriesShowTheDrive)
{
    const QString previousDirectory = QDir::currentPath();
    QDir().mkpath(host("c/Arbeit"));
    QDir::setCurrent(host("c/Arbeit"));
    struct Case {
        const char* name;
        QString ziel;
        ListPlaces expected;
    };
    const ListPlaces unchanged{"c:\\", "c:\\", "c:\\", "c:\\", "StartDir", u'C', u'C'};
    const QList<Case> cases = {
        {"empty", "", unchanged},
        {"network path", "\\\\nas\\sicherung", unchanged},
        {"relative", "Sicherung\\Set1", unchanged},
        {"drive the map does not know", "Q:\\Sicherung", unchanged},
        {"missing directory: the drive's root", "E:\\fehlt", {"E:\\", "c:\\", "E:\\", "E:\\", "E:\\", u'E', u'E'}},
        {"missing directory on the current drive: the current directory", "C:\\fehlt",
         {"C:\\Arbeit", "c:\\", "C:\\Arbeit", "C:\\Arbeit", "C:\\Arbeit", u'C', u'C'}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeSet("D:\\Sets\\Test.set", c.ziel);
        Tquorbin w("D:\\Sets\\Test.set");
        EXPECT_EQ(ListPlaces::of(w), c.expected);
    }
    QDir::setCurrent(previousDirectory);
}

TEST_F(RestorePagesStartTest, OpeningASetMovesBothListsAndTheirFileLists)
{
    writeFile("E:\\Andere\\C$\\x.txt", "x");
    writeSet("E:\\Sets\\Andere.set", "E:\\Andere\\");
    Tquorbin w{QString()};
    user.dialogChoices << QStringLiteral("E:\\Sets\\Andere.set");

    w.ffnen1->trigger();

    EXPECT_EQ(ListPlaces::of(w), (ListPlaces{"E:\\Andere", "E:\\Andere", "E:\\Andere", "E:\\Andere", "E:\\Andere", u'E', u'E'}));
    EXPECT_EQ(texts(w.dirPage->zdlbGes), QStringList{"C$"});
    EXPECT_TRUE(texts(w.filePage->qfile).isEmpty());
}

TEST_F(RestorePagesStartTest, PickingADriveMovesItsDirectoryList)
{
    writeFile("E:\\Store\\C$\\x.txt", "x");
    Tquorbin w{QString()};
    const int e = w.dirPage->Drives->findData(QChar(u'E'));
    ASSERT_GE(e, 0);

    w.dirPage->Drives->setCurrentIndex(e);
    emit w.dirPage->Drives->activated(e);

    EXPECT_EQ(w.dirPage->zdlbdir->directory(), "E:\\");
    EXPECT_EQ(w.dirPage->zdlbGes->directory(), "E:\\");
    EXPECT_EQ(w.dirPage->StartDir->text(), "E:\\");
    EXPECT_EQ(w.filePage->qdir->directory(), "c:\\") << "the other page keeps its place";
    EXPECT_EQ(texts(w.dirPage->zdlbGes), QStringList{"Store"});
}

}  // namespace
}  // namespace quorbin::app
