// The F&A 4 document: its line table, decoded so that no line reaches past
// the loaded data, and the entry points of its conversion, each of which
// runs a TFa4Converter of its own.

#include "ZtFileInfoFa4.h"

#include <algorithm>
#include <functional>

#include "ZtCodePage437.h"
#include "ZtFa4Converter.h"

namespace quorvex {
namespace {

// An entry that does not lie wholly inside the data reads as empty; a text
// that runs past the end of the data is cut there. Every line's entry is
// decoded, so this is kept to a few loads.
inline TFa4LineEntry DecodeEntry(const std::string& data, std::size_t index)
{
    const std::size_t at = Fa4HeadSize + Fa4LineEntrySize * index;
    if (at + Fa4LineEntrySize > data.size()) return {};
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.data()) + at;
    TFa4LineEntry entry;
    entry.StoredLength = static_cast<std::uint16_t>(bytes[4] | bytes[5] << 8);
    entry.Offset = bytes[6] | std::uint32_t{bytes[7]} << 8 | std::uint32_t{bytes[8]} << 16 |
        std::uint32_t{bytes[9]} << 24;
    const std::uint64_t start = std::uint64_t{Fa4HeadSize} + entry.Offset;
    if (start < data.size())
        entry.Length =
            static_cast<std::uint16_t>(std::min<std::uint64_t>(entry.StoredLength, data.size() - start));
    return entry;
}

// Runs one conversion, reporting exhausted memory as the user sees it.
template <typename TConvert>
auto WithConverter(TZtFileInfoFa4& document, TConvert convert)
{
    decltype(convert(std::declval<TFa4Converter&>())) result{};
    ConvertWithinMemory([&] {
        TFa4Converter converter(document);
        result = convert(converter);
    });
    return result;
}

// The texts of TCharOutput::CharReferences: bytes 0x80..0xFF that stand for
// themselves become numeric references of their code page 437 character.
struct TReferenceTexts {
    std::array<std::string, 256> References;
    std::array<std::string_view, 256> Texts = CharTexts;

    TReferenceTexts()
    {
        for (std::size_t b = 0x80; b < 256; ++b) {
            if (!CharPassesThrough[b]) continue;
            References[b] = "&#" + std::to_string(static_cast<std::uint32_t>(Cp437ToUnicode[b])) + ';';
            Texts[b] = References[b];
        }
    }
};

} // namespace

const std::array<std::string_view, 256>& CharTextsFor(TCharOutput output)
{
    if (output == TCharOutput::Bytes) return CharTexts;
    static const TReferenceTexts references;
    return references.Texts;
}

void AppendCharText(std::string& out, unsigned char byte, TCharOutput output)
{
    out += CharTextsFor(output)[byte];
}

TZtFileInfoFa4::TZtFileInfoFa4()
{
    FLines.reserve(Fa4MaxLines);
}

void TZtFileInfoFa4::Clear()
{
    FLineCount = 0;
    FLines.clear();
    TZtFileInfo::Clear();
}

void TZtFileInfoFa4::LoadFromMemory(const std::string& fileName, std::string data)
{
    TZtFileInfo::LoadFromMemory(fileName, std::move(data));
    FLines.clear();
    FLineCount = 0;
    for (;;) {
        FLines.push_back(DecodeEntry(FData, static_cast<std::size_t>(FLineCount)));
        if (FLines.back().StoredLength == 0) break;
        ++FLineCount;
        if (FLineCount == Fa4MaxLines) throw ERangeError();
    }
}

const TFa4LineEntry& TZtFileInfoFa4::DecodeLine(std::int32_t index) const
{
    if (index < 0 || index >= Fa4MaxLines) throw ERangeError();
    const auto at = static_cast<std::size_t>(index);
    while (FLines.size() <= at) FLines.push_back(DecodeEntry(FData, FLines.size()));
    return FLines[at];
}

std::string_view TZtFileInfoFa4::LineView(const TFa4LineEntry& entry) const
{
    return {reinterpret_cast<const char*>(LineBytes(entry)), entry.Length};
}

std::string TZtFileInfoFa4::TranslateChar(unsigned char byte)
{
    return std::string(CharTexts[byte]);
}

void TZtFileInfoFa4::AppendChar(std::string& out, unsigned char byte) const
{
    AppendCharText(out, byte, FCharOutput);
}

std::string TZtFileInfoFa4::TranslateCode(const unsigned char* bytes, std::int32_t& position)
{
    return WithConverter(*this, [&](TFa4Converter& c) { return c.TranslateCode(bytes, position); });
}

std::string TZtFileInfoFa4::PlainText(const TFa4LineEntry& entry, std::int32_t limit)
{
    return WithConverter(*this, [&](TFa4Converter& c) { return c.PlainText(entry, limit); });
}

std::string TZtFileInfoFa4::LinePlainText(std::int32_t lineIndex, std::int32_t limit)
{
    return PlainText(GetLine(lineIndex), limit);
}

std::int32_t TZtFileInfoFa4::RawIndex(const TFa4LineEntry& entry, std::int32_t count)
{
    return WithConverter(*this, [&](TFa4Converter& c) { return c.RawIndex(entry, count); });
}

std::string TZtFileInfoFa4::ConvertLines(std::int32_t first, std::int32_t last)
{
    return WithConverter(*this, [&](TFa4Converter& c) {
        std::string html;
        c.ConvertLines(html, first, last);
        return html;
    });
}

std::string TZtFileInfoFa4::ConvertSection(TFa4Section section)
{
    return WithConverter(*this, [&](TFa4Converter& c) {
        std::string html;
        c.ConvertSection(html, section);
        return html;
    });
}

std::string TZtFileInfoFa4::ConvertTable(
    std::int32_t& pos, std::int32_t& line, std::int32_t colLimit, std::int32_t lastLine)
{
    return WithConverter(*this, [&](TFa4Converter& c) {
        std::string html;
        c.ConvertTable(html, pos, line, colLimit, lastLine);
        return html;
    });
}

std::string TZtFileInfoFa4::ConvertCellText(const TCellRect& rect, bool& fixed)
{
    return WithConverter(*this, [&](TFa4Converter& c) {
        std::string text;
        c.ConvertCellText(text, rect, fixed);
        return text;
    });
}

} // namespace quorvex
