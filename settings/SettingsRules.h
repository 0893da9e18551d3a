// What the file-naming settings may hold.  The settings sheet refuses a
// value outside these rules, and loading the settings file mends one, so a
// capture never meets such a value.
#pragma once

#include <stddef.h>

enum {
    // The capture engine keeps the file-name prefix in 64 bytes.
    MaxImagePrefixBytes = 63,
    DefaultMaxImageNumber = 999999,
};

// The prefix fits the capture engine's copy without being cut.
bool ImagePrefixFits(const char* prefix);
// Image numbers count from 0 upwards: below 0 no number would be left.
bool MaxImageNumberAllowed(int maximum);

// What loading makes of values that the sheet would refuse: a long prefix
// is cut to its first 63 bytes on a character boundary, as the capture
// would cut it anyway, so the sheet shows what the capture uses; a negative
// maximum reads as the default, as if the key were missing.
void MendFileNamingSettings(char* prefix, int* maximum);
