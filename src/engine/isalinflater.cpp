#include "engine/inflater.h"

#ifdef QUORBIN_HAVE_ISAL
#include <isa-l/igzip_lib.h>
#endif

namespace quorbin {

#ifdef QUORBIN_HAVE_ISAL
namespace {

class IsalInflater : public Inflater {
public:
    IsalInflater() { reset(); }

    void reset() override
    {
        isal_inflate_init(&state_);
        state_.crc_flag = ISAL_ZLIB;  // header parsed, Adler-32 trailer checked
        fed_ = 0;
        producedTotal_ = 0;
    }

    void feed(const unsigned char* data, std::size_t size) override
    {
        state_.next_in = const_cast<unsigned char*>(data);
        state_.avail_in = uint32_t(size);
        fed_ += size;
    }

    State inflate(unsigned char* out, std::size_t capacity, std::size_t& produced) override
    {
        state_.next_out = out;
        state_.avail_out = uint32_t(capacity);
        const int rc = isal_inflate(&state_);
        produced = capacity - state_.avail_out;
        producedTotal_ += produced;
        if (rc < 0 || rc == ISAL_NEED_DICT) {
            // ISA-L's own total_out is 32 bits wide; ours is not.
            const bool inHeader = producedTotal_ == 0 && fed_ - state_.avail_in <= 2;
            return inHeader || rc == ISAL_INVALID_WRAPPER || rc == ISAL_UNSUPPORTED_METHOD || rc == ISAL_NEED_DICT
                       ? (producedTotal_ == 0 ? State::BadHeader : State::BadData)
                       : State::BadData;
        }
        if (state_.block_state == ISAL_BLOCK_FINISH)
            return State::End;
        return state_.avail_out == 0 ? State::OutputFull : State::NeedsInput;
    }

private:
    inflate_state state_{};
    std::size_t fed_ = 0;
    std::size_t producedTotal_ = 0;
};

}  // namespace

std::unique_ptr<Inflater> makeIsalInflater() { return std::make_unique<IsalInflater>(); }
#else
std::unique_ptr<Inflater> makeIsalInflater() { return nullptr; }
#endif

}  // namespace quorbin
