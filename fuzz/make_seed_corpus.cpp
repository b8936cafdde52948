// Writes the fuzzer's seed corpus: small data files that between them reach
// every disposition, every rec17 piece and every way a copy ends.
//
//   make_seed_corpus DIR
#include "../tests/records.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

bool write_seed(const std::string& dir, const char* name, const bytes& contents)
{
    const std::string path = dir + "/" + name + ".dat";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::perror(path.c_str());
        return false;
    }
    const bool ok = std::fwrite(contents.data(), 1, contents.size(), file) == contents.size();
    return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seed_corpus DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    bytes every_type;
    for (const unsigned type : {0U, 1U, 2U, 6U}) {
        every_type += fixed_record(type);
    }
    for (const unsigned type : {3U, 5U, 7U, 8U, 9U, 10U, 11U, 12U, 15U, 16U, 19U, 20U, 21U}) {
        every_type += sized_record(type, 3 + type);
    }
    const bool ok =
        write_seed(dir, "every_copied_type", every_type) &&
        write_seed(dir, "dropped_types",
                   fixed_record(0) + sized_record(101, 9) + sized_record(102, 300) + sized_record(5, 0) +
                       sized_record(16, 0)) &&
        write_seed(dir, "rec17_blocks_and_duplicate",
                   rec17(250.0, {true, false}) + sized_record(3, 8) + rec17(250.0, {false, true, true}) +
                       rec17(400.0)) &&
        write_seed(dir, "rec17_special_times",
                   rec17(-1.0) + rec17(-1.0, {true}) + rec17(0.0) + rec17(-0.0) + rec17(std::nan(""))) &&
        write_seed(dir, "rec17_cut_in_extension",
                   rec17_head(9.0, 2) + rec17_block(true) + rec17_extension() + rec17_block(true) +
                       rec17_extension().substr(0, 11)) &&
        write_seed(dir, "unknown_type", fixed_record(2) + rec17(3.0) + bare_header(4, 8) + filler(4)) &&
        write_seed(dir, "malformed_length", sized_record(9, 20) + bare_header(12, 3, 0) + fixed_record(1)) &&
        write_seed(dir, "cut_in_body", sized_record(7, 20) + sized_record(12, 300).substr(0, 100));
    return ok ? 0 : 1;
}
