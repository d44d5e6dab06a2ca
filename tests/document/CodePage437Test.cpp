// The code page 437 table and the bytes as UTF-8.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "ZtCodePage437.h"

namespace quorvex {
namespace {

std::string ByteRange(int first, int last)
{
    std::string bytes;
    for (int b = first; b <= last; ++b) bytes += static_cast<char>(b);
    return bytes;
}

TEST(CodePage437, SpotChecksOfLettersBoxesAndGlyphs)
{
    struct TCase {
        int Byte;
        char32_t Code;
    };
    constexpr TCase cases[] = {
        {0x00, 0x0000},
        {0x01, 0x263A},
        {0x0D, 0x266A},
        {0x14, 0x00B6},
        {0x15, 0x00A7},
        {0x1F, 0x25BC},
        {0x41, 0x0041},
        {0x7F, 0x2302},
        {0x81, 0x00FC},
        {0x82, 233},
        {0x8E, 0x00C4},
        {0x99, 0x00D6},
        {0x9A, 0x00DC},
        {0x9E, 0x20A7},
        {0xA5, 0x00D1},
        {0xB3, 0x2502},
        {0xBA, 0x2551},
        {0xBC, 0x255D},
        {0xC4, 0x2500},
        {0xC9, 9556},
        {0xCD, 0x2550},
        {0xCE, 0x256C},
        {0xD5, 0x2552},
        {0xD6, 0x2553},
        {0xD7, 0x256B},
        {0xD8, 0x256A},
        {0xDA, 0x250C},
        {0xE1, 0x00DF},
        {0xE6, 0x00B5},
        {0xF8, 0x00B0},
        {0xFB, 0x221A},
        {0xFD, 0x00B2},
        {0xFF, 0x00A0},
    };
    for (const auto& c : cases) EXPECT_EQ(Cp437ToUnicode[c.Byte], c.Code) << "byte 0x" << std::hex << c.Byte;
}

TEST(CodePage437, AsciiIsItself)
{
    for (int b = 0x20; b < 0x7F; ++b) EXPECT_EQ(Cp437ToUnicode[b], static_cast<char32_t>(b)) << b;
}

TEST(CodePage437, EveryByteHasItsOwnCharacter)
{
    const std::set<char32_t> codes(Cp437ToUnicode.begin(), Cp437ToUnicode.end());
    EXPECT_EQ(codes.size(), 256u);
    // Only NUL stands for itself among the control bytes.
    for (int b = 1; b < 0x20; ++b) EXPECT_GE(Cp437ToUnicode[b], 0xA0u) << b;
}

TEST(CodePage437, BoxDrawingAndBlocksLieInTheirUnicodeBlocks)
{
    for (int b = 0xB3; b <= 0xDA; ++b) {
        EXPECT_GE(Cp437ToUnicode[b], 0x2500u) << b;
        EXPECT_LE(Cp437ToUnicode[b], 0x257Fu) << b;
    }
    for (int b : {0xB0, 0xB1, 0xB2, 0xDB, 0xDC, 0xDD, 0xDE, 0xDF}) {
        EXPECT_GE(Cp437ToUnicode[b], 0x2580u) << b;
        EXPECT_LE(Cp437ToUnicode[b], 0x259Fu) << b;
    }
}

// The glyphs as a DOS screen shows them, written as text rather than as
// numbers, so a slip in either form shows up here.
TEST(CodePage437, Utf8MatchesTheScreenGlyphs)
{
    EXPECT_EQ(Cp437ToUtf8(ByteRange(0x01, 0x1F)), "☺☻♥♦♣♠•◘○◙♂♀♪♫☼►◄↕‼¶§▬↨↑↓→←∟↔▲▼");
    EXPECT_EQ(Cp437ToUtf8(ByteRange(0x7F, 0x7F)), "⌂");
    EXPECT_EQ(Cp437ToUtf8(ByteRange(0x80, 0xAF)), "ÇüéâäàåçêëèïîìÄÅÉæÆôöòûùÿÖÜ¢£¥₧ƒáíóúñÑªº¿⌐¬½¼¡«»");
    EXPECT_EQ(Cp437ToUtf8(ByteRange(0xB0, 0xDF)), "░▒▓│┤╡╢╖╕╣║╗╝╜╛┐└┴┬├─┼╞╟╚╔╩╦╠═╬╧╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀");
    EXPECT_EQ(Cp437ToUtf8(ByteRange(0xE0, 0xFE)), "αßΓπΣσµτΦΘΩδ∞φε∩≡±≥≤⌠⌡÷≈°∙·√ⁿ²■");
    EXPECT_EQ(Cp437ToUtf8(ByteRange(0xFF, 0xFF)), "\xC2\xA0");
}

TEST(CodePage437, Utf8KeepsNulAndAscii)
{
    EXPECT_EQ(Cp437ToUtf8(""), "");
    EXPECT_EQ(Cp437ToUtf8(std::string("A\0B", 3)), std::string("A\0B", 3));
    EXPECT_EQ(Cp437ToUtf8("Stra\xE1"
                          "e \x84"),
        "Straße ä");
}

} // namespace
} // namespace quorvex
