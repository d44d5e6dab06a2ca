// Line ranges: words, spaces, line-end hyphens, rules, tables, paragraph
// ends and indented paragraphs.

#include <array>
#include <charconv>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "ZtFa4Converter.h"

namespace quorvex {
namespace {

enum class TLineByte : std::uint8_t { Text, Space, Hyphen, Rule, Corner, Code };

constexpr auto LineByteKinds = [] {
    std::array<TLineByte, 256> kinds{};
    kinds.fill(TLineByte::Text);
    kinds[0x20] = TLineByte::Space;
    kinds[0x2D] = TLineByte::Hyphen;
    kinds[0xC4] = kinds[0xCD] = TLineByte::Rule;
    kinds[0xC9] = kinds[0xD5] = kinds[0xD6] = kinds[0xDA] = TLineByte::Corner;
    kinds[0xFF] = TLineByte::Code;
    return kinds;
}();

// Text bytes that are written as they are and can be copied in runs.
constexpr TByteSet MakeCopiedBytes(bool asciiOnly)
{
    TByteSet set{};
    for (std::size_t b = 0; b < 256; ++b)
        set[b] = LineByteKinds[b] == TLineByte::Text && CharPassesThrough[b] && (!asciiOnly || b < 0x80);
    return set;
}
constexpr TByteSet CopiedBytes = MakeCopiedBytes(false);
constexpr TByteSet CopiedAsciiBytes = MakeCopiedBytes(true);

// ASCII bytes that the translation changes, besides the space.
constexpr std::array<unsigned char, 5> ChangedAscii = {0x22, 0x26, 0x2D, 0x3C, 0x3E};

// The scan below tests for exactly the ASCII bytes that are not copied.
constexpr bool ChangedAsciiComplete()
{
    for (unsigned b = 0; b < 0x80; ++b) {
        bool changed = b == 0x20;
        for (const unsigned char c : ChangedAscii) changed = changed || b == c;
        if (changed == CopiedAsciiBytes[b]) return false;
    }
    return true;
}
static_assert(ChangedAsciiComplete());

// The first position from `from` on that is not part of a run of ASCII
// bytes copied as they are and, when `spacesJoin`, single spaces between
// them; sixteen bytes at a time. A space is passed over only when the byte
// after it is no space: a second space changes how the line writes its
// spaces. The last sixteen bytes may reach past the line's end, as far as
// `available` bytes can be read; places past the end stop the run and count
// as spaces, so a space that ends the line stops it too.
std::int32_t PlainAsciiUntil(const unsigned char* bytes, std::int32_t from, std::int32_t length,
    std::int64_t available, bool spacesJoin)
{
#if defined(__SSE2__)
    const __m128i quote = _mm_set1_epi8(0x22);
    const __m128i ampersand = _mm_set1_epi8(0x26);
    const __m128i hyphen = _mm_set1_epi8(0x2D);
    const __m128i less = _mm_set1_epi8(0x3C);
    const __m128i greater = _mm_set1_epi8(0x3E);
    const __m128i space = _mm_set1_epi8(0x20);
    std::int32_t at = from;
    while (at < length && at + 16 <= available) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
        const __m128i changed =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(chunk, quote), _mm_cmpeq_epi8(chunk, ampersand)),
                _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(chunk, hyphen), _mm_cmpeq_epi8(chunk, less)),
                    _mm_cmpeq_epi8(chunk, greater)));
        const std::int32_t inLine = length - at;
        const unsigned beyond = inLine >= 16 ? 0u : 0xFFFFu << inLine;
        const bool spaceFollows = inLine <= 16 || bytes[at + 16] == 0x20;
        // The top bit of a byte of 0x80 or above stands for "not ASCII".
        unsigned stop = static_cast<unsigned>(_mm_movemask_epi8(changed) | _mm_movemask_epi8(chunk)) | beyond;
        const unsigned spaces =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, space))) | beyond;
        if (spacesJoin)
            stop |= spaces & (spaces >> 1 | (spaceFollows ? 0x8000u : 0u));
        else
            stop |= spaces;
        if (stop != 0) return at + __builtin_ctz(stop);
        at += 16;
    }
    return at;
