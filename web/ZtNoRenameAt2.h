#pragma once
// Emscripten's C library has no renameat2(2). The module writes no file, so
// the call is never made; should it be, it fails as on a kernel without it.

#include <cerrno>

#define RENAME_NOREPLACE (1 << 0)
#define RENAME_EXCHANGE (1 << 1)

inline int renameat2(int, const char*, int, const char*, unsigned)
{
    errno = ENOSYS;
    return -1;
}
