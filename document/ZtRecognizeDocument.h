#pragma once
// Telling F&A 4 documents from the other files of an archive. The format has
// no signature, but every document carries its full line table, and the
// first lines of that table point at text inside the file.

#include <cstddef>
#include <cstdint>
#include <optional>
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

// True for the head of a document as LooksLikeFa4Head has it, and also of
// one cut short or damaged: the file holds at least the first line entry,
// it has a Length, and the leading non-empty entries that the file holds
// (up to RecognitionEntries) point past the line table, where a document
// keeps its texts, the first of them within its first 16 MiB, as the texts
// of a document's first lines lie. HTML and other text fail the last check:
// no two text bytes and a NUL make its top byte.
bool LooksLikeFa4Remains(std::string_view head, std::uint64_t fileSize);

// Whether a name says it was meant to be a document: it ends in ".fa4", in
// any case.
bool NamedAsFa4(std::string_view name);

// Why an output must not replace the regular file open as `fd` and named
// `entry`: it looks like a document, whole, cut or damaged, or it is named as
// one (".fa4" in any case); nothing when it may go.
std::optional<std::string> KeepsDocument(int fd, std::string_view entry);

} // namespace quorvex
