// The practical limit of the container format on one core: ISA-L's streaming inflate of a
// zlib stream from stdin to stdout, 256 KiB at a time, header and Adler-32 checked.
#include <isa-l/igzip_lib.h>

#include <cstdio>
#include <unistd.h>
#include <vector>

int main()
{
    constexpr size_t kIn = 256 * 1024, kOut = 1024 * 1024;
    std::vector<unsigned char> in(kIn), out(kOut);
    static inflate_state state;
    isal_inflate_init(&state);
    state.crc_flag = ISAL_ZLIB;
    while (state.block_state != ISAL_BLOCK_FINISH) {
        const ssize_t got = read(0, in.data(), kIn);
        if (got <= 0)
            return std::fprintf(stderr, "truncated\n"), 1;
        state.next_in = in.data();
        state.avail_in = uint32_t(got);
        do {
            state.next_out = out.data();
            state.avail_out = kOut;
            if (isal_inflate(&state) < 0)
                return std::fprintf(stderr, "damaged\n"), 1;
            const size_t made = kOut - state.avail_out;
            if (made > 0 && write(1, out.data(), made) != ssize_t(made))
                return std::fprintf(stderr, "write failed\n"), 1;
        } while (state.avail_out == 0 && state.block_state != ISAL_BLOCK_FINISH);
    }
    return 0;
}
