#include "config/settings.h"

#include "config/inifile.h"

#include <variant>

namespace quorbin {
namespace {

// One key of a file and the field it fills; the record's own initial value is its default.
template <typename Record>
struct Field {
    QStringView section;
    QStringView key;
    std::variant<QString Record::*, bool Record::*> member;
};

const Field<BackupSet> kBackupSetFields[] = {
    {u"Interval", u"interval", &BackupSet::interval},
    {u"Ziel", u"Ziel", &BackupSet::Ziel},
    {u"FTP", u"Passive", &BackupSet::Passive},
    {u"FTP", u"ftphost", &BackupSet::ftphost},
    {u"FTP", u"ftpusername", &BackupSet::ftpusername},
    {u"FTP", u"PORT", &BackupSet::PORT},
    {u"FTP", u"PROXY", &BackupSet::PROXY},
    {u"FTP", u"PROXYPORT", &BackupSet::PROXYPORT},
    {u"FTP", u"ftppassw", &BackupSet::ftppassw},
    {u"FTP", u"verzeichnis", &BackupSet::verzeichnis},
    {u"FTP", u"Basis", &BackupSet::Basis},
    {u"SCHL\u00DCSSEL", u"SCHL\u00DCSSEL", &BackupSet::SCHLUESSEL},
    {u"FTP", u"ftp", &BackupSet::ftp},
};

const Field<ProgramSettings> kProgramSettingsFields[] = {
    {u"PROG", u"MInternet", &ProgramSettings::MInternet},
    {u"MF", u"SetName", &ProgramSettings::SetName},
    {u"MF", u"MITSSL", &ProgramSettings::MITSSL},
    {u"MF", u"MITVZ", &ProgramSettings::MITVZ},
    {u"MF", u"NURSSL", &ProgramSettings::NURSSL},
    {u"MF", u"STILLSTAND", &ProgramSettings::STILLSTAND},
};

template <typename Record, size_t N>
Record readRecord(const QString& path, const Field<Record> (&fields)[N])
{
    const config::IniFile ini = config::IniFile::load(path);
    Record record;
    for (const Field<Record>& f : fields) {
        if (const auto text = std::get_if<QString Record::*>(&f.member))
            record.**text = ini.readString(f.section, f.key, record.**text);
        else if (const auto flag = std::get_if<bool Record::*>(&f.member))
            record.**flag = ini.readBool(f.section, f.key, record.**flag);
    }
    return record;
}

template <typename Record, size_t N>
SettingLines linesOf(const Record& record, const Field<Record> (&fields)[N])
{
    SettingLines lines;
    for (const Field<Record>& f : fields) {
        const QString name = f.section.toString() + u'/' + f.key.toString();
        if (const auto text = std::get_if<QString Record::*>(&f.member))
            lines.append({name, record.**text});
        else if (const auto flag = std::get_if<bool Record::*>(&f.member))
            lines.append({name, record.**flag ? QStringLiteral("true") : QStringLiteral("false")});
    }
    return lines;
}

}  // namespace

BackupSet ReadBackupSet(const QString& path) { return readRecord(path, kBackupSetFields); }

ProgramSettings ReadProgramSettings(const QString& path) { return readRecord(path, kProgramSettingsFields); }

SettingLines settingLines(const BackupSet& set) { return linesOf(set, kBackupSetFields); }

SettingLines settingLines(const ProgramSettings& settings) { return linesOf(settings, kProgramSettingsFields); }

}  // namespace quorbin
