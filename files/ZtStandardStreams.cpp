// The standard streams asked of the system.

#include "ZtStandardStreams.h"

#include <unistd.h>

namespace quorvex {

bool IsTerminal(int fd)
{
    return ::isatty(fd) == 1;
}

} // namespace quorvex
