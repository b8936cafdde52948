// Removal of a rec17 that repeats the time of the rec17 before it.
#include "records.h"
#include "run_skerrow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double other_record = std::numeric_limits<double>::infinity();

struct time_sequence_case {
    const char* name;
    // rec17 times in file order; `other_record` stands for a type 3 record.
    std::vector<double> times;
    // Which of the records above are removed.
    std::vector<bool> removed;
    // The number each removal message shows.
    std::vector<std::string> shown_times;
};

void PrintTo(const time_sequence_case& c, std::ostream* out)
{
    *out << c.name;
}

std::string removal_message(const std::string& shown_time)
{
    return "Removing duplicate time rec17, time: " + shown_time + "\r\n";
}

const time_sequence_case time_sequence_cases[] = {
    {"first_is_never_a_duplicate", {250.0}, {false}, {}},
    {"repeat_with_other_record_between", {250.0, other_record, 250.0}, {false, false, true}, {"     0.250"}},
    {"three_in_a_row", {250.0, 250.0, 250.0}, {false, true, true}, {"     0.250", "     0.250"}},
    {"only_the_previous_counts", {250.0, 400.0, 250.0}, {false, false, false}, {}},
    {"zero_equals_negative_zero", {0.0, -0.0}, {false, true}, {"    -0.000"}},
    {"minus_one_is_never_tested", {-1.0, -1.0}, {false, false}, {}},
    {"after_minus_one_not_tested", {5.0, -1.0, -1.0, -1.0}, {false, false, false, false}, {}},
    {"tested_again_after_minus_one", {-1.0, 5.0, 5.0}, {false, false, true}, {"     0.005"}},
    {"nan_is_never_equal", {7.0, nan, nan, 7.0}, {false, false, false, false}, {}},
    {"nan_between_equal_times", {7.0, nan, 7.0, 7.0}, {false, false, false, true}, {"     0.007"}},
    {"wide_time_printed_whole", {1e12, 1e12}, {false, true}, {"1000000000.000"}},
    {"time_rounded_to_three_decimals", {1234567.8, 1234567.8}, {false, true}, {"  1234.568"}},
    {"negative_time", {-2500.0, -2500.0}, {false, true}, {"    -2.500"}},
};

class duplicate_rec17_test : public in_temp_dir, public ::testing::WithParamInterface<time_sequence_case> {};

TEST_P(duplicate_rec17_test, removes_repeated_times)
{
    const time_sequence_case& c = GetParam();
    bytes input;
    bytes expected_output;
    for (std::size_t i = 0; i < c.times.size(); ++i) {
        const bytes record = c.times[i] == other_record ? sized_record(3, 20) : rec17(c.times[i], {true, false});
        input += record;
        if (!c.removed[i]) {
            expected_output += record;
        }
    }
    std::string messages;
    for (const std::string& shown : c.shown_times) {
        messages += removal_message(shown);
    }
    write_file("site1.dat", input);
    const run_result run = run_skerrow({"site1"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, console_header("site1.dat", "site1Skerrow.dat") + messages);
    EXPECT_TRUE(read_file("site1Skerrow.dat") == expected_output) << "output differs";
}

INSTANTIATE_TEST_SUITE_P(times, duplicate_rec17_test, ::testing::ValuesIn(time_sequence_cases),
                         [](const auto& info) { return std::string(info.param.name); });

class duplicate_rec17_walk_test : public in_temp_dir {};

TEST_F(duplicate_rec17_walk_test, duplicate_is_skipped_whole_and_the_next_record_copied)
{
    const bytes first = rec17(250.0, {false});
    const bytes after = sized_record(12, 300) + rec17(300.0);
    write_file("site1.dat", first + rec17(250.0, {false, true, false}) + rec17(250.0) + after);
    const run_result run = run_skerrow({"site1"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, console_header("site1.dat", "site1Skerrow.dat") + removal_message("     0.250") +
                           removal_message("     0.250"));
    EXPECT_TRUE(read_file("site1Skerrow.dat") == first + after);
}

TEST_F(duplicate_rec17_walk_test, duplicate_cut_off_leaves_nothing)
{
    const bytes first = rec17(250.0, {true});
    write_file("site1.dat",
               first + rec17_head(250.0, 3) + rec17_block(true) + rec17_extension() + rec17_block(false).substr(0, 30));
    const run_result run = run_skerrow({"site1"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, console_header("site1.dat", "site1Skerrow.dat") + removal_message("     0.250"));
    EXPECT_TRUE(read_file("site1Skerrow.dat") == first);
}

}  // namespace
