// A file held in memory, within the size a document may have.

#include "ZtFileInfo.h"

#include <cstdint>

#include "ZtFileAccess.h"
#include "ZtFileStatus.h"

namespace quorvex {

std::string TooLargeReason(std::optional<std::uint64_t> size)
{
    const std::string bytes =
        size ? std::to_string(*size) + " bytes" : "more than " + std::to_string(MaxFileSize) + " bytes";
    return bytes + "; a document holds less than 2 GiB";
}

std::optional<std::uint64_t> TZtFileInfo::SizeOf(const std::string& fileName)
{
    const TFileStatus status = StatusOf(fileName);
    if (!status.Found()) return std::nullopt;
    return status.Size;
}

void TZtFileInfo::Clear()
{
    FFileName.clear();
    FHeld = TFileParts();
    FLoaded = false;
}

void TZtFileInfo::LoadFromFile(const std::string& fileName)
{
    LoadWith(
        fileName, [&] { return TFileParts::Whole(ReadWholeFile(fileName, MaxFileSize)); },
        [&] { return SizeOf(fileName); });
}

void TZtFileInfo::LoadFromMemory(const std::string& fileName, std::string data)
{
    const std::uint64_t size = data.size();
    LoadWith(
        fileName,
        [&] {
            if (size > static_cast<std::uint64_t>(MaxFileSize)) throw ERangeError();
            return TFileParts::Whole(std::move(data));
        },
        [size] { return std::optional(size); });
}

void TZtFileInfo::Hold(const std::string& fileName, TFileParts parts)
{
    FFileName = fileName;
    FHeld = std::move(parts);
    FLoaded = true;
}

} // namespace quorvex
