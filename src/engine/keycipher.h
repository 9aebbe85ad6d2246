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

// The key laid out once, repeated to a span a whole number of keys long, so that a buffer
// is combined with it by one plain loop over two arrays: the compiler vectorises that loop,
// and the cipher runs at memory speed. An empty key changes nothing.
class KeyStream {
public:
    explicit KeyStream(const QString& key) : KeyStream(KeyBytes(key)) {}
    explicit KeyStream(const QByteArray& keyBytes);
    void decipher(unsigned char* data, qsizetype size, qint64 position) const { apply(false, data, size, position); }
    void encipher(unsigned char* data, qsizetype size, qint64 position) const { apply(true, data, size, position); }

private:
    void apply(bool encipher, unsigned char* data, qsizetype size, qint64 position) const;
    qsizetype length_ = 0;
    qsizetype span_ = 0;     // bytes taken from one offset: a whole number of keys
    QByteArray repeated_;    // span_ + length_ bytes, so any offset below length_ has span_ after it
};

// The key's stream, kept per thread for as long as the key stays the same. Valid until the
// thread asks for another key.
const KeyStream& threadKeyStream(const QString& key);

}  // namespace quorbin
