#include "ZtLineCells.h"

#include <array>

#include "ZtCodePage437.h"

namespace quorvex {
namespace {

// The bytes as a DOS screen showed them; it showed NUL as a blank.
std::string ScreenText(std::string_view bytes)
{
    std::string text = Cp437ToUtf8(bytes);
    for (char& c : text)
        if (c == '\0') c = ' ';
    return text;
}

} // namespace

std::string HexText(std::string_view bytes)
{
    static constexpr std::array<char, 16> Digits = {
        '0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};
    std::string text;
    text.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text += Digits[b >> 4];
        text += Digits[b & 0x0F];
        text += ' ';
    }
    return text;
}

std::optional<std::string> LineCellText(
    const TZtFileInfoFa4& document, const TFa4LineEntry& entry, std::int32_t row, int column)
{
    switch (column) {
    case lcLength:
        return std::to_string(entry.Length);
    case lcText:
        return ScreenText(document.LineView(entry));
    case lcHex:
        return HexText(document.LineView(entry));
    case lcIndex:
        return std::to_string(row);
    default:
        return std::nullopt;
    }
}

} // namespace quorvex
