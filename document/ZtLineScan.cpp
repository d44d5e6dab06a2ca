#include "ZtLineScan.h"

#include <algorithm>

#include "ZtFileInfoFa4.h"

namespace quorvex {

TLineScan::TLineScan(const TZtFileInfoFa4& document, const TFa4LineEntry& entry)
    : Length_(entry.Length)
{
    const unsigned char* bytes = document.LineBytes(entry);
    const std::int64_t available = document.AvailableFrom(bytes);
    // Filled through raw pointers and cut to size after: a line has at most
    // Length characters.
    Plain_.resize(entry.Length);
    RawPos_.resize(entry.Length + 1u);
    char* plain = Plain_.data();
    std::int32_t* rawPos = RawPos_.data();
    std::int32_t count = 0;
    std::int32_t position = 0;
    while (position < Length_) {
        if (bytes[position] == 0xFF) {
            const std::int32_t start = position;
            ++position;
            const TCodeRead read = ReadCode(bytes, position, available);
            position += read.Operands;
            if (read.Effects.Any()) {
                All_.Add(read.Effects);
                EffectStarts_.push_back(start);
                EffectSums_.push_back(All_);
            }
        } else {
            plain[count] = static_cast<char>(bytes[position]);
            rawPos[count] = position;
            ++count;
        }
        ++position;
    }
    rawPos[count] = position;
    Plain_.resize(static_cast<std::size_t>(count));
    RawPos_.resize(static_cast<std::size_t>(count) + 1);
}

TCodeEffects TLineScan::EffectsBefore(std::int32_t rawBound) const
{
    if (EffectStarts_.empty()) return {};
    const auto it = std::lower_bound(EffectStarts_.begin(), EffectStarts_.end(), rawBound);
    if (it == EffectStarts_.begin()) return {};
    return EffectSums_[static_cast<std::size_t>(it - EffectStarts_.begin() - 1)];
}

std::int32_t TLineScan::PlainCount(std::int32_t limit, TCodeEffects& effects) const
{
    const std::int32_t bound = std::min(limit, Length_);
    effects = EffectsBefore(bound);
    const auto end = RawPos_.end() - 1;
    return static_cast<std::int32_t>(std::lower_bound(RawPos_.begin(), end, bound) - RawPos_.begin());
}

std::int32_t TLineScan::RawIndex(std::int32_t count, TCodeEffects& effects) const
{
    if (count <= 0) {
        effects = {};
        return 0;
    }
    if (count > PlainLength()) {
        effects = All_;
        return RawPos_.back();
    }
    const std::int32_t last = RawPos_[static_cast<std::size_t>(count - 1)];
    effects = EffectsBefore(last);
    return last + 1;
}

} // namespace quorvex
