// The command line, the file names, the exit statuses and what a failed run
// leaves behind.
#include "records.h"
#include "run_skerrow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

const bytes good_records = fixed_record(1) + sized_record(9, 30) + rec17(7.0, {true});

#ifdef _WIN32
#define SKIP_WITHOUT_POSIX(what) GTEST_SKIP() << "needs " what ", which Windows does not offer"
#else
#define SKIP_WITHOUT_POSIX(what) static_cast<void>(0)
#endif

class driver_test : public in_temp_dir {};

TEST_F(driver_test, no_argument_prints_usage)
{
    write_file("site1.dat", good_records);
    const run_result run = run_skerrow({});
    EXPECT_EQ(run.status, 10);
    EXPECT_EQ(run.out, "\r\nQuorvex File Fixup Program, Version 1.00\r\nSyntax: Skerrow data_filename\r\n");
    EXPECT_EQ(run.err, "");
    EXPECT_FALSE(fs::exists("site1Skerrow.dat"));
}

struct naming_case {
    const char* name;
    std::string argument;
    std::string input_path;
    std::string output_path;
};

void PrintTo(const naming_case& c, std::ostream* out)
{
    *out << c.name;
}

class naming_test : public in_temp_dir, public ::testing::WithParamInterface<naming_case> {};

