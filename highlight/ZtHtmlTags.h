// Names the HTML scanner knows as tags, and the NameHash buckets that let
// a tag name be compared with at most three candidates.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quorvex::html {

// Place in the alphabet for letters (either case), 123 for "!", 122 for "/",
// 0 for everything else. Constant, so every highlighter shares it read-only.
constexpr std::array<std::uint8_t, 256> CharValue = [] {
    std::array<std::uint8_t, 256> table{};
    for (int letter = 0; letter < 26; ++letter) {
        table['A' + letter] = static_cast<std::uint8_t>(letter + 1);
        table['a' + letter] = static_cast<std::uint8_t>(letter + 1);
    }
    table['!'] = 123;
    table['/'] = 122;
    return table;
}();

constexpr bool IsDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

// Characters that may start or continue the letter part of a tag name.
constexpr bool IsNameLetter(unsigned char c)
{
    return CharValue[c] != 0;
}

constexpr int BucketCount = 244; // hash values 0 to 243
constexpr int BucketDepth = 3;

// Sum of the character values of the letters, "!" and "/" plus the value of
// each digit. Counting stops at BucketCount: every larger sum means the same
// (no known tag), and stopping there keeps very long names from overflowing.
constexpr int NameHash(std::string_view name)
{
    int hash = 0;
    for (unsigned char c : name) {
        hash += IsDigit(c) ? c - '0' : CharValue[c];
        if (hash >= BucketCount) return BucketCount;
    }
    return hash;
}

// In capitals; compared with the case of ASCII letters ignored.
constexpr std::array<std::string_view, 198> KnownTags = {
    // Opening names.
    "A",
    "ABBR",
    "ACRONYM",
    "ADDRESS",
    "APPLET",
    "AREA",
    "B",
    "BASE",
    "BASEFONT",
    "BGSOUND",
    "BIG",
    "BLINK",
    "BLOCKQUOTE",
    "BODY",
    "BR",
    "BUTTON",
    "CAPTION",
    "CENTER",
    "CITE",
    "CODE",
    "COL",
    "COLGROUP",
    "COMMENT",
    "DD",
    "DEL",
    "DFN",
    "DIR",
    "DIV",
    "DL",
    "DT",
    "EM",
    "EMBED",
    "FIELDSET",
    "FONT",
    "FORM",
    "FRAME",
    "FRAMESET",
    "H1",
    "H2",
    "H3",
    "H4",
    "H5",
    "H6",
    "HEAD",
    "HR",
    "HTML",
    "I",
    "IFRAME",
    "ILAYER",
    "IMG",
    "INPUT",
    "INS",
    "ISINDEX",
    "KBD",
    "KEYGEN",
    "LABEL",
    "LAYER",
    "LEGEND",
    "LI",
    "LINK",
    "LISTING",
    "MAP",
    "MARQUEE",
    "MENU",
    "META",
    "MULTICOL",
    "NEXTID",
    "NOBR",
    "NOEMBED",
    "NOFRAMES",
    "NOLAYER",
    "NOSCRIPT",
    "OBJECT",
    "OL",
    "OPTION",
    "P",
    "PARAM",
    "PLAINTEXT",
    "PRE",
    "Q",
    "S",
    "SAMP",
    "SCRIPT",
    "SELECT",
    "SERVER",
    "SMALL",
    "SPACER",
    "SPAN",
    "STRIKE",
    "STRONG",
    "STYLE",
    "SUB",
    "SUP",
    "TABLE",
    "TBODY",
    "TD",
    "TEXTAREA",
    "TFOOT",
    "TH",
    "THEAD",
    "TITLE",
    "TR",
    "TT",
    "U",
    "UL",
    "VAR",
    "WBR",
    "XMP",

    // Closing names: every opening name except those of empty elements.
    "/A",
    "/ABBR",
    "/ACRONYM",
    "/ADDRESS",
    "/APPLET",
    "/B",
    "/BIG",
    "/BLINK",
    "/BLOCKQUOTE",
    "/BODY",
    "/BUTTON",
    "/CAPTION",
    "/CENTER",
    "/CITE",
    "/CODE",
    "/COLGROUP",
    "/COMMENT",
    "/DD",
    "/DEL",
    "/DFN",
    "/DIR",
    "/DIV",
    "/DL",
    "/DT",
    "/EM",
    "/EMBED",
    "/FIELDSET",
    "/FONT",
    "/FORM",
    "/FRAMESET",
    "/H1",
    "/H2",
    "/H3",
    "/H4",
    "/H5",
    "/H6",
    "/HEAD",
    "/HTML",
    "/I",
    "/IFRAME",
    "/ILAYER",
    "/INS",
    "/KBD",
    "/LABEL",
    "/LAYER",
    "/LEGEND",
    "/LI",
    "/LISTING",
    "/MAP",
    "/MARQUEE",
    "/MENU",
    "/MULTICOL",
    "/NOBR",
    "/NOEMBED",
    "/NOFRAMES",
    "/NOLAYER",
    "/NOSCRIPT",
    "/OBJECT",
    "/OL",
    "/OPTION",
    "/P",
    "/PRE",
    "/Q",
    "/S",
    "/SAMP",
    "/SCRIPT",
    "/SELECT",
    "/SERVER",
    "/SMALL",
    "/SPAN",
    "/STRIKE",
    "/STRONG",
    "/STYLE",
    "/SUB",
    "/SUP",
    "/TABLE",
    "/TBODY",
    "/TD",
    "/TEXTAREA",
    "/TFOOT",
    "/TH",
    "/THEAD",
    "/TITLE",
    "/TR",
    "/TT",
    "/U",
    "/UL",
    "/VAR",
    "/XMP",

    // The declaration.
    "!DOCTYPE",
};

