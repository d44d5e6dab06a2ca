// Line ranges: joining lines, hyphens, spaces, rules, paragraphs and indents.

#include <gtest/gtest.h>

#include "DocumentFixture.h"

namespace quorvex::testing {
namespace {

class ConvertLinesTest : public ::testing::Test {
protected:
    // Converts the given lines placed from line 12 on.
    std::string Body(const std::vector<std::string>& body)
    {
        LoadLines(Document, WithOuterLines(body));
        return Document.ConvertLines(12, 12 + static_cast<std::int32_t>(body.size()) - 1);
    }
    // Converts one line placed at 12 and returns what follows its comment.
    std::string One(const std::string& line)
    {
        const std::string html = Body({line});
        const std::string comment = "<!-- LINE 12 -->";
        EXPECT_EQ(html.substr(0, comment.size()), comment);
        return html.substr(comment.size());
    }
    TClassicDocument Document;
};

TEST_F(ConvertLinesTest, EmptyRangesAndSections)
{
    LoadLines(Document, WithOuterLines({}));
    Document.IndentPending = Document.ParagraphEnd = true;
    Document.ParagraphTag = "<p>";
    EXPECT_EQ(Document.ConvertLines(5, 4), "");
    EXPECT_FALSE(Document.IndentPending);
    EXPECT_FALSE(Document.ParagraphEnd);
    EXPECT_EQ(Document.ParagraphTag, "");
    EXPECT_EQ(Document.LineCount(), 12);
    EXPECT_EQ(Document.ConvertSection(secBody), "");
    EXPECT_EQ(Document.ConvertLines(7, 7), "<!-- LINE 7 -->x");
}

TEST_F(ConvertLinesTest, LinesFlowOnUntilAParagraphEnds)
{
    EXPECT_EQ(Body({"Haus", "Dach"}), "<!-- LINE 12 -->Haus\r<!-- LINE 13 -->Dach");
    EXPECT_EQ(Body({"Erste Zeile", "zweite Zeile\xFF\x01", "Neuer Absatz\xFF\x01"}),
        "<!-- LINE 12 -->Erste Zeile\r<!-- LINE 13 -->zweite Zeile<br>\r"
        "<!-- LINE 14 -->Neuer Absatz<br>");
    // An empty line ends the count: the header section still holds the next.
    LoadLines(Document, {"a", "b", "c", "d", "e", "f", "", "x"});
    EXPECT_EQ(Document.ConvertLines(6, 7), "<!-- LINE 6 -->\r<!-- LINE 7 -->x");
    LoadLines(Document, {"a", "b", "c", "d", "e", "f", "g", "", "i"});
    EXPECT_EQ(Document.ConvertLines(7, 7), "<!-- LINE 7 -->");
}

TEST_F(ConvertLinesTest, HyphenAtTheLineEndJoinsBeforeTheNextLetter)
{
    // The line that completes the word follows the join text directly: a CR
    // there shows in browsers as a space inside the word.
    EXPECT_EQ(Body({"Wort- ", "teil"}), "<!-- LINE 12 -->Wort&shy;<!-- LINE 13 -->teil");
    EXPECT_EQ(
        Body({"Wort- ", "Dach", "Haus"}), "<!-- LINE 12 -->Wort-<!-- LINE 13 -->Dach\r<!-- LINE 14 -->Haus");
    EXPECT_EQ(Body({"gro\xE1- ", "\x84rger"}), "<!-- LINE 12 -->gro&szlig;&shy;<!-- LINE 13 -->&auml;rger");
    // Across a line without letters the join waits, and lands after that line.
    EXPECT_EQ(
        Body({"Wort- ", "12", "teil"}), "<!-- LINE 12 -->Wort\r<!-- LINE 13 -->12&shy;<!-- LINE 14 -->teil");
    // A control sequence before the letter still starts the line; a letter
    // after other text does not continue the word, so the lines stay apart.
    EXPECT_EQ(Body({"Wort- ", "\xFF\x80teil"}), "<!-- LINE 12 -->Wort&shy;<!-- LINE 13 --><b>teil");
    EXPECT_EQ(Body({"Wort- ", "12 Seiten"}), "<!-- LINE 12 -->Wort-\r<!-- LINE 13 -->12 Seiten");
    // A hyphen that is the last byte, or whose space is not the last byte.
    EXPECT_EQ(One("Wort-"), "Wort-");
    EXPECT_EQ(One("Wort- x"), "Wort- x");
}

// A whole document that fails to convert gives nothing back: the document
// keeps the state of the last conversion that succeeded.
TEST_F(ConvertLinesTest, AFailedDocumentLeavesTheStateAsItWas)
{
    Body({"\xFF\x21\x05\x03Text"});
    const std::string tag = Document.ParagraphTag;
    ASSERT_FALSE(tag.empty());
    LoadLines(Document, WithOuterLines({"  \xDA\xC4\xBF", "x"}));
    EXPECT_THROW(BuildHtml("", Document), ERangeError);
    EXPECT_EQ(Document.ParagraphTag, tag);
    EXPECT_EQ(Document.Indent, 773);
}

TEST_F(ConvertLinesTest, ClassicHyphenJoinKeepsTheLineBreak)
{
    Document.SetHyphenJoin(hjLineBreak);
    EXPECT_EQ(Body({"Wort- ", "teil"}), "<!-- LINE 12 -->Wort&shy;\r<!-- LINE 13 -->teil");
    EXPECT_EQ(Body({"Wort- ", "Dach"}), "<!-- LINE 12 -->Wort-\r<!-- LINE 13 -->Dach");
    EXPECT_EQ(Body({"Wort- ", "12 Seiten"}), "<!-- LINE 12 -->Wort-\r<!-- LINE 13 -->12 Seiten");
    EXPECT_EQ(Body({"Wort- ", "12", "teil"}),
        "<!-- LINE 12 -->Wort\r<!-- LINE 13 -->12&shy;\r<!-- LINE 14 -->teil");
}

TEST_F(ConvertLinesTest, SpacesBecomeNonBreakingAfterTheFirstRun)
{
    EXPECT_EQ(One("a  b c"), "a&nbsp;&nbsp;b&nbsp;c");
    EXPECT_EQ(One("a b c"), "a b c");
    EXPECT_EQ(One("ab  "), "ab  ");
    EXPECT_EQ(One(" a b  "), "&nbsp;a&nbsp;b  ");
    // Long runs are scanned sixteen bytes at a time: a run of spaces that
    // starts on the last byte of such a block still counts.
    EXPECT_EQ(One("abcdefghijklmnop  qrstuvwxyz a"), "abcdefghijklmnop&nbsp;&nbsp;qrstuvwxyz&nbsp;a");
    EXPECT_EQ(One("abcdefghij klmnop <qrstuvwxyz \x82"), "abcdefghij klmnop &lt;qrstuvwxyz &#233;");
}

TEST_F(ConvertLinesTest, AlignedOneLineParagraphIsSetFixed)
{
    EXPECT_EQ(One("  Name\xFF\x01"), "<font class=\"fixed\">&nbsp;&nbsp;Name</font><br>");
    EXPECT_EQ(Body({"Satz\xFF\x01", "  Name\xFF\x01"}),
        "<!-- LINE 12 -->Satz<br>\r<!-- LINE 13 --><font class=\"fixed\">&nbsp;&nbsp;Name</font><br>");
    EXPECT_EQ(Body({"Satz", "  Name\xFF\x01"}), "<!-- LINE 12 -->Satz\r<!-- LINE 13 -->&nbsp;&nbsp;Name<br>");
    EXPECT_EQ(Body({"Ende\xFF\x01"}), "<!-- LINE 12 -->Ende<br>");
}

TEST_F(ConvertLinesTest, RulesAndRunsOfRuleCharacters)
{
    EXPECT_EQ(Body({std::string(10, '\xC4'), "Text"}), "<!-- LINE 12 --><hr>\r<!-- LINE 13 -->Text");
    EXPECT_EQ(One("  \xCD\xCD\xCD  "), "&nbsp;&nbsp;<hr>\r  ");
    EXPECT_EQ(One("Summe \xCD\xCD\xCD\xCD 12\xFF\x01"), "<font class=\"fixed\">Summe ---- 12</font><br>");
    EXPECT_EQ(One("a\xC4\xC4\xCD"
                  "b"),
        "a---b");
}

TEST_F(ConvertLinesTest, WholeLineRuleStepsByThePlainLengthAndSetsTheLinesState)
{
    // The rule's reading of the whole line meets the indent code that the
    // conversion then steps into: its operand bytes come out as characters.
    EXPECT_EQ(One(std::string("\xC4\xC4\xFF\x21\x05\x00\xC4\xC4", 8)),
        "<p class=\"indent\" style=\"margin-left:20pt; text-indent:-20pt\"><hr>\r" +
            std::string("\x05\x00", 2) + "<hr>\r");
}

TEST_F(ConvertLinesTest, CornerThatStartsNoTableIsAPlus)
{
    EXPECT_EQ(One("\xDA Ecke"), "+ Ecke");
    EXPECT_EQ(One("a\xC9x"), "a+x");
}

TEST_F(ConvertLinesTest, IndentedParagraphs)
{
    EXPECT_EQ(One(std::string("\xFF\x21\x05\x00", 4) + "Text\xFF\x01"),
        "<p class=\"indent\" style=\"margin-left:20pt; text-indent:-20pt\">Text<br>");
    EXPECT_EQ(One(std::string("\xFF\x21\x00\x00Text\xFF\x01", 10)),
        "<p style=\"margin-left:0; text-indent:0\">Text<br>");
    EXPECT_EQ(
        One(std::string("\xFF\x21\x00\x00\xFF\x01", 6)), "<p style=\"margin-left:0; text-indent:0\"></p>");
    EXPECT_EQ(One("\xFF\x21\x05\x03Text"),
        "<p class=\"indent\" style=\"margin-left:20pt; text-indent:-12pt\">Text");
    EXPECT_EQ(Document.ParagraphTag, "<p class=\"indent\" style=\"margin-left:20pt; text-indent:-12pt\">");
    EXPECT_EQ(Document.Indent, 773);
    // The indent holds for its line only; the tag stays as last built.
    EXPECT_EQ(Body({std::string("\xFF\x21\xFF\x00", 4) + "  Name\xFF\x01", "Weiter"}),
        "<!-- LINE 12 --><p class=\"indent\" style=\"margin-left:1020pt; text-indent:-1020pt\">"
        "<font class=\"fixed\">&nbsp;&nbsp;Name</font><br>\r<!-- LINE 13 -->Weiter");
}

TEST_F(ConvertLinesTest, ControlCodesBecomeTags)
{
    EXPECT_EQ(One("\xFF\x80"
                  "fett\xFF\x90 \xFF\x8Agro\xFF\x9A \xAF"
                  "blau\xAE \xFF\x82"),
        "<b>fett</b> <font class=\"font3\">gro</font> <font color=\"blue\">blau</font> #$FF82");
}

// After a table that runs out of lines, the conversion goes on in the middle
// of the next line's indent code: the rule byte is an operand and the line's
// stripped plain text is empty. That must not count as a whole-line rule
// (it would move back by one and never end): it is a run of one.
TEST_F(ConvertLinesTest, RuleByteInsideACodeAfterATableThatRanOut)
{
    LoadLines(Document, WithOuterLines({"\xDA", "\xB3", std::string("\x20\xFF\x21\xC4\x00", 5)}));
    EXPECT_EQ(Document.ConvertLines(12, 13),
        std::string("<!-- LINE 14 --><p class=\"indent\" style=\"margin-left:784pt; text-indent:-784pt\">") +
            TableStart + TableEnd + std::string("!-\x00", 3));
}

} // namespace
} // namespace quorvex::testing
