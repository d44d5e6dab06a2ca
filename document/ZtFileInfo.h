#pragma once
// A file held in memory, and the F&A 4 document on top of it. A plain file is
// held whole; a document holds only the parts its conversion can read.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ZtErrors.h"
#include "ZtFileParts.h"

namespace quorvex {

// Head size, and base from which the line offsets count.
inline constexpr int Fa4HeadSize = 38;
inline constexpr int Fa4MaxLines = 10000;
inline constexpr int Fa4LineEntrySize = 11;
// File sizes must fit a signed 32-bit integer.
inline constexpr std::int64_t MaxFileSize = INT32_MAX;

// Why a file is too large to be a document: "2147483648 bytes; a document
// holds less than 2 GiB", or "more than 2147483647 bytes; ..." where the size
// is not known.
std::string TooLargeReason(std::optional<std::uint64_t> size);

// One entry of the line table, decoded from its 11 bytes.
struct TFa4LineEntry {
    // Bytes of the line's text that can be read: the stored length, cut at
    // the end of the file; 0 for an entry that does not lie wholly inside the
    // file, and for one whose text the document does not hold.
    std::uint16_t Length = 0;
    // Position of the line's first byte, counted from file offset 38.
    std::uint32_t Offset = 0;
    // The length as the file stores it (before any cut).
    std::uint16_t StoredLength = 0;
    // Where the line's first byte lies in the held bytes.
    std::uint32_t Position = 0;
};

class TZtFileInfo {
public:
    TZtFileInfo() = default;
    TZtFileInfo(const TZtFileInfo&) = delete;
    TZtFileInfo& operator=(const TZtFileInfo&) = delete;
    virtual ~TZtFileInfo() = default;

    virtual void Clear();
    // Reads the named file whole. Expects a cleared object.
    virtual void LoadFromFile(const std::string& fileName);
    // Takes the bytes of a whole file that was read by other means.
    virtual void LoadFromMemory(const std::string& fileName, std::string data);

    const std::string& FileName() const { return FFileName; }
    // The size of the whole file, also where only parts of it are held.
    std::int32_t FileSize() const { return static_cast<std::int32_t>(FHeld.FileSize()); }
    // How many of the file's bytes are held in memory.
    std::int64_t HeldSize() const { return static_cast<std::int64_t>(FHeld.Bytes().size()); }
    bool Loaded() const { return FLoaded; }

protected:
    // Runs `read`, which returns the parts of the file to hold; a file too
    // large raises ERangeError with only the name taken, and with why:
    // `size()` of the file, or nothing when it is not known (a stream).
    template <typename TRead, typename TSize>
    void LoadWith(const std::string& fileName, TRead read, TSize size)
    {
        TFileParts parts;
        try {
            parts = read();
        } catch (const ERangeError&) {
            FFileName = fileName;
            throw ERangeError(TooLargeReason(size()));
        }
        Hold(fileName, std::move(parts));
    }
    // A named file's size, for LoadWith; nothing when it cannot be looked at.
    static std::optional<std::uint64_t> SizeOf(const std::string& fileName);
    void Hold(const std::string& fileName, TFileParts parts);

    std::string FFileName;
    TFileParts FHeld;
    bool FLoaded = false;
};

} // namespace quorvex
