// The line table of an F&A 4 document: decoding its entries so that no line
// reaches past the loaded data, and counting the lines.

#include <functional>

#include "ZtFileInfoFa4.h"

namespace quorvex {
namespace {

std::uint32_t ReadLe(const std::string& data, std::size_t at, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(data[at + static_cast<std::size_t>(i)]);
    return value;
}

// An entry that does not lie wholly inside the data reads as empty; a text
// that runs past the end of the data is cut there.
TFa4LineEntry DecodeEntry(const std::string& data, int index)
{
    const std::size_t at = Fa4HeadSize + static_cast<std::size_t>(Fa4LineEntrySize) * index;
    if (at + Fa4LineEntrySize > data.size()) return {};
    TFa4LineEntry entry;
    entry.StoredLength = static_cast<std::uint16_t>(ReadLe(data, at + 4, 2));
    entry.Offset = ReadLe(data, at + 6, 4);
    const std::uint64_t start = std::uint64_t{Fa4HeadSize} + entry.Offset;
    if (start < data.size())
        entry.Length =
            static_cast<std::uint16_t>(std::min<std::uint64_t>(entry.StoredLength, data.size() - start));
    return entry;
}

} // namespace

TZtFileInfoFa4::TZtFileInfoFa4()
    : FLines(Fa4MaxLines)
{ }

void TZtFileInfoFa4::Clear()
{
    FLineCount = 0;
    std::fill(FLines.begin(), FLines.end(), TFa4LineEntry{});
    TZtFileInfo::Clear();
}

void TZtFileInfoFa4::LoadFromFile(const std::string& fileName)
{
    TZtFileInfo::LoadFromFile(fileName);
}

void TZtFileInfoFa4::LoadFromMemory(const std::string& fileName, std::string data)
{
    TZtFileInfo::LoadFromMemory(fileName, std::move(data));
    for (int i = 0; i < Fa4MaxLines; ++i) FLines[static_cast<std::size_t>(i)] = DecodeEntry(FData, i);
    FLineCount = 0;
    while (FLines[static_cast<std::size_t>(FLineCount)].StoredLength != 0) {
        ++FLineCount;
        if (FLineCount == Fa4MaxLines) throw ERangeError();
    }
}

const TFa4LineEntry& TZtFileInfoFa4::GetLine(std::int32_t index) const
{
    if (index < 0 || index >= Fa4MaxLines) throw ERangeError();
    return FLines[static_cast<std::size_t>(index)];
}

const unsigned char* TZtFileInfoFa4::LineBytes(const TFa4LineEntry& entry) const
{
    const auto* data = reinterpret_cast<const unsigned char*>(FData.data());
    const std::uint64_t start = std::uint64_t{Fa4HeadSize} + entry.Offset;
    return data + std::min<std::uint64_t>(start, FData.size());
}

std::string_view TZtFileInfoFa4::LineView(const TFa4LineEntry& entry) const
{
    return {reinterpret_cast<const char*>(LineBytes(entry)), entry.Length};
}

std::int64_t TZtFileInfoFa4::AvailableFrom(const unsigned char* bytes) const
{
    const auto* begin = reinterpret_cast<const unsigned char*>(FData.data());
    const auto* end = begin + FData.size();
    const std::less_equal<const unsigned char*> notAfter;
    if (notAfter(begin, bytes) && notAfter(bytes, end)) return end - bytes;
    return INT64_MAX;
}

} // namespace quorvex
