#include "engine/storedfiles.h"

#include "fixtures/sandbox.h"
#include "fixtures/storewriter.h"
#include "platform/files.h"
#include "platform/winpath.h"

#include <QFile>
#include <gtest/gtest.h>

namespace quorbin {
namespace {

const QString kDocs = "D:\\Store\\Set1\\C$\\Docs";

QDateTime at(int day) { return QDateTime(QDate(2018, 4, day), QTime(10, 0, 2)); }

// What a test looks at of one file: its names, its versions' names and its kind.
struct Summary {
    QString originalName;
    QString originalPath;
    QStringList versions;  // names, oldest first
    bool plain = false;
    bool hasFirst = false;
    QString unreadable;
    bool operator==(const Summary&) const = default;
};

void PrintTo(const Summary& s, std::ostream* os)
{
    *os << QStringList{s.originalName, s.originalPath, s.versions.join(','), s.plain ? "plain" : "",
                       s.hasFirst ? "first" : "", s.unreadable}
               .join(" | ")
               .toStdString();
}

Summary summaryOf(const StoredFileVersions& file)
{
    QStringList names;
    for (const VersionCandidate& v : file.versions)
        names << platform::namePart(v.path);
    return {file.originalName, file.originalPath, names, file.plain, file.hasFirstVersion(),
            platform::namePart(file.unreadableVersion)};
}

using StoredFilesTest = test::SandboxTest;

TEST_F(StoredFilesTest, AFolderIsReadAsFilesByOriginalNameWithTheirVersionsByTime)
{
    // The second version is older than the first: versions go by time, as the rules take them.
    test::writeStoredFile(kDocs + "\\a.txt.00001.nxz", "eins", {}, at(12));
    test::writeStoredFile(kDocs + "\\a.txt.00002.nxz", "zwei", {}, at(10));
    test::writeStoredFile(kDocs + "\\a.txt.bak.00001.nxz", "bak", {}, at(10));
    test::writeStoredFile(kDocs + QString::fromUtf16(u"\\B¯c.doc.00003.nxz"), "spät", {}, at(11));
    // Two spellings are two files on this disk.
    test::writeStoredFile(kDocs + "\\Twin.txt.00001.nxz", "T", {}, at(10));
    test::writeStoredFile(kDocs + "\\twin.txt.00001.nxz", "t", {}, at(10));
    writeFile(kDocs + "\\liesmich.txt", "plain");
    platform::createFolders(kDocs + "\\kaputt.txt.00001.nxz\\");  // a directory has no time
    platform::createFolders(kDocs + "\\Sub\\");
    QFile::link(host("d/Store/Set1/C$/Docs/Sub"), host("d/Store/Set1/C$/Docs/Verweis"));

    const StoreFolder folder = ReadStoreFolder(kDocs);

    EXPECT_TRUE(folder.listing.ok());
    QList<Summary> files;
    for (const StoredFileVersions& file : folder.files)
        files << summaryOf(file);
    EXPECT_EQ(files, (QList<Summary>{
                         {"a.txt", "C:\\Docs\\a.txt", {"a.txt.00002.nxz", "a.txt.00001.nxz"}, false, true, ""},
                         {"a.txt.bak", "C:\\Docs\\a.txt.bak", {"a.txt.bak.00001.nxz"}, false, true, ""},
                         {"B c.doc", "C:\\Docs\\B c.doc", {QString::fromUtf16(u"B¯c.doc.00003.nxz")}, false, false, ""},
                         {"kaputt.txt", "C:\\Docs\\kaputt.txt", {}, false, false, "kaputt.txt.00001.nxz"},
                         {"liesmich.txt", "C:\\Docs\\liesmich.txt", {"liesmich.txt"}, true, true, ""},
                         {"Twin.txt", "C:\\Docs\\Twin.txt", {"Twin.txt.00001.nxz"}, false, true, ""},
                         {"twin.txt", "C:\\Docs\\twin.txt", {"twin.txt.00001.nxz"}, false, true, ""},
                     }));
    EXPECT_EQ(folder.folders, (QStringList{"kaputt.txt.00001.nxz", "Sub"})) << "no linked folder";
    ASSERT_EQ(folder.files.first().newest()->path, kDocs + "\\a.txt.00001.nxz");
    EXPECT_EQ(folder.files.first().newest()->size, platform::fileSize(kDocs + "\\a.txt.00001.nxz"));
}

TEST_F(StoredFilesTest, AMissingFolderIsToldWithItsReason)
{
    const StoreFolder folder = ReadStoreFolder(kDocs + "\\fehlt");
    EXPECT_EQ(folder.listing.kind, ErrorKind::SourceUnreadable);
    EXPECT_EQ(folder.listing.path, host("d/Store/Set1/C$/Docs/fehlt"));
    EXPECT_TRUE(folder.listing.message.startsWith("Verzeichnis nicht lesbar: ")) << qPrintable(folder.listing.message);
    EXPECT_TRUE(folder.files.isEmpty());
}

}  // namespace
}  // namespace quorbin
