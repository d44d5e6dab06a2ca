#pragma once
// Whether a document's HTML has to be written again, judged by modification
// times as make judges its targets.

#include <cstdint>
#include <string>

namespace quorvex {

// Modification time in nanoseconds since the epoch; `missing` when the file
// cannot be looked at.
std::int64_t ModificationTime(const std::string& name, std::int64_t missing);

// True when `html` is a file newer than the document's time and than
// `notBefore` (the preferences file's time, or 0).
bool HtmlIsUpToDate(std::int64_t documentTime, const std::string& html, std::int64_t notBefore);

} // namespace quorvex
