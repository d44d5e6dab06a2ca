// Files and temporary folders of the tests.

#include "TestFiles.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include <stdlib.h>

namespace quorvex::testing {

std::string ReadFileBytes(const std::string& fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + fileName);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& fileName, const std::string& bytes)
{
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + fileName);
}

std::filesystem::path MakeTempFolder(std::string_view prefix)
{
    std::string pattern = (std::filesystem::temp_directory_path() / prefix).string() + "-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create " + pattern);
    return pattern;
}

} // namespace quorvex::testing
