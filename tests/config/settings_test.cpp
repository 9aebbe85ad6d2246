#include "config/initexts.h"
#include "config/settings.h"
#include "fixtures/sandbox.h"
#include "platform/winpath.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace quorbin::test {
namespace {

std::string text(const SettingLines& lines)
{
    QString out;
    for (const auto& [name, value] : lines)
        out += name + u'=' + value + u'\n';
    return out.toStdString();
}

std::string text(const BackupSet& set) { return text(settingLines(set)); }
std::string text(const ProgramSettings& settings) { return text(settingLines(settings)); }

// A set as the backup program writes it, every key with a value of its own.
const QStringList kFullSet = {
    "[Interval]",
    "interval=2h",
    "[Ziel]",
    "Ziel=E:\\Sicherung",
    "[FTP]",
    "ftp=1",
    "Passive=1",
    "ftphost=nas.local",
    "ftpusername=anna",
    "PORT=2121",
    "PROXY=proxy.lan",
    "PROXYPORT=8021",
    "ftppassw=\"pw x\"",
    "verzeichnis=Sets/Anna",
    "Basis=backup/",
    QString::fromUtf16(u"[SCHLÜSSEL]"),
    QString::fromUtf16(u"SCHLÜSSEL= Kennwört 1 "),
};

const char* const kFullSetText =
    "Interval/interval=2h\n"
    "Ziel/Ziel=E:\\Sicherung\n"
    "FTP/Passive=true\n"
    "FTP/ftphost=nas.local\n"
    "FTP/ftpusername=anna\n"
    "FTP/PORT=2121\n"
    "FTP/PROXY=proxy.lan\n"
    "FTP/PROXYPORT=8021\n"
    "FTP/ftppassw=pw x\n"
    "FTP/verzeichnis=Sets/Anna\n"
    "FTP/Basis=backup/\n"
    "SCHL\xC3\x9CSSEL/SCHL\xC3\x9CSSEL=Kennw\xC3\xB6rt 1\n"
    "FTP/ftp=true\n";

const char* const kDefaultSetText =
    "Interval/interval=1h\n"
    "Ziel/Ziel=c:\\Backups\n"
    "FTP/Passive=false\n"
    "FTP/ftphost=ftp.example.invalid\n"
    "FTP/ftpusername=backup\n"
    "FTP/PORT=21\n"
    "FTP/PROXY=\n"
    "FTP/PROXYPORT=\n"
    "FTP/ftppassw=ruxwend\n"
    "FTP/verzeichnis=\n"
    "FTP/Basis=private/\n"
    "SCHL\xC3\x9CSSEL/SCHL\xC3\x9CSSEL=\n"
    "FTP/ftp=false\n";

using SettingsTest = SandboxTest;

TEST_F(SettingsTest, FullSetFileInBothEncodings)
{
    writeFile("C:\\Sets\\ansi.set", ansiIni(kFullSet));
    writeFile("C:\\Sets\\utf16.set", utf16Ini(kFullSet));
    writeFile("C:\\Sets\\utf16be.set", utf16Ini(kFullSet, true));
    EXPECT_EQ(text(ReadBackupSet("C:\\Sets\\ansi.set")), kFullSetText);
    EXPECT_EQ(text(ReadBackupSet("C:\\Sets\\utf16.set")), kFullSetText);
    EXPECT_EQ(text(ReadBackupSet("c:/sets/../Sets/utf16be.set")), kFullSetText);
}

TEST_F(SettingsTest, DefaultsOfMissingFileSectionAndKey)
{
    EXPECT_EQ(text(ReadBackupSet("C:\\Sets\\fehlt.set")), kDefaultSetText);
    EXPECT_EQ(text(BackupSet()), kDefaultSetText);

    // Without an FTP section every FTP key takes its default; present but empty stays empty.
    writeFile("C:\\a.set", ansiIni({"[Ziel]", "Ziel=", QString::fromUtf16(u"[schlüssel]"),
                                    QString::fromUtf16(u"schlüssel='geheim'")}));
    BackupSet expected;
    expected.Ziel = "";
    expected.SCHLUESSEL = "geheim";
    EXPECT_EQ(text(ReadBackupSet("C:\\a.set")), text(expected));
}

TEST_F(SettingsTest, ProgramSettingsFromTheWindowsDirectory)
{
    EXPECT_EQ(text(ReadProgramSettings("quorbin.ini")), "PROG/MInternet=false\nMF/SetName=\nMF/MITSSL=true\nMF/MITVZ=false\nMF/NURSSL=false\nMF/STILLSTAND=\n");

    const QString ini = platform::windowsDirectory() + "\\quorbin.ini";
    writeFile(ini, ansiIni({"[PROG]", "MInternet=$1", "[MF]", "SetName=Arbeit", "MITSSL=0", "MITVZ=0x1"}));
    EXPECT_EQ(text(ReadProgramSettings("quorbin.ini")), "PROG/MInternet=true\nMF/SetName=Arbeit\nMF/MITSSL=false\nMF/MITVZ=true\nMF/NURSSL=false\nMF/STILLSTAND=\n");

    // Words are no Booleans: each keeps its default.
    writeFile(ini, utf16Ini({"[mf]", QString::fromUtf16(u"setname=Büro"), "MITSSL=ja", "MITVZ=true", "[PROG]", "MInternet=nein"}));
    EXPECT_EQ(text(ReadProgramSettings("quorbin.ini")),
              "PROG/MInternet=false\nMF/SetName=B\xC3\xBCro\nMF/MITSSL=true\nMF/MITVZ=false\nMF/NURSSL=false\nMF/STILLSTAND=\n");
}

TEST_F(SettingsTest, FileNamesAreFoundCaseBlindWhenExactlyOneMatches)
{
    writeFile(platform::windowsDirectory() + "\\QUORBIN.INI", ansiIni({"[MF]", "SetName=Gross"}));
    EXPECT_EQ(ReadProgramSettings("quorbin.ini").SetName, "Gross");
    writeFile(QString::fromUtf16(u"D:\\Sets\\Büro.set"), ansiIni({"[SCHLÜSSEL]", "SCHLÜSSEL=geheim"}));
    EXPECT_EQ(ReadBackupSet(QString::fromUtf16(u"d:/sets/büro.set")).SCHLUESSEL, "geheim");

    // Two names that differ only in case: neither is taken for a third spelling.
    writeFile("D:\\Sets\\zwei.set", ansiIni({"[SCHLÜSSEL]", "SCHLÜSSEL=a"}));
    writeFile("D:\\Sets\\ZWEI.set", ansiIni({"[SCHLÜSSEL]", "SCHLÜSSEL=b"}));
    EXPECT_EQ(ReadBackupSet("D:\\Sets\\Zwei.set").SCHLUESSEL, "");
    EXPECT_EQ(ReadBackupSet("D:\\Sets\\ZWEI.set").SCHLUESSEL, "b");
}

QByteArray garbage(qsizetype size)
{
    QRandomGenerator random(7);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& b : bytes)
        b = static_cast<char>(random.bounded(256));
    return bytes;
}

