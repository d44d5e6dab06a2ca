#pragma once
// Replacing a file whole or not at all.

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvex {

// Writes `bytes` to a temporary file in the same folder and renames it over
// `fileName`. On any failure the temporary file is removed, whatever stood
// under the name stays, and EZtError "Cannot create file %s" is raised.
void WriteFileReplacing(const std::string& fileName, std::string_view bytes);

// Reads a whole file; EZtError "Cannot open file %s" when it cannot be opened,
// "Cannot read file %s" when it delivers fewer bytes than its size.
std::string ReadWholeFile(const std::string& fileName);
// The same, raising ERangeError for a file larger than `maxSize` bytes before
// anything is read.
std::string ReadWholeFile(const std::string& fileName, std::int64_t maxSize);

}  // namespace quorvex
