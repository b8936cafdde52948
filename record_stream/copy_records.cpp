#include "copy_records.h"

#include "duplicate_rec17.h"
#include "record_format.h"
#include "record_streams.h"

#include <cstdio>
#include <cstdlib>

namespace {

// A body size that no record can have: the record is malformed.
constexpr long malformed = -1;

long short_length_body(const unsigned char* header, bool empty_allowed)
{
    const long body = long{header[record_length_low_offset]} - long{record_header_size};
    return body > 0 || (body == 0 && empty_allowed) ? body : malformed;
}

long long_length_body(const unsigned char* header)
{
    const long body = long{header[record_length_low_offset]} + 256 * long{header[record_length_high_offset]} -
                      long{record_header_size};
    return body > 0 ? body : malformed;
}

// Reads the next piece of a rec17 and, unless the record is being left out,
// writes it. False when the piece is not whole or cannot be written.
bool copy_rec17_piece(std::size_t size, bool write)
{
    const unsigned char* piece = input_window(size);
    if (piece == nullptr || (write && !output_write(piece, size))) {
        return false;
    }
    input_skip(size);
    return true;
}

// Walks a rec17 piece by piece, writing each piece as soon as it is read, so
// that a record cut off inside its blocks keeps the pieces read whole. A
// duplicate is walked the same way, to stay in step, but nothing of it is
// written. False when the copy must end.
bool copy_rec17()
{
    const unsigned char* head = input_window(record_header_size + rec17_fixed_size);
    if (head == nullptr) {
        return false;
    }
    const unsigned block_count = head[record_header_size + rec17_block_count_offset];
    const bool is_duplicate = is_duplicate_rec17(head + record_header_size);
    if (!copy_rec17_piece(record_header_size + rec17_fixed_size, !is_duplicate)) {
        return false;
    }
    for (unsigned i = 0; i < block_count; ++i) {
        const unsigned char* block = input_window(rec17_block_size);
        if (block == nullptr) {
            return false;
        }
        const bool has_extension = (block[rec17_flags_offset] & rec17_has_extension_bit) != 0;
        if (!copy_rec17_piece(rec17_block_size, !is_duplicate) ||
            (has_extension && !copy_rec17_piece(rec17_extension_size, !is_duplicate))) {
            return false;
        }
    }
    return true;
}

[[noreturn]] void stop_at_unknown_record()
{
    std::fputs("Unknown record encountered, program stopped\n", stdout);
    close_output();
    std::exit(EXIT_FAILURE);
}

}  // namespace

void copy_records()
{
    for (;;) {
        const unsigned char* header = input_window(record_header_size);
        if (header == nullptr) {
            return;
        }
        long body_size = 0;
        bool keep = true;
        switch (header[record_type_offset]) {
        case 0:
        case 1:
        case 2:
            body_size = short_fixed_body_size;
            break;
        case 6:
            body_size = long_fixed_body_size;
            break;
        case 3:
        case 7:
        case 8:
        case 9:
        case 10:
        case 11:
        case 15:
        case 19:
        case 20:
        case 21:
            body_size = short_length_body(header, false);
            break;
        case 5:
        case 16:
            body_size = short_length_body(header, true);
            break;
        case 12:
            body_size = long_length_body(header);
            break;
        case 17:
            if (!copy_rec17()) {
                return;
            }
            continue;
        case 101:
            keep = false;
            body_size = short_length_body(header, false);
            break;
        case 102:
            keep = false;
            body_size = long_length_body(header);
            break;
        default:
            stop_at_unknown_record();
        }
        if (body_size == malformed) {
            return;
        }
        const std::size_t record_size = record_header_size + static_cast<std::size_t>(body_size);
        const unsigned char* record = input_window(record_size);
        if (record == nullptr || (keep && !output_write(record, record_size))) {
            return;
        }
        input_skip(record_size);
    }
}