#else
    (void)bytes;
    (void)length;
    (void)available;
    (void)spacesJoin;
    return from;
#endif
}

std::string ParagraphTagFor(std::int32_t indent)
{
    if (indent == 0) return "<p style=\"margin-left:0; text-indent:0\">";
    const std::int32_t margin = 4 * (indent < 256 ? indent : indent % 256);
    const std::int32_t pullBack = indent < 256 ? margin : 4 * (indent / 256);
    return "<p class=\"indent\" style=\"margin-left:" + std::to_string(margin) + "pt; text-indent:-" +
        std::to_string(pullBack) + "pt\">";
}

// "<!-- LINE n -->" in one append: every line has one.
void AppendLineComment(std::string& out, std::int32_t line)
{
    char text[24];
    std::memcpy(text, "<!-- LINE ", 10);
    char* end = std::to_chars(text + 10, text + 20, line).ptr;
    std::memcpy(end, " -->", 4);
    out.append(text, static_cast<std::size_t>(end + 4 - text));
}

// The line being converted; a table can move the conversion to another line.
struct TLineCursor {
    const unsigned char* Bytes = nullptr;
    std::int32_t Length = 0;
    std::int64_t Available = 0;
    std::int32_t LastNonSpace = -2; // -2: not looked for yet

    TLineCursor(const TZtFileInfoFa4& document, std::int32_t line)
    {
        const TFa4LineEntry& entry = document.GetLine(line);
        Bytes = document.LineBytes(entry);
        Length = entry.Length;
        Available = document.AvailableFrom(Bytes);
    }
    // Whether every byte from `position` to the line's end is a space.
    bool OnlySpacesFrom(std::int32_t position)
    {
        if (LastNonSpace == -2) {
            LastNonSpace = Length - 1;
            while (LastNonSpace >= 0 && Bytes[LastNonSpace] == 0x20) --LastNonSpace;
        }
        return position > LastNonSpace;
    }
    // Whether only control sequences stand before `position`: a letter there
    // is the line's first character.
    bool OnlyCodesBefore(std::int32_t position) const
    {
        for (std::int32_t p = 0; p < position; ++p) {
            if (Bytes[p] != 0xFF) return false;
            PassOverCode(Bytes, p, Available);
        }
        return true;
    }
};

} // namespace

// One ConvertLines call. The result so far lies in the output from
// ResultStart to LineStart. A line starts with the head most lines keep (the
// line break and the comment) and its text after it; when the line turned
// out to need another head (a paragraph tag, the fixed font, a table that
// ended on another line, a hyphen join), the head is replaced when the line
// is done.
class TLineRangeConversion {
public:
    TLineRangeConversion(TFa4Converter& converter, std::string& out, std::int32_t last)
        : FConv(converter)
        , FDoc(converter.FDoc)
        , FOut(out)
        , FLast(last)
        , FResultStart(out.size())
        , FLineStart(out.size())
        , FCopied(converter.FCharOutput == TCharOutput::Bytes ? CopiedBytes : CopiedAsciiBytes)
    { }

    // Converts the line and returns the line the conversion ended on.
    std::int32_t ConvertLine(std::int32_t line)
    {
        FLine = line;
        TLineCursor cursor(FDoc, line);
        FConv.Charge(cursor.Length);
        FLineStart = FOut.size();
        FRuleRun = false;
        FContinuesWord = false;
        WriteLikelyHead();
        FNbspMode = cursor.Length > 0 && cursor.Bytes[0] == 0x20;
        for (std::int32_t position = 0; position < cursor.Length; ++position) {
            const unsigned char b = cursor.Bytes[position];
            if (FHyphenPending) {
                if (CapitalLetters[b])
                    JoinHyphen("-", cursor.OnlyCodesBefore(position));
                else if (SmallLetters[b])
                    JoinHyphen("&shy;", cursor.OnlyCodesBefore(position));
            }
            ConvertByte(cursor, position, b);
        }
        FinishLine();
        return FLine;
    }

private:
    void ConvertByte(TLineCursor& cursor, std::int32_t& position, unsigned char b)
    {
        switch (LineByteKinds[b]) {
        case TLineByte::Space:
            return ConvertSpace(cursor, position);
        case TLineByte::Hyphen:
            return ConvertHyphen(cursor, position);
        case TLineByte::Rule:
            return ConvertRule(cursor, position, b);
        case TLineByte::Corner:
            return ConvertCorner(cursor, position);
        case TLineByte::Code:
            return FConv.AppendCode(FOut, cursor.Bytes, position, cursor.Available);
        case TLineByte::Text:
            if (!FHyphenPending && FCopied[b]) return CopyRun(cursor, position);
            return FConv.AppendChar(FOut, b);
        }
    }

