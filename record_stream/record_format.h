// Layout of a Quorvex data file: a plain sequence of records, each a 4-byte
// header followed by a body whose size depends on the record type.
#pragma once

#include <cstddef>
#include <cstdint>

// record_header: byte 0 is not interpreted, bytes 1 and 2 hold record_length
// (little-endian; byte 2 counts only for the long-length types), byte 3 holds
// record_type.
constexpr std::size_t record_header_size = 4;
constexpr std::size_t record_length_low_offset = 1;
constexpr std::size_t record_length_high_offset = 2;
constexpr std::size_t record_type_offset = 3;

// Bodies of types 0, 1, 2 and 6 have a fixed size; the length bytes are not
// consulted for them.
constexpr std::size_t short_fixed_body_size = 80;
constexpr std::size_t long_fixed_body_size = 160;

// rec17: rec17_fixed, then block_count blocks, each followed by an extension
// when bit 0 of its byte 1 (has_extension) is set. Its record_length plays no
// part in finding its end.
constexpr std::size_t rec17_fixed_size = 17;
constexpr std::size_t rec17_time_offset = 0;
constexpr std::size_t rec17_block_count_offset = 16;
constexpr std::size_t rec17_block_size = 48;
constexpr std::size_t rec17_flags_offset = 1;
constexpr unsigned rec17_has_extension_bit = 0x01;
constexpr std::size_t rec17_extension_size = 24;

// The largest record the format can describe: a two-byte record_length of
// 65,535 (a body of 65,531 bytes). A rec17 with 255 extended blocks is
// shorter (18,381 bytes).
constexpr std::size_t max_record_size = 0xFFFF;
