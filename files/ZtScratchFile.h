#pragma once
// A file without a name in an open folder, for bytes a run sets aside and
// reads back later: nobody else can open it, and it is gone when it is
// closed, also when the program is killed.

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "ZtFileDescriptor.h"

namespace quorvex {

class TZtScratchFile {
public:
    // In the folder `folder` (a descriptor). Where the file system has no
    // unnamed files, a temporary file is made and removed at once. EZtError
    // with the reason when neither can be made.
    explicit TZtScratchFile(int folder);

    // Appends `bytes`, from any thread, and gives the offset they start at.
    // EZtError with the reason when they cannot be written whole.
    std::uint64_t Append(std::string_view bytes);
    // The `size` bytes from `offset` on, as Append wrote them.
    std::string Read(std::uint64_t offset, std::size_t size) const;

private:
    TFileDescriptor FFile;
    std::atomic<std::uint64_t> FEnd = 0;
};

} // namespace quorvex
