#pragma once
// What a damaged document lost: its lines whose text lies past the end of the
// file, wholly or in part, and what else the reading of such a file passes
// over. A document converts as far as its bytes go; the account says how far
// that was, so that whoever keeps an archive can look for another copy.

#include <cstdint>
#include <string>

namespace quorvex {

struct TZtDamageAccount {
    // Lines the conversion reads whose entry has a length: the counted lines
    // and the non-empty ones of the header and footer sections.
    std::int32_t Lines = 0;
    std::int32_t LinesOutside = 0; // text starts at or past the end of the file
    std::int32_t LinesCut = 0; // text starts inside the file and runs past its end
    // Bytes of those lines' texts that lie past the end of the file.
    std::uint64_t BytesMissing = 0;
    // Control sequences whose code or operand bytes lie past the end of the file.
    std::int32_t SequencesCut = 0;
    // Entries of the line table past the end of a file too short to hold its
    // head and table: they read as empty, so the line count may stop early.
    std::int32_t EntriesMissing = 0;
    // Boxes drawn so that they cannot be read as tables (a line of the box
    // too short to reach its left edge, a left edge that runs past the last
    // line): the default output converts them as well as it can. Known once
    // the document has been converted, or its facts read.
    std::int32_t TablesUnread = 0;

    std::int32_t DamagedLines() const { return LinesOutside + LinesCut; }
    bool Damaged() const
    {
        return DamagedLines() > 0 || SequencesCut > 0 || EntriesMissing > 0 || TablesUnread > 0;
    }
    bool operator==(const TZtDamageAccount&) const = default;
};

// The account in words, on one line, stable for scripts that read it:
// "14 of 27 lines cut at the end of the file (5120 bytes missing)", parts
// joined by "; ". Empty for an intact document.
std::string DescribeDamage(const TZtDamageAccount& damage);

} // namespace quorvex
