#pragma once
// What a list of documents shows of each one (its number of lines and a
// title from its own text), read without loading or converting it.

#include <cstddef>
#include <cstdint>
#include <string>

namespace quorvex {

// Titles are cut after this many characters.
inline constexpr std::size_t DocumentTitleLength = 80;

struct TZtDocumentFacts {
    std::int32_t LineCount = 0;
    // The plain text of the first body line that shows more than blanks,
    // without its leading and trailing blanks, cut at DocumentTitleLength
    // characters, as UTF-8 (code page 437); empty when no body line shows
    // anything.
    std::string Title;
};

// Reads the line table up to the line count and the body lines up to the
// first that shows anything. Raises EZtError "Cannot open file %s".
TZtDocumentFacts ReadDocumentFacts(const std::string& fileName);

} // namespace quorvex
