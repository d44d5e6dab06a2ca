#pragma once
// Reading one control sequence without ever going past the loaded data, and
// what it does to the conversion state.

#include <array>
#include <cstdint>
#include <string>

#include "ZtByteTables.h"

namespace quorvex {

// The effect of a run of control sequences on the conversion state. Reading
// sequences only ever sets fields, so a run's effect is summed up by whether
// it held a paragraph end, whether it held an indent, and the last indent.
struct TCodeEffects {
    bool ParagraphEnd = false;
    bool IndentPending = false;
    std::int32_t Indent = 0;

    void Add(const TCodeEffects& later)
    {
        ParagraphEnd = ParagraphEnd || later.ParagraphEnd;
        if (later.IndentPending) {
            IndentPending = true;
            Indent = later.Indent;
        }
    }
    bool Any() const { return ParagraphEnd || IndentPending; }
};

// One control sequence, its code byte at bytes[position].
struct TCodeRead {
    const TCodeInfo* Info = nullptr; // null when the code byte lies past the data
    bool Complete = false; // the code and all its operands lie inside the data
    std::uint8_t Code = 0;
    std::int32_t Operands = 0;
    TCodeEffects Effects;
};

using TCodeTable = std::array<TCodeInfo, 256>;

// `available` is the number of readable bytes from bytes[0] on; `codes`
// gives the texts (every table has the same operands and actions).
inline TCodeRead ReadCode(const unsigned char* bytes, std::int32_t position, std::int64_t available,
    const TCodeTable& codes = CodeTable)
{
    TCodeRead read;
    if (position >= available) return read;
    read.Code = bytes[position];
    read.Info = &codes[read.Code];
    read.Operands = read.Info->Operands;
    read.Complete = position + read.Operands < available;
    if (!read.Complete) return read;
    if (read.Info->Action == TCodeAction::ParagraphEnd) {
        read.Effects.ParagraphEnd = true;
    } else if (read.Info->Action == TCodeAction::Indent) {
        read.Effects.IndentPending = true;
        read.Effects.Indent = bytes[position + 1] + 256 * bytes[position + 2];
    }
    return read;
}

// The one step of every walk over a line's bytes that meets 0xFF at
// `position`: reads the sequence that the byte opens and leaves `position`
// on its last byte, so that the walk's own step lands after it.
inline TCodeRead PassOverCode(const unsigned char* bytes, std::int32_t& position, std::int64_t available,
    const TCodeTable& codes = CodeTable)
{
    const TCodeRead read = ReadCode(bytes, position + 1, available, codes);
    position += 1 + read.Operands;
    return read;
}

// Appends the sequence's HTML text: nothing for a sequence cut off by the end
// of the data.
inline void AppendCodeText(std::string& out, const TCodeRead& read)
{
    if (!read.Complete) return;
    if (read.Info->Action != TCodeAction::Unknown) {
        if (!read.Info->Text.empty()) out += read.Info->Text;
        return;
    }
    constexpr char Hex[] = "0123456789ABCDEF";
    out += "#$FF";
    out += Hex[read.Code >> 4];
    out += Hex[read.Code & 0x0F];
}

} // namespace quorvex
