// Line ranges: words, spaces, line-end hyphens, rules, tables, paragraph
// ends and indented paragraphs.

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "ZtFa4Converter.h"
#include "ZtTextSlots.h"

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

// Whether a control sequence only writes a text: no operands, no effect on
// the conversion state.
bool WritesOnlyText(const TCodeInfo& info)
{
    return info.Operands == 0 && (info.Action == TCodeAction::None || info.Action == TCodeAction::Unknown);
}

// The texts of what a line writes by its translation alone: bytes, and
// control sequences that only write a text, the 0xFF that opens them writing
// nothing. A space is a no-break space once the line has shown a run of
// spaces; before that, a space that a run looks at is the start of such a
// run (single spaces stand for themselves), which needs the line's own step.
// Corners and other control sequences need it, too, and so do rule bytes
// until the line has shown that it is no whole-line rule: from then on each
// is a hyphen.
// In the portable markup the characters and codes that open or close inline
// elements take the full step, which follows how they nest.
TCodedTextSlots MakeLineSlots(TCharOutput output, TMarkup markup, bool nbspSpaces, bool ruleRun)
{
    const bool followNesting = markup == TMarkup::Portable;
    TCodedTextSlots slots;
    const auto& texts = CharTextsFor(output, markup);
    const TCodeTable& codes = markup == TMarkup::Classic ? CodeTable : PortableCodeTable;
    for (std::size_t b = 0; b < 256; ++b) {
        switch (LineByteKinds[b]) {
        case TLineByte::Text:
        case TLineByte::Hyphen:
            if (followNesting && InlineRoleOfChar(static_cast<unsigned char>(b)) != 0)
                slots.LeaveOut(b);
            else
                slots.Set(b, texts[b]);
            break;
        case TLineByte::Space:
            if (nbspSpaces)
                slots.Set(b, "&nbsp;");
            else
                slots.LeaveOut(b);
            break;
        case TLineByte::Code:
            slots.Set(b, "");
            break;
        case TLineByte::Rule:
            if (ruleRun)
                slots.Set(b, "-");
            else
                slots.LeaveOut(b);
            break;
        case TLineByte::Corner:
            slots.LeaveOut(b);
        }
    }
    for (std::size_t code = 0; code < 256; ++code) {
        if (!WritesOnlyText(CodeTable[code]) || (followNesting && InlineRoleOfCode[code] != 0)) {
            slots.LeaveOut(CodeSlot + code);
            continue;
        }
        const unsigned char sequence[4] = {0xFF, static_cast<unsigned char>(code)};
        std::string text;
        std::int32_t position = 0;
        AppendCodeText(text, PassOverCode(sequence, position, 2, codes));
        slots.Set(CodeSlot + code, text);
    }
    return slots;
}

// The slots for one way of writing characters, by whether the line writes
// no-break spaces and whether it has shown a run of rule bytes.
struct TLineSlots {
    std::array<TCodedTextSlots, 4> ByState;

    TLineSlots(TCharOutput output, TMarkup markup)
        : ByState{MakeLineSlots(output, markup, false, false), MakeLineSlots(output, markup, true, false),
              MakeLineSlots(output, markup, false, true), MakeLineSlots(output, markup, true, true)}
    { }
    const TCodedTextSlots& For(bool nbspSpaces, bool ruleRun) const
    {
        return ByState[(nbspSpaces ? 1 : 0) + (ruleRun ? 2 : 0)];
    }
};

const TLineSlots& LineSlotsFor(TCharOutput output, TMarkup markup)
{
    if (markup == TMarkup::Classic) {
        static const TLineSlots bytes(TCharOutput::Bytes, TMarkup::Classic);
        static const TLineSlots references(TCharOutput::CharReferences, TMarkup::Classic);
        return output == TCharOutput::Bytes ? bytes : references;
    }
    static const TLineSlots bytes(TCharOutput::Bytes, TMarkup::Portable);
    static const TLineSlots references(TCharOutput::CharReferences, TMarkup::Portable);
    return output == TCharOutput::Bytes ? bytes : references;
}

