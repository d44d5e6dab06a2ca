#pragma once
// Replacing a file whole or not at all.

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace quorvex {

// Stand-ins for the steps of a replacement where the system can fail, so
// that tests can fail them on purpose. Empty members use the system.
struct TFileWriteHooks {
    // Stores up to `size` bytes as write(2) does: the number stored, or -1
    // with errno set (ENOSPC on a full device).
    std::function<ssize_t(int fd, const void* data, std::size_t size)> Write;
    // Runs once the temporary file holds all bytes and is closed, just before
    // it is renamed over the name; false fails the replacement there.
    std::function<bool(const std::string& temporaryName)> BeforeRename;
};

// Writes `bytes` to a temporary file in the same folder and renames it over
// `fileName`. On any failure the temporary file is removed, whatever stood
// under the name stays, and EZtError "Cannot create file %s" is raised.
void WriteFileReplacing(
    const std::string& fileName, std::string_view bytes, const TFileWriteHooks& hooks = {});

// Reads a whole file; EZtError "Cannot open file %s" when it cannot be opened
// or is no regular file (a folder, a device, a pipe), "Cannot read file %s"
// when it delivers fewer bytes than its size.
std::string ReadWholeFile(const std::string& fileName);
// The same, raising ERangeError for a file larger than `maxSize` bytes before
// anything is read.
std::string ReadWholeFile(const std::string& fileName, std::int64_t maxSize);

} // namespace quorvex
