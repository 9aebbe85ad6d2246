#include "platform/winpath.h"

#include "platform/drivemap.h"
#include "fixtures/sandbox.h"

#include <QDir>
#include <gtest/gtest.h>

namespace quorbin::platform {
namespace {

class WinPathTest : public test::SandboxTest {};

struct ToHostCase {
    const char* windows;
    const char* hostBelowSandbox;  // "@" stands for the sandbox root; absolute otherwise
};

TEST_F(WinPathTest, MapsWindowsTextsThroughTheDriveMap)
{
    const ToHostCase cases[] = {
        {"C:\\Ziel\\a.txt", "@/c/Ziel/a.txt"},
        {"c:\\Ziel\\a.txt", "@/c/Ziel/a.txt"},
        {"C:/Ziel/a.txt", "@/c/Ziel/a.txt"},
        {"C:\\Ziel\\\\a.txt", "@/c/Ziel/a.txt"},
        {"C:\\", "@/c"},
        {"C:", "@/c"},
        {"C:\\a\\..\\b\\.\\x", "@/c/b/x"},
        {"C:\\..\\..\\etc\\passwd", "@/c/etc/passwd"},
        {"F:\\Daten\\x", "@/data/quorbin/drives/f/Daten/x"},
        {"\\\\nas\\daten\\Projekte\\p.xlsx", "@/data/quorbin/unc/nas/daten/Projekte/p.xlsx"},
        {"\\\\nas\\daten\\..\\..\\x", "@/data/quorbin/unc/nas/daten/x"},
        {"Z:\\mnt\\usb\\Store", "/mnt/usb/Store"},
        {"z:\\", "/"},
    };
    for (const ToHostCase& c : cases) {
        QString expected = QString::fromUtf8(c.hostBelowSandbox);
        expected.replace("@", host("").chopped(1));
        EXPECT_EQ(toHostPath(QString::fromUtf8(c.windows)), expected) << c.windows;
    }
}

TEST_F(WinPathTest, RelativeTextsCountFromTheCurrentDirectory)
{
    const QString previous = QDir::currentPath();
    QDir().mkpath(host("c/work"));
    QDir::setCurrent(host("c/work"));
    EXPECT_EQ(currentWindowsDirectory(), "C:\\work");
    EXPECT_EQ(toHostPath("sub\\a.txt"), host("c/work/sub/a.txt"));
    EXPECT_EQ(toHostPath("\\rooted.txt"), host("c/rooted.txt"));
    QDir::setCurrent(previous);
}

TEST_F(WinPathTest, HostPathsTakeTheLongestDriveRootElseZ)
{
    qputenv("QUORBIN_DRIVES", QStringLiteral("C=%1/c;D=%1/c/deeper").arg(host("").chopped(1)).toLocal8Bit());
    EXPECT_EQ(toWindowsPath(host("c/x/y.txt")), "C:\\x\\y.txt");
    EXPECT_EQ(toWindowsPath(host("c/deeper/y.txt")), "D:\\y.txt");
    EXPECT_EQ(toWindowsPath(host("c")), "C:\\");
    EXPECT_EQ(toWindowsPath("/usr/share/doc"), "Z:\\usr\\share\\doc");
    EXPECT_EQ(toWindowsPath(host("data/quorbin/unc/nas/daten/a")), "\\\\nas\\daten\\a");
    EXPECT_EQ(toWindowsPath(host("data/quorbin/drives/g/a")), "G:\\a");
}

TEST_F(WinPathTest, RoundTripsWindowsTexts)
{
    for (const char* text : {"C:\\Users\\Anna\\Brief an Bank.docx", "D:\\Store\\Set1\\C$\\x.txt.00001.nxz",
                             "\\\\nas\\daten\\p", "Z:\\tmp\\ä ö ü"})
        EXPECT_EQ(toWindowsPath(toHostPath(QString::fromUtf8(text))), QString::fromUtf8(text));
}

TEST_F(WinPathTest, RecognisesExplicitWindowsPaths)
{
    EXPECT_TRUE(looksLikeWindowsPath("C:\\x"));
    EXPECT_TRUE(looksLikeWindowsPath("d:"));
    EXPECT_TRUE(looksLikeWindowsPath("\\\\srv\\share"));
    EXPECT_FALSE(looksLikeWindowsPath("/tmp/x"));
    EXPECT_FALSE(looksLikeWindowsPath("relative\\x"));
    EXPECT_FALSE(looksLikeWindowsPath("1:\\x"));
}

TEST_F(WinPathTest, WindowsDirectoryComesFromTheEnvironment)
{
    EXPECT_EQ(toHostPath(windowsDirectory()), host("windows"));
}

TEST_F(WinPathTest, WithZMappedElsewhereAPathOnNoDriveHasNoWindowsTextAndRelativeTextsStillResolve)
{
    const QByteArray drives = qgetenv("QUORBIN_DRIVES");
    qputenv("QUORBIN_DRIVES", drives + ";Z=" + host("nirgends").toLocal8Bit());
    QDir().mkpath(host("outside"));
    const QString before = QDir::currentPath();
    QDir::setCurrent(host("outside"));

    EXPECT_EQ(toWindowsPath(host("outside/x.txt")), QString()) << "no drive holds it";
    EXPECT_EQ(toHostPath("x.txt"), host("outside/x.txt")) << "no endless recursion";
    EXPECT_EQ(toHostPath("\\x.txt"), host("outside/x.txt"));
    EXPECT_EQ(toHostPath("C:\\a.txt"), host("c/a.txt"));

    QDir::setCurrent(before);
    qputenv("QUORBIN_DRIVES", drives);
}

}  // namespace
}  // namespace quorbin::platform

