#include "ZtFileInfo.h"

#include <cstdint>

#include "ZtFileWriter.h"

namespace quorvex {
namespace {

// Sizes must fit a signed 32-bit integer.
constexpr std::int64_t MaxFileSize = INT32_MAX;

} // namespace

void TZtFileInfo::Clear()
{
    FileName_.clear();
    Data_ = std::string();
    Loaded_ = false;
}

void TZtFileInfo::LoadFromFile(const std::string& fileName)
{
    std::string data;
    try {
        data = ReadWholeFile(fileName, MaxFileSize);
    } catch (const ERangeError&) {
        FileName_ = fileName;
        throw;
    }
    LoadFromMemory(fileName, std::move(data));
}

void TZtFileInfo::LoadFromMemory(const std::string& fileName, std::string data)
{
    FileName_ = fileName;
    if (static_cast<std::uint64_t>(data.size()) > static_cast<std::uint64_t>(MaxFileSize))
        throw ERangeError();
    Data_ = std::move(data);
    Loaded_ = true;
}

} // namespace quorvex
