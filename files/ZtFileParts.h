#pragma once
// The parts of a file that a reader holds: some ranges of its bytes, kept one
// after the other in one block, and the size of the whole file.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

// The bytes [Start, End) of a file.
struct TByteRange {
    std::uint64_t Start = 0;
    std::uint64_t End = 0;
};

// Sorted, with ranges that overlap or touch merged and empty ones dropped.
std::vector<TByteRange> MergeRanges(std::vector<TByteRange> ranges);
// Merged ranges cut at `size`: the ones past it dropped, the one across it cut.
void ClipRanges(std::vector<TByteRange>& ranges, std::uint64_t size);

class TFileParts {
public:
    TFileParts() = default;
    // `ranges` merged and inside the file; `bytes` holds their bytes in order.
    TFileParts(std::string bytes, std::vector<TByteRange> ranges, std::uint64_t fileSize);
    // A file held whole.
    static TFileParts Whole(std::string bytes);

    const std::string& Bytes() const { return FBytes; }
    std::uint64_t FileSize() const { return FFileSize; }
    // Where the file's byte at `offset` lies in Bytes(); none when it is not
    // held. The bytes after it up to the end of its range follow it there.
    std::optional<std::size_t> HeldAt(std::uint64_t offset) const
    {
        // An intact document is held as one range, head and texts together;
        // every line's entry asks, so that case takes no call.
        if (FRanges.size() == 1 && offset >= FRanges[0].Start && offset < FRanges[0].End)
            return FHeldStarts[0] + static_cast<std::size_t>(offset - FRanges[0].Start);
        return HeldInRanges(offset);
    }

private:
    std::optional<std::size_t> HeldInRanges(std::uint64_t offset) const;

    std::string FBytes;
    std::vector<TByteRange> FRanges;
    std::vector<std::size_t> FHeldStarts; // of each range in FBytes
    std::uint64_t FFileSize = 0;
};

// Names, from the first bytes of a file (fewer than asked for where the file
// is shorter), the merged ranges a reader needs; they may reach past the end.
using TPartChooser = std::function<std::vector<TByteRange>(std::string_view head)>;

// Keeps what falls into the chosen ranges of a file whose bytes come in
// order, as a pipe delivers them.
class TPartsCollector {
public:
    // Room for all of `ranges` is taken at once (ranges past the end of a
    // stream take address space only: their pages are never touched).
    explicit TPartsCollector(std::vector<TByteRange> ranges);
    // The file's bytes from `offset` on; each call continues the one before.
    void Take(std::uint64_t offset, std::string_view bytes);
    // The parts of the file, which ended at `size`.
    TFileParts Finish(std::uint64_t size) &&;

private:
    std::vector<TByteRange> FRanges;
    std::size_t FNext = 0; // the first range not yet complete
    std::string FBytes;
};

// The parts of a file already in memory that `choose` names from its first
// `headSize` bytes.
TFileParts PartsOfBytes(std::string_view bytes, std::size_t headSize, const TPartChooser& choose);

} // namespace quorvex
