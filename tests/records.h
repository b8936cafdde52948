// Builds data-file bytes for the tests, record by record.
#pragma once

#include <string>
#include <vector>

using bytes = std::string;

// A record whose body is sized by its record_length: a one-byte length for
// most types (byte 2 then holds noise the tool must ignore), two bytes for
// types 12 and 102.
bytes sized_record(unsigned type, unsigned body_size);

// A header with the given length bytes, and no body.
bytes bare_header(unsigned type, unsigned length_low, unsigned length_high = 0);

// A record of type 0, 1, 2 (80-byte body) or 6 (160), with length bytes that
// say something else.
bytes fixed_record(unsigned type);

// rec17 pieces. A block announces an extension when `extended` is set; other
// bits of the flags byte are set too, to show they are not read.
bytes rec17_head(double time, unsigned block_count);
bytes rec17_block(bool extended);
bytes rec17_extension();

// A whole rec17: one entry per block, true where it has an extension.
bytes rec17(double time, const std::vector<bool>& extended_blocks = {});

// Distinct filler bytes, so that misplaced or repeated bytes show.
bytes filler(std::size_t n);