TEST_P(naming_test, derives_input_and_output_names)
{
    const naming_case& c = GetParam();
    fs::create_directory("my.data");
    write_file(c.input_path, good_records);
    const run_result run = run_skerrow({c.argument, "ignored.dat"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, console_header(c.input_path, c.output_path));
    EXPECT_EQ(read_file(c.output_path), good_records);
}

INSTANTIATE_TEST_SUITE_P(
    names, naming_test,
    ::testing::Values(naming_case{"plain", "site1", "site1.dat", "site1Skerrow.dat"},
                      naming_case{"with_suffix", "site1.dat", "site1.dat", "site1Skerrow.dat"},
                      naming_case{"cut_at_first_suffix", "site1.dat.bak", "site1.dat", "site1Skerrow.dat"},
                      naming_case{"suffix_inside_directory", "my.data/x.dat", "my.dat", "mySkerrow.dat"},
                      naming_case{"suffix_case_matters", "SITE1.DAT", "SITE1.DAT.dat", "SITE1.DATSkerrow.dat"},
                      naming_case{"empty_argument", "", ".dat", "Skerrow.dat"},
                      naming_case{"long_name", std::string(240, 'n'), std::string(240, 'n') + ".dat",
                                  std::string(240, 'n') + "Skerrow.dat"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(driver_test, argument_longer_than_any_path_is_printed_whole)
{
    const std::string name(20000, 'x');
    const run_result run = run_skerrow({name});
    EXPECT_EQ(run.status, 20);
    EXPECT_EQ(run.out, console_header(name + ".dat", name + "Skerrow.dat"));
}

TEST_F(driver_test, missing_input_leaves_earlier_copy_untouched)
{
    write_file("site1Skerrow.dat", good_records);
    const run_result run = run_skerrow({"site1"});
    EXPECT_EQ(run.status, 20);
    EXPECT_EQ(run.out, console_header("site1.dat", "site1Skerrow.dat"));
    EXPECT_NE(run.err.find("Skerrow: cannot open site1.dat: "), std::string::npos) << run.err;
    EXPECT_EQ(read_file("site1Skerrow.dat"), good_records);
}

TEST_F(driver_test, missing_input_creates_no_output)
{
    const run_result run = run_skerrow({"site1"});
    EXPECT_EQ(run.status, 20);
    EXPECT_FALSE(fs::exists("site1Skerrow.dat"));
}

TEST_F(driver_test, output_that_cannot_be_created)
{
    write_file("site1.dat", good_records);
    fs::create_directory("site1Skerrow.dat");
    const run_result run = run_skerrow({"site1"});
    EXPECT_EQ(run.status, 20);
    EXPECT_EQ(run.out, console_header("site1.dat", "site1Skerrow.dat"));
    EXPECT_NE(run.err.find("Skerrow: cannot open site1Skerrow.dat: "), std::string::npos) << run.err;
    EXPECT_EQ(read_file("site1.dat"), good_records);
}

TEST_F(driver_test, empty_input_gives_empty_copy)
{
    write_file("site1.dat", "");
    const run_result run = run_skerrow({"site1.dat"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, console_header("site1.dat", "site1Skerrow.dat"));
    EXPECT_TRUE(fs::exists("site1Skerrow.dat"));
    EXPECT_EQ(fs::file_size("site1Skerrow.dat"), 0U);
}

TEST_F(driver_test, output_linked_to_input_is_not_emptied)
{
    SKIP_WITHOUT_POSIX("symbolic links");
    write_file("site1.dat", good_records);
    fs::create_symlink("site1.dat", "site1Skerrow.dat");
    const run_result run = run_skerrow({"site1"});
    EXPECT_EQ(run.status, 20);
    EXPECT_EQ(run.out, console_header("site1.dat", "site1Skerrow.dat"));
    EXPECT_NE(run.err.find("Skerrow: site1Skerrow.dat "), std::string::npos) << run.err;
    EXPECT_EQ(read_file("site1.dat"), good_records);
}

TEST_F(driver_test, write_failure_is_reported)
{
    SKIP_WITHOUT_POSIX("/dev/full");
    write_file("site1.dat", good_records);
    fs::create_symlink("/dev/full", "site1Skerrow.dat");
    const run_result run = run_skerrow({"site1"});
    EXPECT_EQ(run.status, 30);
    EXPECT_EQ(run.out, console_header("site1.dat", "site1Skerrow.dat"));
    EXPECT_EQ(run.err, "Skerrow: cannot write site1Skerrow.dat: No space left on device\n");
    EXPECT_TRUE(fs::is_symlink("site1Skerrow.dat")) << "the link must not be removed";
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
    EXPECT_EQ(read_file("site1.dat"), good_records);
}

TEST_F(driver_test, write_failure_mid_copy_removes_partial_copy)
{
    SKIP_WITHOUT_POSIX("file size limits");
    bytes input;
    while (input.size() < (1U << 20)) {
        input += sized_record(12, 5000) + rec17(input.size(), {true, false}) + sized_record(101, 50);
    }
    write_file("site1.dat", input);
    // A write past the limit fails with EFBIG instead of killing the process.
    const run_result run = run_skerrow({"site1"}, "ulimit -f 100; trap '' XFSZ; ");
    EXPECT_EQ(run.status, 30);
    EXPECT_EQ(run.out, console_header("site1.dat", "site1Skerrow.dat"));
    EXPECT_EQ(run.err, "Skerrow: cannot write site1Skerrow.dat: File too large\n");
    EXPECT_FALSE(fs::exists("site1Skerrow.dat"));
    EXPECT_EQ(read_file("site1.dat"), input);
}

TEST_F(driver_test, write_failure_at_unknown_record_keeps_status_1)
{
    SKIP_WITHOUT_POSIX("/dev/full");
    write_file("site1.dat", good_records + bare_header(4, 8));
    fs::create_symlink("/dev/full", "site1Skerrow.dat");
    const run_result run = run_skerrow({"site1"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              console_header("site1.dat", "site1Skerrow.dat") + "Unknown record encountered, program stopped\n");
    EXPECT_EQ(run.err, "Skerrow: cannot write site1Skerrow.dat: No space left on device\n");
}

TEST_F(driver_test, read_failure_is_reported)
{
    fs::create_directory("site1.dat");
    const run_result run = run_skerrow({"site1"});
    EXPECT_EQ(run.out, console_header("site1.dat", "site1Skerrow.dat"));
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
#ifdef _WIN32
    // Windows refuses to open a directory as a file: nothing is created.
    EXPECT_EQ(run.status, 20);
    EXPECT_NE(run.err.find("Skerrow: cannot open site1.dat: "), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists("site1Skerrow.dat"));
#else
    EXPECT_EQ(run.status, 30);
    EXPECT_NE(run.err.find("Skerrow: cannot read site1.dat: "), std::string::npos) << run.err;
    EXPECT_EQ(read_file("site1Skerrow.dat"), "");
#endif
}

}  // namespace
