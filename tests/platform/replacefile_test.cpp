#include "platform/files.h"
#include "platform/replacefile.h"
#include "platform/winpath.h"

#include "fixtures/sandbox.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

namespace quorbin::platform {
namespace {

class ReplaceFileTest : public test::SandboxTest {
protected:
    QStringList inFolder() const
    {
        return QDir(host("c/Ziel")).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }
    QByteArray hostTarget() const { return host("c/Ziel/a.txt").toLocal8Bit(); }
};

TEST_F(ReplaceFileTest, TheTargetTakesTheNewContentOnlyOnCommitWhateverStoodThere)
{
    struct Case {
        const char* what;
        std::function<void()> before;  // the target's state when the writing begins
        std::function<void()> during;  // what happens to it while the file is written
        mode_t mode;                   // the target's permissions afterwards
    };
    const mode_t fresh = 0666 & ~[] {
        const mode_t m = umask(0);
        umask(m);
        return m;
    }();
    const QList<Case> cases = {
        {"none", [] {}, [] {}, fresh},
        {"an old file",
         [this] {
             writeFile("C:\\Ziel\\a.txt", "alt");
             chmod(hostTarget().constData(), 0640);
         },
         [] {}, 0640},
        {"one made meanwhile", [] {},
         [this] {
             writeFile("C:\\Ziel\\a.txt", "dazwischen");
             chmod(hostTarget().constData(), 0600);
         },
         0600},
        {"a link to a program elsewhere",
         [this] {
             writeFile("C:\\programm", "#!/bin/sh");
             chmod(host("c/programm").toLocal8Bit().constData(), 04755);
             ASSERT_EQ(symlink(host("c/programm").toLocal8Bit().constData(), hostTarget().constData()), 0);
         },
         [] {}, fresh},
        {"a dangling link",
         [this] {
             QDir().mkpath(host("c/Ziel"));
             ASSERT_EQ(symlink("nirgends", hostTarget().constData()), 0);
         },
         [] {}, fresh},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(host("c/Ziel")).removeRecursively();
        QDir().mkpath(host("c/Ziel"));
        c.before();
        const QStringList old = inFolder();
        {
            ReplacementFile out("C:\\Ziel\\a.txt");
            ASSERT_TRUE(out.isOpen()) << qPrintable(out.errorString());
            ASSERT_TRUE(out.write("neu", 3));
            EXPECT_EQ(inFolder().filter(QRegularExpression("^(?!\\.~qb.*\\.part$)")), old)
                << "nothing half-written shows under another name than its own hidden one";
            c.during();
            ASSERT_TRUE(out.setLastWriteTime(QDateTime(QDate(2018, 4, 19), QTime(14, 3, 10))));
            ASSERT_TRUE(out.commit()) << qPrintable(out.errorString());
        }
        EXPECT_EQ(readFile("C:\\Ziel\\a.txt"), QByteArray("neu"));
        EXPECT_EQ(inFolder(), QStringList{"a.txt"});
        EXPECT_EQ(lastWriteTime("C:\\Ziel\\a.txt"), QDateTime(QDate(2018, 4, 19), QTime(14, 3, 10)));
        struct stat st {};
        ASSERT_EQ(lstat(hostTarget().constData(), &st), 0);
        EXPECT_TRUE(S_ISREG(st.st_mode));
        EXPECT_EQ(st.st_mode & 07777, c.mode);
    }
    EXPECT_EQ(readFile("C:\\programm"), QByteArray("#!/bin/sh")) << "what a link pointed to is left alone";
}

TEST_F(ReplaceFileTest, WithoutCommitTheTargetStaysAndNothingIsLeft)
{
    writeFile("C:\\Ziel\\a.txt", "alt");
    {
        ReplacementFile out("C:\\Ziel\\a.txt");
        ASSERT_TRUE(out.write("neu", 3));
    }
    EXPECT_EQ(readFile("C:\\Ziel\\a.txt"), QByteArray("alt"));
    EXPECT_EQ(inFolder(), QStringList{"a.txt"});

    // A folder that is not there is made.
    {
        ReplacementFile out("C:\\Neu\\Tief\\b.txt");
        ASSERT_TRUE(out.isOpen()) << qPrintable(out.errorString());
        ASSERT_TRUE(out.write("b", 1));
        ASSERT_TRUE(out.commit());
    }
    EXPECT_EQ(readFile("C:\\Neu\\Tief\\b.txt"), QByteArray("b"));
}

}  // namespace
}  // namespace quorbin::platform
