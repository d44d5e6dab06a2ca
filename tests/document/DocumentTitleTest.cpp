// The title of a document: its first body line that shows anything.

#include <gtest/gtest.h>

#include "Fa4Builder.h"
#include "ZtDocumentTitle.h"

namespace quorvex::testing {
namespace {

using namespace std::string_literals;

std::string TitleOf(const TFa4Builder& builder)
{
    TZtFileInfoFa4 document;
    document.LoadFromMemory("title", builder.Bytes());
    return DocumentTitle(document);
}

TFa4Builder WithSections()
{
    TFa4Builder builder;
    builder.Line("Fu\xFF\x80\xDF"
                 "zeile\xFF\x01"); // footer and header lines are never the title
    builder.EmptyParagraphs(5).Line("Kopfzeile").EmptyParagraphs(5);
    return builder;
}

TEST(DocumentTitle, FirstBodyLineThatShowsAnything)
{
    TFa4Builder builder = WithSections();
    builder.EmptyParagraphs(2).Line("   \t ").Line("\xFF\x21\x0A\x00  \xAF\x42"
                                                   "ericht \xFF\x80\x81"
                                                   "ber M\x84rz\xAE  \xFF\x01"s);
    builder.Line("Zweite Zeile");
    EXPECT_EQ(TitleOf(builder), "Bericht über März");
}

TEST(DocumentTitle, CutAtEightyCharacters)
{
    TFa4Builder builder = WithSections();
    builder.Line(std::string(79, 'x') + "\x94\x94\x94");
    EXPECT_EQ(TitleOf(builder), std::string(79, 'x') + "ö");
}

TEST(DocumentTitle, EmptyWithoutVisibleBodyText)
{
    EXPECT_EQ(TitleOf(WithSections().EmptyParagraphs(3)), "");
    EXPECT_EQ(TitleOf(TFa4Builder()), "");
}

} // namespace
} // namespace quorvex::testing
