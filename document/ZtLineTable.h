#pragma once
// The line table as the file stores it, read from the file's first bytes:
// shared by the loader, the facts read without loading, and the damage
// account, so that all three count the same lines.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "ZtFileInfo.h"

namespace quorvex {

// The head and the whole line table.
inline constexpr std::size_t HeadAndTableSize = Fa4HeadSize + std::size_t{Fa4LineEntrySize} * Fa4MaxLines;
// The footer and header sections, converted whatever the line count.
inline constexpr std::int32_t SectionLines = 12;

// An entry as the table stores it.
struct TStoredEntry {
    std::uint16_t Length = 0;
    std::uint32_t Offset = 0;
};

// The entry from the file's first bytes `head`; none for one they do not
// hold whole.
inline std::optional<TStoredEntry> StoredEntry(std::string_view head, std::size_t index)
{
    const std::size_t at = Fa4HeadSize + Fa4LineEntrySize * index;
    if (index >= static_cast<std::size_t>(Fa4MaxLines) || at + Fa4LineEntrySize > head.size())
        return std::nullopt;
    const auto* bytes = reinterpret_cast<const unsigned char*>(head.data()) + at;
    return TStoredEntry{static_cast<std::uint16_t>(bytes[4] | bytes[5] << 8),
        bytes[6] | std::uint32_t{bytes[7]} << 8 | std::uint32_t{bytes[8]} << 16 |
            std::uint32_t{bytes[9]} << 24};
}

// The leading entries whose length is not 0; 10000 when all are in use. An
// entry the bytes do not hold whole ends the count.
inline std::int32_t CountLines(std::string_view head)
{
    std::int32_t count = 0;
    while (count < Fa4MaxLines) {
        const std::optional<TStoredEntry> entry = StoredEntry(head, static_cast<std::size_t>(count));
        if (!entry || entry->Length == 0) break;
        ++count;
    }
    return count;
}

// The file offset of the entry's first text byte.
inline std::uint64_t TextStart(const TStoredEntry& entry)
{
    return std::uint64_t{Fa4HeadSize} + entry.Offset;
}

} // namespace quorvex
