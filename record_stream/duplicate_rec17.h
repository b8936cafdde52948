#pragma once

// Decides whether a rec17 repeats the time of the rec17 before it, from its
// rec17_fixed (read whole), and remembers its time for the next one. A
// duplicate is reported on standard output at once.
bool is_duplicate_rec17(const unsigned char* rec17_fixed);