namespace quorbin::platform {
namespace {

// The user's map in the settings file: letters and shares land where it says, both ways;
// QUORBIN_DRIVES still wins for the letters it names (the sandbox maps C, D and E).
TEST_F(WinPathTest, TheSettingsFileMapsLettersAndShares)
{
    QString error;
    ASSERT_TRUE(writeDriveMap({{"F:", host("media/Sicherung")}, {"\\\\nas\\daten", host("mnt/nas")}, {"C:", "/tmp"}},
                              error))
        << qPrintable(error);
    EXPECT_EQ(readDriveMap().size(), 3);
    EXPECT_EQ(toHostPath("F:\\Store\\a.txt"), host("media/Sicherung/Store/a.txt"));
    EXPECT_EQ(toHostPath("\\\\NAS\\Daten\\p.xlsx"), host("mnt/nas/p.xlsx"));
    EXPECT_EQ(toHostPath("\\\\nas\\andere\\p.xlsx"), host("data/quorbin/unc/nas/andere/p.xlsx"));
    // "." and ".." where the server or share belongs name neither: the share is still the
    // mapped one, not its unmapped place below "unc" (found by the fuzz harness "paths").
    for (const char* text : {"\\\\..\\nas\\daten\\p.xlsx", "\\\\nas\\.\\daten\\p.xlsx", "//nas/../daten/./p.xlsx"})
        EXPECT_EQ(toHostPath(text), host("mnt/nas/p.xlsx")) << text;
    EXPECT_EQ(toHostPath("C:\\x"), host("c/x"));
    EXPECT_EQ(toWindowsPath(host("media/Sicherung/Store")), "F:\\Store");
    EXPECT_EQ(toWindowsPath(host("mnt/nas/p.xlsx")), "\\\\nas\\daten\\p.xlsx");
    EXPECT_TRUE(knownDriveLetters().contains(QChar(u'F')));

    ASSERT_TRUE(writeDriveMap({}, error));
    EXPECT_EQ(toHostPath("F:\\Store"), host("data/quorbin/drives/f/Store"));
}

TEST(DriveMapTest, NamesAreNormalisedOrRefused)
{
    const std::pair<const char*, const char*> cases[] = {
        {"d", "D:"}, {"d:", "D:"}, {"D:\\", "D:"}, {"\\\\nas\\daten\\", "\\\\nas\\daten"}, {"//nas/daten", "\\\\nas\\daten"},
        {"\\\\nas", ""}, {"\\\\nas\\..", ""}, {"DD", ""}, {"1:", ""}, {"", ""},
    };
    for (const auto& [text, name] : cases)
        EXPECT_EQ(normalisedDriveName(QString::fromUtf8(text)), QString::fromUtf8(name)) << text;
}

}  // namespace
}  // namespace quorbin::platform
