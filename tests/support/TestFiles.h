#pragma once
// Whole files read and written byte for byte by the tests.

#include <filesystem>
#include <string>
#include <string_view>

namespace quorvex::testing {

// The file's bytes; throws when it cannot be read.
std::string ReadFileBytes(const std::string& fileName);
// Creates or replaces the file with exactly these bytes; throws on failure.
void WriteFileBytes(const std::string& fileName, const std::string& bytes);

// A new empty folder under the system's temporary folder, its name starting
// with `prefix`; the caller removes it.
std::filesystem::path MakeTempFolder(std::string_view prefix);

} // namespace quorvex::testing
