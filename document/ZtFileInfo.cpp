// A file read whole into memory, within the size a document may have.

#include "ZtFileInfo.h"

#include <cstdint>

#include "ZtFileAccess.h"

namespace quorvex {
namespace {

// Sizes must fit a signed 32-bit integer.
constexpr std::int64_t MaxFileSize = INT32_MAX;

} // namespace

void TZtFileInfo::Clear()
{
    FFileName.clear();
    FData = std::string();
    FLoaded = false;
}

void TZtFileInfo::LoadFromFile(const std::string& fileName)
{
    std::string data;
    try {
        data = ReadWholeFile(fileName, MaxFileSize);
    } catch (const ERangeError&) {
        FFileName = fileName;
        throw;
    }
    LoadFromMemory(fileName, std::move(data));
}

void TZtFileInfo::LoadFromMemory(const std::string& fileName, std::string data)
{
    FFileName = fileName;
    if (static_cast<std::uint64_t>(data.size()) > static_cast<std::uint64_t>(MaxFileSize))
        throw ERangeError();
    FData = std::move(data);
    FLoaded = true;
}

} // namespace quorvex
