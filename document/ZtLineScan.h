#pragma once
// A line read once as its plain text: the visible characters, the raw index
// of each, and the effects of its control sequences, so that the table
// conversion can ask for plain texts and raw indexes any number of times at
// the cost of one reading.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ZtCodeReader.h"

namespace quorvex {

struct TFa4LineEntry;
class TZtFileInfoFa4;

class TLineScan {
public:
    TLineScan(const TZtFileInfoFa4& document, const TFa4LineEntry& entry);

    // The line's bytes as they stand in the document.
    const unsigned char* RawBytes() const { return FRawBytes; }
    std::int32_t RawLength() const { return FLength; }

    // The whole line's plain text.
    std::string_view Plain() const { return FHasCodes ? std::string_view(FPlain) : FBytes; }
    std::int32_t PlainLength() const { return static_cast<std::int32_t>(Plain().size()); }

    // What reading the line's first `limit` bytes yields: the number of visible
    // characters, and the effects of the sequences that start before the bound.
    std::int32_t PlainCount(std::int32_t limit, TCodeEffects& effects) const;
    // The raw index reached after `count` visible characters, and the effects
    // of the sequences passed on the way.
    std::int32_t RawIndex(std::int32_t count, TCodeEffects& effects) const
    {
        // Table cells ask twice per line; most lines hold no sequence.
        if (FHasCodes) return RawIndexPastCodes(count, effects);
        effects = {};
        return std::clamp(count, 0, FLength);
    }
    // The effects of all of the line's sequences.
    const TCodeEffects& AllEffects() const { return FAll; }

private:
    TCodeEffects EffectsBefore(std::int32_t rawBound) const;
    void ReadCodes(const unsigned char* bytes, std::int64_t available);
    std::int32_t RawIndexPastCodes(std::int32_t count, TCodeEffects& effects) const;

    // Most lines hold no control sequence: their plain text is their bytes,
    // and a character's raw index is its own.
    const unsigned char* FRawBytes = nullptr;
    bool FHasCodes = false;
    std::string_view FBytes;
    std::string FPlain;
    std::vector<std::int32_t> FRawPos; // raw index of each visible character, then the end
    std::int32_t FLength = 0;
    // Sequences that change the state: where each starts, and the sum of
    // their effects up to and including it.
    std::vector<std::int32_t> FEffectStarts;
    std::vector<TCodeEffects> FEffectSums;
    TCodeEffects FAll;
};

} // namespace quorvex
