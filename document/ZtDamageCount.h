#pragma once
// Counting what a damaged document lost, from its line table and the bytes
// at the end of its file. The loader and the facts of an archive's index run
// the same count, so that they never disagree.

#include <cstdint>
#include <functional>
#include <string_view>

#include "ZtDamageAccount.h"

namespace quorvex {

// The file's bytes from `offset` to its end (fewer where it ended early).
// The view must stay valid until the count returns.
using TBytesToEnd = std::function<std::string_view(std::uint64_t offset)>;

// The account of the entries a conversion reads (the counted lines and the
// footer and header sections; `lineCount` is CountLines of `head`) of a file
// of `fileSize` bytes whose first bytes
// are `head` (at least the head and the table up to the first empty entry
// and the twelve section entries, where the file holds them).
// `bytesToEnd` is asked at most once, only when a line's text or a control
// sequence at its end reaches the end of the file, and never for more than
// the longest line and its last sequence.
TZtDamageAccount CountDamage(
    std::string_view head, std::int32_t lineCount, std::uint64_t fileSize, const TBytesToEnd& bytesToEnd);

} // namespace quorvex