// Printable ASCII bytes that the translation changes, besides the space.
// The control bytes below the space and 0x7F are looked up one by one, as
// the markup writes them.
constexpr std::array<unsigned char, 4> ChangedAscii = {0x22, 0x26, 0x3C, 0x3E};

// The copy below tests for exactly the printable ASCII bytes that are not
// written as they are.
constexpr bool ChangedAsciiComplete()
{
    for (unsigned b = 0x21; b < 0x7F; ++b) {
        bool changed = false;
        for (const unsigned char c : ChangedAscii) changed = changed || b == c;
        const bool asItIs = (LineByteKinds[b] == TLineByte::Text || LineByteKinds[b] == TLineByte::Hyphen) &&
            CharPassesThrough[b];
        if (changed == asItIs) return false;
    }
    return true;
}
static_assert(ChangedAsciiComplete());

// How far a run of blocks reads: a block of 64 places, the byte after it,
// and the last copy of sixteen bytes from inside it.
constexpr std::int32_t BlockSize = 64;
constexpr std::int32_t BlockReach = BlockSize + 16;

#if defined(__SSE2__)
// The places of sixteen bytes that are not printable ASCII written as it is:
// the top bit of a byte of 0x80 or above stands for "not ASCII", a signed
// comparison finds the control bytes below the space. Plain spaces are
// plain only one at a time: a space followed by a space (the seventeenth
// byte tells for the last place) starts the line's no-break spaces, which
// the full step decides. Also the places after a 0xFF, which hold codes.
inline std::uint64_t ChangedInSixteen(const unsigned char* bytes, bool spacesPlain)
{
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    const __m128i changed = _mm_or_si128(_mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8(0x22)),
                                                          _mm_cmpeq_epi8(block, _mm_set1_epi8(0x26))),
                                             _mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8(0x3C)),
                                                 _mm_cmpeq_epi8(block, _mm_set1_epi8(0x3E)))),
        _mm_or_si128(_mm_cmplt_epi8(block, _mm_set1_epi8(0x20)), _mm_cmpeq_epi8(block, _mm_set1_epi8(0x7F))));
    const auto spaces = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(0x20))));
    const unsigned spaceStops =
        spacesPlain ? spaces & (spaces >> 1 | (bytes[16] == 0x20 ? 0x8000u : 0u)) : spaces;
    const auto openers = static_cast<std::uint64_t>(
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(-1)))));
    return static_cast<unsigned>(_mm_movemask_epi8(changed) | _mm_movemask_epi8(block)) | spaceStops |
        openers << 1;
}

inline std::uint64_t ChangedInBlock(const unsigned char* bytes, bool spacesPlain)
{
    // The code after a 0xFF in the last place lies in the next block.
    std::uint64_t changed = 0;
    for (std::int32_t at = 0; at < BlockSize; at += 16)
        changed |= ChangedInSixteen(bytes + at, spacesPlain) << at;
    return changed;
}

// Copies `size` bytes, up to 64, sixteen at a time; always the first
// sixteen, since most stretches between places that are not plain fit in
// one copy.
inline void CopyPlain(char* out, const unsigned char* from, std::int32_t size)
{
    _mm_storeu_si128(
        reinterpret_cast<__m128i*>(out), _mm_loadu_si128(reinterpret_cast<const __m128i*>(from)));
    for (std::int32_t at = 16; at < size; at += 16)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + at),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + at)));
}
#endif

