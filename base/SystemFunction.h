// Functions of system libraries that older Windows lack, looked up at run
// time so that the program still starts there.
#pragma once

#include <windows.h>

// The named function of a system library, or NULL where this Windows lacks
// it.  The library stays loaded for the life of the process, like an
// imported one.
FARPROC SystemFunction(const char* library, const char* name);
