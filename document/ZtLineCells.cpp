// The cell texts of the line list that show a line's bytes.

#include "ZtLineCells.h"

#include <array>

#include "ZtCodePage437.h"

namespace quorvex {

// A DOS screen showed NUL as a blank.
std::string ScreenText(std::string_view bytes)
{
    std::string text = Cp437ToUtf8(bytes);
    for (char& c : text)
        if (c == '\0') c = ' ';
    return text;
}

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

} // namespace quorvex
