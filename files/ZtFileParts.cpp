// Ranges of a file held in one block, and where a file offset lies in it.

#include "ZtFileParts.h"

#include <algorithm>

namespace quorvex {

std::vector<TByteRange> MergeRanges(std::vector<TByteRange> ranges)
{
    // A document's texts mostly follow one another in the order of their
    // lines: then the ranges come sorted and need only be merged, in place.
    const auto byStart = [](const TByteRange& a, const TByteRange& b) { return a.Start < b.Start; };
    if (!std::is_sorted(ranges.begin(), ranges.end(), byStart))
        std::sort(ranges.begin(), ranges.end(), byStart);
    std::size_t merged = 0;
    for (const TByteRange& range : ranges) {
        if (range.Start >= range.End) continue;
        if (merged > 0 && range.Start <= ranges[merged - 1].End)
            ranges[merged - 1].End = std::max(ranges[merged - 1].End, range.End);
        else
            ranges[merged++] = range;
    }
    ranges.resize(merged);
    return ranges;
}

void ClipRanges(std::vector<TByteRange>& ranges, std::uint64_t size)
{
    while (!ranges.empty() && ranges.back().Start >= size) ranges.pop_back();
    if (!ranges.empty()) ranges.back().End = std::min(ranges.back().End, size);
}

TFileParts::TFileParts(std::string bytes, std::vector<TByteRange> ranges, std::uint64_t fileSize)
    : FBytes(std::move(bytes))
    , FRanges(std::move(ranges))
    , FFileSize(fileSize)
{
    FHeldStarts.reserve(FRanges.size());
    std::size_t at = 0;
    for (const TByteRange& range : FRanges) {
        FHeldStarts.push_back(at);
        at += static_cast<std::size_t>(range.End - range.Start);
    }
}

TFileParts TFileParts::Whole(std::string bytes)
{
    const std::uint64_t size = bytes.size();
    std::vector<TByteRange> ranges;
    if (size > 0) ranges.push_back({0, size});
    return TFileParts(std::move(bytes), std::move(ranges), size);
}

std::optional<std::size_t> TFileParts::HeldInRanges(std::uint64_t offset) const
{
    const auto after = std::upper_bound(FRanges.begin(), FRanges.end(), offset,
        [](std::uint64_t value, const TByteRange& range) { return value < range.Start; });
    if (after == FRanges.begin()) return std::nullopt;
    const auto index = static_cast<std::size_t>(after - FRanges.begin() - 1);
    const TByteRange& range = FRanges[index];
    if (offset >= range.End) return std::nullopt;
    return FHeldStarts[index] + static_cast<std::size_t>(offset - range.Start);
}

TPartsCollector::TPartsCollector(std::vector<TByteRange> ranges)
    : FRanges(std::move(ranges))
{
    std::uint64_t total = 0;
    for (const TByteRange& range : FRanges) total += range.End - range.Start;
    FBytes.reserve(static_cast<std::size_t>(total));
}

void TPartsCollector::Take(std::uint64_t offset, std::string_view bytes)
{
    const std::uint64_t end = offset + bytes.size();
    while (FNext < FRanges.size()) {
        const TByteRange& range = FRanges[FNext];
        if (range.Start >= end) return;
        const std::uint64_t from = std::max(range.Start, offset);
        const std::uint64_t to = std::min(range.End, end);
        if (from < to) FBytes.append(bytes.substr(from - offset, to - from));
        if (range.End > end) return;
        ++FNext;
    }
}

TFileParts TPartsCollector::Finish(std::uint64_t size) &&
{
    ClipRanges(FRanges, size);
    return TFileParts(std::move(FBytes), std::move(FRanges), size);
}

TFileParts PartsOfBytes(std::string_view bytes, std::size_t headSize, const TPartChooser& choose)
{
    // Cut first, so that no room is taken for ranges past the end.
    std::vector<TByteRange> ranges = choose(bytes.substr(0, headSize));
    ClipRanges(ranges, bytes.size());
    TPartsCollector collector(std::move(ranges));
    collector.Take(0, bytes);
    return std::move(collector).Finish(bytes.size());
}

} // namespace quorvex
