#pragma once
// Whether a document's HTML has to be written again, judged by modification
// times as make judges its targets.

#include <cstdint>
#include <optional>
#include <string>

namespace quorvex {

// Modification time in nanoseconds since the epoch; `missing` when the file
// cannot be looked at.
std::int64_t ModificationTime(const std::string& name, std::int64_t missing);

// True when the HTML file is a regular file (`htmlTime` its modification
// time) newer than the document's time and than `notBefore` (the preferences
// file's time, or 0).
bool HtmlIsUpToDate(std::int64_t documentTime, std::optional<std::int64_t> htmlTime, std::int64_t notBefore);

} // namespace quorvex
