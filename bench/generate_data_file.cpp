// Writes a realistic Quorvex data file: a seeded, reproducible mix of records
// of the copied types in all sizes, some records of types 101 and 102, and
// rec17 records with 0 to 30 blocks, some with extensions and some repeating
// the time of the rec17 before them.
//
//   generate_data_file OUTPUT SIZE SEED [--cut | --expect CLEANED]
//
// Records are written until the file holds at least SIZE bytes. With --cut
// the last record is cut off half-way, as in a file whose writer died. With
// --expect, CLEANED receives what a cleaned copy of OUTPUT must hold: every
// record but those of types 101 and 102 and the rec17 records that repeat the
// time of the rec17 before them.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::uint64_t rng_state = 0;

// splitmix64: the same stream of numbers from the same seed on every platform.
std::uint64_t next_random()
{
    std::uint64_t z = (rng_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

unsigned random_below(unsigned n)
{
    return static_cast<unsigned>(next_random() % n);
}

void append_random_bytes(std::vector<unsigned char>& out, std::size_t n)
{
    while (n > 0) {
        std::uint64_t word = next_random();
        const std::size_t take = n < 8 ? n : 8;
        for (std::size_t i = 0; i < take; ++i, word >>= 8) {
            out.push_back(static_cast<unsigned char>(word));
        }
        n -= take;
    }
}

void append_header(std::vector<unsigned char>& out, unsigned length, unsigned type)
{
    out.push_back(static_cast<unsigned char>(random_below(256)));
    out.push_back(static_cast<unsigned char>(length & 0xFF));
    out.push_back(static_cast<unsigned char>(length >> 8));
    out.push_back(static_cast<unsigned char>(type));
}

// A record whose body is sized by record_length (one byte, or two for the
// long-length types); the unused high byte of a one-byte length is noise.
void append_sized_record(std::vector<unsigned char>& out, unsigned type, unsigned body, bool long_length)
{
    const unsigned length = body + 4;
    append_header(out, long_length ? length : (length | random_below(256) << 8), type);
    append_random_bytes(out, body);
}

void append_fixed_record(std::vector<unsigned char>& out, unsigned type, unsigned body)
{
    append_header(out, random_below(0x10000), type);
    append_random_bytes(out, body);
}

double rec17_time = 0.0;
bool rec17_seen = false;

// Appends a record and says whether a cleaned copy keeps it.
bool append_rec17(std::vector<unsigned char>& out)
{
    const bool same_time = random_below(10) == 0;
    if (!same_time) {
        rec17_time += 250.0 * (1 + random_below(8));
    }
    const bool repeat = same_time && rec17_seen;
    rec17_seen = true;
    append_header(out, random_below(0x10000), 17);
    unsigned char time_bytes[8];
    std::uint64_t bits;
    std::memcpy(&bits, &rec17_time, sizeof bits);
    for (unsigned char& b : time_bytes) {
        b = static_cast<unsigned char>(bits);
        bits >>= 8;
    }
    out.insert(out.end(), time_bytes, time_bytes + 8);
    append_random_bytes(out, 8);
    const unsigned block_count = random_below(31);
    out.push_back(static_cast<unsigned char>(block_count));
    for (unsigned i = 0; i < block_count; ++i) {
        const bool extended = random_below(10) < 3;
        out.push_back(static_cast<unsigned char>(random_below(256)));
        out.push_back(static_cast<unsigned char>((random_below(256) & ~1U) | (extended ? 1U : 0U)));
        append_random_bytes(out, 46 + (extended ? 24 : 0));
    }
    return !repeat;
}

// Appends a record and says whether a cleaned copy keeps it.
bool append_record(std::vector<unsigned char>& out)
{
    static const unsigned short_length_types[] = {3, 5, 7, 8, 9, 10, 11, 15, 16, 19, 20, 21};
    const unsigned pick = random_below(100);
    if (pick < 40) {
        const unsigned type = short_length_types[random_below(12)];
        const bool may_be_empty = type == 5 || type == 16;
        append_sized_record(out, type, (may_be_empty ? 0 : 1) + random_below(may_be_empty ? 252 : 251), false);
    } else if (pick < 55) {
        append_fixed_record(out, random_below(3), 80);
    } else if (pick < 60) {
        append_fixed_record(out, 6, 160);
    } else if (pick < 65) {
        const unsigned body = random_below(20) == 0 ? 1 + random_below(65531) : 1 + random_below(4000);
        append_sized_record(out, 12, body, true);
    } else if (pick < 69) {
        append_sized_record(out, 101, 1 + random_below(251), false);
        return false;
    } else if (pick < 71) {
        append_sized_record(out, 102, 1 + random_below(8000), true);
        return false;
    } else {
        return append_rec17(out);
    }
    return true;
}

bool write_all(std::FILE* file, const std::vector<unsigned char>& bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

}  // namespace

int main(int argc, char** argv)
{
    const bool cut = argc == 5 && std::strcmp(argv[4], "--cut") == 0;
    const bool expect = argc == 6 && std::strcmp(argv[4], "--expect") == 0;
    if (argc != 4 && !cut && !expect) {
        std::fprintf(stderr, "usage: generate_data_file OUTPUT SIZE SEED [--cut | --expect CLEANED]\n");
        return 2;
    }
    const unsigned long long size = std::strtoull(argv[2], nullptr, 10);
    rng_state = std::strtoull(argv[3], nullptr, 10);

    std::FILE* file = std::fopen(argv[1], "wb");
    std::FILE* cleaned = expect ? std::fopen(argv[5], "wb") : nullptr;
    if (file == nullptr || (expect && cleaned == nullptr)) {
        std::perror(file == nullptr ? argv[1] : argv[5]);
        return 1;
    }
    std::vector<unsigned char> chunk;
    std::vector<unsigned char> kept;
    unsigned long long written = 0;
    bool ok = true;
    bool final_chunk = false;
    while (ok && !final_chunk) {
        chunk.clear();
        kept.clear();
        std::size_t last_start = 0;
        while (chunk.size() < (1U << 20) && written + chunk.size() < size) {
            last_start = chunk.size();
            if (append_record(chunk) && expect) {
                kept.insert(kept.end(), chunk.begin() + static_cast<std::ptrdiff_t>(last_start), chunk.end());
            }
        }
        final_chunk = written + chunk.size() >= size;
        if (cut && final_chunk) {
            chunk.resize(last_start + (chunk.size() - last_start) / 2);
        }
        ok = write_all(file, chunk) && (!expect || write_all(cleaned, kept));
        written += chunk.size();
    }
    ok = std::fclose(file) == 0 && ok;
    ok = (!expect || std::fclose(cleaned) == 0) && ok;
    if (!ok) {
        std::perror("generate_data_file");
        return 1;
    }
    return 0;
}
