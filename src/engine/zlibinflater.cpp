#include "engine/inflater.h"

#include <zlib.h>

namespace quorbin {
namespace {

class ZlibInflater : public Inflater {
public:
    ZlibInflater() { inflateInit(&z_); }
    ~ZlibInflater() override { inflateEnd(&z_); }

    void reset() override { inflateReset(&z_); }

    void feed(const unsigned char* data, std::size_t size) override
    {
        z_.next_in = const_cast<unsigned char*>(data);
        z_.avail_in = uInt(size);
    }

    State inflate(unsigned char* out, std::size_t capacity, std::size_t& produced) override
    {
        z_.next_out = out;
        z_.avail_out = uInt(capacity);
        const int rc = ::inflate(&z_, Z_NO_FLUSH);
        produced = capacity - z_.avail_out;
        switch (rc) {
        case Z_STREAM_END:
            return State::End;
        case Z_OK:
        case Z_BUF_ERROR:
            return z_.avail_out == 0 ? State::OutputFull : State::NeedsInput;
        case Z_NEED_DICT:
            return State::BadHeader;  // the header's dictionary flag, which no container sets
        default:
            // A wrong method or check bits: the header is wrong.
            return z_.total_out == 0 && z_.total_in <= 2 ? State::BadHeader : State::BadData;
        }
    }

private:
    z_stream z_{};
};

}  // namespace

std::unique_ptr<Inflater> makeZlibInflater() { return std::make_unique<ZlibInflater>(); }

}  // namespace quorbin
