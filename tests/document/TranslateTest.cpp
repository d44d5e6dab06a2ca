// Characters, control sequences, plain texts and raw indexes.

#include <gtest/gtest.h>

#include <map>

#include "DocumentFixture.h"

namespace quorvex::testing {
namespace {

TEST(TranslateChar, EntitiesSignsAndBoxCharacters)
{
    const std::map<int, std::string> expected = {{0x22, "&quot;"}, {0x26, "&amp;"}, {0x3C, "&lt;"},
        {0x3E, "&gt;"}, {0x81, "&uuml;"}, {0x84, "&auml;"}, {0x89, "&euml;"}, {0x8B, "&iuml;"},
        {0x8E, "&Auml;"}, {0x94, "&ouml;"}, {0x99, "&Ouml;"}, {0x9A, "&Uuml;"}, {0xAE, "</font>"},
        {0xAF, "<font color=\"blue\">"}, {0xB3, "|"}, {0xBA, "|"}, {0xC4, "-"}, {0xCD, "="},
        {0xE1, "&szlig;"}, {0xF8, "&deg;"}, {0xFB, "sqrt "}, {0xFC, "<sup>3</sup>"}, {0xFD, "<sup>2</sup>"}};
    const std::vector<std::pair<int, int>> junctions = {
        {0xB4, 0xB9}, {0xBB, 0xC3}, {0xC5, 0xC8}, {0xCA, 0xCC}, {0xCE, 0xD4}, {0xD7, 0xD9}};
    for (int b = 0; b < 256; ++b) {
        std::string want(1, static_cast<char>(b));
        if (auto it = expected.find(b); it != expected.end()) want = it->second;
        for (auto [first, last] : junctions)
            if (b >= first && b <= last) want = "+";
        EXPECT_EQ(TZtFileInfoFa4::TranslateChar(static_cast<unsigned char>(b)), want) << "byte " << b;
    }
    // The top-left corners start tables and stay as they are here.
    for (int corner : {0xC9, 0xD5, 0xD6, 0xDA})
        EXPECT_EQ(TZtFileInfoFa4::TranslateChar(static_cast<unsigned char>(corner)),
            std::string(1, static_cast<char>(corner)));
}

class TranslateCodeTest : public ::testing::Test {
protected:
    // Runs the code at bytes[0] and returns its text.
    std::string Run(const std::string& bytes, std::int32_t& position)
    {
        return Document.TranslateCode(reinterpret_cast<const unsigned char*>(bytes.data()), position);
    }
    TClassicDocument Document;
};

TEST_F(TranslateCodeTest, IndentReadsTwoOperandsLowByteFirst)
{
    std::int32_t position = 0;
    EXPECT_EQ(Run(Bytes({0x21, 0x0A, 0x01}), position), "");
    EXPECT_TRUE(Document.IndentPending);
    EXPECT_EQ(Document.Indent, 266);
    EXPECT_EQ(position, 2);
    EXPECT_FALSE(Document.ParagraphEnd);
}

TEST_F(TranslateCodeTest, ParagraphEndLeavesIndentPendingAlone)
{
    std::int32_t position = 0;
    EXPECT_EQ(Run(Bytes({0x01}), position), "");
    EXPECT_TRUE(Document.ParagraphEnd);
    EXPECT_FALSE(Document.IndentPending);
    EXPECT_EQ(position, 0);
}

TEST_F(TranslateCodeTest, TextsOfTheCodeTable)
{
    const std::vector<std::pair<int, std::string>> cases = {{0x04, "&shy;"}, {0x40, ""}, {0x41, ""},
        {0x42, ""}, {0x80, "<b>"}, {0x81, "<u>"}, {0x83, "<sup>"}, {0x84, "<sub>"}, {0x85, "<i>"},
        {0x86, "<s>"}, {0x88, "<font class=\"font1\">"}, {0x8C, "<font class=\"font5\">"},
        {0x8F, "<font class=\"font8\">"}, {0x90, "</b>"}, {0x91, "</u>"}, {0x93, "</sup>"}, {0x94, "</sub>"},
        {0x95, "</i>"}, {0x96, "</s>"}, {0x98, "</font>"}, {0x9F, "</font>"}, {0x82, "#$FF82"},
        {0x87, "#$FF87"}, {0x92, "#$FF92"}, {0x97, "#$FF97"}, {0x0A, "#$FF0A"}, {0xFF, "#$FFFF"},
        {0x00, "#$FF00"}};
    for (const auto& [code, text] : cases) {
        std::int32_t position = 0;
        EXPECT_EQ(Run(Bytes({code, 0x55, 0x55}), position), text) << "code " << code;
        EXPECT_EQ(position, 0) << "code " << code;
    }
    EXPECT_FALSE(Document.ParagraphEnd);
    EXPECT_FALSE(Document.IndentPending);
}

TEST_F(TranslateCodeTest, PassedOverOperandsChangeNothing)
{
    for (int code : {0x22, 0x24}) {
        std::int32_t position = 0;
        EXPECT_EQ(Run(Bytes({code, 0x01, 0x21}), position), "");
        EXPECT_EQ(position, 2);
    }
    EXPECT_FALSE(Document.ParagraphEnd);
    EXPECT_FALSE(Document.IndentPending);
    EXPECT_EQ(Document.Indent, 0);
}

class PlainTextTest : public ::testing::Test {
protected:
    TClassicDocument Document;
};

TEST_F(PlainTextTest, LimitBoundsBytesAndSequencesAreConsumedWhole)
{
    LoadLines(Document, {Bytes({0x41, 0x42, 0xFF, 0x80, 0x43}), Bytes({0xFF, 0x80, 0x41})});
    const TFa4LineEntry& line = Document.GetLine(0);
    EXPECT_EQ(Document.PlainText(line, 2147483647), "ABC");
    EXPECT_EQ(Document.PlainText(line, 3), "AB");
    EXPECT_EQ(Document.PlainText(line, 0), "");
    EXPECT_EQ(Document.LinePlainText(0, 2147483647), "ABC");
    EXPECT_EQ(Document.RawIndex(line, 2), 2);
    EXPECT_EQ(Document.RawIndex(line, 3), 5);
    EXPECT_EQ(Document.RawIndex(line, 9), 5);
    const TFa4LineEntry& leading = Document.GetLine(1);
    EXPECT_EQ(Document.RawIndex(leading, 0), 0);
    EXPECT_EQ(Document.RawIndex(leading, 1), 3);
}

TEST_F(PlainTextTest, ReadingRunsTheCodesItPasses)
{
    LoadLines(Document, {Bytes({0x41, 0xFF, 0x21, 0x07, 0x00, 0x42, 0xFF, 0x01, 0x43})});
    EXPECT_EQ(Document.LinePlainText(0, 2147483647), "ABC");
    EXPECT_TRUE(Document.ParagraphEnd);
    EXPECT_TRUE(Document.IndentPending);
    EXPECT_EQ(Document.Indent, 7);

    // RawIndex stops after the counted character: the later paragraph end is
    // not reached.
    Document.ParagraphEnd = Document.IndentPending = false;
    EXPECT_EQ(Document.RawIndex(Document.GetLine(0), 2), 6);
    EXPECT_TRUE(Document.IndentPending);
    EXPECT_FALSE(Document.ParagraphEnd);
}

TEST_F(PlainTextTest, SequenceCutByTheLineEndTakesTheNextBytes)
{
    // Line 0 ends in the code byte 0xFF; its code 0x21 and operands are the
    // first bytes of line 1.
    LoadLines(Document, {Bytes({0x41, 0xFF}), Bytes({0x21, 0x03, 0x00, 0x42})});
    EXPECT_EQ(Document.LinePlainText(0, 2147483647), "A");
    EXPECT_TRUE(Document.IndentPending);
    EXPECT_EQ(Document.Indent, 3);
    EXPECT_EQ(Document.RawIndex(Document.GetLine(0), 5), 5);
}

TEST_F(PlainTextTest, SequencePastTheEndOfTheDataChangesNothing)
{
    // The last line ends the file with 0xFF 0x21 0x05: one operand is missing.
    LoadLines(Document, {Bytes({0x41, 0xFF, 0x21, 0x05})});
    EXPECT_EQ(Document.LinePlainText(0, 2147483647), "A");
    EXPECT_FALSE(Document.IndentPending);
    EXPECT_EQ(Document.Indent, 0);
    EXPECT_EQ(Document.ConvertLines(0, 0), "<!-- LINE 0 -->A");

    // A lone 0xFF as the file's last byte: no code at all.
    LoadLines(Document, {Bytes({0x42, 0xFF})});
    EXPECT_EQ(Document.ConvertLines(0, 0), "<!-- LINE 0 -->B");
    const unsigned char* bytes = Document.LineBytes(Document.GetLine(0));
    std::int32_t position = 2;
    EXPECT_EQ(Document.TranslateCode(bytes, position), "");
    EXPECT_EQ(position, 2);
}

TEST_F(PlainTextTest, CharacterReferencesForUntranslatedHighBytes)
{
    LoadLines(Document, {Bytes({0x63, 0x61, 0x66, 0x82, 0x20, 0x81, 0xB0, 0xC4, 0x26, 0xC9, 0x78, 0xE3})});
    EXPECT_EQ(Document.ConvertLines(0, 0), "<!-- LINE 0 -->caf&#233; &uuml;&#9617;-&amp;+x&#960;");
    std::string out;
    Document.AppendChar(out, 0xC9);
    EXPECT_EQ(out, "&#9556;");
    Document.SetCharOutput(TCharOutput::Bytes);
    EXPECT_EQ(Document.ConvertLines(0, 0), "<!-- LINE 0 -->caf\x82 &uuml;\xB0-&amp;+x\xE3");
}

} // namespace
} // namespace quorvex::testing
