// Checks the leading line entries of a file's head.

#include "ZtRecognizeDocument.h"

#include <algorithm>
#include <cctype>

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

bool NamedAsFa4(std::string_view name)
{
    constexpr std::string_view Extension = ".fa4";
    if (name.size() < Extension.size()) return false;
    const std::string_view end = name.substr(name.size() - Extension.size());
    return std::equal(end.begin(), end.end(), Extension.begin(),
        [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

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

bool LooksLikeFa4Remains(std::string_view head, std::uint64_t fileSize)
{
    if (LooksLikeFa4Head(head, fileSize)) return true;
    constexpr std::uint64_t FirstTextsWithin = std::uint64_t{1} << 24;
    const std::size_t held = std::min<std::uint64_t>(head.size(), fileSize);
    for (int i = 0; i < RecognitionEntries; ++i) {
        const std::size_t at = Fa4HeadSize + static_cast<std::size_t>(Fa4LineEntrySize) * i;
        if (at + Fa4LineEntrySize > held) return i > 0;
        const std::uint32_t length = ReadLe(head, at + 4, 2);
        if (length == 0) return i > 0;
        const std::uint64_t start = std::uint64_t{Fa4HeadSize} + ReadLe(head, at + 6, 4);
        if (start < Fa4MinimumDocumentSize || start + length > static_cast<std::uint64_t>(MaxFileSize))
            return false;
        if (i == 0 && start >= FirstTextsWithin) return false;
    }
    return true;
}

std::optional<std::string> KeepsDocument(int fd, std::string_view entry)
{
    if (NamedAsFa4(entry)) return "is named as an F&A 4 document";
    const TFileHead head = ReadDescriptorHead(fd, RecognitionHeadSize);
    if (LooksLikeFa4Remains(head.Bytes, head.FileSize)) return "looks like an F&A 4 document";
    return std::nullopt;
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
