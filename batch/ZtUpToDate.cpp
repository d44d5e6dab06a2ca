// Compares modification times; a missing file is never up to date.

#include "ZtUpToDate.h"

#include <sys/stat.h>

namespace quorvex {
namespace {

std::int64_t Nanoseconds(const struct timespec& time)
{
    return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

} // namespace

std::int64_t ModificationTime(const std::string& name, std::int64_t missing)
{
    struct stat info { };
    return ::stat(name.c_str(), &info) == 0 ? Nanoseconds(info.st_mtim) : missing;
}

bool HtmlIsUpToDate(std::int64_t documentTime, std::optional<std::int64_t> htmlTime, std::int64_t notBefore)
{
    return htmlTime && *htmlTime > documentTime && *htmlTime > notBefore;
}

} // namespace quorvex
