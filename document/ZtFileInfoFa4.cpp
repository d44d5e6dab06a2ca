// The F&A 4 document: the parts of its file that its lines reference, its
// line table, decoded so that no line reaches past the held bytes, and the
// entry points of its conversion, each of which runs a TFa4Converter of its
// own.

#include "ZtFileInfoFa4.h"

#include <algorithm>
#include <functional>
#include <new>
#include <optional>
#include <string_view>

#include "ZtCodePage437.h"
#include "ZtDamageCount.h"
#include "ZtFa4Converter.h"
#include "ZtFileAccess.h"
#include "ZtLineTable.h"
#include "ZtRecognizeDocument.h"

namespace quorvex {
namespace {

// A control sequence that starts on a line's last byte takes its code byte
// and operands from past the line's end.
constexpr std::uint64_t CodeBytesPastLineEnd = 1 + [] {
    std::uint8_t most = 0;
    for (const TCodeInfo& info : CodeTable) most = std::max(most, info.Operands);
    return most;
}();

// The head and table, and the text of every entry that has one, with the bytes
// a control sequence can take past its end. Entries past the line count are
// held too: a table's cells are bounded by their corners, not by the count or
// the section, so a conversion may read any line below a table's top.
std::vector<TByteRange> ReferencedRanges(std::string_view head)
{
    std::vector<TByteRange> ranges;
    // Room for every entry: the pages of what a document does not use are
    // never touched.
    ranges.reserve(Fa4MaxLines + 1);
    ranges.push_back({0, head.size()});
    for (std::size_t index = 0; index < static_cast<std::size_t>(Fa4MaxLines); ++index) {
        const std::optional<TStoredEntry> entry = StoredEntry(head, index);
        if (!entry) break;
        if (entry->Length == 0) continue; // no text, and no byte after it is read
        const std::uint64_t start = TextStart(*entry);
        const std::uint64_t end = start + entry->Length + CodeBytesPastLineEnd;
        // Texts mostly follow one another: a text that starts inside the
        // range before it only widens that range.
        if (TByteRange& last = ranges.back(); start >= last.Start && start <= last.End)
            last.End = std::max(last.End, end);
        else
            ranges.push_back({start, end});
    }
    return MergeRanges(std::move(ranges));
}

// An entry with its text cut at the end of the file and its place in the
// held bytes; an entry whose text is not held reads as cut to nothing. The
// table is held from offset 0 on, so its bytes lie at their file offsets.
TFa4LineEntry DecodeEntry(const TFileParts& held, std::size_t index)
{
    const std::optional<TStoredEntry> stored = StoredEntry(held.Bytes(), index);
    if (!stored) return {};
    TFa4LineEntry entry;
    entry.StoredLength = stored->Length;
    entry.Offset = stored->Offset;
    entry.Position = static_cast<std::uint32_t>(held.Bytes().size());
    const std::uint64_t start = TextStart(*stored);
    const std::optional<std::size_t> position = held.HeldAt(start);
    if (start >= held.FileSize() || !position) return entry;
    entry.Length =
        static_cast<std::uint16_t>(std::min<std::uint64_t>(entry.StoredLength, held.FileSize() - start));
    entry.Position = static_cast<std::uint32_t>(*position);
    return entry;
}

// Gives the state back on every way out: a step of the conversion leaves
// the document's state where the step left it, also when it failed.
struct TStateGivenBack {
    TFa4Converter& Converter;
    ~TStateGivenBack() { Converter.GiveBackState(); }
};

// Runs one step of a conversion, reporting exhausted memory as the user sees
// it.
template <typename TConvert>
auto WithConverter(TZtFileInfoFa4& document, TConvert convert)
{
    decltype(convert(std::declval<TFa4Converter&>())) result{};
    ConvertWithinMemory([&] {
        TFa4Converter converter(document);
        const TStateGivenBack givenBack{converter};
        result = convert(converter);
    });
    return result;
}

// The texts of TCharOutput::CharReferences: bytes 0x80..0xFF that stand for
// themselves become numeric references of their code page 437 character.
struct TReferenceTexts {
    std::array<std::string, 256> References;
    std::array<std::string_view, 256> Texts;

