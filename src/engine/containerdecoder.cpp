#include "engine/containerdecoder.h"

#include "engine/inflater.h"
#include "engine/keycipher.h"
#include "engine/tzip.h"
#include "platform/files.h"

#include <QCoreApplication>

#include <memory>

namespace quorbin {
namespace {

constexpr qsizetype kOutput = TZIP::kBufferSize;

// Made once per thread: a tree restore expands thousands of small files.
unsigned char* threadOutput()
{
    thread_local const std::unique_ptr<unsigned char[]> buffer = std::make_unique_for_overwrite<unsigned char[]>(kOutput);
    return buffer.get();
}

}  // namespace

ContainerDecoder::ContainerDecoder(const QString& key, platform::ReplacementFile* out, const QString& source,
                                   const QString& target, bool sourceIsRemote)
    : key_(key),
      cipher_(threadKeyStream(key)),
      inflater_(threadInflater()),
      out_(out),
      source_(source),
      target_(target),
      sourceIsRemote_(sourceIsRemote)
{
}

ContainerDecoder::~ContainerDecoder() = default;

QString ContainerDecoder::sourceText() const { return sourceIsRemote_ ? source_ : platform::hostPathOf(source_); }

JobResult ContainerDecoder::feed(unsigned char* data, qint64 size, const JobContext& context)
{
    if (ended_ || size <= 0)
        return JobResult::success();
    cipher_.decipher(data, size, position_);
    position_ += size;
    inflater_.feed(data, std::size_t(size));
    unsigned char* output = threadOutput();
    for (;;) {
        std::size_t made = 0;
        const Inflater::State state = inflater_.inflate(output, kOutput, made);
        // Counted first: a stream whose checksum alone is wrong did produce its data.
        produced_ += qint64(made);
        if (state == Inflater::State::BadHeader || state == Inflater::State::BadData)
            return failure(int(state));
        if (made > 0 && out_ && !out_->write(reinterpret_cast<char*>(output), qint64(made)))
            return platform::targetNotWritable(out_->errorString(), target_);
        if (state == Inflater::State::End) {
            ended_ = true;  // whatever follows the stream is not ours
            return JobResult::success();
        }
        if (state == Inflater::State::NeedsInput)
            return JobResult::success();
        // A small container may hold gigabytes: the output buffers count as well.
        if (context.stopRequested())
            return JobResult::cancelled();
    }
}

JobResult ContainerDecoder::finish() const
{
    if (ended_)
        return JobResult::success();
    const QString what = position_ == 0 ? QCoreApplication::translate("Engine", "Datei ist leer")
                                        : QCoreApplication::translate("Engine", "Datei ist abgeschnitten");
    return JobResult::failure(ErrorKind::Truncated, what, sourceText());
}

// A stream whose header is wrong is what a wrong key (or none, for an enciphered file) makes
// of it; damage in the first block cannot be told from a wrong key.
JobResult ContainerDecoder::failure(int state) const
{
    const QString path = sourceText();
    if (Inflater::State(state) == Inflater::State::BadHeader) {
        if (key_.isEmpty())
            return JobResult::failure(
                ErrorKind::NoKey,
                QCoreApplication::translate("Engine", "kein Schlüssel angegeben (Datei verschlüsselt oder beschädigt)"),
                path);
        return JobResult::failure(ErrorKind::WrongKey, QCoreApplication::translate("Engine", "falscher Schlüssel"),
                                  path);
    }
    if (produced_ == 0 && !key_.isEmpty())
        return JobResult::failure(
            ErrorKind::DamagedOrWrongKey,
            QCoreApplication::translate("Engine", "Datei beschädigt oder falscher Schlüssel (nicht zu unterscheiden)"),
            path);
    return JobResult::failure(ErrorKind::Damaged, QCoreApplication::translate("Engine", "Datei beschädigt"), path);
}

}  // namespace quorbin
