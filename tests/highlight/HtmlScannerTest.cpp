// The HTML scanner, rule by rule: each case scans one line (or two) and
// compares the whole token list and the state the line ends in.
#include "ScanHelpers.h"
#include "ZtDefaultPreferences.h"

#include <gtest/gtest.h>

namespace quorvex::test {
namespace {

using Tokens = std::vector<TToken>;

TEST(HtmlScannerTags, WorkedExampleStyleLine)
{
    const TLineScan scan = ScanLine("<style type=\"text/css\">");
    EXPECT_EQ(scan.Tokens,
        (Tokens{{0, htkSymbol, "<"}, {1, htkTag, "style"}, {6, htkSpace, " "}, {7, htkIdentifier, "type"},
            {11, htkSymbol, "="}, {12, htkValue, "\"text/css\""}, {22, htkSymbol, ">"}}));
    EXPECT_EQ(scan.LineEndColumn, 23);
    EXPECT_EQ(scan.EndState, hsText);
}

TEST(HtmlScannerTags, StatesAfterEachTokenOfWorkedExample)
{
    TZtHtmlHighlighter scanner;
    const std::string line = "<style type=\"text/css\">";
    scanner.ResetScanState();
    scanner.StartLine(line, 1);
    std::vector<int> states;
    for (; !scanner.AtLineEnd(); scanner.NextToken()) states.push_back(scanner.ScanState());
    EXPECT_EQ(states,
        (std::vector<int>{
            hsTagName, hsAttributes, hsAttributes, hsAttributes, hsValue, hsAttributes, hsText}));
}

TEST(HtmlScannerTags, DefaultPreferencesText)
{
    TZtHtmlHighlighter scanner;
    scanner.ResetScanState();
    std::string_view text = DefaultPreferencesText;
    int index = 0;
    while (!text.empty()) {
        const std::size_t end = text.find("\r\n");
        ASSERT_NE(end, std::string_view::npos);
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 2);
        EXPECT_EQ(scanner.ScanState(), hsText) << line;
        const TLineScan scan = ScanLine(scanner, line, scanner.ScanState());
        EXPECT_EQ(scan.EndState, hsText) << line;
        if (line.front() == '<') {
            ASSERT_GE(scan.Tokens.size(), 3u) << line;
            EXPECT_EQ(scan.Tokens[0].Kind, htkSymbol) << line;
            EXPECT_EQ(scan.Tokens[1].Kind, htkTag) << line;
            EXPECT_EQ(scan.Tokens.back().Kind, htkSymbol) << line;
        } else {
            EXPECT_EQ(scan.Tokens, (Tokens{{0, htkText, std::string(line)}})) << line;
        }
        ++index;
    }
    EXPECT_EQ(index, 16);
    EXPECT_EQ(
        ScanLine("</head>").Tokens, (Tokens{{0, htkSymbol, "<"}, {1, htkTag, "/head"}, {6, htkSymbol, ">"}}));
}

TEST(HtmlScannerTags, LetterCaseOfTagNames)
{
    for (const char* line : {"<STYLE>", "<Style>", "<style>", "<!doctype>", "</BlockQuote>"})
        EXPECT_EQ(ScanLine(line).Tokens.at(1).Kind, htkTag) << line;
}

TEST(HtmlScannerTags, SlashBelongsToNames)
{
    EXPECT_EQ(ScanLine("<br/>").Tokens,
        (Tokens{{0, htkSymbol, "<"}, {1, htkUnknownTag, "br/"}, {4, htkSymbol, ">"}}));
    EXPECT_EQ(ScanLine("</br>").Tokens.at(1), (TToken{1, htkUnknownTag, "/br"}));
    EXPECT_EQ(ScanLine("</img>").Tokens.at(1), (TToken{1, htkUnknownTag, "/img"}));
    EXPECT_EQ(ScanLine("</p>").Tokens.at(1), (TToken{1, htkTag, "/p"}));
    EXPECT_EQ(ScanLine("</td>").Tokens.at(1), (TToken{1, htkTag, "/td"}));
}

TEST(HtmlScannerTags, UnknownNamesByHash)
{
    EXPECT_EQ(ScanLine("<blockquotes>").Tokens.at(1), (TToken{1, htkUnknownTag, "blockquotes"}));
    EXPECT_EQ(ScanLine("<verylongunknowntagname>").Tokens.at(1),
        (TToken{1, htkIdentifier, "verylongunknowntagname"}));
    // 243 is the largest known hash; an unknown name of exactly 243 is still
    // an unknown tag, one of 244 an identifier.
    EXPECT_EQ(ScanLine("<zzzzzzzzzi>").Tokens.at(1).Kind, htkUnknownTag); // 9*26 + 9 = 243
    EXPECT_EQ(ScanLine("<zzzzzzzzzj>").Tokens.at(1).Kind, htkIdentifier); // 244
}

TEST(HtmlScannerTags, DigitsEndTheName)
{
    EXPECT_EQ(ScanLine("<h1x>").Tokens,
        (Tokens{{0, htkSymbol, "<"}, {1, htkTag, "h1"}, {3, htkIdentifier, "x"}, {4, htkSymbol, ">"}}));
    EXPECT_EQ(ScanLine("<1abc>").Tokens,
        (Tokens{
            {0, htkSymbol, "<"}, {1, htkUnknownTag, "1"}, {2, htkIdentifier, "abc"}, {5, htkSymbol, ">"}}));
    EXPECT_EQ(ScanLine("<h7>").Tokens.at(1), (TToken{1, htkUnknownTag, "h7"}));
    EXPECT_EQ(ScanLine("<h12>").Tokens.at(1), (TToken{1, htkUnknownTag, "h12"}));
}

TEST(HtmlScannerTags, EmptyNameBeforeOtherCharacters)
{
    EXPECT_EQ(ScanLine("<?xml version=\"1.0\"?>").Tokens,
        (Tokens{{0, htkSymbol, "<"}, {1, htkUnknownTag, ""}, {1, htkIdentifier, "?xml"}, {5, htkSpace, " "},
            {6, htkIdentifier, "version"}, {13, htkSymbol, "="}, {14, htkValue, "\"1.0\""},
            {19, htkIdentifier, "?"}, {20, htkSymbol, ">"}}));
    EXPECT_EQ(ScanLine("<\xE9t\xE9>").Tokens,
        (Tokens{{0, htkSymbol, "<"}, {1, htkUnknownTag, ""}, {1, htkIdentifier, "\xE9t\xE9"},
            {4, htkSymbol, ">"}}));
}

TEST(HtmlScannerTags, DoctypeWithQuotedText)
{
    EXPECT_EQ(ScanLine("<!DOCTYPE html PUBLIC \"x y\">").Tokens,
        (Tokens{{0, htkSymbol, "<"}, {1, htkTag, "!DOCTYPE"}, {9, htkSpace, " "}, {10, htkIdentifier, "html"},
            {14, htkSpace, " "}, {15, htkIdentifier, "PUBLIC"}, {21, htkSpace, " "},
            {22, htkString, "\"x y\""}, {27, htkSymbol, ">"}}));
}

TEST(HtmlScannerTags, SecondOpenerStartsNewTag)
{
    EXPECT_EQ(ScanLine("<a <b>").Tokens,
        (Tokens{{0, htkSymbol, "<"}, {1, htkTag, "a"}, {2, htkSpace, " "}, {3, htkSymbol, "<"},
            {4, htkTag, "b"}, {5, htkSymbol, ">"}}));
}

TEST(HtmlScannerTags, UnclosedTagCarriesItsState)
{
    EXPECT_EQ(ScanLine("<a href").EndState, hsAttributes);
    EXPECT_EQ(ScanLine("<a href=").EndState, hsValue);
    EXPECT_EQ(ScanLine("<").EndState, hsTagName);
    EXPECT_EQ(ScanLine("x>", hsValue).Tokens, (Tokens{{0, htkValue, "x"}, {1, htkSymbol, ">"}}));
    EXPECT_EQ(ScanLine("p>", hsTagName).Tokens, (Tokens{{0, htkTag, "p"}, {1, htkSymbol, ">"}}));
}

TEST(HtmlScannerValues, SingleQuotesHaveNoMeaning)
{
    EXPECT_EQ(ScanLine("<img src='a b'>").Tokens,
        (Tokens{{0, htkSymbol, "<"}, {1, htkTag, "img"}, {4, htkSpace, " "}, {5, htkIdentifier, "src"},
            {8, htkSymbol, "="}, {9, htkValue, "'a"}, {11, htkSpace, " "}, {12, htkIdentifier, "b'"},
            {14, htkSymbol, ">"}}));
}

TEST(HtmlScannerValues, BareValueKeepsSpecialCharacters)
{
    EXPECT_EQ(ScanLine("<a href=x&y>").Tokens.at(5), (TToken{8, htkValue, "x&y"}));
    EXPECT_EQ(ScanLine("<a b=x\"=<'y>").Tokens.at(5), (TToken{5, htkValue, "x\"=<'y"}));
}

TEST(HtmlScannerValues, AttributeNameStopsAtQuoteAndEquals)
{
    EXPECT_EQ(ScanLine("a&b<c\"d\"=", hsAttributes).Tokens,
        (Tokens{{0, htkIdentifier, "a&b<c"}, {5, htkString, "\"d\""}, {8, htkSymbol, "="}}));
}

TEST(HtmlScannerValues, StringOnlyAfterEqualsIsAValue)
{
    EXPECT_EQ(ScanLine("\"a\"", hsTagName).Tokens, (Tokens{{0, htkString, "\"a\""}}));
    EXPECT_EQ(ScanLine("\"a\"", hsTagName).EndState, hsTagName);
    EXPECT_EQ(ScanLine("\"a\"b", hsValue).Tokens, (Tokens{{0, htkValue, "\"a\""}, {3, htkIdentifier, "b"}}));
}

TEST(HtmlScannerValues, OpenStringEndsWithTheLine)
{
    const TLineScan first = ScanLine("<a href=\"abc");
    EXPECT_EQ(first.Tokens.back(), (TToken{8, htkValue, "\"abc"}));
    EXPECT_EQ(first.EndState, hsAttributes);
    const TLineScan second = ScanLine("def\" x>", first.EndState);
    EXPECT_EQ(second.Tokens, (Tokens{{0, htkIdentifier, "def"}, {3, htkString, "\" x>"}}));
    EXPECT_EQ(second.EndState, hsAttributes);
}

TEST(HtmlScannerValues, OpenStringStopsBeforeLineBreak)
{
    EXPECT_EQ(ScanLine("\"ab\r\ncd\"", hsAttributes).Tokens,
        (Tokens{
            {0, htkString, "\"ab"}, {3, htkSpace, "\r\n"}, {5, htkIdentifier, "cd"}, {7, htkString, "\""}}));
}

TEST(HtmlScannerEscapes, TextAndEscapes)
{
    EXPECT_EQ(ScanLine("a &amp; b &#169; c &#12x d").Tokens,
        (Tokens{{0, htkText, "a "}, {2, htkEscape, "&amp;"}, {7, htkText, " b "}, {10, htkEscape, "&#169;"},
            {16, htkText, " c &#12"}, {23, htkText, "x d"}}));
    EXPECT_EQ(ScanLine("&#;").Tokens, (Tokens{{0, htkText, ""}, {0, htkEscape, "&#;"}}));
}

TEST(HtmlScannerEscapes, LetterCaseAndLength)
{
    EXPECT_EQ(ScanLine("&AMP;").Tokens, (Tokens{{0, htkText, ""}, {0, htkEscape, "&AMP;"}}));
    EXPECT_EQ(ScanLine("&Amp;x").Tokens.at(1), (TToken{0, htkEscape, "&Amp;"}));
    EXPECT_EQ(ScanLine("&THETASYM;").Tokens.at(1), (TToken{0, htkEscape, "&THETASYM;"}));
    EXPECT_EQ(ScanLine("&frac14;").Tokens.at(1), (TToken{0, htkEscape, "&frac14;"}));
    EXPECT_EQ(ScanLine("&sup2;&sup;").Tokens,
        (Tokens{{0, htkText, ""}, {0, htkEscape, "&sup2;"}, {6, htkText, ""}, {6, htkEscape, "&sup;"}}));
}

TEST(HtmlScannerEscapes, NonEscapesAreText)
{
    for (const char* line : {"a & b", "&amp", "&ampx;", "&;", "&nbsp ;", "&bogus;", "&euro"})
        EXPECT_EQ(ScanLine(line).Tokens, (Tokens{{0, htkText, line}})) << line;
    // "&#" and its digits end a text token even without a ";".
    EXPECT_EQ(ScanLine("&#x41;").Tokens, (Tokens{{0, htkText, "&#"}, {2, htkText, "x41;"}}));
}

TEST(HtmlScannerEscapes, AmpersandEndsTheTag)
{
    EXPECT_EQ(ScanLine("<a title=&amp;>z").Tokens,
        (Tokens{{0, htkSymbol, "<"}, {1, htkTag, "a"}, {2, htkSpace, " "}, {3, htkIdentifier, "title"},
            {8, htkSymbol, "="}, {9, htkText, ""}, {9, htkText, ""}, {9, htkEscape, "&amp;"},
            {14, htkText, ">z"}}));
    const TLineScan scan = ScanLine("&nbsp;x", hsAttributes);
    EXPECT_EQ(scan.Tokens,
        (Tokens{{0, htkText, ""}, {0, htkText, ""}, {0, htkEscape, "&nbsp;"}, {6, htkText, "x"}}));
    EXPECT_EQ(scan.EndState, hsText);
    EXPECT_EQ(ScanLine("&#65;x", hsTagName).Tokens, (Tokens{{0, htkEscape, "&#65;"}, {5, htkText, "x"}}));
    EXPECT_EQ(ScanLine("&#65 x", hsValue).Tokens, (Tokens{{0, htkText, "&#65"}, {4, htkText, " x"}}));
}

TEST(HtmlScannerEscapes, EscapeStateStartsAtAmpersand)
{
    // A line can only start in hsEscape when the caller sets it; the "&" is
    // then scanned afresh on this line.
    EXPECT_EQ(ScanLine("&lt;", hsEscape).Tokens,
        (Tokens{{0, htkText, ""}, {0, htkText, ""}, {0, htkEscape, "&lt;"}}));
}

TEST(HtmlScannerEscapes, RememberedEscapeIsForgottenByStartLine)
{
    TZtHtmlHighlighter scanner;
    const std::string first = "ab&thetasym;";
    scanner.StartLine(first, 0);
    EXPECT_EQ(scanner.TokenText(), "ab");
    EXPECT_EQ(scanner.ScanState(), hsEscape);
    // The escape would run past this line's end if it were still remembered.
    scanner.SetScanState(hsAttributes);
    const std::string second = "&";
    scanner.StartLine(second, 1);
    EXPECT_EQ(scanner.TokenKind(), htkText);
    EXPECT_EQ(scanner.TokenLength(), 0);
    scanner.NextToken();
    EXPECT_EQ(scanner.TokenText(), "&");
}

TEST(HtmlScannerEscapes, RememberedEscapeAppliesOnlyAtItsAmpersand)
{
    // A caller that switches the state in the middle of a line must not get
    // the remembered length at another "&".
    TZtHtmlHighlighter scanner;
    const std::string line = "&thetasym;<!--x-->< &";
    scanner.StartLine(line, 0);
    EXPECT_EQ(scanner.ScanState(), hsEscape);
    scanner.SetScanState(hsComment);
    scanner.NextToken();
    EXPECT_EQ(scanner.TokenText(), "&thetasym;<!--x-->");
    scanner.NextToken();
    scanner.NextToken();
    scanner.NextToken();
    EXPECT_EQ(scanner.TokenStart(), 20);
    EXPECT_EQ(scanner.TokenKind(), htkText);
    EXPECT_EQ(scanner.TokenLength(), 0);
}

TEST(HtmlScannerBlocks, CommentOnOneLine)
{
    EXPECT_EQ(ScanLine("<!-->x").Tokens,
        (Tokens{{0, htkComment, "<!--"}, {4, htkComment, ">"}, {5, htkText, "x"}}));
    EXPECT_EQ(ScanLine("<!-- a -- b -->c").Tokens,
        (Tokens{{0, htkComment, "<!--"}, {4, htkComment, " a -- b -->"}, {15, htkText, "c"}}));
    EXPECT_EQ(ScanLine("<!-- a > b").EndState, hsComment);
    EXPECT_EQ(ScanLine("<!-x>").Tokens.at(1), (TToken{1, htkUnknownTag, "!"}));
}

TEST(HtmlScannerBlocks, CommentOverTwoLines)
{
    const TLineScan first = ScanLine("<!-- a");
    EXPECT_EQ(first.Tokens, (Tokens{{0, htkComment, "<!--"}, {4, htkComment, " a"}}));
    EXPECT_EQ(first.EndState, hsComment);
    const TLineScan second = ScanLine("b -->c", first.EndState);
    EXPECT_EQ(second.Tokens, (Tokens{{0, htkComment, "b -->"}, {5, htkText, "c"}}));
    EXPECT_EQ(second.EndState, hsText);
}

TEST(HtmlScannerBlocks, CommentEndSplitOverLines)
{
    EXPECT_EQ(ScanLine("a --", hsComment).EndState, hsComment);
    const TLineScan scan = ScanLine(">x", hsComment);
    EXPECT_EQ(scan.Tokens, (Tokens{{0, htkComment, ">x"}}));
    EXPECT_EQ(scan.EndState, hsComment);
    EXPECT_EQ(ScanLine("->x", hsComment).EndState, hsComment);
}

TEST(HtmlScannerBlocks, ScriptOverTwoLines)
{
    const TLineScan first = ScanLine("<% a %");
    EXPECT_EQ(first.Tokens, (Tokens{{0, htkAsp, "<%"}, {2, htkAsp, " a %"}}));
    EXPECT_EQ(first.EndState, hsAsp);
    const TLineScan second = ScanLine("> b %>c", first.EndState);
    EXPECT_EQ(second.Tokens, (Tokens{{0, htkAsp, "> b %>"}, {6, htkText, "c"}}));
    EXPECT_EQ(second.EndState, hsText);
    EXPECT_EQ(ScanLine("<%>x").Tokens, (Tokens{{0, htkAsp, "<%"}, {2, htkAsp, ">"}, {3, htkText, "x"}}));
}

TEST(HtmlScannerBlocks, LineBreaksInsideBlocks)
{
    EXPECT_EQ(ScanLine("a\r\nb-->", hsComment).Tokens,
        (Tokens{{0, htkComment, "a"}, {1, htkSpace, "\r\n"}, {3, htkComment, "b-->"}}));
    // The "--" in front of a line break does not join the ">" after it.
    EXPECT_EQ(ScanLine("--\n>", hsComment).EndState, hsComment);
    EXPECT_EQ(ScanLine("%\r>", hsAsp).EndState, hsAsp);
}

TEST(HtmlScannerSpaces, TabsBeginSpaceTokens)
{
    EXPECT_EQ(ScanLine("\tx  y").Tokens, (Tokens{{0, htkSpace, "\t"}, {1, htkText, "x  y"}}));
    EXPECT_EQ(ScanLine("\t\t", hsAttributes).Tokens, (Tokens{{0, htkSpace, "\t"}, {1, htkSpace, "\t"}}));
    EXPECT_EQ(ScanLine(" \x01\x1F\t \x0B\x0C", hsAttributes).Tokens,
        (Tokens{{0, htkSpace, " \x01\x1F"}, {3, htkSpace, "\t \x0B\x0C"}}));
}

TEST(HtmlScannerSpaces, ControlCharactersInText)
{
    EXPECT_EQ(ScanLine("a\x01\x02 b").Tokens,
        (Tokens{{0, htkText, "a"}, {1, htkSpace, "\x01\x02 "}, {4, htkText, "b"}}));
    EXPECT_EQ(ScanLine("  body  {x}").Tokens, (Tokens{{0, htkText, "  body  {x}"}}));
    EXPECT_EQ(ScanLine("a > \"b\" = c").Tokens, (Tokens{{0, htkText, "a > \"b\" = c"}}));
}

TEST(HtmlScannerLineEnds, CarriageReturnAndLineFeed)
{
    EXPECT_EQ(
        ScanLine("a\r\nb").Tokens, (Tokens{{0, htkText, "a"}, {1, htkSpace, "\r\n"}, {3, htkText, "b"}}));
    EXPECT_EQ(ScanLine("\n\r\r\n").Tokens,
        (Tokens{{0, htkSpace, "\n"}, {1, htkSpace, "\r"}, {2, htkSpace, "\r\n"}}));
    EXPECT_EQ(ScanLine("\r\n \n", hsValue).Tokens,
        (Tokens{{0, htkSpace, "\r\n"}, {2, htkSpace, " "}, {3, htkSpace, "\n"}}));
}

TEST(HtmlScannerLineEnds, NulEndsTheLine)
{
    const std::string line("ab\0<cd", 6);
    const TLineScan scan = ScanLine(line);
    EXPECT_EQ(scan.Tokens, (Tokens{{0, htkText, "ab"}}));
    EXPECT_EQ(scan.LineEndColumn, 2);
    EXPECT_EQ(ScanLine(std::string("<!--\0-->", 8)).EndState, hsComment);
    EXPECT_EQ(ScanLine(std::string("&amp\0;", 6)).Tokens, (Tokens{{0, htkText, "&amp"}}));
    EXPECT_EQ(ScanLine(std::string("\0", 1), hsAsp).Tokens, Tokens{});
}

TEST(HtmlScannerLineEnds, EmptyLineKeepsState)
{
    for (int state = hsText; state <= hsAsp; ++state) {
        const TLineScan scan = ScanLine("", state);
        EXPECT_TRUE(scan.Tokens.empty());
        EXPECT_EQ(scan.LineEndColumn, 0);
        EXPECT_EQ(scan.EndState, state);
    }
}

TEST(HtmlScannerLineEnds, LineEndRepeats)
{
    TZtHtmlHighlighter scanner;
    const std::string line = "<b>";
    scanner.StartLine(line, 0);
    scanner.ScanToLineEnd();
    ASSERT_TRUE(scanner.AtLineEnd());
    for (int i = 0; i < 3; ++i) {
        scanner.NextToken();
        EXPECT_TRUE(scanner.AtLineEnd());
        EXPECT_EQ(scanner.TokenKind(), htkLineEnd);
        EXPECT_EQ(scanner.TokenStart(), 3);
        EXPECT_EQ(scanner.TokenText(), "");
        EXPECT_EQ(scanner.TokenAttributes(), nullptr);
    }
    scanner.ScanToLineEnd();
    EXPECT_TRUE(scanner.AtLineEnd());
}

TEST(HtmlScannerLineEnds, NoLineStartedYet)
{
    TZtHtmlHighlighter scanner;
    scanner.NextToken();
    EXPECT_TRUE(scanner.AtLineEnd());
    EXPECT_EQ(scanner.TokenText(), "");
}

TEST(HtmlScannerState, SetScanStateRefusesForeignValues)
{
    TZtHtmlHighlighter scanner;
    for (int state = 0; state < TZtHtmlHighlighter::ScanStateCount; ++state) {
        scanner.SetScanState(state);
        EXPECT_EQ(scanner.ScanState(), state);
    }
    EXPECT_THROW(scanner.SetScanState(-1), std::out_of_range);
    EXPECT_THROW(scanner.SetScanState(TZtHtmlHighlighter::ScanStateCount), std::out_of_range);
    scanner.ResetScanState();
    EXPECT_EQ(scanner.ScanState(), hsText);
}

} // namespace
} // namespace quorvex::test
