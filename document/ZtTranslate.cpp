// Characters and control sequences, and the plain text of a line.

#include "ZtCodePage437.h"
#include "ZtCodeReader.h"
#include "ZtFileInfoFa4.h"

namespace quorvex {

void ApplyCodeEffects(TZtFileInfoFa4& document, const TCodeEffects& effects)
{
    if (effects.ParagraphEnd) document.ParagraphEnd = true;
    if (effects.IndentPending) {
        document.IndentPending = true;
        document.Indent = effects.Indent;
    }
}

namespace {

// Reading a line as plain text drops a control sequence's text but keeps its
// effect on the conversion state; `position` comes in on the code byte and is
// left on the sequence's last byte.
void PassOverCode(
    TZtFileInfoFa4& document, const unsigned char* bytes, std::int32_t& position, std::int64_t available)
{
    const TCodeRead read = ReadCode(bytes, position, available);
    ApplyCodeEffects(document, read.Effects);
    position += read.Operands;
}

} // namespace

std::string TZtFileInfoFa4::TranslateChar(unsigned char byte)
{
    return std::string(CharTexts[byte]);
}

std::string TZtFileInfoFa4::TranslateCode(const unsigned char* bytes, std::int32_t& position)
{
    std::string text;
    const TCodeRead read = ReadCode(bytes, position, AvailableFrom(bytes));
    ApplyCodeEffects(*this, read.Effects);
    AppendCodeText(text, read);
    position += read.Operands;
    return text;
}

std::string TZtFileInfoFa4::PlainText(const TFa4LineEntry& entry, std::int32_t limit)
{
    std::string text;
    const unsigned char* bytes = LineBytes(entry);
    const std::int64_t available = AvailableFrom(bytes);
    const std::int32_t bound = std::min<std::int32_t>(limit, entry.Length);
    for (std::int32_t position = 0; position < bound; ++position) {
        if (bytes[position] == 0xFF) {
            PassOverCode(*this, bytes, ++position, available);
        } else {
            text += static_cast<char>(bytes[position]);
        }
    }
    return text;
}

std::string TZtFileInfoFa4::LinePlainText(std::int32_t lineIndex, std::int32_t limit)
{
    return PlainText(GetLine(lineIndex), limit);
}

std::int32_t TZtFileInfoFa4::RawIndex(const TFa4LineEntry& entry, std::int32_t count)
{
    const unsigned char* bytes = LineBytes(entry);
    const std::int64_t available = AvailableFrom(bytes);
    std::int32_t counted = 0;
    std::int32_t position = 0;
    while (counted < count && position < entry.Length) {
        if (bytes[position] == 0xFF) {
            PassOverCode(*this, bytes, ++position, available);
        } else {
            ++counted;
        }
        ++position;
    }
    return position;
}

void TZtFileInfoFa4::AppendChar(std::string& out, unsigned char byte) const
{
    if (FCharOutput == TCharOutput::CharReferences && byte >= 0x80 && CharPassesThrough[byte]) {
        out += "&#";
        out += std::to_string(static_cast<std::uint32_t>(Cp437ToUnicode[byte]));
        out += ';';
        return;
    }
    out += CharTexts[byte];
}

} // namespace quorvex
