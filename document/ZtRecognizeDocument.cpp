// Checks the leading line entries of a file's head.

#include "ZtRecognizeDocument.h"

#include "ZtErrors.h"
#include "ZtFileAccess.h"

namespace quorvex {
namespace {

std::uint32_t ReadLe(std::string_view bytes, std::size_t at, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

} // namespace

bool LooksLikeFa4Head(std::string_view head, std::uint64_t fileSize)
{
    if (fileSize < Fa4MinimumDocumentSize || head.size() < RecognitionHeadSize) return false;
    for (int i = 0; i < RecognitionEntries; ++i) {
        const std::size_t at = Fa4HeadSize + static_cast<std::size_t>(Fa4LineEntrySize) * i;
        const std::uint32_t length = ReadLe(head, at + 4, 2);
        if (length == 0) return i > 0; // the line count ends here
        const std::uint64_t end = std::uint64_t{Fa4HeadSize} + ReadLe(head, at + 6, 4) + length;
        if (end > fileSize) return false;
    }
    return true;
}

bool LooksLikeFa4Document(const std::string& fileName)
{
    try {
        const TFileHead head = ReadFileHead(fileName, RecognitionHeadSize);
        return LooksLikeFa4Head(head.Bytes, head.FileSize);
    } catch (const EZtError&) {
        return false;
    }
}

} // namespace quorvex
