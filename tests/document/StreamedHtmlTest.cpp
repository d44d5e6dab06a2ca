// HTML handed out in pieces as it is made is the same, byte for byte, as the
// HTML built whole, wherever the pieces end.

#include <gtest/gtest.h>

#include "ExampleDocuments.h"
#include "Fa4Builder.h"
#include "ZtDefaultPreferences.h"
#include "ZtFa4Converter.h"
#include "ZtFileInfoFa4.h"

namespace quorvex::testing {
namespace {

// Hyphen joins, paragraph ends, indents, blanks in a row and a table: each
// looks at or changes what the line before left.
std::string MixedDocument()
{
    TFa4Builder builder;
    builder.EmptyParagraphs(12);
    for (int i = 0; i < 40; ++i) {
        builder.Line("Ein Haus-");
        builder.Line("t\x81r steht offen.\xFF\x01");
        builder.Line("\xFF\x21\x04\x00  einger\x81\x63kt-");
        builder.Line("12 Zeilen");
    }
    builder.Lines(ConcentricBoxes(5));
    builder.Line("Ende-");
    return builder.Bytes();
}

TEST(StreamedHtml, PiecesAddUpToTheWholeWhereverTheyEnd)
{
    std::vector<std::string> documents{MixedDocument()};
    for (const TExampleDocument& example : ExampleDocuments()) documents.push_back(example.Builder.Bytes());
    for (const std::string& bytes : documents) {
        TZtFileInfoFa4 document;
        document.LoadFromMemory("doc.fa4", bytes);
        std::string whole;
        {
            TFa4Converter converter(document);
            converter.ConvertSection(whole, secBody);
        }
        for (const std::size_t threshold :
            {std::size_t{0}, std::size_t{1}, std::size_t{37}, std::size_t{500}}) {
            std::string spilled;
            std::string out;
            std::size_t pieces = 0;
            {
                TFa4Converter converter(document);
                converter.SpillLargeOutput(
                    out,
                    [&](std::string_view piece) {
                        spilled += piece;
                        ++pieces;
                    },
                    threshold);
                converter.ConvertSection(out, secBody);
            }
            EXPECT_EQ(spilled + out, whole) << threshold;
            if (threshold < 100) EXPECT_GT(pieces, 1u) << threshold;
        }
    }
}

TEST(StreamedHtml, ALargeDocumentIsWrittenInPiecesOfAFewMegabytes)
{
    TFa4Builder builder;
    builder.EmptyParagraphs(12);
    const std::string text(60000, 'x');
    for (int i = 0; i < 200; ++i) builder.Line(text + (i % 3 == 0 ? "-" : " \x81"));
    TZtFileInfoFa4 document;
    document.LoadFromMemory("big.fa4", builder.Bytes());
    std::vector<std::size_t> sizes;
    std::string written;
    WriteHtml(DefaultPreferencesText, document, document.OutputModes(), [&](std::string_view piece) {
        sizes.push_back(piece.size());
        written += piece;
    });
    EXPECT_EQ(written, BuildHtml(DefaultPreferencesText, document));
    EXPECT_GT(sizes.size(), 2u);
    for (const std::size_t size : sizes) EXPECT_LE(size, std::size_t{5} << 20);
}

} // namespace
} // namespace quorvex::testing
