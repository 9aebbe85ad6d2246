#pragma once
// INI files as the backup program writes them: Windows-1252 or UTF-16 with a byte-order mark,
// lines ended by CR LF.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtEndian>

namespace quorbin::test {

// Windows-1252; the test texts use only characters of Latin-1 (bytes 0x80 to 0x9F are
// written as raw bytes where a test needs them).
inline QByteArray ansiIni(const QStringList& lines)
{
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1();
}

inline QByteArray utf16Ini(const QStringList& lines, bool bigEndian = false)
{
    const QString text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    QByteArray bytes = bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
    for (const QChar c : text) {
        char unit[2];
        if (bigEndian)
            qToBigEndian(c.unicode(), unit);
        else
            qToLittleEndian(c.unicode(), unit);
        bytes.append(unit, 2);
    }
    return bytes;
}

}  // namespace quorbin::test
