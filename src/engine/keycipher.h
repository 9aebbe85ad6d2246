#pragma once
// The key cipher over a container: byte p of the file is combined with key byte p mod L,
// where key byte i is the low eight bits of the key's UTF-16 code unit i.
#include "platform/reporter.h"

#include <QByteArray>
#include <QString>

namespace quorbin {

// Transforms the file in place (add the key when enciphering, subtract it otherwise). An empty
// key changes nothing. Throws IoError when the file cannot be opened; a read or write error
// part-way leaves the file transformed up to there.
void KeyCipherFile(bool encipher, const QString& path, const QString& key, StatusSink& status,
                   ProgressSink* progress);
void DecipherFile(const QString& path, const QString& key, StatusSink& status, ProgressSink* progress);
void EncipherFile(const QString& path, const QString& key, StatusSink& status, ProgressSink* progress);

// The cipher on a buffer that starts at file position `position`.
QByteArray KeyBytes(const QString& key);
void CipherBuffer(bool encipher, char* data, qsizetype size, const QByteArray& keyBytes, qint64 position);

}  // namespace quorbin
