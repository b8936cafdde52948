#include "run_skerrow.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace fs = std::filesystem;

namespace {

std::string quoted(const std::string& arg)
{
#ifdef _WIN32
    return "\"" + arg + "\"";
#else
    std::string out = "'";
    for (const char c : arg) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
#endif
}

}  // namespace

void in_temp_dir::SetUp()
{
    previous_dir = fs::current_path();
    dir = fs::temp_directory_path() / ("skerrow-test-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    fs::current_path(dir);
}

void in_temp_dir::TearDown()
{
    fs::current_path(previous_dir);
    std::error_code ignored;
    fs::remove_all(dir, ignored);
}

run_result run_skerrow(const std::vector<std::string>& args, const std::string& shell_prefix)
{
    // SKERROW_TEST_WRAPPER runs the tool under another program, such as
    // valgrind.
    const char* wrapper = std::getenv("SKERROW_TEST_WRAPPER");
    std::string command = shell_prefix + (wrapper != nullptr ? std::string(wrapper) + " " : "") + quoted(SKERROW_EXE);
    for (const std::string& arg : args) {
        command += " " + quoted(arg);
    }
    command += " >skerrow.stdout 2>skerrow.stderr";
#ifdef _WIN32
    // cmd.exe strips the outermost pair of quotes from what it is given.
    command = "\"" + command + "\"";
#endif
    int raw = std::system(command.c_str());
#ifdef _WIN32
    // Under Wine, starting cmd.exe itself now and then fails; that says
    // nothing about the tool, so it is tried once more.
    if (raw == -1) {
        raw = std::system(command.c_str());
    }
    const int status = raw;
#else
    const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
#endif
    run_result result{status, read_file("skerrow.stdout"), read_file("skerrow.stderr")};
    fs::remove("skerrow.stdout");
    fs::remove("skerrow.stderr");
    return result;
}

std::string console_header(const std::string& input_path, const std::string& output_path)
{
    return "\r\nQuorvex File Truncation Program, Version 1.00\r\n\r\n"
           "Quorvex Data File...: " +
           input_path + "\r\nTruncated data located in file:  " + output_path + " \r\n";
}

void write_file(const fs::path& path, const std::string& contents)
{
    std::ofstream file(path, std::ios::binary);
    file << contents;
}

std::string read_file(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
