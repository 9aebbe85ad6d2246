#include "engine/keycipher.h"

#include "platform/errors.h"
#include "platform/files.h"
#include "platform/winpath.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cstring>
#include <memory>

namespace quorbin {
namespace {

constexpr qsizetype kBuffer = 1 << 20;
// How much key the stream lays out: enough for long vector runs, small enough to make for
// every file of a tree.
constexpr qsizetype kKeySpan = qsizetype(64) * 1024;

}  // namespace

QByteArray KeyBytes(const QString& key)
{
    QByteArray bytes(key.size(), '\0');
    for (qsizetype i = 0; i < key.size(); ++i)
        bytes[i] = char(key.at(i).unicode() & 0xFF);
    return bytes;
}

void CipherBuffer(bool encipher, char* data, qsizetype size, const QByteArray& keyBytes, qint64 position)
{
    const KeyStream stream(keyBytes);
    auto* bytes = reinterpret_cast<unsigned char*>(data);
    if (encipher)
        stream.encipher(bytes, size, position);
    else
        stream.decipher(bytes, size, position);
}

KeyStream::KeyStream(const QByteArray& keyBytes) : length_(keyBytes.size())
{
    if (length_ == 0)
        return;  // no key: nothing to combine, and no length to take the position modulo
    span_ = std::max<qsizetype>(1, kKeySpan / length_) * length_;
    repeated_ = keyBytes.repeated(span_ / length_ + 1);
}

const KeyStream& threadKeyStream(const QString& key)
{
    // A tree restore deciphers thousands of small files with one key: it is laid out once.
    thread_local QString lastKey;
    thread_local std::unique_ptr<const KeyStream> stream;
    if (!stream || key != lastKey) {
        stream = std::make_unique<const KeyStream>(key);
        lastKey = key;
    }
    return *stream;
}

namespace {

// Sixteen bytes at a time in a vector register (SSE2 on every x86-64): GCC's default -O2 does not
// vectorise a byte loop whose two arrays might overlap.
using Bytes16 = unsigned char __attribute__((vector_size(16)));

template <bool Encipher>
void combine(unsigned char* data, const unsigned char* key, qsizetype size)
{
    qsizetype i = 0;
    for (; i + 16 <= size; i += 16) {
        Bytes16 d, k;
        std::memcpy(&d, data + i, 16);
        std::memcpy(&k, key + i, 16);
        d = Encipher ? d + k : d - k;
        std::memcpy(data + i, &d, 16);
    }
    for (; i < size; ++i)
        data[i] = static_cast<unsigned char>(Encipher ? data[i] + key[i] : data[i] - key[i]);
}

}  // namespace

void KeyStream::apply(bool encipher, unsigned char* data, qsizetype size, qint64 position) const
{
    if (length_ == 0)
        return;
    const auto* key = reinterpret_cast<const unsigned char*>(repeated_.constData()) + position % length_;
    while (size > 0) {
        // The same key bytes follow every span_ bytes, so each piece starts at the same offset.
        const qsizetype piece = std::min(size, span_);
        if (encipher)
            combine<true>(data, key, piece);
        else
            combine<false>(data, key, piece);
        data += piece;
        size -= piece;
    }
}

void KeyCipherFile(bool encipher, const QString& path, const QString& key, StatusSink& status,
                   ProgressSink* progress)
{
    if (key.isEmpty())
        return;
    const QByteArray keyBytes = KeyBytes(key);
    status.setStatus((encipher ? QCoreApplication::translate("Engine", "verschlüsseln: %1")
                               : QCoreApplication::translate("Engine", "entschlüsseln: %1"))
                         .arg(path));

    QFile file(platform::toHostPath(path));
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered))
        throw IoError(QCoreApplication::translate("Engine", "Datei kann nicht geöffnet werden: %1").arg(path));
    const qint64 size = file.size();
    if (progress) {
        progress->setPosition(50);
        progress->setMarquee(true);
    }

    // Large buffers, transformed in place: the result is the same as block by block.
    const auto buffer = std::make_unique_for_overwrite<char[]>(kBuffer);
    qint64 position = 0;
    while (position < size) {
        const qint64 got = file.read(buffer.get(), kBuffer);
        if (got <= 0)
            break;
        CipherBuffer(encipher, buffer.get(), got, keyBytes, position);
        if (!file.seek(position) || file.write(buffer.get(), got) != got)
            break;
        position += got;
    }

    if (progress) {
        progress->setPosition(0);
        progress->setMarquee(false);
    }
}

void DecipherFile(const QString& path, const QString& key, StatusSink& status, ProgressSink* progress)
{
    KeyCipherFile(false, path, key, status, progress);
}

void EncipherFile(const QString& path, const QString& key, StatusSink& status, ProgressSink* progress)
{
    KeyCipherFile(true, path, key, status, progress);
}

}  // namespace quorbin
