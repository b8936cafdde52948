// skerrow DATA_FILENAME: writes a cleaned copy of a Quorvex data file beside it.
#include "record_stream/copy_records.h"
#include "record_stream/record_streams.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr const char* version = "Version 1.00";

constexpr int status_copied = 0;
constexpr int status_no_argument = 10;
constexpr int status_open_failed = 20;
constexpr int status_io_failed = 30;

void say_open_failure(const std::string& path, int error)
{
    std::fprintf(stderr, "Skerrow: cannot open %s: %s\n", path.c_str(), std::strerror(error));
}

// Opening the output empties it, so it must not be the input under another
// name (a link). A name that does not exist yet is never the input.
bool names_same_file(const std::string& a, const std::string& b)
{
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

}  // namespace

int main(int argc, char** argv)
{
#ifdef _WIN32
    // The console texts carry their own CR LF: a text-mode stream would turn
    // each "\r\n" into "\r\r\n".
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (argc < 2) {
        std::printf("\r\nQuorvex File Fixup Program, %s\r\n", version);
        std::printf("Syntax: Skerrow data_filename\r\n");
        return status_no_argument;
    }
    std::printf("\r\nQuorvex File Truncation Program, %s\r\n\r\n", version);

    // Everything from the first ".dat" on is dropped: "site1", "site1.dat" and
    // "site1.dat.bak" all name site1.dat.
    std::string base_name = argv[1];
    const std::size_t suffix = base_name.find(".dat");
    if (suffix != std::string::npos) {
        base_name.resize(suffix);
    }
    const std::string input_path = base_name + ".dat";
    const std::string output_path = base_name + "Skerrow.dat";

    const bool input_open = open_input(input_path.c_str());
    if (!input_open) {
        say_open_failure(input_path, errno);
    }
    std::printf("Quorvex Data File...: %s\r\n", input_path.c_str());

    // The output is only created once the input is known to be readable, so a
    // failed run never empties a cleaned copy made earlier.
    bool output_open = false;
    if (input_open) {
        if (names_same_file(input_path, output_path)) {
            std::fprintf(stderr, "Skerrow: %s is the data file itself; it is left as it is\n", output_path.c_str());
        } else {
            output_open = open_output(output_path.c_str());
            if (!output_open) {
                say_open_failure(output_path, errno);
            }
        }
    }
    std::printf("Truncated data located in file:  %s \r\n", output_path.c_str());

    int status = status_open_failed;
    if (input_open && output_open) {
        copy_records();
        status = status_copied;
    }
    if (input_open && !close_input()) {
        status = status_io_failed;
    }
    if (output_open && !close_output()) {
        status = status_io_failed;
    }
    return status;
}
