// The tag and escape lists: their sizes and the hash spread catch a name
// mistyped, left out or repeated.
#include "ZtHtmlEscapes.h"
#include "ZtHtmlTags.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace quorvex::html {
namespace {

std::string Lower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(FoldAscii(static_cast<unsigned char>(c)));
    return lower;
}

TEST(HtmlTables, CharacterValues)
{
    EXPECT_EQ(CharValue['A'], 1);
    EXPECT_EQ(CharValue['a'], 1);
    EXPECT_EQ(CharValue['Z'], 26);
    EXPECT_EQ(CharValue['z'], 26);
    EXPECT_EQ(CharValue['!'], 123);
    EXPECT_EQ(CharValue['/'], 122);
    int nonZero = 0;
    for (int c = 0; c < 256; ++c) nonZero += CharValue[static_cast<std::size_t>(c)] != 0;
    EXPECT_EQ(nonZero, 54);
    EXPECT_EQ(CharValue['0'], 0);
    EXPECT_EQ(CharValue[0xC0], 0);
}

TEST(HtmlTables, NameHash)
{
    EXPECT_EQ(NameHash("/BLOCKQUOTE"), 243);
    EXPECT_EQ(NameHash("/blockquote"), 243);
    EXPECT_EQ(NameHash("H1"), 9);
    EXPECT_EQ(NameHash("h6"), 14);
    EXPECT_EQ(NameHash(""), 0);
    EXPECT_EQ(NameHash("!DOCTYPE"), 123 + 4 + 15 + 3 + 20 + 25 + 16 + 5);
    EXPECT_EQ(NameHash(std::string(100000, '!')), BucketCount);
}

TEST(HtmlTables, KnownTagCountsAndSpread)
{
    EXPECT_EQ(KnownTags.size(), 198u);
    std::set<std::string> distinct;
    int largest = 0;
    std::string largestName;
    for (std::string_view tag : KnownTags) {
        distinct.insert(Lower(tag));
        if (NameHash(tag) > largest) {
            largest = NameHash(tag);
            largestName = tag;
        }
    }
    EXPECT_EQ(distinct.size(), 198u);
    EXPECT_EQ(largest, 243);
    EXPECT_EQ(largestName, "/BLOCKQUOTE");

    int nonEmpty = 0;
    std::size_t filled = 0;
    for (const TTagBucket& bucket : TagBuckets) {
        const auto used = static_cast<std::size_t>(
            std::count_if(bucket.begin(), bucket.end(), [](std::uint8_t i) { return i != NoTag; }));
        nonEmpty += used > 0;
        filled += used;
    }
    EXPECT_EQ(nonEmpty, 135);
    EXPECT_EQ(filled, 198u);
}

TEST(HtmlTables, ClosingNamesAreOpeningNamesOfNonEmptyElements)
{
    const std::set<std::string> empty = {"AREA", "BASE", "BASEFONT", "BGSOUND", "BR", "COL", "FRAME", "HR",
        "IMG", "INPUT", "ISINDEX", "KEYGEN", "LINK", "META", "NEXTID", "PARAM", "PLAINTEXT", "SPACER", "WBR"};
    std::vector<std::string> opening, closing, other;
    for (std::string_view tag : KnownTags) {
        if (tag.front() == '/')
            closing.emplace_back(tag.substr(1));
        else if (tag.front() == '!')
            other.emplace_back(tag);
        else
            opening.emplace_back(tag);
    }
    EXPECT_EQ(opening.size(), 108u);
    EXPECT_EQ(closing.size(), 89u);
    EXPECT_EQ(other, std::vector<std::string>{"!DOCTYPE"});
    std::vector<std::string> expected;
    for (const std::string& name : opening)
        if (!empty.contains(name)) expected.push_back(name);
    EXPECT_EQ(closing, expected);
}

TEST(HtmlTables, EveryKnownTagIsFoundInAnyCase)
{
    for (std::size_t index = 0; index < KnownTags.size(); ++index) {
        EXPECT_EQ(FindKnownTag(KnownTags[index]), static_cast<int>(index)) << KnownTags[index];
        EXPECT_EQ(FindKnownTag(Lower(KnownTags[index])), static_cast<int>(index)) << KnownTags[index];
    }
    for (const char* name : {"/BR", "/IMG", "BLOCKQUOTES", "H7", "H0", "A1", "DOCTYPE", "/!DOCTYPE", "", "1"})
        EXPECT_EQ(FindKnownTag(name), -1) << name;
}

TEST(HtmlTables, EscapeList)
{
    EXPECT_EQ(EscapeNames.size(), 249u);
    EXPECT_EQ(LongestEscapeName, 8u);
    std::set<std::string_view> exact(EscapeNames.begin(), EscapeNames.end());
    EXPECT_EQ(exact.size(), 249u);
    for (std::string_view name : EscapeNames) {
        EXPECT_TRUE(std::all_of(name.begin(), name.end(), [](char c) {
            return IsAsciiAlnum(static_cast<unsigned char>(c));
        })) << name;
        const std::string text = "&" + std::string(name) + ";tail";
        EXPECT_EQ(MatchEscape(text), name.size() + 2) << name;
        EXPECT_EQ(MatchEscape("&" + Lower(name) + ";"), name.size() + 2) << name;
    }
    EXPECT_EQ(EscapeNames.front(), "Alpha");
    EXPECT_EQ(EscapeNames.back(), "circ");
}

TEST(HtmlTables, EscapeMatchNeedsTheSemicolon)
{
    for (const char* text : {"&amp", "&amp ;", "&;", "&", "&am;", "&ampamp;", "&thetasymx;", "&#169;"})
        EXPECT_EQ(MatchEscape(text), 0u) << text;
    EXPECT_EQ(MatchEscape("&NBSP;"), 6u);
}

} // namespace
} // namespace quorvex::html
