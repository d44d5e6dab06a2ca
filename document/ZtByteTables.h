#pragma once
// Byte-indexed tables of the F&A 4 character set: what each character and
// each control code becomes in HTML, and the box-drawing roles that the
// table conversion tests.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <utility>

namespace quorvex {

using TByteSet = std::array<bool, 256>;

consteval TByteSet MakeByteSet(std::initializer_list<int> bytes)
{
    TByteSet set{};
    for (int b : bytes) set[static_cast<std::size_t>(b)] = true;
    return set;
}

consteval TByteSet MakeByteRanges(std::initializer_list<std::pair<int, int>> ranges)
{
    TByteSet set{};
    for (auto [first, last] : ranges)
        for (int b = first; b <= last; ++b) set[static_cast<std::size_t>(b)] = true;
    return set;
}

// Every byte value once, so that a character can be viewed as a text of its own.
inline constexpr auto AllBytes = [] {
    std::array<char, 256> bytes{};
    for (int b = 0; b < 256; ++b) bytes[static_cast<std::size_t>(b)] = static_cast<char>(b);
    return bytes;
}();

// What a character byte becomes in HTML.
inline constexpr auto CharTexts = [] {
    std::array<std::string_view, 256> texts{};
    for (std::size_t b = 0; b < 256; ++b) texts[b] = std::string_view(&AllBytes[b], 1);
    auto set = [&](int b, std::string_view text) { texts[static_cast<std::size_t>(b)] = text; };
    set(0x22, "&quot;");
    set(0x26, "&amp;");
    set(0x3C, "&lt;");
    set(0x3E, "&gt;");
    set(0x81, "&uuml;");
    set(0x84, "&auml;");
    set(0x89, "&euml;");
    set(0x8B, "&iuml;");
    set(0x8E, "&Auml;");
    set(0x94, "&ouml;");
    set(0x99, "&Ouml;");
    set(0x9A, "&Uuml;");
    set(0xAE, "</font>");
    set(0xAF, "<font color=\"blue\">");
    set(0xB3, "|");
    set(0xBA, "|");
    set(0xC4, "-");
    set(0xCD, "=");
    for (auto [first, last] :
        {std::pair{0xB4, 0xB9}, {0xBB, 0xC3}, {0xC5, 0xC8}, {0xCA, 0xCC}, {0xCE, 0xD4}, {0xD7, 0xD9}})
        for (int b = first; b <= last; ++b) set(b, "+");
    set(0xE1, "&szlig;");
    set(0xF8, "&deg;");
    set(0xFB, "sqrt ");
    set(0xFC, "<sup>3</sup>");
    set(0xFD, "<sup>2</sup>");
    return texts;
}();

// What a character byte becomes in the portable markup: a browser drops NUL
// and shows the other control bytes as a blank, which every other reader
// takes for a space only when it is one; the root sign is written as itself.
inline constexpr auto PortableCharTexts = [] {
    std::array<std::string_view, 256> texts = CharTexts;
    texts[0x00] = "";
    for (std::size_t b = 0x01; b < 0x20; ++b) texts[b] = " ";
    texts[0x7F] = " ";
    texts[0xFB] = "&#8730;";
    return texts;
}();

// Characters written as they are.
inline constexpr auto CharPassesThrough = [] {
    TByteSet set{};
    for (std::size_t b = 0; b < 256; ++b) set[b] = CharTexts[b].size() == 1 && CharTexts[b][0] == AllBytes[b];
    return set;
}();

// What a control code does.
enum class TCodeAction : std::uint8_t { None, ParagraphEnd, Indent, Unknown };

struct TCodeInfo {
    std::string_view Text;
    std::uint8_t Operands = 0;
    TCodeAction Action = TCodeAction::Unknown;
};

inline constexpr auto CodeTable = [] {
    std::array<TCodeInfo, 256> codes{};
    auto set = [&](int code, std::string_view text, std::uint8_t operands = 0,
                   TCodeAction action = TCodeAction::None) {
        codes[static_cast<std::size_t>(code)] = TCodeInfo{text, operands, action};
    };
    set(0x01, "", 0, TCodeAction::ParagraphEnd);
    set(0x04, "&shy;");
    set(0x21, "", 2, TCodeAction::Indent);
    set(0x22, "", 2);
    set(0x24, "", 2);
    set(0x40, "");
    set(0x41, "");
    set(0x42, "");
    set(0x80, "<b>");
    set(0x81, "<u>");
    set(0x83, "<sup>");
    set(0x84, "<sub>");
    set(0x85, "<i>");
    set(0x86, "<s>");
    constexpr std::string_view Fonts[] = {"<font class=\"font1\">", "<font class=\"font2\">",
        "<font class=\"font3\">", "<font class=\"font4\">", "<font class=\"font5\">",
        "<font class=\"font6\">", "<font class=\"font7\">", "<font class=\"font8\">"};
    for (int i = 0; i < 8; ++i) set(0x88 + i, Fonts[i]);
    set(0x90, "</b>");
    set(0x91, "</u>");
    set(0x93, "</sup>");
    set(0x94, "</sub>");
    set(0x95, "</i>");
    set(0x96, "</s>");
    for (int code = 0x98; code <= 0x9F; ++code) set(code, "</font>");
    return codes;
}();

// The codes of the portable markup: fonts 1 to 7 also carry their size as
// an attribute, the one form of it that word processors read without the
// head. The seven steps of `size` come nearest to the head's sizes this way;
// any style rule of the head still decides in a browser. Font 8 has no size.
inline constexpr auto PortableCodeTable = [] {
    std::array<TCodeInfo, 256> codes = CodeTable;
    constexpr std::string_view Fonts[] = {"<font class=\"font1\" size=\"5\">",
        "<font class=\"font2\" size=\"5\">", "<font class=\"font3\" size=\"4\">",
        "<font class=\"font4\" size=\"4\">", "<font class=\"font5\" size=\"3\">",
        "<font class=\"font6\" size=\"2\">", "<font class=\"font7\" size=\"2\">"};
    for (int i = 0; i < 7; ++i) codes[static_cast<std::size_t>(0x88 + i)].Text = Fonts[i];
    return codes;
}();

// The inline element a code or character opens (a positive kind) or closes
// (its negative): 1 bold, 2 underline, 3 superscript, 4 subscript, 5 italic,
// 6 strike-through, 7 font; 0 for none.
inline constexpr auto InlineRoleOfCode = [] {
    std::array<std::int8_t, 256> roles{};
    constexpr std::pair<int, std::int8_t> Kinds[] = {
        {0x80, 1}, {0x81, 2}, {0x83, 3}, {0x84, 4}, {0x85, 5}, {0x86, 6}};
    for (auto [code, kind] : Kinds) {
        roles[static_cast<std::size_t>(code)] = kind;
        roles[static_cast<std::size_t>(code + 0x10)] = static_cast<std::int8_t>(-kind);
    }
    for (int code = 0x88; code <= 0x8F; ++code) {
        roles[static_cast<std::size_t>(code)] = 7;
        roles[static_cast<std::size_t>(code + 0x10)] = -7;
    }
    return roles;
}();
inline constexpr std::int8_t InlineRoleOfChar(unsigned char byte)
{
    return byte == 0xAF ? 7 : byte == 0xAE ? -7 : 0;
}

// Letters before which a pending line-end hyphen is joined.
inline constexpr TByteSet CapitalLetters = MakeByteRanges({{0x41, 0x5A}, {0x8E, 0x8E}, {0x99, 0x9A}});
inline constexpr TByteSet SmallLetters =
    MakeByteRanges({{0x61, 0x7A}, {0x81, 0x8D}, {0x93, 0x98}, {0xA0, 0xA4}, {0xE1, 0xE1}});
// The smaller set of small letters that a hyphen inside a table cell looks at.
inline constexpr TByteSet CellSmallLetters =
    MakeByteSet({0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x6F,
        0x70, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0x81, 0x84, 0x94, 0xE1});

// Box-drawing roles of the table conversion.
inline constexpr TByteSet TableCorners = MakeByteSet({0xC9, 0xD5, 0xD6, 0xDA});
inline constexpr TByteSet TopRightCorners = MakeByteSet({0xB7, 0xB8, 0xBB, 0xBF});
inline constexpr TByteSet DownTees = MakeByteSet({0xC2, 0xCB, 0xD1, 0xD2});
inline constexpr TByteSet HorizontalLines = MakeByteSet({0xC4, 0xCD});
inline constexpr TByteSet BottomLeftCorners = MakeByteSet({0xC0, 0xC8, 0xD3, 0xD4});
inline constexpr TByteSet RightTees = MakeByteSet({0xC3, 0xC6, 0xC7, 0xCC});
inline constexpr TByteSet VerticalLines = MakeByteSet({0xB3, 0xBA});
inline constexpr TByteSet CellCorners = MakeByteSet(
    {0xC2, 0xC3, 0xC5, 0xC6, 0xC7, 0xC9, 0xCB, 0xCC, 0xCE, 0xD1, 0xD2, 0xD5, 0xD6, 0xD7, 0xD8, 0xDA});
inline constexpr TByteSet RightEdgeStops = MakeByteSet(
    {0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xBB, 0xBF, 0xC2, 0xC5, 0xCB, 0xCE, 0xD1, 0xD2, 0xD7, 0xD8});
inline constexpr TByteSet BottomEdgeStops = MakeByteSet(
    {0xC0, 0xC1, 0xC3, 0xC5, 0xC6, 0xC7, 0xC8, 0xCA, 0xCC, 0xCE, 0xCF, 0xD0, 0xD3, 0xD4, 0xD7, 0xD8});

inline bool In(const TByteSet& set, unsigned char byte)
{
    return set[byte];
}

} // namespace quorvex
