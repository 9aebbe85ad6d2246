// The INI reader. Input: the bytes of a file (a backup set or quorbin.ini).
//
// Properties: a file within the size limit loads; a value is at most 2047 characters and never
// keeps a line end; integers stay in 32 bits; the records read from the file hold what a key
// lookup gives.
#include "config/ansitext.h"
#include "config/inifile.h"
#include "config/settings.h"
#include "sandbox.h"

#include <cstddef>
#include <cstdint>

using namespace quorbin;
using namespace quorbin::config;
using quorbin::fuzz::violated;

namespace {

void checkValue(const IniFile& ini, QStringView section, QStringView key)
{
    const std::optional<QString> value = ini.value(section, key);
    if (!value)
        return;
    if (value->size() > IniFile::kMaxValueLength || value->contains(u'\r') || value->contains(u'\n'))
        violated("a value is one line of at most 2047 characters",
                 "[" + section.toString() + "] " + key.toString() + " = " + *value);
    if (const auto number = iniInteger(*value); number && (*number < INT32_MIN || *number > INT32_MAX))
        violated("an integer has 32 bits", *value);
}

// Each "key=value" line of the text with the section it is in; the section and key are
// looked up in full, as the settings do.
void checkNamedKeys(const IniFile& ini, const QString& text)
{
    QString section;
    int looked = 0;
    for (const QString& raw : QString(text).replace(u'\r', u'\n').split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[') && line.contains(u']')) {
            section = line.mid(1, line.indexOf(u']') - 1).trimmed();
        } else if (const qsizetype eq = line.indexOf(u'='); eq > 0 && ++looked <= 64) {
            checkValue(ini, section, line.left(eq).trimmed());
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = decodeIniBytes(bytes);
    fuzz::writeBytes(fuzz::sandboxPath("windows/quorbin.ini"), bytes);
    fuzz::writeBytes(fuzz::sandboxPath("c/Sets/Buero.set"), bytes);

    const IniFile ini = IniFile::load(QStringLiteral("quorbin.ini"));
    if (!ini.loaded())
        violated("a file within the size limit loads", QString::number(size) + " bytes");
    checkNamedKeys(ini, text);

    // Program settings are read by the same code as a set: one of the two is enough, and every
    // load costs much under AddressSanitizer (the reader's buffer is as large as its limit).
    const BackupSet set = ReadBackupSet(QStringLiteral("C:\\Sets\\BUERO.SET"));
    if (set.Ziel != ini.readString(u"Ziel", u"Ziel", BackupSet().Ziel) ||
        set.SCHLUESSEL != ini.readString(u"SCHL\u00DCSSEL", u"SCHL\u00DCSSEL", QString()) ||
        set.ftp != ini.readBool(u"FTP", u"ftp", false))
        violated("the set holds what the file says", text.left(2000));
    for (const auto& [name, value] : settingLines(set))
        if (value.size() > IniFile::kMaxValueLength)
            violated("a setting is at most 2047 characters", name);
    return 0;
}
