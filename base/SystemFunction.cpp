#include "base/SystemFunction.h"

FARPROC SystemFunction(const char* library, const char* name) {
    HMODULE module = LoadLibraryA(library);
    return module ? GetProcAddress(module, name) : NULL;
}