constexpr std::uint8_t NoTag = 0xFF;
using TTagBucket = std::array<std::uint8_t, BucketDepth>; // indices into KnownTags

constexpr std::array<TTagBucket, BucketCount> TagBuckets = [] {
    std::array<TTagBucket, BucketCount> buckets{};
    for (auto& bucket : buckets) bucket.fill(NoTag);
    for (std::size_t index = 0; index < KnownTags.size(); ++index) {
        const int hash = NameHash(KnownTags[index]);
        if (hash >= BucketCount) throw "a known tag hashes outside the buckets";
        TTagBucket& bucket = buckets[static_cast<std::size_t>(hash)];
        std::size_t slot = 0;
        while (slot < bucket.size() && bucket[slot] != NoTag) ++slot;
        if (slot == bucket.size()) throw "a tag bucket overflows";
        bucket[slot] = static_cast<std::uint8_t>(index);
    }
    return buckets;
}();

// Equal names: letters by their character value (so case is ignored),
// every other character exactly.
constexpr bool SameName(std::string_view tag, std::string_view name)
{
    if (tag.size() != name.size()) return false;
    for (std::size_t i = 0; i < tag.size(); ++i) {
        const auto a = static_cast<unsigned char>(tag[i]);
        const auto b = static_cast<unsigned char>(name[i]);
        if (CharValue[a] != CharValue[b] || (CharValue[a] == 0 && a != b)) return false;
    }
    return true;
}

// Index into KnownTags, or -1. `hash` is NameHash(name).
constexpr int FindKnownTag(std::string_view name, int hash)
{
    if (hash < 0 || hash >= BucketCount) return -1;
    for (std::uint8_t index : TagBuckets[static_cast<std::size_t>(hash)]) {
        if (index == NoTag) break;
        if (SameName(KnownTags[index], name)) return index;
    }
    return -1;
}

constexpr int FindKnownTag(std::string_view name)
{
    return FindKnownTag(name, NameHash(name));
}

} // namespace quorvex::html
