// Counts lines outside the file or cut by its end, the bytes they miss, the
// control sequences cut off and the table entries the file does not hold.

#include "ZtDamageCount.h"

#include <algorithm>
#include <string>
#include <vector>

#include "ZtByteTables.h"
#include "ZtLineTable.h"

namespace quorvex {
namespace {

// A sequence is 0xFF, a code byte and at most two operands: one that starts
// this many bytes or more before the end of the file is whole.
constexpr std::uint64_t LongestSequence = 4;

// A line whose text or last control sequence may reach the end of the file.
struct TLineNearEnd {
    std::uint64_t Start = 0;
    std::uint64_t End = 0; // of the text as the conversion reads it
};

std::int32_t MissingEntries(std::uint64_t fileSize)
{
    if (fileSize >= HeadAndTableSize) return 0;
    const std::uint64_t whole = fileSize < Fa4HeadSize ? 0 : (fileSize - Fa4HeadSize) / Fa4LineEntrySize;
    return Fa4MaxLines - static_cast<std::int32_t>(whole);
}

// The step over the character or control sequence at `at`.
std::size_t Step(std::string_view bytes, std::size_t at)
{
    if (static_cast<unsigned char>(bytes[at]) != 0xFF || at + 1 >= bytes.size()) return 1;
    return 2 + CodeTable[static_cast<unsigned char>(bytes[at + 1])].Operands;
}

// Counts the lines that meet a control sequence cut off by the end of `tail`,
// the file's last bytes from `tailStart` on. Every line walks its text from
// its start as the conversion does; the walks of all lines are followed at
// once from the end backwards, so that many long lines near the end cost one
// pass over their bytes, not one each.
std::int32_t CutSequences(
    const std::vector<TLineNearEnd>& lines, std::uint64_t tailStart, std::string_view tail)
{
    const std::size_t size = tail.size();
    // Where a walk from each position enters the last bytes, in which a
    // sequence can be cut; the walk is the same from there whatever line it
    // began in.
    const std::size_t lastBytes = size < LongestSequence ? 0 : size - LongestSequence + 1;
    std::vector<std::uint32_t> entersLast(size + LongestSequence);
    for (std::size_t at = entersLast.size(); at-- > 0;)
        entersLast[at] = at >= lastBytes ? static_cast<std::uint32_t>(at) : entersLast[at + Step(tail, at)];
    std::int32_t cut = 0;
    for (const TLineNearEnd& line : lines) {
        if (line.Start - tailStart >= size) continue; // the file ended early while read
        const std::uint64_t end = std::min<std::uint64_t>(line.End - tailStart, size);
        for (std::size_t at = entersLast[line.Start - tailStart]; at < end; at += Step(tail, at)) {
            if (static_cast<unsigned char>(tail[at]) != 0xFF) continue;
            const std::size_t code = at + 1;
            if (code >= size || code + CodeTable[static_cast<unsigned char>(tail[code])].Operands >= size) {
                ++cut;
                break;
            }
        }
    }
    return cut;
}

} // namespace

TZtDamageAccount CountDamage(
    std::string_view head, std::int32_t lineCount, std::uint64_t fileSize, const TBytesToEnd& bytesToEnd)
{
    TZtDamageAccount damage;
    damage.EntriesMissing = MissingEntries(fileSize);
    const std::int32_t read = std::max(lineCount, SectionLines);
    std::vector<TLineNearEnd> nearEnd;
    std::uint64_t tailStart = fileSize;
    for (std::int32_t index = 0; index < read; ++index) {
        const std::optional<TStoredEntry> entry = StoredEntry(head, static_cast<std::size_t>(index));
        if (!entry || entry->Length == 0) continue;
        ++damage.Lines;
        const std::uint64_t start = TextStart(*entry);
        const std::uint64_t end = start + entry->Length;
        if (start >= fileSize) {
            ++damage.LinesOutside;
            damage.BytesMissing += entry->Length;
            continue;
        }
        if (end > fileSize) {
            ++damage.LinesCut;
            damage.BytesMissing += end - fileSize;
        }
        // A sequence can only be cut where 0xFF stands among the last bytes.
        if (end + LongestSequence - 1 > fileSize) {
            nearEnd.push_back({start, std::min(end, fileSize)});
            tailStart = std::min(tailStart, start);
        }
    }
    if (!nearEnd.empty()) damage.SequencesCut = CutSequences(nearEnd, tailStart, bytesToEnd(tailStart));
    return damage;
}

} // namespace quorvex
