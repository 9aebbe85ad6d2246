#pragma once
// Reading INI files by the rules of the Windows private-profile functions.
//
// Sections and keys are found without regard to case. Only the first section of a name is
// searched and the first key of a name in it wins, as on Windows. A value is the text after
// the first "=", blanks trimmed, one pair of enclosing quotes dropped, cut at 2047 characters.
// Lines without "=" and "[" lines without "]" name no key.
#include <QString>
#include <QStringView>
#include <optional>

namespace quorbin::config {

// A bare file name (no directory part) lies in the Windows directory; any other Windows
// path is taken as it is.
QString iniFilePath(const QString& path);

class IniFile {
public:
    // Never fails: a file that is missing, no regular file, unreadable or larger than
    // kMaxBytes reads as an empty one.
    static IniFile load(const QString& path);

    static constexpr qsizetype kMaxBytes = qsizetype(16) * 1024 * 1024;
    static constexpr qsizetype kMaxValueLength = 2047;

    // False when the file could not be read (and so every key is missing).
    bool loaded() const { return loaded_; }

    // The value of the key, nothing when the file, section or key is missing.
    std::optional<QString> value(QStringView section, QStringView key) const;

    // The value, also when empty; the fallback only when the key is missing.
    QString readString(QStringView section, QStringView key, const QString& fallback) const;
    // The value as an integer (decimal, "0x" or "$" hexadecimal): zero false, else true; the
    // fallback when the key is missing or its value is no integer.
    bool readBool(QStringView section, QStringView key, bool fallback) const;

private:
    QString text_;
    bool loaded_ = false;
};

// A 32-bit integer as the settings write it: optional sign, then decimal digits or "0x", "0X"
// or "$" and hexadecimal digits; nothing for any other text.
std::optional<qint64> iniInteger(QStringView text);

}  // namespace quorbin::config