    void ConvertSpace(TLineCursor& cursor, std::int32_t position)
    {
        if (cursor.OnlySpacesFrom(position)) {
            FOut += ' ';
        } else if (FNbspMode) {
            FOut += "&nbsp;";
        } else if (cursor.Bytes[position + 1] == 0x20) {
            FNbspMode = true;
            FOut += "&nbsp;";
        } else {
            FOut += ' ';
        }
    }

    void ConvertHyphen(const TLineCursor& cursor, std::int32_t& position)
    {
        if (position == cursor.Length - 2 && cursor.Bytes[position + 1] == 0x20) {
            FHyphenPending = true;
            ++position;
        } else {
            FOut += '-';
        }
    }

    void ConvertRule(const TLineCursor& cursor, std::int32_t& position, unsigned char b)
    {
        const TFa4Converter::TRuleLine& rule = FConv.RuleLine(FLine);
        FConv.ApplyCodeEffects(rule.Effects);
        // An empty plain text is no whole-line rule: moving back by one would
        // never end.
        if (rule.UniformByte == b) {
            FOut += "<hr>\r";
            position += rule.StrippedLength - 1;
            return;
        }
        FRuleRun = true;
        std::int32_t end = position + 1;
        while (end < cursor.Length && cursor.Bytes[end] == b) ++end;
        FOut.append(static_cast<std::size_t>(end - position), '-');
        position = end - 1;
    }

    void ConvertCorner(TLineCursor& cursor, std::int32_t& position)
    {
        std::int32_t tablePos = position;
        std::int32_t tableLine = FLine;
        if (!FConv.ConvertTable(FOut, tablePos, tableLine, INT32_MAX, FLast)) {
            FOut += '+';
            return;
        }
        position = tablePos;
        FLine = tableLine;
        cursor = TLineCursor(FDoc, FLine);
    }

    // Copies a run of bytes that stand for themselves. A single space between
    // them is written as it is until the line has shown a run of spaces, so
    // it joins the run.
    void CopyRun(const TLineCursor& cursor, std::int32_t& position)
    {
        // Locals, so that the scan keeps them in registers.
        const unsigned char* bytes = cursor.Bytes;
        const bool* copied = FCopied.data();
        const std::int32_t length = cursor.Length;
        const std::int64_t available = cursor.Available;
        const bool spacesJoin = !FNbspMode;
        std::int32_t end = position + 1;
        // The scan would stop at once where it stopped before, so the run ends
        // when the bytes after its stop do not carry it on.
        for (;;) {
            end = PlainAsciiUntil(bytes, end, length, available, spacesJoin);
            const std::int32_t stopped = end;
            while (end < length && copied[bytes[end]]) ++end;
            if (spacesJoin && end + 1 < length && bytes[end] == 0x20 && copied[bytes[end + 1]]) end += 2;
            if (end == stopped) break;
        }
        AppendRun(
            reinterpret_cast<const char*>(bytes) + position, end - position, cursor.Available - position);
        position = end - 1;
    }

    // Most runs are short words between translated characters. A copy of a
    // fixed sixteen bytes, cut back after, needs no call into the C library;
    // the bytes past the run that it reads lie inside the loaded data.
    void AppendRun(const char* run, std::int32_t size, std::int64_t available)
    {
        constexpr std::int32_t Block = 16;
        if (size > Block || available < Block) {
            FOut.append(run, static_cast<std::size_t>(size));
            return;
        }
        FOut.append(run, Block);
        FOut.resize(FOut.size() - static_cast<std::size_t>(Block - size));
    }

