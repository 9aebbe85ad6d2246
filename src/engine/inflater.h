#pragma once
// The inflation of a container's zlib stream: ISA-L's inflate where the build has it (about
// twice as fast as zlib on one core), else zlib. Both check the zlib header and the Adler-32
// trailer, and both leave telling the causes apart to the caller.
#include <cstddef>
#include <memory>

namespace quorbin {

class Inflater {
public:
    enum class State {
        NeedsInput,  // every byte fed is taken; feed the next ones
        OutputFull,  // call again with fresh output space
        End,         // the stream and its checksum were read; later input is not the stream's
        BadHeader,   // the two header bytes are wrong: what a wrong key makes of them
        BadData,     // damaged data or a wrong checksum
    };

    virtual ~Inflater() = default;
    // Starts a new stream.
    virtual void reset() = 0;
    // The next input; it must stay valid until NeedsInput comes back.
    virtual void feed(const unsigned char* data, std::size_t size) = 0;
    // Inflates into out[0, capacity); `produced` receives the bytes written there.
    virtual State inflate(unsigned char* out, std::size_t capacity, std::size_t& produced) = 0;
};

enum class InflaterKind { Isal, Zlib };

// The calling thread's inflater of the kind in use, reset for a new stream: a tree restore
// inflates thousands of small files, and the state is large.
Inflater& threadInflater();

// ISA-L when the build has it, unless told otherwise. useInflater lets tests and comparison
// runs take zlib; it returns false for a kind the build lacks. Set it before any restore runs.
bool useInflater(InflaterKind kind);

// A new inflater of the given kind; null when the build lacks it.
std::unique_ptr<Inflater> makeZlibInflater();
std::unique_ptr<Inflater> makeIsalInflater();

}  // namespace quorbin
