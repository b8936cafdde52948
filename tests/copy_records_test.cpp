// What the cleaned copy holds, for data files assembled record by record.
#include "records.h"
#include "run_skerrow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string unknown_record_message = "Unknown record encountered, program stopped\n";

struct copy_case {
    const char* name;
    bytes input;
    bytes expected_output;
    int expected_status = 0;
};

std::ostream& operator<<(std::ostream& out, const copy_case& c)
{
    return out << c.name;
}

bytes blocks(unsigned n, bool extended)
{
    bytes out;
    for (unsigned i = 0; i < n; ++i) {
        out += rec17_block(extended) + (extended ? rec17_extension() : bytes());
    }
    return out;
}

// Records of every copied type, each whole, with the length bytes of the
// fixed-size types saying something else.
const bytes a = fixed_record(0);
const bytes b = sized_record(3, 12);
const bytes c = sized_record(12, 296);
const bytes every_copied_type = fixed_record(0) + fixed_record(1) + fixed_record(2) + sized_record(3, 1) +
                                sized_record(5, 0) + sized_record(5, 40) + fixed_record(6) + sized_record(7, 251) +
                                sized_record(8, 2) + sized_record(9, 3) + sized_record(10, 4) + sized_record(11, 5) +
                                sized_record(12, 65531) + sized_record(15, 6) + sized_record(16, 0) +
                                sized_record(16, 7) + rec17(1.0) + rec17(2.0, {true, false}) + sized_record(19, 8) +
                                sized_record(20, 9) + sized_record(21, 10);
const bytes cut_rec17 = rec17_head(5.0, 3) + rec17_block(true) + rec17_extension();
const bytes extended_block = rec17_block(true);
const bytes short_length_with_high_byte = bare_header(3, 0x10, 0x01) + filler(12);
const bytes two_byte_length = bare_header(12, 0x10, 0x01) + filler(268);
const bytes rec17_bare = rec17(1.0);
const bytes rec17_flag_bit_1 = rec17_head(1.0, 1) + bytes(1, 'x') + bytes(1, '\x02') + filler(46);
const bytes rec17_one_block_head = rec17_head(5.0, 1);
const bytes rec17_255_blocks = rec17_head(1.0, 255) + blocks(255, true);
const bytes rec17_26_of_30_blocks = rec17_head(1.0, 30) + blocks(26, false);

const copy_case copy_cases[] = {
    {"empty_file", "", ""},
    {"every_copied_type_whole", every_copied_type, every_copied_type},
    {"stray_byte_at_end", a + b + "x", a + b},
    {"three_stray_bytes_at_end", a + b + "xyz", a + b},
    {"header_cut_at_start", bare_header(3, 20).substr(0, 2), ""},
    {"type_101_dropped", a + sized_record(101, 30) + b, a + b},
    {"type_102_dropped", a + sized_record(102, 3000) + b, a + b},
    {"type_101_cut_off", a + b + sized_record(101, 30).substr(0, 20), a + b},
    {"type_102_cut_off_in_header", a + sized_record(102, 3000).substr(0, 3), a},
    {"body_cut_off", a + b + sized_record(7, 100).substr(0, 50), a + b},
    {"fixed_body_cut_off", a + fixed_record(6).substr(0, 163), a},
    {"two_byte_length_body_cut_off", a + sized_record(12, 65531).substr(0, 65534), a},
    {"empty_body_allowed", sized_record(5, 0) + sized_record(16, 0) + a, sized_record(5, 0) + sized_record(16, 0) + a},
    {"empty_body_malformed", a + sized_record(3, 0) + b, a},
    {"empty_body_malformed_drop", a + sized_record(101, 0) + b, a},
    {"two_byte_length_empty_body", a + bare_header(12, 4, 0) + b, a},
    {"length_below_header_size_3", a + bare_header(3, 3) + b, a},
    {"length_below_header_size_5", a + bare_header(5, 0) + b, a},
    {"length_below_header_size_16", a + bare_header(16, 2) + b, a},
    {"length_below_header_size_101", a + bare_header(101, 1) + b, a},
    {"two_byte_length_below_header_size", a + bare_header(102, 3, 0) + b, a},
    {"high_length_byte_ignored_for_short_types", short_length_with_high_byte + a, short_length_with_high_byte + a},
    {"high_length_byte_counts_for_type_12", two_byte_length + a, two_byte_length + a},
    {"rec17_without_blocks", rec17_bare + a, rec17_bare + a},
    {"rec17_flag_bits_other_than_bit0", rec17_flag_bit_1 + a, rec17_flag_bit_1 + a},
    {"rec17_cut_in_header", a + rec17(1.0).substr(0, 3), a},
    {"rec17_cut_in_fixed", a + rec17(1.0).substr(0, 20), a},
    {"rec17_cut_in_block", a + cut_rec17 + rec17_block(false).substr(0, 47), a + cut_rec17},
    {"rec17_cut_in_extension", a + cut_rec17 + extended_block + rec17_extension().substr(0, 23),
     a + cut_rec17 + extended_block},
    {"rec17_cut_before_block", a + rec17_one_block_head, a + rec17_one_block_head},
    {"rec17_beyond_block_table", rec17_255_blocks + a, rec17_255_blocks + a},
    {"rec17_cut_beyond_block_table", rec17_26_of_30_blocks, rec17_26_of_30_blocks},
    {"unknown_type_first", bare_header(4, 8) + filler(4) + a, "", 1},
    {"unknown_type_after_good_records", a + b + c + bare_header(4, 8) + filler(4) + a, a + b + c, 1},
    {"unknown_type_after_drop", a + sized_record(101, 9) + bare_header(255, 0), a, 1},
    {"unknown_type_13", a + bare_header(13, 8), a, 1},
    {"unknown_type_14", a + bare_header(14, 8), a, 1},
    {"unknown_type_18", a + bare_header(18, 8), a, 1},
    {"unknown_type_22", a + bare_header(22, 8), a, 1},
    {"unknown_type_100", a + bare_header(100, 8), a, 1},
    {"unknown_type_103", a + bare_header(103, 8), a, 1},
};

class copy_records_test : public in_temp_dir, public ::testing::WithParamInterface<copy_case> {};

TEST_P(copy_records_test, writes_expected_copy)
{
    const copy_case& c = GetParam();
    write_file("site1.dat", c.input);
    const run_result run = run_skerrow({"site1.dat"});
    EXPECT_EQ(run.status, c.expected_status);
    const std::string message = c.expected_status == 1 ? unknown_record_message : "";
    EXPECT_EQ(run.out, console_header("site1.dat", "site1Skerrow.dat") + message);
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(read_file("site1Skerrow.dat") == c.expected_output) << "output differs";
    EXPECT_EQ(read_file("site1.dat"), c.input);
}

INSTANTIATE_TEST_SUITE_P(records, copy_records_test, ::testing::ValuesIn(copy_cases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
