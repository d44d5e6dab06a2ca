#pragma once
// Whole files read and written byte for byte by the tests.

#include <string>

namespace quorvex::testing {

// The file's bytes; throws when it cannot be read.
std::string ReadFileBytes(const std::string& fileName);
// Creates or replaces the file with exactly these bytes; throws on failure.
void WriteFileBytes(const std::string& fileName, const std::string& bytes);

}  // namespace quorvex::testing