// Writes the bytes from `position` to `stop` at `out`, 64 places at a time:
// the places that are not plain ASCII are found by comparisons of sixteen
// bytes, the plain ASCII between them is copied in blocks, and each other
// place costs one look-up in `slots`, whose byte after a 0xFF is looked up as
// a code. Returns where it stopped: at or past `stop` (a control sequence
// may end past it), at the first byte or sequence the slots do not hold, or
// where fewer than BlockReach bytes are left to read. `out` must have room
// for sixteen bytes more than the texts written.
std::int32_t WriteSimpleBlocks(const unsigned char* bytes, std::int32_t position, std::int32_t stop,
    std::int64_t available, bool spacesPlain, const TCodedTextSlots& slots, char*& out)
{
    std::int32_t p = position;
#if defined(__SSE2__)
    char* o = out;
    std::size_t code = 0; // CodeSlot after a 0xFF that opens a sequence
    while (p < stop && p + BlockReach <= available) {
        const std::int32_t size = std::min(stop - p, BlockSize);
        std::uint64_t changed = (ChangedInBlock(bytes + p, spacesPlain) | (code != 0 ? 1u : 0u)) &
            (~std::uint64_t{0} >> (BlockSize - size));
        std::int32_t done = 0; // places of the block written
        while (changed != 0) {
            const auto at = static_cast<std::int32_t>(__builtin_ctzll(changed));
            CopyPlain(o, bytes + p + done, at - done);
            o += at - done;
            const std::size_t slot = code + bytes[p + at];
            if (!slots.Holds(slot)) {
                out = o;
                // A sequence that needs the full step starts at its 0xFF.
                return p + at - (code != 0 ? 1 : 0);
            }
            o = slots.Write(o, slot);
            code = slot == 0xFF ? CodeSlot : 0;
            done = at + 1;
            changed &= changed - 1;
        }
        CopyPlain(o, bytes + p + done, size - done);
        o += size - done;
        p += size;
    }
    if (code != 0) {
        // The run ended between a 0xFF and its code.
        if (p >= available || !slots.Holds(CodeSlot + bytes[p])) {
            out = o;
            return p - 1;
        }
        o = slots.Write(o, CodeSlot + bytes[p]);
        ++p;
    }
    out = o;
#else
    (void)bytes;
    (void)stop;
    (void)available;
    (void)spacesPlain;
    (void)slots;
    (void)out;
#endif
    return p;
}

std::string ParagraphTagFor(std::int32_t indent)
{
    if (indent == 0) return "<p style=\"margin-left:0; text-indent:0\">";
    const std::int32_t margin = 4 * (indent < 256 ? indent : indent % 256);
    const std::int32_t pullBack = indent < 256 ? margin : 4 * (indent / 256);
    return "<p class=\"indent\" style=\"margin-left:" + std::to_string(margin) + "pt; text-indent:-" +
        std::to_string(pullBack) + "pt\">";
}

// The start of a fixed-width line. Word processors read the font only from
// an attribute; any rule of the head for the class still decides in a
// browser.
std::string_view FixedFontTag(TMarkup markup)
{
    return markup == TMarkup::Classic ? "<font class=\"fixed\">"
                                      : "<font class=\"fixed\" face=\"Courier New, monospace\">";
}

// The most bytes "<!-- LINE n -->" takes.
constexpr std::size_t LineCommentSize = 10 + 10 + 4;

