// stat(2) and lstat(2) by name.

#include "ZtFileStatus.h"

#include <unistd.h>

#include <cerrno>

#include "ZtStatusOfStat.h"

namespace quorvex {

TFileStatus StatusOf(const std::string& name)
{
    struct stat info { };
    const int result = ::stat(name.c_str(), &info);
    return StatusOfCall(result, info, errno);
}

TFileStatus LinkStatusOf(const std::string& name)
{
    struct stat info { };
    const int result = ::lstat(name.c_str(), &info);
    return StatusOfCall(result, info, errno);
}

bool StandardErrorIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

} // namespace quorvex
