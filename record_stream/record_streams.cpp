#include "record_streams.h"

#include "record_format.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

std::FILE* input_stream = nullptr;
std::FILE* output_stream = nullptr;
std::string input_name;
std::string output_name;

// The system's reason for the first failed read or write; 0 while none failed.
int input_error = 0;
int output_error = 0;

// Bytes read ahead of the record in hand; a record is never larger.
unsigned char input_buffer[max_record_size];
std::size_t input_held = 0;

void say_failure(const char* what, const std::string& name, int error)
{
    std::fprintf(stderr, "Skerrow: cannot %s %s: %s\n", what, name.c_str(), std::strerror(error));
}

}  // namespace

bool open_input(const char* path)
{
    input_name = path;
    input_stream = std::fopen(path, "rb");
    return input_stream != nullptr;
}

bool open_output(const char* path)
{
    output_name = path;
    output_stream = std::fopen(path, "wb");
    return output_stream != nullptr;
}

const unsigned char* input_window(std::size_t n)
{
    if (input_held < n && input_error == 0) {
        input_held += std::fread(input_buffer + input_held, 1, n - input_held, input_stream);
        if (std::ferror(input_stream)) {
            input_error = errno != 0 ? errno : EIO;
        }
    }
    return input_held >= n ? input_buffer : nullptr;
}

void input_skip(std::size_t n)
{
    input_held -= n;
    std::memmove(input_buffer, input_buffer + n, input_held);
}

bool output_write(const unsigned char* bytes, std::size_t n)
{
    if (output_error != 0) {
        return false;
    }
    if (std::fwrite(bytes, 1, n, output_stream) != n) {
        output_error = errno != 0 ? errno : EIO;
        return false;
    }
    return true;
}

bool close_input()
{
    std::fclose(input_stream);
    input_stream = nullptr;
    if (input_error != 0) {
        say_failure("read", input_name, input_error);
        return false;
    }
    return true;
}

bool close_output()
{
    if (output_error == 0 && std::fflush(output_stream) != 0) {
        output_error = errno != 0 ? errno : EIO;
    }
    if (std::fclose(output_stream) != 0 && output_error == 0) {
        output_error = errno != 0 ? errno : EIO;
    }
    output_stream = nullptr;
    if (output_error == 0) {
        return true;
    }
    // The copy may end inside a record. Only a regular file is removed: never
    // a device, nor the file that a link points to.
    std::error_code ignored;
    if (std::filesystem::is_regular_file(std::filesystem::symlink_status(output_name, ignored))) {
        std::filesystem::remove(output_name, ignored);
    }
    say_failure("write", output_name, output_error);
    return false;
}