    explicit TReferenceTexts(const std::array<std::string_view, 256>& texts)
        : Texts(texts)
    {
        for (std::size_t b = 0x80; b < 256; ++b) {
            if (!CharPassesThrough[b]) continue;
            References[b] = "&#" + std::to_string(static_cast<std::uint32_t>(Cp437ToUnicode[b])) + ';';
            Texts[b] = References[b];
        }
    }
};

} // namespace

const std::array<std::string_view, 256>& CharTextsFor(TCharOutput output, TMarkup markup)
{
    const bool classic = markup == TMarkup::Classic;
    if (output == TCharOutput::Bytes) return classic ? CharTexts : PortableCharTexts;
    static const TReferenceTexts references(CharTexts);
    static const TReferenceTexts portableReferences(PortableCharTexts);
    return classic ? references.Texts : portableReferences.Texts;
}

void AppendCharText(std::string& out, unsigned char byte, TCharOutput output, TMarkup markup)
{
    out += CharTextsFor(output, markup)[byte];
}

TZtFileInfoFa4::TZtFileInfoFa4()
{
    FLines.reserve(Fa4MaxLines);
}

void TZtFileInfoFa4::Clear()
{
    FLineCount = 0;
    FLines.clear();
    FDamage = {};
    TZtFileInfo::Clear();
}

void TZtFileInfoFa4::LoadFromFile(const std::string& fileName)
{
    LoadWith(
        fileName, [&] { return ReadFileParts(fileName, HeadAndTableSize, MaxFileSize, ReferencedRanges); },
        [&] { return SizeOf(fileName); });
    IndexLines();
}

void TZtFileInfoFa4::LoadFromMemory(const std::string& fileName, std::string data)
{
    const std::uint64_t size = data.size();
    LoadWith(
        fileName,
        [&] {
            if (size > static_cast<std::uint64_t>(MaxFileSize)) throw ERangeError();
            try {
                return PartsOfBytes(data, HeadAndTableSize, ReferencedRanges);
            } catch (const std::bad_alloc&) {
                throw EZtError("Out of memory");
            }
        },
        [size] { return std::optional(size); });
    IndexLines();
}

void TZtFileInfoFa4::LoadFromStream(const std::string& name, int fd)
{
    LoadWith(
        name, [&] { return ReadStreamParts(fd, name, HeadAndTableSize, MaxFileSize, ReferencedRanges); },
        [] { return std::optional<std::uint64_t>(); });
    IndexLines();
}

void TZtFileInfoFa4::IndexLines()
{
    FLines.clear();
    const std::string_view head = std::string_view(HeldBytes()).substr(0, HeadAndTableSize);
    FLineCount = CountLines(head);
    DecodeLine(std::min(FLineCount, Fa4MaxLines - 1));
    if (FLineCount == Fa4MaxLines) throw ERangeError();
    // Lines near the end of the file are held with the bytes up to its end,
    // so the last held range holds all the count asks for.
    FDamage = CountDamage(head, FLineCount, FHeld.FileSize(), [&](std::uint64_t offset) {
        const std::optional<std::size_t> at = FHeld.HeldAt(offset);
        return at ? std::string_view(HeldBytes()).substr(*at) : std::string_view();
    });
}

bool TZtFileInfoFa4::LooksLikeDocument() const
{
    return LooksLikeFa4Head(HeldBytes(), FHeld.FileSize());
}

const TFa4LineEntry& TZtFileInfoFa4::DecodeLine(std::int32_t index) const
{
    if (index < 0 || index >= Fa4MaxLines) throw ERangeError();
    const auto at = static_cast<std::size_t>(index);
    while (FLines.size() <= at) {
        FLines.push_back(DecodeEntry(FHeld, FLines.size()));
    }
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
    AppendCharText(out, byte, FCharOutput, FMarkup);
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
