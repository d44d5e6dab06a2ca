// A file held in memory, within the size a document may have.

#include "ZtFileInfo.h"

#include <cstdint>

#include "ZtFileAccess.h"

namespace quorvex {

void TZtFileInfo::Clear()
{
    FFileName.clear();
    FHeld = TFileParts();
    FLoaded = false;
}

void TZtFileInfo::LoadFromFile(const std::string& fileName)
{
    LoadWith(fileName, [&] { return TFileParts::Whole(ReadWholeFile(fileName, MaxFileSize)); });
}

void TZtFileInfo::LoadFromMemory(const std::string& fileName, std::string data)
{
    LoadWith(fileName, [&] {
        if (static_cast<std::uint64_t>(data.size()) > static_cast<std::uint64_t>(MaxFileSize))
            throw ERangeError();
        return TFileParts::Whole(std::move(data));
    });
}

void TZtFileInfo::Hold(const std::string& fileName, TFileParts parts)
{
    FFileName = fileName;
    FHeld = std::move(parts);
    FLoaded = true;
}

} // namespace quorvex
