#include "engine/keycipher.h"

#include "platform/errors.h"
#include "platform/files.h"
#include "platform/winpath.h"

#include <QFile>

#include <memory>

namespace quorbin {
namespace {

constexpr qsizetype kBuffer = 1 << 20;

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
    const qsizetype length = keyBytes.size();
    if (length == 0)
        return;  // no key: nothing to combine, and no length to take the position modulo
    const auto* k = reinterpret_cast<const unsigned char*>(keyBytes.constData());
    auto* d = reinterpret_cast<unsigned char*>(data);
    qsizetype j = qsizetype(position % length);
    if (encipher) {
        for (qsizetype i = 0; i < size; ++i) {
            d[i] = static_cast<unsigned char>(d[i] + k[j]);
            if (++j == length)
                j = 0;
        }
    } else {
        for (qsizetype i = 0; i < size; ++i) {
            d[i] = static_cast<unsigned char>(d[i] - k[j]);
            if (++j == length)
                j = 0;
        }
    }
}

void KeyCipherFile(bool encipher, const QString& path, const QString& key, StatusSink& status,
                   ProgressSink* progress)
{
    if (key.isEmpty())
        return;
    const QByteArray keyBytes = KeyBytes(key);
    status.setStatus((encipher ? QStringLiteral("verschlüsseln: ") : QStringLiteral("entschlüsseln: ")) + path);

    QFile file(platform::toHostPath(path));
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered))
        throw IoError("Datei kann nicht geöffnet werden: " + path);
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
