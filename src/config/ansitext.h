#pragma once
// The text of an INI file as the backup program writes it.
#include <QByteArray>
#include <QString>

namespace quorbin::config {

// UTF-16 (LE or BE) or UTF-8 when the bytes begin with that byte-order mark, else
// Windows-1252, the ANSI code page of the systems the files come from.
QString decodeIniBytes(const QByteArray& bytes);

}  // namespace quorbin::config
