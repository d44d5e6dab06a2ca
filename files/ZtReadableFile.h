#pragma once
// A regular file open for reading in parts, as a reader that needs a few
// kilobytes of a large file reads it.

#include <cstdint>
#include <string>

#include "ZtFileDescriptor.h"
#include "ZtFileStatus.h"

namespace quorvex {

class TZtReadableFile {
public:
    // EZtError "Cannot open file %s" with the reason, as OpenRegularFile.
    explicit TZtReadableFile(const std::string& fileName);

    // What the file system told of the file when it was opened.
    const TFileStatus& Status() const { return FStatus; }
    // Up to `size` bytes from `offset` on; fewer where the file ends.
    std::string Read(std::uint64_t offset, std::size_t size) const;

private:
    TFileStatus FStatus;
    TFileDescriptor FFile;
};

} // namespace quorvex
