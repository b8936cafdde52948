// The two files of a run: the data file, only ever read, and the cleaned copy.
// Both are held here for the one pass; the driver opens and closes them and
// copy_records reads the one and writes the other.
#pragma once

#include <cstddef>

// Opens the data file for binary reading; false (errno set) when it cannot.
bool open_input(const char* path);

// Creates or empties the cleaned copy for binary writing; false (errno set)
// when it cannot.
bool open_output(const char* path);

// The next n bytes of the input, not yet consumed, or nullptr when the input
// ends (or fails) before all of them arrive. The pointer is good until the
// next call to input_window or input_skip.
const unsigned char* input_window(std::size_t n);

// Consumes n bytes that input_window has just made available.
void input_skip(std::size_t n);

// Appends n bytes to the cleaned copy. After the first failure nothing more is
// written and every call returns false.
bool output_write(const unsigned char* bytes, std::size_t n);

// Closes the data file. Returns false, after saying why on standard error,
// when a read failed for a reason other than the end of the input.
bool close_input();

// Flushes and closes the cleaned copy. Returns false when any write, the flush
// or the close failed; the partial copy is then removed (if it is a regular
// file) and the reason is given on standard error.
bool close_output();
