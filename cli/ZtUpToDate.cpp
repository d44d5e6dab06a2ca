// Compares modification times; a missing file is never up to date.

#include "ZtUpToDate.h"

#include <filesystem>
#include <system_error>

namespace quorvex {
namespace {

namespace fs = std::filesystem;

bool IsNewer(const fs::path& a, const fs::path& b)
{
    std::error_code error;
    const fs::file_time_type timeA = fs::last_write_time(a, error);
    if (error) return false;
    const fs::file_time_type timeB = fs::last_write_time(b, error);
    return !error && timeA > timeB;
}

} // namespace

bool HtmlIsUpToDate(
    const std::string& document, const std::string& html, const std::optional<std::string>& preferences)
{
    std::error_code error;
    if (!fs::is_regular_file(html, error)) return false;
    return IsNewer(html, document) && (!preferences || IsNewer(html, *preferences));
}

} // namespace quorvex
