#pragma once
// A container taken in pieces as they come (read from a disk, or arriving from a server):
// each piece is deciphered with the key and inflated into a replacement file. Which cause a
// failure has is told as for a whole file: no key, wrong key, damage, a stream that ends early.
// Without a replacement file the output goes nowhere: the container is only checked.
#include "platform/job.h"
#include "platform/replacefile.h"

#include <QString>
#include <memory>

namespace quorbin {

class Inflater;
class KeyStream;

// One at a time per thread: it works with the thread's inflater.
class ContainerDecoder {
public:
    // `source` names the container in messages (a Windows path, or a remote name when
    // `sourceIsRemote`); `target` the file that `out` replaces. `out` may be null.
    ContainerDecoder(const QString& key, platform::ReplacementFile* out, const QString& source, const QString& target,
                     bool sourceIsRemote = false);
    ContainerDecoder(const ContainerDecoder&) = delete;
    ContainerDecoder& operator=(const ContainerDecoder&) = delete;

    // The next bytes of the container, deciphered in place. A failure (or the stop token,
    // checked after every output buffer) ends the stream. Bytes after the stream's end are
    // not its own and are passed over.
    JobResult feed(unsigned char* data, qint64 size, const JobContext& context);
    // Whether the stream and its checksum were read.
    bool ended() const { return ended_; }
    // After the last piece: success when the stream ended, else why not (empty, cut short).
    JobResult finish() const;
    // Container bytes taken so far.
    qint64 position() const { return position_; }
    // Bytes the stream expanded to so far.
    qint64 produced() const { return produced_; }

    ~ContainerDecoder();

private:
    QString sourceText() const;
    JobResult failure(int state) const;

    QString key_;
    const KeyStream& cipher_;  // the thread's: one decoder at a time per thread
    Inflater& inflater_;
    platform::ReplacementFile* out_;
    QString source_;
    QString target_;
    bool sourceIsRemote_;
    qint64 position_ = 0;
    qint64 produced_ = 0;
    bool ended_ = false;
};

}  // namespace quorbin
