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

// The input is read in large blocks straight into this buffer, with room to
// keep the unread tail of the last block (at most one record) in front of the
// next one.
constexpr std::size_t input_block_size = std::size_t{256} * 1024;
unsigned char input_buffer[input_block_size + max_record_size];
std::size_t input_start = 0;  // first byte not yet consumed
std::size_t input_end = 0;    // end of the bytes read

// Bytes to be written are not copied at once: consecutive pieces of the
// input buffer accumulate into one run, written when a piece does not follow
// on or before the buffer is refilled.
const unsigned char* pending_output = nullptr;
std::size_t pending_size = 0;

constexpr std::size_t output_buffer_size = std::size_t{256} * 1024;
char output_buffer[output_buffer_size];

int error_or_eio()
{
    return errno != 0 ? errno : EIO;
}

bool flush_pending_output()
{
    if (pending_size > 0 && output_error == 0 &&
        std::fwrite(pending_output, 1, pending_size, output_stream) != pending_size) {
        output_error = error_or_eio();
    }
    pending_output = nullptr;
    pending_size = 0;
    return output_error == 0;
}

void refill_input()
{
    if (input_error != 0 || std::feof(input_stream) != 0) {
        return;
    }
    flush_pending_output();
    std::memmove(input_buffer, input_buffer + input_start, input_end - input_start);
    input_end -= input_start;
    input_start = 0;
    input_end += std::fread(input_buffer + input_end, 1, sizeof input_buffer - input_end, input_stream);
    if (std::ferror(input_stream) != 0) {
        input_error = error_or_eio();
    }
}

void say_failure(const char* what, const std::string& name, int error)
{
    std::fprintf(stderr, "Skerrow: cannot %s %s: %s\n", what, name.c_str(), std::strerror(error));
}

}  // namespace

bool open_input(const char* path)
{
    input_name = path;
    input_stream = std::fopen(path, "rb");
    if (input_stream == nullptr) {
        return false;
    }
    // Unbuffered: each block is read by one system call straight into
    // input_buffer.
    std::setvbuf(input_stream, nullptr, _IONBF, 0);
    return true;
}

bool open_output(const char* path)
{
    output_name = path;
    output_stream = std::fopen(path, "wb");
    if (output_stream == nullptr) {
        return false;
    }
    // Runs shorter than the buffer are gathered into it; longer ones go to the
    // system directly.
    std::setvbuf(output_stream, output_buffer, _IOFBF, output_buffer_size);
    return true;
}

const unsigned char* input_window(std::size_t n)
{
    if (input_end - input_start < n) {
        refill_input();
    }
    return input_end - input_start >= n ? input_buffer + input_start : nullptr;
}

void input_skip(std::size_t n)
{
    input_start += n;
}

bool output_write(const unsigned char* bytes, std::size_t n)
{
    if (output_error != 0) {
        return false;
    }
    if (bytes != pending_output + pending_size && !flush_pending_output()) {
        return false;
    }
    if (pending_size == 0) {
        pending_output = bytes;
    }
    pending_size += n;
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
    if (flush_pending_output() && std::fflush(output_stream) != 0) {
        output_error = error_or_eio();
    }
    if (std::fclose(output_stream) != 0 && output_error == 0) {
        output_error = error_or_eio();
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
