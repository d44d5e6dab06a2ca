#pragma once
// Telling F&A 4 documents from the other files of an archive. The format has
// no signature, but every document carries its full line table, and the
// first lines of that table point at text inside the file.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "ZtFileInfo.h"

namespace quorvex {

// How many leading entries are checked at most: the footer and header
// sections, which every document has.
inline constexpr int RecognitionEntries = 12;
// No document is smaller than its head and full line table.
inline constexpr std::uint64_t Fa4MinimumDocumentSize =
    Fa4HeadSize + std::uint64_t{Fa4LineEntrySize} * Fa4MaxLines;
// The bytes the check reads: the head and the entries it checks.
inline constexpr std::size_t RecognitionHeadSize = Fa4HeadSize + Fa4LineEntrySize * RecognitionEntries;

// True for the first bytes of a file of `fileSize` bytes that is as long as a
// head and a full line table, whose first entry has a Length, and whose
// leading non-empty entries (up to RecognitionEntries) each lie with their
// text inside the file. `head` may be longer than RecognitionHeadSize.
bool LooksLikeFa4Head(std::string_view head, std::uint64_t fileSize);

// The same for a named file: false for anything that is not a regular file or
// cannot be read. Reads only the head of the file.
bool LooksLikeFa4Document(const std::string& fileName);

} // namespace quorvex
