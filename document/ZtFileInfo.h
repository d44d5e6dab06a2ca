#pragma once
// A file read whole into memory, and the F&A 4 document on top of it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ZtErrors.h"

namespace quorvex {

// Head size, and base from which the line offsets count.
inline constexpr int Fa4HeadSize = 38;
inline constexpr int Fa4MaxLines = 10000;
inline constexpr int Fa4LineEntrySize = 11;

// One entry of the line table, decoded from its 11 bytes.
struct TFa4LineEntry {
    // Bytes of the line's text that lie inside the loaded data: the stored
    // length, cut at the end of the data; 0 for an entry that does not lie
    // wholly inside the data.
    std::uint16_t Length = 0;
    // Position of the line's first byte, counted from file offset 38.
    std::uint32_t Offset = 0;
    // The length as the file stores it (before any cut).
    std::uint16_t StoredLength = 0;
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
    // Takes the bytes of a file that was read by other means (the same path
    // LoadFromFile ends in).
    virtual void LoadFromMemory(const std::string& fileName, std::string data);

    const std::string& FileName() const { return FFileName; }
    std::int32_t FileSize() const { return static_cast<std::int32_t>(FData.size()); }
    // The whole file; empty when nothing is loaded.
    const std::string& Data() const { return FData; }
    bool Loaded() const { return FLoaded; }

protected:
    std::string FFileName;
    std::string FData;
    bool FLoaded = false;
};

} // namespace quorvex
