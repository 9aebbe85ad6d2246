// Every way a single-file restore can fail names its cause and the host path, and leaves an
// existing target as it was.
#include "engine/keycipher.h"
#include "engine/restore.h"

#include "fixtures/sandbox.h"
#include "fixtures/storewriter.h"
#include "platform/files.h"
#include "platform/winpath.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <functional>

namespace quorbin {
namespace {

const QString kStored = "D:\\Store\\C$\\a.txt.00001.nxz";
const QString kTarget = "C:\\Ziel\\a.txt";
const QByteArray kOld = "the user's file before the restore";

class RestoreErrorsTest;

struct Failure {
    const char* name;
    std::function<void(RestoreErrorsTest&)> arrange;  // writes the stored file and the target
    QString key;
    ErrorKind kind;
    const char* cause;     // part of the message
    bool pathIsTarget;     // else the stored file's host path
    bool targetKept = true;
};

class RestoreErrorsTest : public test::SandboxTest, public ::testing::WithParamInterface<Failure> {
public:
    using test::SandboxTest::host;
    using test::SandboxTest::writeFile;
};

QByteArray large() { return test::mixedContent(3 << 20, 7); }

void writeContainer(RestoreErrorsTest& t, const QByteArray& bytes) { t.writeFile(kStored, bytes); }

const Failure kFailures[] = {
    {"NoKeyForAnEncipheredFile", [](auto&) { test::writeStoredFile(kStored, "secret", "k3y"); }, {},
     ErrorKind::NoKey, "kein Schlüssel", false},
    {"WrongKey", [](auto&) { test::writeStoredFile(kStored, "secret", "right key"); }, "wrong key",
     ErrorKind::WrongKey, "falscher Schlüssel", false},
    {"DamagedData",
     [](auto& t) {
         QByteArray c = test::containerOf(large());
         c[c.size() / 2] = char(c[c.size() / 2] ^ 0x55);
         c[c.size() / 2 + 1] = char(c[c.size() / 2 + 1] ^ 0x55);
         writeContainer(t, c);
     },
     {}, ErrorKind::Damaged, "beschädigt", false},
    // An invalid first block under a key: nothing came out, so a wrong key could have made it.
    {"DamagedFirstBlockOfAKeyedFile",
     [](auto& t) {
         QByteArray c = test::containerOf(large());
         c[2] = char(0x07);  // a final block of the reserved type 3
         CipherBuffer(true, c.data(), c.size(), KeyBytes("k"), 0);
         writeContainer(t, c);
     },
     "k", ErrorKind::DamagedOrWrongKey, "nicht zu unterscheiden", false},
    {"BadChecksum",
     [](auto& t) {
         QByteArray c = test::containerOf("some content");
         c[c.size() - 1] = char(c[c.size() - 1] ^ 1);
         writeContainer(t, c);
     },
     {}, ErrorKind::Damaged, "beschädigt", false},
    // A header that asks for a preset dictionary, as some wrong keys make it: told alike by
    // both inflaters.
    {"DictionaryFlag", [](auto& t) { writeContainer(t, QByteArray("\x78\xBB\x01\x02\x03\x04\x4B\x04\x00", 9)); }, {},
     ErrorKind::NoKey, "kein Schlüssel", false},
    {"Truncated", [](auto& t) { writeContainer(t, test::containerOf(large()).left(200000)); }, {},
     ErrorKind::Truncated, "abgeschnitten", false},
    {"Empty", [](auto& t) { writeContainer(t, QByteArray()); }, {}, ErrorKind::Truncated, "leer", false},
    {"MissingSource", [](auto&) {}, {}, ErrorKind::SourceUnreadable, "fehlt", false},
    {"ReadOnlyTarget",
     [](auto& t) {
         test::writeStoredFile(kStored, "new");
         QFile::setPermissions(t.host("c/Ziel/a.txt"), QFile::ReadOwner);
     },
     {}, ErrorKind::TargetNotWritable, "schreibgeschützt", true},
    {"TargetIsADirectory",
     [](auto& t) {
         test::writeStoredFile(kStored, "new");
         QFile::remove(t.host("c/Ziel/a.txt"));
         platform::createFolders(kTarget + "\\");
     },
     {}, ErrorKind::TargetNotWritable, "ist ein Verzeichnis", true, false},
};

TEST_P(RestoreErrorsTest, NamesTheCauseAndKeepsTheTarget)
{
    const Failure& failure = GetParam();
    writeFile(kTarget, kOld);
    failure.arrange(*this);

    const JobResult result = RestoreStored(kStored, kTarget, failure.key, QString(), quietContext());

    EXPECT_EQ(result.kind, failure.kind) << result.message.toStdString();
    EXPECT_TRUE(result.message.contains(QString::fromUtf8(failure.cause))) << result.message.toStdString();
    const QString path = failure.pathIsTarget ? kTarget : kStored;
    EXPECT_EQ(result.path, platform::toHostPath(path));
    if (failure.targetKept) {
        EXPECT_EQ(readFile(kTarget), kOld);
    }
    EXPECT_EQ(QDir(host("c/Ziel")).entryList(QDir::Files | QDir::Hidden).filter(".part"), QStringList())
        << "no half-written file beside the target";
}

INSTANTIATE_TEST_SUITE_P(Causes, RestoreErrorsTest, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.name); });

class RestoreChecksumTest : public test::SandboxTest {};

TEST_F(RestoreChecksumTest, AKeyedFileWhoseChecksumAloneIsWrongIsDamagedNotPerhapsAWrongKey)
{
    test::writeStoredFile(kStored, "short content, all in one buffer", "k");
    QByteArray stored = readFile(kStored);
    stored[stored.size() - 1] = char(stored[stored.size() - 1] ^ 1);
    writeFile(kStored, stored);

    const JobResult result = RestoreStored(kStored, kTarget, "k", QString(), quietContext());

    EXPECT_EQ(result.kind, ErrorKind::Damaged);
    EXPECT_EQ(result.message, "Datei beschädigt") << "the data came out whole, so the key was right";
}

class RestoreCancelTest : public test::SandboxTest {};

TEST_F(RestoreCancelTest, AStopBetweenBuffersEndsTheRestoreAndKeepsTheTarget)
{
    test::writeStoredFile(kStored, large(), "k");
    writeFile(kTarget, kOld);
    std::stop_source stop;
    class StopAfterFirstBuffer : public ProgressSink {
    public:
        std::stop_source& stop;
        explicit StopAfterFirstBuffer(std::stop_source& s) : stop(s) {}
        void advanced(qint64, qint64) override { stop.request_stop(); }
    } progress(stop);
    const JobContext context{stop.get_token(), RestoreReporter{noStatus(), noLog(), progress}};

    const JobResult result = RestoreStored(kStored, kTarget, "k", QString(), context);

    EXPECT_EQ(result.kind, ErrorKind::Cancelled);
    EXPECT_EQ(readFile(kTarget), kOld);
    EXPECT_EQ(QDir(host("c/Ziel")).entryList(QDir::Files | QDir::Hidden), QStringList{"a.txt"});
}

}  // namespace
}  // namespace quorbin
