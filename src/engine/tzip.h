#pragma once
// The zlib container of every stored file: one RFC 1950 stream, nothing around it.
#include "platform/job.h"

#include <QDateTime>
#include <QString>

namespace quorbin {

// Expands the container `from` into `too`, deciphered with the key as it is read when the key
// is not empty: no deciphered copy of the stored file is needed. `too` is replaced only after
// the whole stream was read and its checksum matched; after any failure, and when the stop
// token is set (checked after every buffer), it is left as it was. The result tells a wrong
// or missing key (the stream's header is invalid) from later damage and from a container that
// ends early. Progress: advanced(0, container bytes read so far). A valid `stamp` becomes the
// new file's last-write time. `too` being `from` itself (also through a link) is refused.
JobResult ExpandContainer(const QString& from, const QString& too, const QString& key, const JobContext& context,
                          const QDateTime& stamp = {});

// The refusal of a target that is the stored file itself.
JobResult SameFileRefusal(const QString& source);

// Reads the container `from` to its end, deciphered and expanded to nowhere: fails exactly as
// ExpandContainer would on the same container, and writes nothing. `expanded`, when given,
// receives how many bytes the stream expanded to.
JobResult VerifyContainer(const QString& from, const QString& key, const JobContext& context,
                          qint64* expanded = nullptr);

class TZIP {
public:
    // ExpandContainer without a key: 0 when the whole stream was read and checked; -1 when it
    // is damaged, truncated or empty, or `too` cannot be written. Throws IoError when `from`
    // cannot be opened.
    int Expand(const QString& from, const QString& too);

    // Writes `from` as a container `too` (deflate level 1, 15-bit window, memory level 8).
    // Throws IoError on failure.
    void Shrink(const QString& from, const QString& too);

    // Progress notification of the zlib stream; nothing listens.
    void Status() {}

    static constexpr qsizetype kBufferSize = 1 << 20;
};

// The process's one container instance; it holds no state, so any thread may use it.
TZIP& Zip();

}  // namespace quorbin
