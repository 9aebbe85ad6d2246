#include "config/inifile.h"
#include "config/initexts.h"
#include "fixtures/sandbox.h"
#include "platform/winpath.h"

#include <gtest/gtest.h>

namespace quorbin::test {
namespace {

using config::IniFile;

const QString kUmlautKey = QString::fromUtf16(u"SCHLÜSSEL");
const QString kUmlautKeyLower = QString::fromUtf16(u"schlüssel");

struct ValueCase {
    const char* what;
    QByteArray file;
    QString section;
    QString key;
    std::optional<QString> expected;
};

// QStrings print as code units; UTF-8 shows what went wrong.
std::optional<std::string> printable(const std::optional<QString>& value)
{
    if (!value)
        return {};
    return value->toStdString();
}

class IniFileTest : public SandboxTest {
protected:
    std::optional<QString> valueOf(const QByteArray& file, const QString& section, const QString& key)
    {
        writeFile("C:\\t.ini", file);
        return IniFile::load("C:\\t.ini").value(section, key);
    }
};

TEST_F(IniFileTest, ValuesByTheProfileRules)
{
    const QString long3000 = QString(1000, u'a') + QString(1000, u'b') + QString(1000, u'c');
    const QString first2047 = long3000.left(2047);
    const ValueCase cases[] = {
        {"plain", ansiIni({"[FTP]", "ftphost=host.lan"}), "FTP", "ftphost", "host.lan"},
        {"section and key case-blind", ansiIni({"[ftp]", "FTPHOST=host.lan"}), "FTP", "ftphost", "host.lan"},
        {"ANSI Ü upper, looked up lower", QByteArray("[SCHL\xDCSSEL]\r\nSCHL\xDCSSEL=geheim\r\n"), kUmlautKeyLower,
         kUmlautKeyLower, "geheim"},
        {"ANSI ü lower, looked up upper", QByteArray("[schl\xFCssel]\r\nschl\xFCssel=geheim\r\n"), kUmlautKey, kUmlautKey,
         "geheim"},
        {"UTF-16 LE Ü, value beyond ANSI",
         utf16Ini({QString::fromUtf16(u"[schlüssel]"), QString::fromUtf16(u"Schlüssel=Schlüssel€\u0416✓")}), kUmlautKey,
         kUmlautKey, QString::fromUtf16(u"Schlüssel€\u0416✓")},
        {"UTF-16 BE", utf16Ini({"[" + kUmlautKey + "]", kUmlautKey + QString::fromUtf16(u"=\u0416")}, true), kUmlautKeyLower, kUmlautKey,
         QString::fromUtf16(u"\u0416")},
        {"UTF-8 with byte-order mark", QByteArray("\xEF\xBB\xBF[Ziel]\r\nZiel=D:\\Gr\xC3\xBC\xC3\x9F" "e\r\n"), "Ziel", "Ziel",
         QString::fromUtf16(u"D:\\Grüße")},
        {"Windows-1252 0x80 to 0x9F", QByteArray("[S]\r\nk=\x80\x81\x8A\x9F\r\n"), "S", "k",
         QString::fromUtf16(u"€\u0081Š\u0178")},
        {"UTF-8 without byte-order mark", QByteArray("[Ziel]\r\nZiel=D:\\Gr\xC3\xBC\xC3\x9F" "e\r\n"), "Ziel", "Ziel",
         QString::fromUtf16(u"D:\\Grüße")},
        {"a lone UTF-16 surrogate becomes U+FFFD", utf16Ini({"[FTP]", QString("verzeichnis=") + QChar(0xDADA) + "\\..\\x"}),
         "FTP", "verzeichnis", QString(QChar(0xFFFD)) + "\\..\\x"},
        {"LF line ends", QByteArray("[Ziel]\nZiel=D:\\S\n[FTP]\nPORT=2121\n"), "FTP", "PORT", "2121"},
        {"bare CR line ends", QByteArray("[Ziel]\rZiel=D:\\S\r[FTP]\rPORT=2121\r"), "FTP", "PORT", "2121"},
        {"no line end at the end", QByteArray("[FTP]\r\nPORT=2121"), "FTP", "PORT", "2121"},
        {"blanks trimmed", ansiIni({"  [ FTP ]  ", "\t PORT  =   21 21 \t"}), "FTP", "PORT", "21 21"},
        {"a no-break space is no blank", ansiIni({"[S]", QString::fromUtf16(u"k=geheim\u00A0 ")}), "S", "k",
         QString::fromUtf16(u"geheim\u00A0")},
        {"first = splits", ansiIni({"[FTP]", "ftppassw=a=b=c"}), "FTP", "ftppassw", "a=b=c"},
        {"double quotes dropped", ansiIni({"[FTP]", "Basis=\"  a b \""}), "FTP", "Basis", "  a b "},
        {"single quotes dropped", ansiIni({"[FTP]", "Basis='x'"}), "FTP", "Basis", "x"},
        {"only one pair dropped", ansiIni({"[FTP]", "Basis=\"\"x\"\""}), "FTP", "Basis", "\"x\""},
        {"unmatched quotes kept", ansiIni({"[FTP]", "Basis=\"x'"}), "FTP", "Basis", "\"x'"},
        {"a lone quote kept", ansiIni({"[FTP]", "Basis=\""}), "FTP", "Basis", "\""},
        {"quotes inside kept", ansiIni({"[FTP]", "Basis=a\"b\""}), "FTP", "Basis", "a\"b\""},
        {"empty value is present", ansiIni({"[Ziel]", "Ziel="}), "Ziel", "Ziel", ""},
        {"blank value is present", ansiIni({"[Ziel]", "Ziel=   "}), "Ziel", "Ziel", ""},
        {"empty quotes are an empty value", ansiIni({"[Ziel]", "Ziel=\"\""}), "Ziel", "Ziel", ""},
        {"3000 characters cut to 2047", ansiIni({"[S]", "k=" + long3000}), "S", "k", first2047},
        {"quoted 3000 characters cut to 2047", ansiIni({"[S]", "k=\"" + long3000 + "\""}), "S", "k", first2047},
        {"missing key", ansiIni({"[FTP]", "PORT=21"}), "FTP", "PROXY", std::nullopt},
        {"missing section", ansiIni({"[FTP]", "PORT=21"}), "Ziel", "PORT", std::nullopt},
        {"key of another section", ansiIni({"[FTP]", "Ziel=x", "[Ziel]", "other=y"}), "Ziel", "Ziel", std::nullopt},
        {"key before any section", ansiIni({"Ziel=x", "[Ziel]"}), "Ziel", "Ziel", std::nullopt},
        {"key as a prefix is no match", ansiIni({"[FTP]", "ftpx=1", "ftp x=2"}), "FTP", "ftp", std::nullopt},
        {"first of two keys wins", ansiIni({"[FTP]", "PORT=1", "port=2"}), "FTP", "PORT", "1"},
        {"only the first section of a name is searched", ansiIni({"[FTP]", "PORT=1", "[Ziel]", "[ftp]", "PROXY=p"}), "FTP",
         "PROXY", std::nullopt},
        {"first section's key despite a later one", ansiIni({"[FTP]", "PORT=1", "[FTP]", "PORT=2"}), "FTP", "PORT", "1"},
        {"line without = names no key", ansiIni({"[FTP]", "PROXY", "PORT=21"}), "FTP", "PROXY", std::nullopt},
        {"line without = does not stop the section", ansiIni({"[FTP]", "PROXY", "PORT=21"}), "FTP", "PORT", "21"},
        {"[ without ] opens no section", ansiIni({"[Ziel]", "[FTP", "PORT=99"}), "FTP", "PORT", std::nullopt},
        {"[ without ] leaves the section open", ansiIni({"[Ziel]", "[FTP", "PORT=99"}), "Ziel", "PORT", "99"},
        {"text after ] ignored", ansiIni({"[FTP] ; Verbindung", "PORT=21"}), "FTP", "PORT", "21"},
        {"empty file", QByteArray(), "FTP", "PORT", std::nullopt},
        {"byte-order mark only", QByteArray("\xFF\xFE"), "FTP", "PORT", std::nullopt},
        {"UTF-16 with an odd last byte", utf16Ini({"[FTP]", "PORT=21"}) + 'x', "FTP", "PORT", "21"},
    };
    for (const ValueCase& c : cases)
        EXPECT_EQ(printable(valueOf(c.file, c.section, c.key)), printable(c.expected)) << c.what;
}

TEST_F(IniFileTest, BooleansAreIntegers)
{
    // Nothing expected: the value is no integer and the fallback stands.
    const struct {
        const char* value;
        std::optional<bool> expected;
    } cases[] = {
        {"1", true},           {"-1", true},         {"0", false},        {"000", false},       {"+7", true},
        {"0x10", true},        {"0X0", false},       {"$ff", true},       {"$0", false},        {"$FFFFFFFF", true},
        {"2147483647", true},  {"-2147483648", true}, {"\"1\"", true},    {"  0  ", false},     {"-0x1", true},
        {"True", {}},          {"false", {}},        {"ja", {}},          {"", {}},             {"1a", {}},
        {"0x", {}},            {"$", {}},            {"-", {}},           {"1.0", {}},          {"1 0", {}},
        {"0xG", {}},           {"2147483648", {}},   {"$100000000", {}},  {"99999999999999999999", {}},
    };
    for (const auto& c : cases) {
        writeFile("C:\\b.ini", ansiIni({"[FTP]", QStringLiteral("Passive=") + c.value}));
        const IniFile ini = IniFile::load("C:\\b.ini");
        EXPECT_EQ(ini.readBool(u"FTP", u"Passive", false), c.expected.value_or(false)) << c.value;
        EXPECT_EQ(ini.readBool(u"FTP", u"Passive", true), c.expected.value_or(true)) << c.value;
    }
    const IniFile ini = IniFile::load("C:\\b.ini");
    EXPECT_FALSE(ini.readBool(u"FTP", u"absent", false));
    EXPECT_TRUE(ini.readBool(u"FTP", u"absent", true));
}

TEST_F(IniFileTest, BareNamesLieInTheWindowsDirectory)
{
    writeFile(platform::windowsDirectory() + "\\quorbin.ini", ansiIni({"[MF]", "SetName=aus Windows"}));
    writeFile("C:\\quorbin.ini", ansiIni({"[MF]", "SetName=vom Laufwerk"}));

    EXPECT_EQ(config::iniFilePath("quorbin.ini"), platform::windowsDirectory() + "\\quorbin.ini");
    EXPECT_EQ(printable(IniFile::load("quorbin.ini").value(u"MF", u"SetName")), "aus Windows");
    EXPECT_EQ(printable(IniFile::load("C:\\quorbin.ini").value(u"MF", u"SetName")), "vom Laufwerk");
    EXPECT_EQ(config::iniFilePath("C:quorbin.ini"), "C:quorbin.ini");
    EXPECT_EQ(config::iniFilePath("sets/a.set"), "sets/a.set");
}

}  // namespace
}  // namespace quorbin::test
