#include "engine/tzip.h"

#include "engine/containerdecoder.h"
#include "engine/keycipher.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/replacefile.h"
#include "platform/winpath.h"

#include <QCoreApplication>
#include <QFile>
#include <zlib.h>


#include <memory>

namespace quorbin {
namespace {

constexpr qsizetype kChunk = TZIP::kBufferSize;

struct DeflateStream {
    z_stream z{};
    bool ok = deflateInit2(&z, 1, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) == Z_OK;
    ~DeflateStream() { deflateEnd(&z); }
};

// Made once per thread: a tree restore expands thousands of small files.
struct Buffers {
    std::unique_ptr<unsigned char[]> input = std::make_unique_for_overwrite<unsigned char[]>(kChunk);
    std::unique_ptr<unsigned char[]> output = std::make_unique_for_overwrite<unsigned char[]>(kChunk);
};

Buffers& threadBuffers()
{
    thread_local Buffers buffers;
    return buffers;
}

std::unique_ptr<platform::ReadFile> openForReading(const QString& path)
{
    auto file = std::make_unique<platform::ReadFile>(path);
    if (!file->isOpen())
        return nullptr;
    return file;
}

// Expands all of `in` into `out` (nowhere when null); success only when the stream ended with
// a good checksum.
JobResult inflateAll(platform::ReadFile& in, platform::ReplacementFile* out, const QString& from, const QString& too, const QString& key,
                     // NOLINTNEXTLINE(readability-non-const-parameter): Count's destructor writes it
                     const JobContext& context, qint64* expanded = nullptr)
{
    ContainerDecoder decoder(key, out, from, too);
    struct Count {
        const ContainerDecoder& decoder;
        qint64* expanded;
        ~Count()
        {
            if (expanded)
                *expanded = decoder.produced();
        }
    } count{decoder, expanded};
    unsigned char* input = threadBuffers().input.get();
    for (;;) {
        const qint64 got = in.read(reinterpret_cast<char*>(input), kChunk);
        if (got < 0)
            return JobResult::failure(ErrorKind::SourceUnreadable,
                                      QCoreApplication::translate("Engine", "Lesefehler (%1)").arg(in.errorString()),
                                      platform::hostPathOf(from));
        if (got == 0)
            return decoder.finish();
        if (JobResult fed = decoder.feed(input, got, context); !fed.ok())
            return fed;
        context.report.progress.advanced(0, decoder.position());
        if (decoder.ended())
            return JobResult::success();
        if (context.stopRequested())
            return JobResult::cancelled();
    }
}

}  // namespace

JobResult SameFileRefusal(const QString& source)
{
    return JobResult::failure(ErrorKind::Refused,
                              QCoreApplication::translate("Engine", "Ziel ist die gespeicherte Datei selbst"),
                              platform::hostPathOf(source));
}

JobResult ExpandContainer(const QString& from, const QString& too, const QString& key, const JobContext& context,
                          const QDateTime& stamp)
{
    const auto in = openForReading(from);
    if (!in)
        return JobResult::failure(
            ErrorKind::SourceUnreadable,
            QCoreApplication::translate("Engine", "gespeicherte Datei fehlt oder ist nicht lesbar"),
            platform::hostPathOf(from));
    // Mostly the target does not exist yet: then one look tells so.
    if (const auto existing = platform::attributes(too)) {
        if (platform::isSameFile(from, too))
            return SameFileRefusal(from);
        if (const auto why = platform::whyNotReplaceable(*existing))
            return platform::targetNotWritable(*why, too);
    }
    platform::ReplacementFile out(too);
    if (!out.isOpen())
        return platform::targetNotWritable(out.errorString(), too);
    if (JobResult result = inflateAll(*in, &out, from, too, key, context); !result.ok())
        return result;
    if (stamp.isValid())
        out.setLastWriteTime(stamp);
    if (!out.commit())
        return platform::targetNotWritable(out.errorString(), too);
    return JobResult::success();
}

JobResult VerifyContainer(const QString& from, const QString& key, const JobContext& context, qint64* expanded)
{
    const auto in = openForReading(from);
    if (!in)
        return JobResult::failure(
            ErrorKind::SourceUnreadable,
            QCoreApplication::translate("Engine", "gespeicherte Datei fehlt oder ist nicht lesbar"),
            platform::hostPathOf(from));
    return inflateAll(*in, nullptr, from, QString(), key, context, expanded);
}

int TZIP::Expand(const QString& from, const QString& too)
{
    const JobResult result = ExpandContainer(from, too, QString(), quietContext());
    if (result.kind == ErrorKind::SourceUnreadable && !platform::fileExists(from))
        throw IoError(QCoreApplication::translate("Engine", "Datei kann nicht geöffnet werden: %1").arg(from));
    return result.ok() ? 0 : -1;
}

void TZIP::Shrink(const QString& from, const QString& too)
{
    const auto in = openForReading(from);
    if (!in)
        throw IoError(QCoreApplication::translate("Engine", "Datei kann nicht geöffnet werden: %1").arg(from));
    QFile out(platform::toHostPath(too));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw IoError(QCoreApplication::translate("Engine", "Datei kann nicht angelegt werden: %1").arg(too));
    DeflateStream stream;
    if (!stream.ok)
        throw IoError(QCoreApplication::translate("Engine", "zlib kann nicht starten"));
    unsigned char* input = threadBuffers().input.get();
    unsigned char* output = threadBuffers().output.get();
    int flush = Z_NO_FLUSH;
    do {
        const qint64 got = in->read(reinterpret_cast<char*>(input), kChunk);
        if (got < 0)
            throw IoError(QCoreApplication::translate("Engine", "Lesefehler: %1").arg(from));
        flush = got == 0 ? Z_FINISH : Z_NO_FLUSH;
        stream.z.next_in = input;
        stream.z.avail_in = uInt(got);
        do {
            stream.z.next_out = output;
            stream.z.avail_out = uInt(kChunk);
            deflate(&stream.z, flush);
            const qint64 produced = kChunk - stream.z.avail_out;
            if (out.write(reinterpret_cast<char*>(output), produced) != produced)
                throw IoError(QCoreApplication::translate("Engine", "Schreibfehler: %1").arg(too));
        } while (stream.z.avail_out == 0);
    } while (flush != Z_FINISH);
    if (!out.flush())
        throw IoError(QCoreApplication::translate("Engine", "Schreibfehler: %1").arg(too));
}

TZIP& Zip()
{
    static TZIP instance;
    return instance;
}

}  // namespace quorbin
