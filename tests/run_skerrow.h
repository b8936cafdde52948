// Runs the built skerrow as a user would, in a temporary directory of its own.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

struct run_result {
    int status;
    std::string out;
    std::string err;
};

// A test that runs in a fresh, empty current directory, removed afterwards.
class in_temp_dir : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::filesystem::path dir;

private:
    std::filesystem::path previous_dir;
};

// Runs skerrow with these arguments in the current directory. On POSIX
// systems `shell_prefix` is put before the command (for limits set by the
// shell), and the environment variable SKERROW_TEST_WRAPPER, when set, names
// a program to run it under.
run_result run_skerrow(const std::vector<std::string>& args, const std::string& shell_prefix = "");

// What skerrow prints for a run on this data file name, before any message
// of the copy itself.
std::string console_header(const std::string& input_path, const std::string& output_path);

void write_file(const std::filesystem::path& path, const std::string& contents);
std::string read_file(const std::filesystem::path& path);