    // The join lands after the result so far: after the line that ended in
    // the hyphen, in place of the line break that followed it. Only a letter
    // that starts the line continues the hyphenated word; a later one (after
    // "12 " say) leaves the line break, or the two lines would run together.
    void JoinHyphen(std::string_view joinText, bool continuesWord)
    {
        if (ResultEndsWithCr()) FOut.erase(--FLineStart, 1);
        FOut.insert(FLineStart, joinText);
        FLineStart += joinText.size();
        FHyphenPending = false;
        FContinuesWord = continuesWord;
    }

    bool ResultEmpty() const { return FLineStart == FResultStart; }
    bool ResultEndsWithCr() const { return !ResultEmpty() && FOut[FLineStart - 1] == '\r'; }

    // The line break that joins the line to the result so far. A line that
    // completes a hyphenated word follows the join text directly, so a
    // browser shows the word whole.
    bool NeedsLineBreak() const
    {
        const bool joined = FContinuesWord && FConv.FHyphenJoin == hjJoined;
        return !ResultEmpty() && !ResultEndsWithCr() && !joined;
    }

    void WriteLikelyHead()
    {
        FHeadLine = FLine;
        FHeadBreak = NeedsLineBreak();
        if (FHeadBreak) FOut += '\r';
        AppendLineComment(FOut, FLine);
        FHeadSize = FOut.size() - FLineStart;
    }

    // Paragraph end, indented paragraph, line comment and join.
    void FinishLine()
    {
        const bool paragraphEnd = FConv.FParagraphEnd;
        const bool indentPending = FConv.FIndentPending;
        const bool lineBreak = NeedsLineBreak();
        bool fixed = false;
        if (paragraphEnd) {
            if (indentPending && FOut.size() == FLineStart + FHeadSize) {
                FOut += "</p>";
            } else if (FRuleRun || (FLinesSinceParagraphEnd == 0 && FNbspMode)) {
                fixed = true;
                FOut += "</font><br>";
            } else {
                FOut += "<br>";
            }
        }
        if (indentPending || fixed || lineBreak != FHeadBreak || FLine != FHeadLine) {
            FLineHead.clear();
            if (lineBreak) FLineHead += '\r';
            AppendLineComment(FLineHead, FLine);
            if (indentPending) {
                FConv.FParagraphTag = ParagraphTagFor(FConv.FIndent);
                FLineHead += FConv.FParagraphTag;
            }
            if (fixed) FLineHead += "<font class=\"fixed\">";
            FOut.replace(FLineStart, FHeadSize, FLineHead);
        }
        FConv.Charge(static_cast<std::int64_t>(FOut.size() - FLineStart));
        FConv.FIndentPending = false;
        FConv.FParagraphEnd = false;
        FLinesSinceParagraphEnd = paragraphEnd ? 0 : FLinesSinceParagraphEnd + 1;
    }

    TFa4Converter& FConv;
    const TZtFileInfoFa4& FDoc;
    std::string& FOut;
    const std::int32_t FLast;
    const std::size_t FResultStart;
    std::size_t FLineStart;
    const TByteSet& FCopied;
    std::string FLineHead;
    std::size_t FHeadSize = 0; // of the head written when the line started
    std::int32_t FHeadLine = 0; // the line that head names
    bool FHeadBreak = false; // whether it starts with a line break
    std::int32_t FLine = 0;
    bool FHyphenPending = false;
    bool FContinuesWord = false; // JoinHyphen ran while the current line was converted
    std::int32_t FLinesSinceParagraphEnd = 0;
    bool FRuleRun = false;
    bool FNbspMode = false;
};

void TFa4Converter::ConvertLines(std::string& out, std::int32_t first, std::int32_t last)
{
    FIndentPending = false;
    FParagraphEnd = false;
    FParagraphTag.clear();
    TLineRangeConversion conversion(*this, out, last);
    for (std::int32_t line = first; line <= last; ++line) line = conversion.ConvertLine(line);
}

} // namespace quorvex
