// Inline elements closed before a block and opened again after it.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ZtInlineBalance.h"

namespace quorvex::testing {
namespace {

std::string Balanced(const std::string& head, const std::string& body)
{
    std::string html = head + "<body>" + body + "</body>";
    BalanceInlineElements(html, head.size());
    EXPECT_EQ(html.substr(0, head.size()), head);
    return html.substr(head.size() + 6, html.size() - head.size() - 13);
}

TEST(InlineBalance, ElementsNestAsABrowserBuildsThem)
{
    const std::string font2 = "<font class=\"font2\" size=\"5\">";
    const std::string fixed = "<font class=\"fixed\" face=\"Courier New, monospace\">";
    const std::vector<std::pair<std::string, std::string>> cases = {
        // Already nested: left as it is.
        {"<b>x</b><br>\r\n<p class=\"indent\">y<i>z</i></p>",
            "<b>x</b><br>\r\n<p class=\"indent\">y<i>z</i></p>"},
        // A paragraph or a rule closes what is open; the next text opens it
        // again, a comment does not.
        {"<b>x<p>y</b>z", "<b>x</b><p><b>y</b>z"},
        {"<i>x<hr><!-- LINE 3 -->y</i>", "<i>x</i><hr><!-- LINE 3 --><i>y</i>"},
        {"<u>x<hr>\r\ny<br></u>", "<u>x</u><hr><u>\r\ny<br></u>"},
        {"<sup>x<p>y</sup>", "<sup>x</sup><p><sup>y</sup>"},
        // A line break opens again what a block closed.
        {"<s>x<hr><br>y</s>", "<s>x</s><hr><s><br>y</s>"},
        // Crossed end tags close the inner element and open it again.
        {"<b>x<i>y</b>z</i>", "<b>x<i>y</i></b><i>z</i>"},
        {"<font color=\"blue\">x<b>y</font>z</b>", "<font color=\"blue\">x<b>y</b></font><b>z</b>"},
        // End tags that close nothing are dropped.
        {"x</b></font>y</sub>", "xy"},
        {"<b>x<p>y</b></b>", "<b>x</b><p><b>y</b>"},
        // A cell starts with nothing open and closes what it opened.
        {"<table><tr><td><b>x</td><td>y</b></td></tr></table>",
            "<table><tr><td><b>x</b></td><td>y</td></tr></table>"},
        // Around a table: weight, style and size stop at it, family,
        // colour and lines go into its cells; the line ends between rows
        // open nothing.
        {"<b><u>x<table>\r\n<tr><td>y</td></tr>\r\n</table>\r\nz</u></b>",
            "<b><u>x</u></b><table>\r\n<tr><td><u>y</u></td></tr>\r\n</table><b><u>\r\nz</u></b>"},
        {fixed + "a<table><tr><td>b</td><td></td></tr></table></font><br>",
            fixed + "a</font><table><tr><td>" + fixed + "b</font></td><td></td></tr></table><br>"},
        {font2 + "a<table><tr><td>b</td></tr></table>c</font>",
            font2 + "a</font><table><tr><td>b</td></tr></table>" + font2 + "c</font>"},
        // What is open at the end is closed.
        {"<b>x<i>y", "<b>x<i>y</i></b>"},
    };
    for (const auto& [body, want] : cases) EXPECT_EQ(Balanced("<head></head>\r\n", body), want) << body;
    // The head is never looked at.
    EXPECT_EQ(Balanced("<head><b></head>\r\n", "x</b>"), "x");
}

} // namespace
} // namespace quorvex::testing
