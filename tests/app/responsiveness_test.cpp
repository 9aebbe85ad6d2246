// The window keeps handling its events while its long jobs run, and "Aktion abbrechen" ends
// them soon, with the target left as it was.
#include "app/backupsetpage.h"
#include "app/directoryedit.h"
#include "app/directorylist.h"
#include "app/dirrestorepage.h"
#include "app/filelist.h"
#include "app/filerestorepage.h"
#include "app/jobrunner.h"
#include "app/radiogroup.h"
#include "app/tquorbin.h"
#include "engine/tzip.h"
#include "fixtures/sandbox.h"
#include "fixtures/scripteduser.h"
#include "fixtures/storewriter.h"
#include "platform/files.h"
#include "platform/winpath.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include "qstringprinter.h"

#include <gtest/gtest.h>

#include <functional>

namespace quorbin::app {
namespace {

const QString kFolder = "D:\\Store\\Set1\\C$\\Daten";
const QString kLarge = kFolder + "\\gross.bin.00001.nxz";
const QByteArray kOld = "the user's file as it was";
// Generous: a window that stood still for the whole expansion would miss it many times over.
constexpr qint64 kLargestGapMs = 500;
constexpr qint64 kCancelWithinMs = 3000;

class ResponsivenessTest : public test::SandboxTest {
protected:
    void SetUp() override
    {
        SandboxTest::SetUp();
        window = std::make_unique<Tquorbin>(QString());
    }
    void TearDown() override
    {
        window.reset();
        SandboxTest::TearDown();
    }

    // A stored file that expands to 1 GiB, written without holding it in memory.
    void writeLargeStoredFile()
    {
        const QString plain = host("plain.bin");
        QFile file(plain);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const QByteArray chunk(1 << 20, 'q');
        for (int i = 0; i < 1024; ++i)
            file.write(chunk);
        file.close();
        platform::createFolders(kFolder + "\\");
        Zip().Shrink(platform::toWindowsPath(plain), kLarge);
        QFile::remove(plain);
    }

    // The longest time the window's thread went without a tick of its timer while `run` ran.
    static qint64 largestGapWhile(const std::function<void()>& run)
    {
        QElapsedTimer clock;
        clock.start();
        qint64 last = 0;
        qint64 largest = 0;
        QTimer tick;
        tick.setInterval(10);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            largest = std::max(largest, clock.elapsed() - last);
            last = clock.elapsed();
        });
        tick.start();
        run();
        return std::max(largest, clock.elapsed() - last);
    }

    // Cancels as soon as the job has shown some progress; the time from the cancel to its end.
    qint64 cancelOnceUnderWay()
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return window->pb->value() > 0; }, 30000)) << "no progress shown";
        QElapsedTimer clock;
        clock.start();
        window->Aktionabbrechen1->trigger();
        window->jobs().waitForIdle();
        return clock.elapsed();
    }

    QStringList halfWritten(const QString& hostDirectory) const
    {
        return QDir(hostDirectory).entryList({"*.part"}, QDir::Files | QDir::Hidden);
    }

    test::ScriptedUser user;
    std::unique_ptr<Tquorbin> window;
};

TEST_F(ResponsivenessTest, ALargeExpansionLeavesTheWindowAliveAndEndsSoonWhenCancelled)
{
    writeLargeStoredFile();
    window->filePage->qdir->setDirectory(kFolder);
    ASSERT_TRUE(window->filePage->qfile->selectName("gross.bin.00001.nxz"));
    user.dialogChoices << QStringLiteral("E:\\gross.bin") << QStringLiteral("E:\\gross.bin");

    const qint64 gap = largestGapWhile([&] {
        window->filePage->wiederherstellenananderenOrt1->trigger();
        window->jobs().waitForIdle();
    });
    EXPECT_LT(gap, kLargestGapMs);
    EXPECT_EQ(platform::fileSize("E:\\gross.bin"), qint64(1) << 30);
    EXPECT_EQ(window->sbPanel0->text(), "abgeschlossen; wiederhergestellt: " + platform::toHostPath("E:\\gross.bin"));

    writeFile("E:\\gross.bin", kOld);
    window->filePage->wiederherstellenananderenOrt1->trigger();
    EXPECT_LT(cancelOnceUnderWay(), kCancelWithinMs);
    EXPECT_EQ(readFile("E:\\gross.bin"), kOld);
    EXPECT_EQ(halfWritten(host("e")), QStringList());
    EXPECT_EQ(window->sbPanel0->text(), "abgebrochen");
    EXPECT_TRUE(user.messages.isEmpty()) << qPrintable(user.messages.join('\n'));
}

TEST_F(ResponsivenessTest, ADirectoryWalkLeavesTheWindowAliveAndStopsWhenCancelled)
{
    for (int i = 0; i < 300; ++i)
        test::writeStoredFile(kFolder + QStringLiteral("\\Teil%1\\datei%2.txt.00001.nxz").arg(i % 10).arg(i),
                              test::mixedContent(20000, quint32(i)));
    writeLargeStoredFile();
    window->dirPage->StartDir->setText(kFolder);
    window->dirPage->Art->setItemIndex(1);
    window->dirPage->Zieldir->setText("E:\\Neu");

    const qint64 gap = largestGapWhile([&] {
        window->dirPage->Button2->click();
        window->jobs().waitForIdle();
    });
    EXPECT_LT(gap, kLargestGapMs);
    EXPECT_EQ(platform::fileSize("E:\\Neu\\gross.bin"), qint64(1) << 30);
    EXPECT_EQ(window->sbPanel0->text(), "abgeschlossen; 301 Dateien wiederhergestellt nach " + host("e/Neu"));

    writeFile("E:\\Neu\\gross.bin", kOld);
    window->dirPage->Button2->click();
    EXPECT_LT(cancelOnceUnderWay(), kCancelWithinMs);
    EXPECT_TRUE(window->sbPanel0->text().startsWith("abgebrochen")) << qPrintable(window->sbPanel0->text());
    const QStringList lines = window->Memo2->toPlainText().split('\n', Qt::SkipEmptyParts);
    EXPECT_TRUE(lines.contains("fertig"));
    EXPECT_LT(lines.size(), 303) << "the walk stopped before its end";
    EXPECT_EQ(halfWritten(host("e/Neu")), QStringList());
}

}  // namespace
}  // namespace quorbin::app
