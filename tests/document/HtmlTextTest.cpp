// The text of a converted document, read from its HTML: what a reader sees,
// for search tools.

#include <gtest/gtest.h>

#include "Fa4Builder.h"
#include "ZtDefaultPreferences.h"
#include "ZtFileInfoFa4.h"
#include "ZtHtmlText.h"

namespace quorvex::testing {
namespace {

using namespace std::string_literals;

std::string TextOf(const TFa4Builder& builder, bool classic = false)
{
    TZtFileInfoFa4 document;
    if (classic) {
        document.SetCharOutput(TCharOutput::Bytes);
        document.SetHyphenJoin(hjLineBreak);
        document.SetMarkup(TMarkup::Classic);
    }
    document.LoadFromMemory("DOC", builder.Bytes());
    return HtmlToText(BuildHtml(classic ? ClassicPreferencesText : DefaultPreferencesText, document));
}

TFa4Builder Letter()
{
    TFa4Builder builder;
    builder.Line("Fu\xFF\x80\xE1zeile\xFF\x90\xFF\x01").EmptyParagraphs(5);
    builder.Line("Kopf").EmptyParagraphs(5);
    builder.Line("\xFF\x80Ihr An- ").Line("gebot\xFF\x90 an M\x81ller und Nord- ").Line("Ostsee\xFF\x01");
    builder
        .Line("  Einger\x81"
              "ckt  \xAF"
              "blau\xAE   \xFF\x01")
        .EmptyParagraphs(1);
    builder.Line("x\x01y\x1Fz \xFB"
                 "2 m\xFD \xE0\xFF\x01");
    return builder;
}

TEST(HtmlText, HeaderBodyFooterInOrderWithWordsWholeAndLinesEndedByLf)
{
    std::string expected = "Kopf\n\n\n\n\n"
                           "Ihr Angebot an M\xC3\xBCller und Nord-Ostsee\n"
                           "  Eingerückt  blau\n\n"
                           "x y z \xE2\x88\x9A"
                           "2 m2 \xCE\xB1\n"
                           "Fu\xC3\x9Fzeile\n";
    EXPECT_EQ(TextOf(Letter()), expected);
    // The classic output has the bytes as they are, a soft hyphen and a break
    // inside the word, a break after the hyphen before a capital, and the
    // root sign spelt out.
    expected.replace(expected.find("Nord-") + 5, 0, " ");
    expected.replace(expected.find("\xE2\x88\x9A"), 3, "sqrt ");
    EXPECT_EQ(TextOf(Letter(), true), expected);
}

TEST(HtmlText, TableRowIsOneLineOfCellsBetweenTabs)
{
    TFa4Builder builder;
    builder.EmptyParagraphs(12).Line("vor\xFF\x01");
    builder.Line("\xDA\xC4\xC4\xC4\xC4\xC2\xC4\xC4\xC4\xC4\xBF");
    builder.Line("\xB3"
                 "a b \xB3"
                 "c   \xB3");
    builder.Line("\xB3"
                 "d   \xB3"
                 "    \xB3");
    builder.Line("\xC3\xC4\xC4\xC4\xC4\xC5\xC4\xC4\xC4\xC4\xB4");
    builder.Line("\xB3"
                 "e   \xB3"
                 "f   \xB3");
    builder.Line("\xC0\xC4\xC4\xC4\xC4\xC1\xC4\xC4\xC4\xC4\xD9").Line("nach");
    EXPECT_EQ(TextOf(builder), "vor\na b d\tc\ne\tf\nnach\n");
}

TEST(HtmlText, ReferencesControlBytesAndDeclaredUtf8)
{
    EXPECT_EQ(
        HtmlToText("<body>a&amp;b &lt;&#246;&#x3C0;&radic;&nbsp;&nbsp;x &bogus; &#0; &\x01y\0z</body>"s),
        std::string("a&b <öπ√  x &bogus; \xEF\xBF\xBD & yz\n"));
    // Bytes of the body are code page 437 unless the head says UTF-8.
    EXPECT_EQ(HtmlToText("<head></head><body>\x81\xE1</body>"), "\xC3\xBC\xC3\x9F\n");
    EXPECT_EQ(HtmlToText("<head><meta charset=\"UTF-8\"></head><body>\xC3\xBC\xFF</body>"),
        "\xC3\xBC\xEF\xBF\xBD\n");
    EXPECT_EQ(HtmlToText("<body><!-- LINE 6 --></body>"), "");
    // A soft hyphen joins across a break into a letter, not into a number.
    EXPECT_EQ(HtmlToText("<body>Wort&shy;\r<!-- LINE 13 -->teil An&shy;\r<!-- LINE 14 -->1994</body>"),
        "Wortteil An 1994\n");
}

} // namespace
} // namespace quorvex::testing