// "00" to "99".
constexpr auto DigitPairs = [] {
    std::array<std::array<char, 2>, 100> pairs{};
    for (std::size_t n = 0; n < 100; ++n)
        pairs[n] = {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
    return pairs;
}();

// Writes the decimal digits of a line number, 0 to 9999 two at a time.
char* WriteLineNumber(char* out, std::int32_t line)
{
    if (line < 0 || line >= 10000) return std::to_chars(out, out + 10, line).ptr;
    const auto high = static_cast<std::size_t>(line / 100);
    const auto low = static_cast<std::size_t>(line % 100);
    if (high >= 10) {
        std::memcpy(out, DigitPairs[high].data(), 2);
        out += 2;
    } else if (high > 0) {
        *out++ = DigitPairs[high][1];
    }
    if (high > 0 || low >= 10) {
        std::memcpy(out, DigitPairs[low].data(), 2);
        return out + 2;
    }
    *out++ = DigitPairs[low][1];
    return out;
}

// Writes "<!-- LINE n -->" at `out` and returns the position after it.
char* WriteLineComment(char* out, std::int32_t line)
{
    std::memcpy(out, "<!-- LINE ", 10);
    out = WriteLineNumber(out + 10, line);
    std::memcpy(out, " -->", 4);
    return out + 4;
}

void AppendLineComment(std::string& out, std::int32_t line)
{
    char text[LineCommentSize];
    out.append(text, static_cast<std::size_t>(WriteLineComment(text, line) - text));
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
    // The last byte that is no space, or -1.
    std::int32_t LastNonSpaceAt()
    {
        if (LastNonSpace == -2) {
            LastNonSpace = Length - 1;
            while (LastNonSpace >= 0 && Bytes[LastNonSpace] == 0x20) --LastNonSpace;
        }
        return LastNonSpace;
    }
    // Whether every byte from `position` to the line's end is a space.
    bool OnlySpacesFrom(std::int32_t position) { return position > LastNonSpaceAt(); }
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
    TLineRangeConversion(
        TFa4Converter& converter, TZtConversionState& state, std::string& out, std::int32_t last)
        : FConv(converter)
        , FState(state)
        , FDoc(converter.FDoc)
        , FOut(out)
        , FLast(last)
        , FResultStart(out.size())
        , FLineStart(out.size())
        , FSlots(LineSlotsFor(converter.FCharOutput, converter.FMarkup))
    { }

    // Converts the line and returns the line the conversion ended on.
    std::int32_t ConvertLine(std::int32_t line)
    {
        FLine = line;
        TLineCursor cursor(FDoc, line);
        FConv.Charge(cursor.Length);
        FLineStart = OutSize();
        FRuleRun = false;
        FRuleBytesAsHyphens = false;
        FContinuesWord = false;
        FJoined = false;
        WriteLikelyHead();
        FConv.FNesting.StartLine();
        FNbspMode = cursor.Length > 0 && cursor.Bytes[0] == 0x20;
        for (std::int32_t position = 0; position < cursor.Length; ++position) {
            if (!FHyphenPending) {
                position = WriteSimpleBytes(cursor, position);
                if (position >= cursor.Length) break;
            }
            const unsigned char b = cursor.Bytes[position];
            if (FHyphenPending) {
                if (CapitalLetters[b])
                    JoinHyphen("-", cursor.OnlyCodesBefore(position));
                else if (SmallLetters[b])
                    JoinHyphen("&shy;", cursor.OnlyCodesBefore(position));
            }
            ConvertByte(cursor, position, b);
            KeepPendingRoom();
        }
        FinishLine();
        return FLine;
    }

private:
    // The most bytes a run of simple bytes converts at a time.
    static constexpr std::int32_t RunBytes = 512;
    // What such a run may write: a slot for each byte and one for a control
    // sequence that ends past the run, and the last slot's full size.
    static constexpr std::size_t RunText = (RunBytes + 2) * TCodedTextSlots::SlotSize;
    // What a line writes to the pending text besides its runs: its head, and
    // at its end the longest paragraph end.
    static constexpr std::size_t LineHeadText = LineCommentSize + 2;
    static constexpr std::size_t LineEndText = sizeof "</font><br>";
    // Room the pending text keeps for what the next steps may write before it
    // is looked at again.
    static constexpr std::size_t PendingRoom = LineHeadText + RunText + LineEndText;

    // Writes the bytes from `position` on that need nothing but their text
    // (most of running text) and returns the first position that needs the
    // full step, or the line's end. The byte there may be any byte: where a
    // double space, the trailing spaces or a line-end hyphen begins, the step
    // decides.
    std::int32_t WriteSimpleBytes(TLineCursor& cursor, std::int32_t position)
    {
        for (;;) {
            const std::int32_t stop = std::min(SimpleBytesEnd(cursor, FNbspMode), position + RunBytes);
            if (stop <= position) return position;
            const std::int32_t reached = WriteSimpleRun(cursor, position, stop);
            // A control sequence may reach past the end; the end found from
            // there on is another.
            if (reached <= stop) return reached;
            position = reached;
        }
    }

    // Where the bytes stop being written by their text alone: where the
    // trailing spaces begin once spaces are no-break spaces, and before a
    // hyphen that ends the line before its last space. (A double space, which
    // ends the line's plain spaces, stops the run where it stands.)
    static std::int32_t SimpleBytesEnd(TLineCursor& cursor, bool nbspMode)
    {
        const std::int32_t length = cursor.Length;
        std::int32_t end = length;
        if (length >= 2 && cursor.Bytes[length - 2] == 0x2D && cursor.Bytes[length - 1] == 0x20)
            end = length - 2;
        if (nbspMode) end = std::min(end, cursor.LastNonSpaceAt() + 1);
        return end;
    }

    // Writes bytes from `position` until `stop` or the first byte the slots
    // do not hold, and returns where it stopped.
    std::int32_t WriteSimpleRun(const TLineCursor& cursor, std::int32_t position, std::int32_t stop)
    {
        const TCodedTextSlots& slots = FSlots.For(FNbspMode, FRuleBytesAsHyphens);
        const unsigned char* bytes = cursor.Bytes;
        const std::int64_t available = cursor.Available;
        const bool spacesPlain = !FNbspMode;
        char* out = FPendingEnd;
        std::int32_t p = WriteSimpleBlocks(bytes, position, stop, available, spacesPlain, slots, out);
        // The last bytes of the data, one at a time.
        while (p < stop) {
            const unsigned char b = bytes[p];
            if (b == 0x20 && spacesPlain) {
                if (p + 1 < cursor.Length && bytes[p + 1] == 0x20) break;
                *out++ = ' ';
                ++p;
            } else if (b == 0xFF) {
                if (p + 1 >= available || !slots.Holds(CodeSlot + bytes[p + 1])) break;
                out = slots.Write(out, CodeSlot + bytes[p + 1]);
                p += 2;
            } else {
                if (!slots.Holds(b)) break;
                out = slots.Write(out, b);
                ++p;
            }
        }
        FPendingEnd = out;
        KeepPendingRoom();
        return p;
    }

public:
    // Appends what was written to the pending text since the last flush.
    void FlushPending()
    {
        FOut.append(FPending.data(), PendingSize());
        FPendingEnd = FPending.data();
    }

    // Between lines: the next line may take back the last byte (the line
    // break before a hyphen join), nothing before it.
    void SpillIfLarge()
    {
        if (&FOut != FConv.FSpillTarget || OutSize() <= FConv.FSpillThreshold) return;
        FlushPending();
        // A line end of CR LF is taken back whole.
        const std::size_t cut = FOut.size() - std::min(FOut.size(), FConv.FLineEnd.size());
        FConv.FSpill(std::string_view(FOut).substr(0, cut));
        FOut.erase(0, cut);
        FResultStart -= std::min(FResultStart, cut);
        FLineStart -= std::min(FLineStart, cut);
    }

private:
    std::size_t PendingSize() const { return static_cast<std::size_t>(FPendingEnd - FPending.data()); }
    void KeepPendingRoom()
    {
        if (PendingSize() > FPending.size() - PendingRoom) FlushPending();
    }
    void WritePending(std::string_view text)
    {
        std::memcpy(FPendingEnd, text.data(), text.size());
        FPendingEnd += text.size();
    }

    // The output's size with the pending text; positions below count the
    // same way, so that the pending text need not be appended for every line.
    std::size_t OutSize() const { return FOut.size() + PendingSize(); }
    char OutAt(std::size_t position) const
    {
        return position < FOut.size() ? FOut[position] : FPending[position - FOut.size()];
    }

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
            return ConvertCode(cursor, position);
        case TLineByte::Text:
            FConv.FNesting.Apply(InlineRoleOfChar(b));
            return WritePending(FConv.FCharTexts[b]);
        }
    }

    // The texts of the sequences that only write a text are in the slots,
    // but for those longer than a slot; the others write none.
    void ConvertCode(const TLineCursor& cursor, std::int32_t& position)
    {
        const TCodeRead read = PassOverCode(cursor.Bytes, position, cursor.Available, FConv.FCodes);
        FConv.ApplyCodeEffects(read.Effects);
        if (!read.Complete) return;
        const TCodedTextSlots& slots = FSlots.For(false, false);
        if (slots.Holds(CodeSlot + read.Code))
            FPendingEnd = slots.Write(FPendingEnd, CodeSlot + read.Code);
        else
            WritePending(read.Info->Text);
        FConv.FNesting.Apply(InlineRoleOfCode[read.Code]);
    }

    void ConvertSpace(TLineCursor& cursor, std::int32_t position)
    {
        if (cursor.OnlySpacesFrom(position)) {
            WritePending(" ");
        } else if (FNbspMode) {
            WritePending("&nbsp;");
        } else if (cursor.Bytes[position + 1] == 0x20) {
            FNbspMode = true;
            WritePending("&nbsp;");
        } else {
            WritePending(" ");
        }
    }

    void ConvertHyphen(const TLineCursor& cursor, std::int32_t& position)
    {
        if (position == cursor.Length - 2 && cursor.Bytes[position + 1] == 0x20) {
            FHyphenPending = true;
            ++position;
        } else {
            WritePending("-");
        }
    }

    void ConvertRule(const TLineCursor& cursor, std::int32_t& position, unsigned char b)
    {
        const TFa4Converter::TRuleLine& rule = FConv.RuleLine(FLine);
        FConv.ApplyCodeEffects(rule.Effects);
        // An empty plain text is no whole-line rule: moving back by one would
        // never end.
        if (rule.UniformByte == b) {
            FConv.FNesting.Block();
            WritePending("<hr>");
            WritePending(FConv.FLineEnd);
            position += rule.StrippedLength - 1;
            return;
        }
        FRuleRun = true;
        FRuleBytesAsHyphens = true;
        std::int32_t end = position + 1;
        while (end < cursor.Length && cursor.Bytes[end] == b) ++end;
        FlushPending();
        FOut.append(static_cast<std::size_t>(end - position), '-');
        position = end - 1;
    }

    void ConvertCorner(TLineCursor& cursor, std::int32_t& position)
    {
        // Measuring a table, even one that turns out not to be one, takes
        // the effects of other lines' control sequences: a rule byte after it
        // takes this line's effects again.
        FRuleBytesAsHyphens = false;
        std::int32_t tablePos = position;
        std::int32_t tableLine = FLine;
        FlushPending();
        if (!FConv.ConvertTable(FOut, tablePos, tableLine, INT32_MAX, FLast)) {
            WritePending("+");
            return;
        }
        position = tablePos;
        FLine = tableLine;
        cursor = TLineCursor(FDoc, FLine);
    }

    // The join lands after the result so far: after the line that ended in
    // the hyphen, in place of the line break that followed it. Only a letter
    // that starts the line continues the hyphenated word; a later one (after
    // "12 " say) leaves the line break, or the two lines would run together.
    // Kept out of the line's loop: few lines end in a hyphen.
    [[gnu::noinline]] void JoinHyphen(std::string_view joinText, bool continuesWord)
    {
        FlushPending();
        if (ResultEndsWithLineEnd()) {
            FLineStart -= FConv.FLineEnd.size();
            FOut.erase(FLineStart, FConv.FLineEnd.size());
        }
        FOut.insert(FLineStart, joinText);
        FLineStart += joinText.size();
        FHyphenPending = false;
        FContinuesWord = continuesWord;
        FJoined = true;
    }

    bool ResultEmpty() const { return FLineStart == FResultStart; }
    // A line end is the only CR, and LF, the body holds.
    bool ResultEndsWithLineEnd() const
    {
        return !ResultEmpty() && OutAt(FLineStart - 1) == FConv.FLineEnd.back();
    }

    // The line break that joins the line to the result so far. A line that
    // completes a hyphenated word follows the join text directly, so a
    // browser shows the word whole.
    bool NeedsLineBreak() const
    {
        const bool joined = FContinuesWord && FConv.FHyphenJoin == hjJoined;
        return !ResultEmpty() && !ResultEndsWithLineEnd() && !joined;
    }

    void WriteLikelyHead()
    {
        FHeadLine = FLine;
        FHeadBreak = NeedsLineBreak();
        char* out = FPendingEnd;
        if (FHeadBreak) {
            std::memcpy(out, FConv.FLineEnd.data(), FConv.FLineEnd.size());
            out += FConv.FLineEnd.size();
        }
        out = WriteLineComment(out, FLine);
        FHeadSize = static_cast<std::size_t>(out - FPendingEnd);
        FPendingEnd = out;
    }

    // Paragraph end, indented paragraph, line comment and join.
    void FinishLine()
    {
        const bool paragraphEnd = FState.ParagraphEnd;
        const bool indentPending = FState.IndentPending;
        // Only a join changes what stands before the line.
        const bool lineBreak = FJoined ? NeedsLineBreak() : FHeadBreak;
        bool fixed = false;
        if (paragraphEnd) {
            if (indentPending && OutSize() == FLineStart + FHeadSize) {
                WritePending("</p>");
            } else if (FRuleRun || (FLinesSinceParagraphEnd == 0 && FNbspMode)) {
                fixed = true;
                WritePending("</font><br>");
            } else {
                WritePending("<br>");
            }
        }
        if (indentPending || fixed || lineBreak != FHeadBreak || FLine != FHeadLine) {
            FlushPending();
            FLineHead.clear();
            if (lineBreak) FLineHead += FConv.FLineEnd;
            AppendLineComment(FLineHead, FLine);
            if (indentPending) {
                FConv.FNesting.ParagraphAtLineStart();
                FState.ParagraphTag = ParagraphTagFor(FState.Indent);
                FLineHead += FState.ParagraphTag;
            }
            if (fixed) {
                FConv.FNesting.FontAroundLine();
                FLineHead += FixedFontTag(FConv.FMarkup);
            }
            FOut.replace(FLineStart, FHeadSize, FLineHead);
        }
        FConv.Charge(static_cast<std::int64_t>(OutSize() - FLineStart));
        FState.IndentPending = false;
        FState.ParagraphEnd = false;
        FLinesSinceParagraphEnd = paragraphEnd ? 0 : FLinesSinceParagraphEnd + 1;
        KeepPendingRoom();
    }

    TFa4Converter& FConv;
    TZtConversionState& FState; // the converter's, which the lines carry on
    const TZtFileInfoFa4& FDoc;
    std::string& FOut;
    const std::int32_t FLast;
    std::size_t FResultStart; // moves down when the output is spilled
    std::size_t FLineStart;
    const TLineSlots& FSlots;
    std::string FLineHead;
    std::size_t FHeadSize = 0; // of the head written when the line started
    std::int32_t FHeadLine = 0; // the line that head names
    bool FHeadBreak = false; // whether it starts with a line break
    std::int32_t FLine = 0;
    bool FHyphenPending = false;
    bool FContinuesWord = false; // the current line's join continued a word
    bool FJoined = false; // JoinHyphen ran while the current line was converted
    std::int32_t FLinesSinceParagraphEnd = 0;
    bool FRuleRun = false;
    // The line's rule bytes are known to write hyphens: it is no whole-line
    // rule, and its control sequences' effects have been taken.
    bool FRuleBytesAsHyphens = false;
    bool FNbspMode = false;
    // Text written by the lines' heads, simple bytes and paragraph ends,
    // appended to the output in one go: before any other step, when the
    // conversion ends, or when what may follow might not fit.
    std::array<char, 2 * PendingRoom> FPending;
    char* FPendingEnd = FPending.data();
};

void TFa4Converter::ConvertLines(std::string& out, std::int32_t first, std::int32_t last)
{
    FState.IndentPending = false;
    FState.ParagraphEnd = false;
    FState.ParagraphTag.clear();
    TLineRangeConversion conversion(*this, FState, out, last);
    for (std::int32_t line = first; line <= last; ++line) {
        line = conversion.ConvertLine(line);
        conversion.SpillIfLarge();
    }
    conversion.FlushPending();
}

} // namespace quorvex
