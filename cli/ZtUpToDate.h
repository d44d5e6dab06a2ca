#pragma once
// Whether a document's HTML has to be written again, judged by modification
// times as make judges its targets.

#include <optional>
#include <string>

namespace quorvex {

// True when `html` exists and is newer than `document` and than the
// preferences file, if one is used. Any time that cannot be read means the
// HTML is written again.
bool HtmlIsUpToDate(
    const std::string& document, const std::string& html, const std::optional<std::string>& preferences);

} // namespace quorvex
