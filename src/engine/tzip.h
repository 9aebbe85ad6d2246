#pragma once
// The zlib container of every stored file: one RFC 1950 stream, nothing around it.
#include <QString>

#include <memory>

namespace quorbin {

class TZIP {
public:
    // Expands the container `from` into `too`. 0 when the whole stream was read and checked;
    // -1 when it is damaged, truncated or empty, or `too` cannot be written; `too` is then
    // left as it was. Throws IoError when `from` cannot be opened.
    int Expand(const QString& from, const QString& too);

    // Expand for a container enciphered with the key, deciphered as it is read: no deciphered
    // copy of the stored file is needed. Lets pending events run after each buffer, so it
    // keeps buffers of its own and may run while another expansion waits.
    int ExpandDeciphered(const QString& from, const QString& too, const QString& key);

    // Writes `from` as a container `too` (deflate level 1, 15-bit window, memory level 8).
    // Throws IoError on failure.
    void Shrink(const QString& from, const QString& too);

    // Progress notification of the zlib stream; nothing listens.
    void Status() {}

    // Transfer buffers, made once: a tree restore expands thousands of small files.
    static constexpr qsizetype kBufferSize = 1 << 20;
    unsigned char* InBuffer();
    unsigned char* Buffer();

private:
    std::unique_ptr<unsigned char[]> inBuffer_;
    std::unique_ptr<unsigned char[]> buffer_;
};

// The process's one container instance.
TZIP& Zip();

}  // namespace quorbin
