#include "records.h"

#include <cstdint>
#include <cstring>

namespace {

unsigned filler_seed = 1;

bytes header(unsigned type, unsigned length_low, unsigned length_high)
{
    return {static_cast<char>(0xA5), static_cast<char>(length_low), static_cast<char>(length_high),
            static_cast<char>(type)};
}

}  // namespace

bytes filler(std::size_t n)
{
    bytes out(n, '\0');
    for (char& c : out) {
        filler_seed = filler_seed * 1103515245U + 12345U;
        c = static_cast<char>(filler_seed >> 16);
    }
    return out;
}

bytes bare_header(unsigned type, unsigned length_low, unsigned length_high)
{
    return header(type, length_low, length_high);
}

bytes sized_record(unsigned type, unsigned body_size)
{
    const unsigned length = body_size + 4;
    const bool two_byte_length = type == 12 || type == 102;
    return header(type, length & 0xFF, two_byte_length ? length >> 8 : 0x77) + filler(body_size);
}

bytes fixed_record(unsigned type)
{
    return header(type, 0x09, 0x01) + filler(type == 6 ? 160 : 80);
}

bytes rec17_head(double time, unsigned block_count)
{
    std::uint64_t bits;
    std::memcpy(&bits, &time, sizeof bits);
    bytes out = header(17, 0x15, 0x00);
    for (int i = 0; i < 8; ++i, bits >>= 8) {
        out += static_cast<char>(bits & 0xFF);
    }
    return out + filler(8) + static_cast<char>(block_count);
}

bytes rec17_block(bool extended)
{
    bytes out = filler(48);
    out[1] = static_cast<char>(extended ? 0xFF : 0xFE);
    return out;
}

bytes rec17_extension()
{
    return filler(24);
}

bytes rec17(double time, const std::vector<bool>& extended_blocks)
{
    bytes out = rec17_head(time, static_cast<unsigned>(extended_blocks.size()));
    for (const bool extended : extended_blocks) {
        out += rec17_block(extended);
        if (extended) {
            out += rec17_extension();
        }
    }
    return out;
}
