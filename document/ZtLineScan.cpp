// A line read once as its plain text, raw indexes and control-sequence effects.

#include "ZtLineScan.h"

#include <algorithm>
#include <cstring>

#include "ZtFileInfoFa4.h"

namespace quorvex {

TLineScan::TLineScan(const TZtFileInfoFa4& document, const TFa4LineEntry& entry)
    : FLength(entry.Length)
{
    const unsigned char* bytes = document.LineBytes(entry);
    FRawBytes = bytes;
    FHasCodes = std::memchr(bytes, 0xFF, entry.Length) != nullptr;
    if (FHasCodes)
        ReadCodes(bytes, document.AvailableFrom(bytes));
    else
        FBytes = std::string_view(reinterpret_cast<const char*>(bytes), entry.Length);
}

void TLineScan::ReadCodes(const unsigned char* bytes, std::int64_t available)
{
    // Filled through raw pointers and cut to size after: a line has at most
    // Length characters.
    FPlain.resize(static_cast<std::size_t>(FLength));
    FRawPos.resize(static_cast<std::size_t>(FLength) + 1);
    char* plain = FPlain.data();
    std::int32_t* rawPos = FRawPos.data();
    std::int32_t count = 0;
    std::int32_t position = 0;
    while (position < FLength) {
        if (bytes[position] == 0xFF) {
            const std::int32_t start = position;
            const TCodeRead read = PassOverCode(bytes, position, available);
            if (read.Effects.Any()) {
                FAll.Add(read.Effects);
                FEffectStarts.push_back(start);
                FEffectSums.push_back(FAll);
            }
        } else {
            plain[count] = static_cast<char>(bytes[position]);
            rawPos[count] = position;
            ++count;
        }
        ++position;
    }
    rawPos[count] = position;
    FPlain.resize(static_cast<std::size_t>(count));
    FRawPos.resize(static_cast<std::size_t>(count) + 1);
}

TCodeEffects TLineScan::EffectsBefore(std::int32_t rawBound) const
{
    if (FEffectStarts.empty()) return {};
    const auto it = std::lower_bound(FEffectStarts.begin(), FEffectStarts.end(), rawBound);
    if (it == FEffectStarts.begin()) return {};
    return FEffectSums[static_cast<std::size_t>(it - FEffectStarts.begin() - 1)];
}

std::int32_t TLineScan::PlainCount(std::int32_t limit, TCodeEffects& effects) const
{
    const std::int32_t bound = std::min(limit, FLength);
    effects = EffectsBefore(bound);
    if (!FHasCodes) return std::max(bound, 0);
    const auto end = FRawPos.end() - 1;
    return static_cast<std::int32_t>(std::lower_bound(FRawPos.begin(), end, bound) - FRawPos.begin());
}

std::int32_t TLineScan::RawIndexPastCodes(std::int32_t count, TCodeEffects& effects) const
{
    if (count <= 0) {
        effects = {};
        return 0;
    }
    if (count > PlainLength()) {
        effects = FAll;
        return FRawPos.back();
    }
    const std::int32_t last = FRawPos[static_cast<std::size_t>(count - 1)];
    effects = EffectsBefore(last);
    return last + 1;
}

} // namespace quorvex
