#include "duplicate_rec17.h"

#include "record_format.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

// The time of the last rec17 whose rec17_fixed was read whole. Its starting
// value, -1.0, means that none has been seen: while it holds exactly that bit
// pattern (whether from the start or from a rec17 timed -1.0), the next rec17
// is not tested.
constexpr std::uint64_t no_rec17_yet = 0xBFF0000000000000ULL;
double last_rec17_time = -1.0;

std::uint64_t bits_of(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

double read_time(const unsigned char* rec17_fixed)
{
    std::uint64_t bits = 0;
    for (std::size_t i = sizeof bits; i-- > 0;) {
        bits = bits << 8 | rec17_fixed[rec17_time_offset + i];
    }
    double time;
    std::memcpy(&time, &bits, sizeof time);
    return time;
}

}  // namespace

bool is_duplicate_rec17(const unsigned char* rec17_fixed)
{
    const double time = read_time(rec17_fixed);
    // IEEE equality: 0.0 equals -0.0, and a NaN time is never a duplicate nor
    // makes the next rec17 one.
    const bool is_duplicate = bits_of(last_rec17_time) != no_rec17_yet && time == last_rec17_time;
    last_rec17_time = time;
    if (is_duplicate) {
        std::printf("Removing duplicate time rec17, time: %10.3f\r\n", time / 1000.0);
    }
    return is_duplicate;
}
