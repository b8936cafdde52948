#pragma once

// Copies the records of the open data file to the cleaned copy, from the first
// byte to the first record that the input does not hold whole. Records of
// types 101 and 102 are left out. A record type outside the format ends the
// process with status 1, after the copy so far has been flushed.
void copy_records();