QByteArray ballast(qsizetype size)
{
    QByteArray bytes = "[Ballast]\r\n";
    for (int i = 0; bytes.size() < size; ++i)
        bytes += "Zeile" + QByteArray::number(i) + "=" + QByteArray(40, 'w') + "\r\n";
    return bytes;
}

TEST_F(SettingsTest, BadFilesYieldARecord)
{
    BackupSet readable;
    readable.Ziel = "D:\\S";
    readable.ftphost = "h";
    const QByteArray tail = ansiIni({"", "[Ziel]", "Ziel=D:\\S", "[FTP]", "ftphost=h"});
    const struct {
        const char* what;
        QByteArray file;
        BackupSet expected;
    } cases[] = {
        {"binary garbage", garbage(64 * 1024), BackupSet()},
        {"garbage before readable lines", garbage(64 * 1024) + tail, readable},
        {"lines without = and [ without ]",
         ansiIni({"[Ziel]", "nur Text", "Ziel=D:\\S", "[FTP", "ftphost=falsch", "[FTP]", "ftphost=h", "==", "="}), readable},
        {"5 MB of lines", ballast(5 * 1024 * 1024) + tail, readable},
        {"8 MB without a line end", QByteArray("[Ziel]\r\nZiel=D:\\S\r\n[FTP]\r\nftphost=h\r\n[x]") + QByteArray(8 << 20, 'x'), readable},
        {"8 MB of [", ansiIni({"[Ziel]", "Ziel=D:\\S", "[FTP]", "ftphost=h"}) + QByteArray(8 << 20, '['), readable},
        {"larger than 16 MiB", tail + ballast(17 * 1024 * 1024), BackupSet()},
    };
    for (const auto& c : cases) {
        writeFile("C:\\bad.set", c.file);
        QElapsedTimer timer;
        timer.start();
        EXPECT_EQ(text(ReadBackupSet("C:\\bad.set")), text(c.expected)) << c.what;
        std::printf("%s: %lld ms\n", c.what, static_cast<long long>(timer.elapsed()));
    }
}

TEST_F(SettingsTest, EntriesThatAreNoFilesYieldDefaults)
{
    QDir().mkpath(platform::toHostPath("C:\\dir.set"));
    ASSERT_EQ(mkfifo(qPrintable(platform::toHostPath("C:\\pipe.set")), 0600), 0);
    EXPECT_EQ(text(ReadBackupSet("C:\\dir.set")), kDefaultSetText);
    EXPECT_EQ(text(ReadBackupSet("C:\\pipe.set")), kDefaultSetText);  // must not wait for a writer
    EXPECT_EQ(text(ReadBackupSet("")), kDefaultSetText);
    EXPECT_EQ(text(ReadBackupSet("\\\\server\\share\\a.set")), kDefaultSetText);
    // A regular file whose reading fails, whoever runs the test.
    EXPECT_EQ(text(ReadBackupSet("Z:\\proc\\self\\mem")), kDefaultSetText);
}

TEST_F(SettingsTest, UnreadableFileYieldsDefaults)
{
    if (!permissionsBind())
        GTEST_SKIP() << "this process reads every file (root); scripts/test.sh runs it again without that";
    writeFile("C:\\locked.set", ansiIni(kFullSet));
    ASSERT_TRUE(QFile::setPermissions(platform::toHostPath("C:\\locked.set"), QFileDevice::Permissions()));
    EXPECT_EQ(text(ReadBackupSet("C:\\locked.set")), kDefaultSetText);
}

}  // namespace
}  // namespace quorbin::test
