// The default markup against the classic one: line ends, control bytes, the
// root sign and fonts that other programs read.

#include <gtest/gtest.h>

#include "DocumentFixture.h"
#include "ZtDefaultPreferences.h"

namespace quorvex::testing {
namespace {

class PortableMarkupTest : public ::testing::Test {
protected:
    std::string Body(const std::vector<std::string>& body, TMarkup markup = TMarkup::Portable)
    {
        LoadLines(Document, WithOuterLines(body));
        Document.SetMarkup(markup);
        return Document.ConvertLines(12, 12 + static_cast<std::int32_t>(body.size()) - 1);
    }
    TZtFileInfoFa4 Document;
};

TEST_F(PortableMarkupTest, LinesEndWithCrLfEverywhere)
{
    EXPECT_EQ(Body({"Haus", "Dach"}), "<!-- LINE 12 -->Haus\r\n<!-- LINE 13 -->Dach");
    const std::vector<std::string> lines = {"Wort- ", std::string(6, '\xC4'), "teil\xFF\x01",
        "\xDA\xC4\xC4\xBF",
        "\xB3"
        "ab\xB3",
        "\xB3"
        "cd\xB3",
        "\xC0\xC4\xC4\xD9", "Ende- ", "\xDA\xBF", "\xC0\xD9", "Zeile"};
    const std::string html = Body(lines);
    for (std::size_t at = 0; at < html.size(); ++at) {
        if (html[at] == '\r') EXPECT_EQ(html.substr(at, 2), "\r\n") << at << "\n" << html;
        if (html[at] == '\n') EXPECT_EQ(html[at - 1], '\r') << at << "\n" << html;
    }
    EXPECT_NE(html.find("<tr><td>ab<br>\r\ncd</td></tr>\r\n</table>\r\n"), std::string::npos) << html;
    // The classic markup has the same text with a lone CR.
    std::string classic = html;
    for (std::size_t at = classic.find("\r\n"); at != std::string::npos; at = classic.find("\r\n", at))
        classic.erase(++at, 1);
    EXPECT_EQ(Body(lines, TMarkup::Classic), classic);
}

TEST_F(PortableMarkupTest, ControlBytesAsABrowserShowsThemAndTheRootSignAsItself)
{
    const std::string line = std::string("a\x00"
                                         "b\x01"
                                         "c\x1F"
                                         "d\x7F"
                                         "e\r"
                                         "f\xFB"
                                         "2",
        13);
    EXPECT_EQ(Body({line}), "<!-- LINE 12 -->ab c d e f&#8730;2");
    EXPECT_EQ(Body({"\xDA\xC4\xC4\xC4\xC4\xC4\xBF",
                  std::string("\xB3"
                              "a\x00"
                              "b\x1F\xFB\xB3",
                      7),
                  "\xC0\xC4\xC4\xC4\xC4\xC4\xD9"}),
        "<!-- LINE 14 -->" + std::string(TableStart.substr(0, TableStart.size() - 1)) +
            "\r\n<tr><td>ab &#8730;</td></tr>\r\n</table>\r\n");
    EXPECT_EQ(Body({line}, TMarkup::Classic), "<!-- LINE 12 -->" + line.substr(0, 11) + "sqrt 2");
    Document.SetCharOutput(TCharOutput::Bytes);
    EXPECT_EQ(Body({line}), "<!-- LINE 12 -->ab c d e f&#8730;2");
}

TEST_F(PortableMarkupTest, FontsCarryWhatWordProcessorsRead)
{
    std::string line;
    for (int code = 0x88; code <= 0x8F; ++code)
        line += "\xFF" + std::string(1, static_cast<char>(code)) + "x\xFF\x98";
    EXPECT_EQ(Body({line}),
        "<!-- LINE 12 --><font class=\"font1\" size=\"5\">x</font><font class=\"font2\" size=\"5\">x</font>"
        "<font class=\"font3\" size=\"4\">x</font><font class=\"font4\" size=\"4\">x</font>"
        "<font class=\"font5\" size=\"3\">x</font><font class=\"font6\" size=\"2\">x</font>"
        "<font class=\"font7\" size=\"2\">x</font><font class=\"font8\">x</font>");
    EXPECT_EQ(Body({"  Name\xFF\x01"}),
        "<!-- LINE 12 --><font class=\"fixed\" face=\"Courier New, monospace\">&nbsp;&nbsp;Name</font><br>");
    EXPECT_EQ(Body({"  Name\xFF\x01", "\xFF\x88x"}, TMarkup::Classic),
        "<!-- LINE 12 --><font class=\"fixed\">&nbsp;&nbsp;Name</font><br>\r<!-- LINE 13 --><font "
        "class=\"font1\">x");
    // Word processors apply rules of the head that name a class alone.
    for (const char* rule :
        {"\r\n  .fixed {font-family:Courier New, monospace}\r\n", "\r\n  .font2 {font-size:16pt}\r\n"})
        EXPECT_NE(DefaultPreferencesText.find(rule), std::string_view::npos) << rule;
    EXPECT_EQ(DefaultPreferencesText.find("font."), std::string_view::npos);
}

TEST_F(PortableMarkupTest, BrokenBoxesConvertAndAreCounted)
{
    // The left edge of an indented box meets a line too short to reach it:
    // the table ends above that line, which is converted as a line of its own.
    const std::vector<std::string> cutOff = {"  \xDA\xC4\xC4\xBF",
        "  \xB3"
        "ab\xB3",
        "x\xFF\x01", "weiter"};
    EXPECT_EQ(Body(cutOff),
        "<!-- LINE 13 -->&nbsp;&nbsp;" + TableStart.substr(0, TableStart.size() - 1) +
            "\r\n<tr><td>ab</td></tr>\r\n</table>\r\n<!-- LINE 14 -->x<br>\r\n<!-- LINE 15 -->weiter");
    LoadLines(Document, WithOuterLines(cutOff));
    BuildHtml("", Document);
    EXPECT_EQ(Document.Damage().TablesUnread, 1);
    EXPECT_EQ(DescribeDamage(Document.Damage()), "1 table could not be read as a table");
    // A box without a row is nothing but lines; a broken box drawn in a
    // cell counts as well.
    const std::string rowless = "<!-- LINE 12 -->ab+-+\r\n<!-- LINE 13 -->x";
    EXPECT_EQ(Body({"ab\xDA\xC4\xBF", "x"}), rowless);
    LoadLines(Document,
        WithOuterLines({"ab\xDA\xC4\xBF", "x", "\xDA\xC4\xC4\xC4\xC4\xC4\xBF", "\xB3 \xDA\xC4\xBF \xB3",
            "\xB3", "\xC0\xC4\xC4\xC4\xC4\xC4\xD9"}));
    BuildHtml("", Document);
    EXPECT_EQ(Document.Damage().TablesUnread, 2);
    EXPECT_EQ(DescribeDamage(Document.Damage()), "2 tables could not be read as tables");
    // The classic output fails, as the rules demand.
    Document.SetMarkup(TMarkup::Classic);
    EXPECT_THROW(BuildHtml("", Document), ERangeError);
    LoadLines(Document, WithOuterLines(cutOff));
    EXPECT_THROW(Document.ConvertLines(12, 15), ERangeError);
}

} // namespace
} // namespace quorvex::testing
