#include "engine/tzip.h"

#include "engine/keycipher.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/replacefile.h"
#include "platform/userinterface.h"
#include "platform/winpath.h"

#include <QFile>
#include <zlib.h>

#include <memory>

namespace quorbin {
namespace {

constexpr qsizetype kChunk = TZIP::kBufferSize;

struct InflateStream {
    z_stream z{};
    bool ok = inflateInit(&z) == Z_OK;
    ~InflateStream() { inflateEnd(&z); }
};

struct DeflateStream {
    z_stream z{};
    bool ok = deflateInit2(&z, 1, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) == Z_OK;
    ~DeflateStream() { deflateEnd(&z); }
};

std::unique_ptr<QFile> openForReading(const QString& path)
{
    auto file = std::make_unique<QFile>(platform::toHostPath(path));
    if (!platform::fileExists(path) || !file->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw IoError("Datei kann nicht geöffnet werden: " + path);
    return file;
}

// How a container's bytes are read: the buffers, and the key when it is enciphered.
struct Reading {
    unsigned char* input;
    unsigned char* output;
    QByteArray keyBytes;  // empty: not enciphered
};

// Inflates all of `in` into `out`; true only when the stream ended with a good checksum.
bool inflateAll(QFile& in, QFile& out, TZIP& zip, const Reading& reading)
{
    InflateStream stream;
    if (!stream.ok)
        return false;
    unsigned char* input = reading.input;
    unsigned char* output = reading.output;
    qint64 position = 0;
    for (;;) {
        const qint64 got = in.read(reinterpret_cast<char*>(input), kChunk);
        if (got <= 0)
            return false;  // the file ended before the stream did
        if (!reading.keyBytes.isEmpty()) {
            CipherBuffer(false, reinterpret_cast<char*>(input), got, reading.keyBytes, position);
            position += got;
            pumpEvents();
        }
        stream.z.next_in = input;
        stream.z.avail_in = uInt(got);
        do {
            stream.z.next_out = output;
            stream.z.avail_out = uInt(kChunk);
            const int rc = inflate(&stream.z, Z_NO_FLUSH);
            if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR)
                return false;
            const qint64 produced = kChunk - stream.z.avail_out;
            if (produced > 0 && out.write(reinterpret_cast<char*>(output), produced) != produced)
                return false;
            zip.Status();
            if (rc == Z_STREAM_END)
                return true;  // whatever follows the stream is not ours
            if (rc == Z_BUF_ERROR)
                break;  // needs more input
        } while (stream.z.avail_in > 0 || stream.z.avail_out == 0);
    }
}


int expandWith(const QString& from, const QString& too, TZIP& zip, const Reading& reading)
{
    const auto in = openForReading(from);
    platform::ReplacementFile out(too);
    if (!out.isOpen())
        return -1;
    if (!inflateAll(*in, out.file(), zip, reading))
        return -1;
    return out.commit() ? 0 : -1;
}

}  // namespace

int TZIP::Expand(const QString& from, const QString& too)
{
    return expandWith(from, too, *this, Reading{InBuffer(), Buffer(), {}});
}

int TZIP::ExpandDeciphered(const QString& from, const QString& too, const QString& key)
{
    const auto input = std::make_unique_for_overwrite<unsigned char[]>(kBufferSize);
    const auto output = std::make_unique_for_overwrite<unsigned char[]>(kBufferSize);
    return expandWith(from, too, *this, Reading{input.get(), output.get(), KeyBytes(key)});
}

void TZIP::Shrink(const QString& from, const QString& too)
{
    const auto in = openForReading(from);
    QFile out(platform::toHostPath(too));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw IoError("Datei kann nicht angelegt werden: " + too);
    DeflateStream stream;
    if (!stream.ok)
        throw IoError(QStringLiteral("zlib kann nicht starten"));
    unsigned char* input = InBuffer();
    unsigned char* output = Buffer();
    int flush = Z_NO_FLUSH;
    do {
        const qint64 got = in->read(reinterpret_cast<char*>(input), kChunk);
        if (got < 0)
            throw IoError("Lesefehler: " + from);
        flush = got == 0 ? Z_FINISH : Z_NO_FLUSH;
        stream.z.next_in = input;
        stream.z.avail_in = uInt(got);
        do {
            stream.z.next_out = output;
            stream.z.avail_out = uInt(kChunk);
            deflate(&stream.z, flush);
            const qint64 produced = kChunk - stream.z.avail_out;
            if (out.write(reinterpret_cast<char*>(output), produced) != produced)
                throw IoError("Schreibfehler: " + too);
        } while (stream.z.avail_out == 0);
    } while (flush != Z_FINISH);
    if (!out.flush())
        throw IoError("Schreibfehler: " + too);
}

unsigned char* TZIP::InBuffer()
{
    if (!inBuffer_)
        inBuffer_ = std::make_unique_for_overwrite<unsigned char[]>(kBufferSize);
    return inBuffer_.get();
}

unsigned char* TZIP::Buffer()
{
    if (!buffer_)
        buffer_ = std::make_unique_for_overwrite<unsigned char[]>(kBufferSize);
    return buffer_.get();
}

TZIP& Zip()
{
    static TZIP instance;
    return instance;
}

}  // namespace quorbin
