// Box-drawn tables: frames, boundaries, spans, cell texts and nesting.

#include <gtest/gtest.h>

#include "DocumentFixture.h"

namespace quorvex::testing {
namespace {

class ConvertTableTest : public ::testing::Test {
protected:
    // Converts lines 12 on with the grid placed there; the result without the
    // comment of the line the conversion ended on.
    std::string Grid(const std::vector<std::string>& lines, std::int32_t lastLine = -1)
    {
        LoadLines(Document, WithOuterLines(lines));
        if (lastLine < 0) lastLine = 12 + static_cast<std::int32_t>(lines.size()) - 1;
        std::string html = Document.ConvertLines(12, lastLine);
        const auto end = html.find(" -->");
        EXPECT_EQ(html.substr(0, 10), "<!-- LINE ");
        return html.substr(end + 4);
    }
    TClassicDocument Document;
};

const std::vector<std::string> WorkedExample = {"\xDA\xC4\xC4\xC4\xC2\xC4\xC4\xC4\xBF",
    "\xB3"
    "ab \xB3"
    "cd \xB3",
    "\xC3\xC4\xC4\xC4\xC1\xC4\xC4\xC4\xB4",
    "\xB3"
    "efghijk\xB3",
    "\xC0\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xD9"};

TEST_F(ConvertTableTest, WorkedExampleWithAColumnSpan)
{
    const std::string expected = TableStart + "<tr><td>ab </td><td>cd </td></tr>\r" +
        "<tr><td colspan=\"2\">efghijk</td></tr>\r" + TableEnd;
    std::vector<std::string> lines(20, "x");
    lines.insert(lines.end(), WorkedExample.begin(), WorkedExample.end());
    LoadLines(Document, lines);
    EXPECT_EQ(Document.ConvertLines(20, 24), "<!-- LINE 24 -->" + expected);
    std::int32_t pos = 0;
    std::int32_t line = 20;
    EXPECT_EQ(Document.ConvertTable(pos, line, 2147483647, 24), expected);
    EXPECT_EQ(line, 24);
    EXPECT_EQ(pos, 8);
}

TEST_F(ConvertTableTest, CellsBeginningWithASpaceAreFixed)
{
    std::vector<std::string> lines = WorkedExample;
    lines[1] = "\xB3 ab\xB3 cd\xB3";
    EXPECT_EQ(Grid(lines),
        TableStart + "<tr><td class=\"fixed\">&nbsp;ab</td><td class=\"fixed\">&nbsp;cd</td></tr>\r" +
            "<tr><td colspan=\"2\">efghijk</td></tr>\r" + TableEnd);
}

TEST_F(ConvertTableTest, RowSpanFoundByTheInnerScan)
{
    EXPECT_EQ(Grid({"\xDA\xC4\xC4\xC2\xC4\xC4\xBF",
                  "\xB3"
                  "a \xB3"
                  "b \xB3",
                  "\xB3  \xC3\xC4\xC4\xB4",
                  "\xB3  \xB3"
                  "c \xB3",
                  "\xC0\xC4\xC4\xC1\xC4\xC4\xD9"}),
        TableStart + "<tr><td class=\"fixed\" rowspan=\"2\">a <br>\r&nbsp; <br>\r&nbsp; </td>" +
            "<td>b </td></tr>\r<tr><td>c </td></tr>\r" + TableEnd);
}

TEST_F(ConvertTableTest, ColumnSplitStartingTwiceStandsOnce)
{
    EXPECT_EQ(Grid({"\xDA\xC4\xC2\xC4\xBF",
                  "\xB3"
                  "a\xB3"
                  "b\xB3",
                  "\xC3\xC4\xC1\xC4\xB4",
                  "\xB3"
                  "cde\xB3",
                  "\xC3\xC4\xC2\xC4\xB4",
                  "\xB3"
                  "f\xB3"
                  "g\xB3",
                  "\xC0\xC4\xC1\xC4\xD9"}),
        TableStart + "<tr><td>a</td><td>b</td></tr>\r<tr><td colspan=\"2\">cde</td></tr>\r" +
            "<tr><td>f</td><td>g</td></tr>\r" + TableEnd);
}

TEST_F(ConvertTableTest, DegenerateFramesGiveEmptyTables)
{
    // Corner as the last character of its line above a left edge.
    EXPECT_EQ(Grid({"\xDA", "\xB3", "\xC0"}), TableStart + TableEnd);
    // Bottom-left corner right below the top-left corner.
    EXPECT_EQ(Grid({"\xDA\xC4\xBF", "\xC0\xC4\xD9"}), TableStart + TableEnd);
}

TEST_F(ConvertTableTest, TopEdgeWithoutATopRightCorner)
{
    EXPECT_EQ(Grid({"\xDA\xC4\xC4",
                  "\xB3"
                  "ab",
                  "\xC0\xC4\xC4"}),
        TableStart + "<tr><td>ab</td></tr>\r" + TableEnd);
    LoadLines(Document,
        {"\xDA\xC4\xC4",
            "\xB3"
            "ab",
            "\xC0\xC4\xC4"
            "Z"});
    std::int32_t pos = 0;
    std::int32_t line = 0;
    EXPECT_EQ(Document.ConvertTable(pos, line, 1, 2), TableStart + "<tr><td>a</td></tr>\r" + TableEnd);
    EXPECT_EQ(pos, 2);
    EXPECT_EQ(line, 2);
}

TEST_F(ConvertTableTest, LeftEdgeRunningPastTheRangeEndsOneLineLater)
{
    EXPECT_EQ(Grid({"\xDA\xC4\xBF",
                       "\xB3"
                       "a\xB3",
                       "\xB3"
                       "b\xB3",
                       "xyzW"},
                  14),
        TableStart + "<tr><td>a<br>\rb</td></tr>\r" + TableEnd + "W");
    EXPECT_EQ(Document.ConvertLines(12, 14).substr(0, 16), "<!-- LINE 15 -->");
}

TEST_F(ConvertTableTest, ShapesThatAreNoTable)
{
    EXPECT_EQ(Grid({"\xDA\xC4x\xBF", "\xB3 \xB3", "\xC0\xC4\xD9"}).substr(0, 4), "+-x+");
    // Something else than an edge on the left edge.
    EXPECT_EQ(Grid({"\xDA\xC4\xBF", "a \xB3", "\xC0\xC4\xD9"}).substr(0, 3), "+-+");
    // A line shorter than the corner's column on the left edge.
    LoadLines(Document, WithOuterLines({"ab\xDA\xC4\xBF", "", "ab\xC0\xC4\xD9"}));
    try {
        Document.ConvertLines(12, 14);
        ADD_FAILURE() << "no error";
    } catch (const ERangeError& error) {
        EXPECT_STREQ(error.what(), "Range check error");
    }
    std::int32_t pos = 2;
    std::int32_t line = 12;
    EXPECT_THROW(Document.ConvertTable(pos, line, 2147483647, 14), ERangeError);
    // An empty result leaves the position alone.
    LoadLines(Document, {"\xDA x"});
    pos = 0;
    line = 0;
    EXPECT_EQ(Document.ConvertTable(pos, line, 2147483647, 0), "");
    EXPECT_EQ(pos, 0);
    EXPECT_EQ(line, 0);
}

TEST_F(ConvertTableTest, TextOutsideTheFrameIsDroppedButAroundTheCorners)
{
    EXPECT_EQ(Grid({"ab\xDA\xC4\xBF"
                    "cd",
                  "xx\xB3"
                  "e\xB3yy",
                  "zz\xC0\xC4\xD9ww"}),
        "ab" + TableStart + "<tr><td>e</td></tr>\r" + TableEnd + "ww");
}

TEST_F(ConvertTableTest, HyphenAtTheEndOfACellLine)
{
    const std::string top = "\xDA\xC4\xC4\xC4\xC4\xC4\xBF";
    const std::string bottom = "\xC0\xC4\xC4\xC4\xC4\xC4\xD9";
    EXPECT_EQ(Grid({top,
                  "\xB3"
                  "ver- \xB3",
                  "\xB3"
                  "teil \xB3",
                  bottom}),
        TableStart + "<tr><td>ver&shy;teil </td></tr>\r" + TableEnd);
    EXPECT_EQ(Grid({top,
                  "\xB3"
                  "ver-x\xB3",
                  "\xB3"
                  "teil \xB3",
                  bottom}),
        TableStart + "<tr><td>ver-x<br>\rteil </td></tr>\r" + TableEnd);
    EXPECT_EQ(Grid({top,
                  "\xB3"
                  "abc-d\xB3",
                  "\xB3"
                  "wort-\xB3",
                  "\xB3 Dach\xB3", bottom}),
        TableStart + "<tr><td>abc-d<br>\rwort&nbsp;-Dach</td></tr>\r" + TableEnd);
    Document.SetHyphenJoin(hjLineBreak);
    EXPECT_EQ(Grid({top,
                  "\xB3"
                  "ver- \xB3",
                  "\xB3"
                  "teil \xB3",
                  bottom}),
        TableStart + "<tr><td>ver\r&shy;teil </td></tr>\r" + TableEnd);
    EXPECT_EQ(Grid({top,
                  "\xB3"
                  "12-  \xB3",
                  "\xB3"
                  "x    \xB3",
                  bottom}),
        TableStart + "<tr><td class=\"fixed\">12-&nbsp; <br>\rx&nbsp;&nbsp;&nbsp; </td></tr>\r" + TableEnd);
}

TEST_F(ConvertTableTest, CellLineShorterThanTheCell)
{
    EXPECT_EQ(Grid({"\xDA\xC4\xC4\xC4\xBF",
                  "\xB3"
                  "ab",
                  "\xB3",
                  "\xB3"
                  "cde\xB3",
                  "\xC0\xC4\xC4\xC4\xD9"}),
        TableStart + "<tr><td>ab<br>\r<br>\rcde</td></tr>\r" + TableEnd);
}

TEST_F(ConvertTableTest, NestedTableIsCellTextAndItsCornersAreCellsToo)
{
    const std::string inner = TableStart + "<tr><td>x</td></tr>\r" + TableEnd;
    EXPECT_EQ(Grid({"\xDA\xC4\xC4\xC4\xC4\xC4\xC4\xBF", "\xB3\xDA\xC4\xBF   \xB3", "\xB3\xB3x\xB3   \xB3",
                  "\xB3\xC0\xC4\xD9   \xB3", "\xC0\xC4\xC4\xC4\xC4\xC4\xC4\xD9"}),
        TableStart + "<tr><td class=\"fixed\">" + inner + "&nbsp;&nbsp; </td></tr>\r" +
            "<tr><td>x</td></tr>\r" + TableEnd);
}

TEST_F(ConvertTableTest, CodesInCellsReachTheBottomLine)
{
    std::vector<std::string> lines = WorkedExample;
    // The cell's last column lies behind the code, so its space is not reached.
    lines[1] = "\xB3"
               "ab\xFF\x01 \xB3"
               "cd \xB3";
    EXPECT_EQ(Grid(lines),
        TableStart + "<tr><td>ab</td><td>cd </td></tr>\r" + "<tr><td colspan=\"2\">efghijk</td></tr>\r" +
            TableEnd + "<br>");
    // An indent code in the top line reached only by measuring the frame.
    lines = WorkedExample;
    lines[0] += "\xFF\x21\x02";
    lines[0] += '\0';
    EXPECT_EQ(Grid(lines),
        "<p class=\"indent\" style=\"margin-left:8pt; text-indent:-8pt\">" + TableStart +
            "<tr><td>ab </td><td>cd </td></tr>\r" + "<tr><td colspan=\"2\">efghijk</td></tr>\r" + TableEnd);
}

// A one-column table holding a label and the table one level deeper; the
// deepest is a grid of two by two cells.
std::vector<std::string> NestedTables(int depth, int width)
{
    const std::string rule(static_cast<std::size_t>(width), '\xC4');
    if (depth == 0) {
        const std::string half(static_cast<std::size_t>(width / 2 - 1), '\xC4');
        const std::string cell = "12,50" + std::string(static_cast<std::size_t>(width / 2 - 6), ' ');
        return {"\xDA" + half + "\xC2" + half + "\xBF", "\xB3" + cell + "\xB3" + cell + "\xB3",
            "\xC3" + half + "\xC5" + half + "\xB4", "\xB3" + cell + "\xB3" + cell + "\xB3",
            "\xC0" + half + "\xC1" + half + "\xD9"};
    }
    std::vector<std::string> lines = {"\xDA" + rule + "\xBF"};
    const std::string label = "Ebene " + std::to_string(depth);
    lines.push_back(
        "\xB3" + label + std::string(static_cast<std::size_t>(width) - label.size(), ' ') + "\xB3");
    for (const std::string& inner : NestedTables(depth - 1, width - 4))
        lines.push_back(
            "\xB3 " + inner + std::string(static_cast<std::size_t>(width - 1) - inner.size(), ' ') + "\xB3");
    lines.push_back("\xC0" + rule + "\xD9");
    return lines;
}

// Every inner corner is a cell corner of each enclosing table too, so each
// level doubles the work; a document full of tables five deep stays well
// inside the bound on a conversion's work.
TEST_F(ConvertTableTest, DocumentFullOfTablesNestedFiveDeepConverts)
{
    const std::vector<std::string> table = NestedTables(5, 60);
    std::vector<std::string> lines(12, "x");
    int tables = 0;
    while (lines.size() + table.size() + 1 < 9990) {
        lines.insert(lines.end(), table.begin(), table.end());
        lines.push_back("Text\xFF\x01");
        ++tables;
    }
    LoadLines(Document, lines);
    const std::string html = BuildHtml("", Document);
    std::size_t outer = 0;
    for (auto at = html.find("Ebene 5"); at != std::string::npos; at = html.find("Ebene 5", at + 1)) ++outer;
    EXPECT_EQ(outer, static_cast<std::size_t>(tables));
    EXPECT_GT(html.size(), 10u * Document.FileSize());
}

// Concentric boxes: each inner box's corner is a cell corner of every outer
// box, so each ring doubles the HTML (some kilobytes at 10 rings, many
// gigabytes at 40). Such a conversion is refused instead of exhausting memory.
TEST_F(ConvertTableTest, HtmlGrowingBeyondAnyMemoryIsRefused)
{
    LoadLines(Document, ConcentricBoxes(20));
    const std::string tenRings = Document.ConvertLines(0, 19);
    EXPECT_GT(tenRings.size(), 10000u);
    EXPECT_EQ(tenRings.rfind("<!-- LINE 19 -->" + TableStart, 0), 0u);
    LoadLines(Document, ConcentricBoxes(80));
    try {
        Document.ConvertLines(0, 79);
        ADD_FAILURE() << "no error";
    } catch (const EZtError& error) {
        EXPECT_STREQ(error.what(), "Document too complex to convert");
    }
    // The bound holds for each call on its own: the same document converts
    // again as far as it did before.
    LoadLines(Document, ConcentricBoxes(20));
    EXPECT_EQ(Document.ConvertLines(0, 19), tenRings);
}

} // namespace
} // namespace quorvex::testing
