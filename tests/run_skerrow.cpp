#include "run_skerrow.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#else
#include <sys/wait.h>
#endif

namespace fs = std::filesystem;

namespace {

constexpr const char* stdout_file = "skerrow.stdout";
constexpr const char* stderr_file = "skerrow.stderr";

#ifdef _WIN32

// Starts the tool directly, not through cmd.exe (which takes at most 8191
// characters), with its standard output and error in files.
int run_tool(const std::vector<std::string>& args, const std::string&)
{
    std::vector<std::string> quoted{"\"" SKERROW_EXE "\""};
    for (const std::string& arg : args) {
        quoted.push_back("\"" + arg + "\"");
    }
    std::vector<const char*> argv;
    for (const std::string& arg : quoted) {
        argv.push_back(arg.c_str());
    }
    argv.push_back(nullptr);

    std::fflush(stdout);
    std::fflush(stderr);
    const int saved_out = _dup(1);
    const int saved_err = _dup(2);
    const int out = _open(stdout_file, _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
    const int err = _open(stderr_file, _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
    _dup2(out, 1);
    _dup2(err, 2);
    _close(out);
    _close(err);
    // -1 means the tool never started; under Wine that happens now and then
    // and says nothing about the tool, so the start is tried again.
    intptr_t status = -1;
    int spawn_error = 0;
    for (int attempt = 0; attempt < 3 && status == -1; ++attempt) {
        status = _spawnv(_P_WAIT, SKERROW_EXE, argv.data());
        spawn_error = errno;
    }
    _dup2(saved_out, 1);
    _dup2(saved_err, 2);
    _close(saved_out);
    _close(saved_err);
    if (status == -1) {
        std::fprintf(stderr, "cannot start %s: %s\n", SKERROW_EXE, std::strerror(spawn_error));
    }
    return static_cast<int>(status);
}

#else

std::string quoted(const std::string& arg)
{
    std::string out = "'";
    for (const char c : arg) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

int run_tool(const std::vector<std::string>& args, const std::string& shell_prefix)
{
    // SKERROW_TEST_WRAPPER runs the tool under another program, such as
    // valgrind.
    const char* wrapper = std::getenv("SKERROW_TEST_WRAPPER");
    std::string command = shell_prefix + (wrapper != nullptr ? std::string(wrapper) + " " : "") + quoted(SKERROW_EXE);
    for (const std::string& arg : args) {
        command += " " + quoted(arg);
    }
    command += std::string(" >") + stdout_file + " 2>" + stderr_file;
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
}

#endif

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
    const int status = run_tool(args, shell_prefix);
    run_result result{status, read_file(stdout_file), read_file(stderr_file)};
    fs::remove(stdout_file);
    fs::remove(stderr_file);
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
