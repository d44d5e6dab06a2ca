// Random small documents: the library's conversion must equal the slow
// step-by-step one byte for byte, leave the same conversion state, and fail
// with the same error.

#include <gtest/gtest.h>

#include <random>

#include "DocumentFixture.h"
#include "LiteralConversion.h"
#include "ZtInlineBalance.h"

namespace quorvex::testing {
namespace {

class TRandomDocument {
public:
    // `maxTokens` bounds the length of a line outside tables.
    explicit TRandomDocument(std::uint32_t seed, int maxTokens = 40)
        : FRandom(seed)
        , FMaxTokens(maxTokens)
    { }

    std::string Bytes()
    {
        std::vector<std::string> lines;
        const int count = Pick(1, 30);
        while (static_cast<int>(lines.size()) < count) {
            if (Chance(15)) {
                for (auto& line : Grid(Pick(0, 2))) lines.push_back(line);
            } else {
                lines.push_back(Line(Pick(0, FMaxTokens)));
            }
        }
        TFa4Builder builder;
        builder.Lines(lines);
        std::string file = builder.Bytes();
        // Now and then entries point anywhere: into the table, across other
        // lines, past the end.
        if (Chance(10))
            for (int i = Pick(1, 5); i > 0; --i)
                PutEntry(file, Pick(0, count + 2), static_cast<std::uint16_t>(Pick(1, 300)),
                    static_cast<std::uint32_t>(Pick(0, static_cast<int>(file.size()) + 50)));
        // Now and then the data ends early, inside the texts or the table.
        if (Chance(10))
            file.resize(static_cast<std::size_t>(Pick(0, static_cast<int>(file.size()))));
        else if (Chance(10))
            file.resize(file.size() - static_cast<std::size_t>(Pick(0, 6)) % (file.size() + 1));
        return file;
    }

    int Pick(int first, int last) { return std::uniform_int_distribution<int>(first, last)(FRandom); }
    bool Chance(int percent) { return Pick(1, 100) <= percent; }

private:
    std::string Token()
    {
        static const std::vector<std::string> tokens = {"a", "b", "z", "A", "Q", "\x81", "\x8E", "\xE1", "1",
            " ", " ", " ", " ", "  ", "-", "- ", "\xC4", "\xCD", "\xC4\xC4\xC4", "\xB3", "\xBA", "\xC2",
            "\xC3", "\xC5", "\xC0", "\xBF", "\xD9", "\xC1", "\xB4", "\xCB", "\xCC", "\xCE", "\xBB", "\xC8",
            "\xDA", "\xC9", "\xD5", "&", "<", "\x82", "\xB0", "\xFF\x01", "\xFF\x80", "\xFF\x90", "\xFF\x04",
            "\xFF\x82", "\xFF", std::string("\xFF\x21\x05\x00", 4), std::string("\xFF\x21\x00\x00", 4),
            "\xFF\x21\x03\x02", "\xFF\x22\x01\x01", std::string("\xFF\x21\xC4\x00", 4), "\xFF\x88",
            "\xFF\x98"};
        return tokens[static_cast<std::size_t>(Pick(0, static_cast<int>(tokens.size()) - 1))];
    }

    std::string Line(int tokens)
    {
        std::string line;
        for (int i = 0; i < tokens; ++i) line += Token();
        if (Chance(15)) line += "- ";
        return line;
    }

    // A grid of box characters with random text in its cells and, at `depth`
    // above 0, now and then a smaller grid inside a cell.
    std::vector<std::string> Grid(int depth)
    {
        const int columns = Pick(1, 4);
        const int rows = Pick(1, 3);
        std::vector<int> widths;
        for (int c = 0; c < columns; ++c) widths.push_back(Pick(1, 8));
        auto rule = [&](const char* left, const char* middle, const char* right) {
            std::string line = left;
            for (int c = 0; c < columns; ++c) {
                line += std::string(static_cast<std::size_t>(widths[static_cast<std::size_t>(c)]),
                    Chance(50) ? '\xC4' : '\xCD');
                line += c + 1 < columns ? middle : right;
            }
            return line;
        };
        std::vector<std::string> lines = {rule("\xDA", "\xC2", "\xBF")};
        for (int r = 0; r < rows; ++r) {
            const int height = Pick(1, 3);
            std::vector<std::string> block(static_cast<std::size_t>(height), "\xB3");
            for (int c = 0; c < columns; ++c) {
                const auto width = static_cast<std::size_t>(widths[static_cast<std::size_t>(c)]);
                std::vector<std::string> cell;
                if (depth > 0 && Chance(30)) cell = Grid(depth - 1);
                for (int k = 0; k < height; ++k) {
                    std::string text = k < static_cast<int>(cell.size()) ? cell[static_cast<std::size_t>(k)]
                                                                         : Line(Pick(0, 4));
                    if (Chance(85)) text.resize(width, ' ');
                    block[static_cast<std::size_t>(k)] += text + (Chance(90) ? "\xB3" : "\xC5");
                }
            }
            for (auto& line : block) lines.push_back(line);
            if (r + 1 < rows)
                lines.push_back(rule(Chance(80) ? "\xC3" : "\xB3", Chance(70) ? "\xC5" : "\xC1", "\xB4"));
        }
        if (Chance(85)) lines.push_back(rule("\xC0", "\xC1", "\xD9"));
        return lines;
    }

    std::mt19937 FRandom;
    int FMaxTokens;
};

struct TOutcome {
    std::string Html;
    std::string Error;
    std::int32_t Indent = 0;
    bool IndentPending = false;
    bool ParagraphEnd = false;
    std::string ParagraphTag;

    bool operator==(const TOutcome&) const = default;
};

template <typename Convert>
TOutcome Observe(TZtFileInfoFa4& document, Convert convert)
{
    TOutcome outcome;
    try {
        outcome.Html = convert();
    } catch (const EZtError& error) {
        outcome.Error = error.what();
    }
    outcome.Indent = document.Indent;
    outcome.IndentPending = document.IndentPending;
    outcome.ParagraphEnd = document.ParagraphEnd;
    outcome.ParagraphTag = document.ParagraphTag;
    return outcome;
}

void Load(TZtFileInfoFa4& document, const std::string& bytes)
{
    try {
        document.LoadFromMemory("random.fa4", bytes);
    } catch (const EZtError&) { }
}

// The same bytes loaded twice: once for the library's conversion, once for
// the step-by-step one.
struct TTwinDocuments {
    TZtFileInfoFa4 Fast;
    TZtFileInfoFa4 Slow;

    explicit TTwinDocuments(const std::string& bytes)
    {
        Load(Fast, bytes);
        Load(Slow, bytes);
    }
    void SetCharOutput(TCharOutput output)
    {
        Fast.SetCharOutput(output);
        Slow.SetCharOutput(output);
    }
    void SetHyphenJoin(THyphenJoin join)
    {
        Fast.SetHyphenJoin(join);
        Slow.SetHyphenJoin(join);
    }
    void SetMarkup(TMarkup markup)
    {
        Fast.SetMarkup(markup);
        Slow.SetMarkup(markup);
    }
};

TEST(ConversionProperty, RandomDocumentsConvertAsTheSlowAlgorithmDoes)
{
    int tables = 0;
    for (std::uint32_t seed = 1; seed <= 3000; ++seed) {
        TRandomDocument random(seed);
        TTwinDocuments twins(random.Bytes());
        TZtFileInfoFa4& fast = twins.Fast;
        TZtFileInfoFa4& slow = twins.Slow;
        if (random.Chance(20)) twins.SetCharOutput(TCharOutput::Bytes);
        if (random.Chance(30)) twins.SetHyphenJoin(hjLineBreak);
        if (random.Chance(50)) twins.SetMarkup(TMarkup::Classic);
        for (int run = 0; run < 3; ++run) {
            const std::int32_t first = random.Pick(0, 12);
            const std::int32_t last = random.Pick(first - 1, 40);
            const TOutcome want =
                Observe(slow, [&] { return TLiteralConversion(slow).ConvertLines(first, last); });
            const TOutcome got = Observe(fast, [&] { return fast.ConvertLines(first, last); });
            ASSERT_EQ(got, want) << "seed " << seed << " lines " << first << " to " << last << "\n"
                                 << got.Html << "\n---\n"
                                 << want.Html << "\n"
                                 << got.Error << want.Error;
            if (want.Html.find("<table") != std::string::npos) ++tables;
        }
        // Tables and cells reached directly, with limits of their own.
        for (std::int32_t line = 0; line < 40; ++line) {
            const std::string_view text = fast.LineView(fast.GetLine(line));
            for (std::int32_t pos = 0; pos < static_cast<std::int32_t>(text.size()); ++pos) {
                const auto b = static_cast<unsigned char>(text[static_cast<std::size_t>(pos)]);
                if (b != 0xDA && b != 0xC9) continue;
                const std::int32_t colLimit = random.Chance(50) ? 2147483647 : random.Pick(0, 20);
                const std::int32_t lastLine = random.Pick(line, 45);
                std::int32_t fastPos = pos, fastLine = line, slowPos = pos, slowLine = line;
                const TOutcome want = Observe(slow, [&] {
                    return TLiteralConversion(slow).ConvertTable(slowPos, slowLine, colLimit, lastLine);
                });
                const TOutcome got =
                    Observe(fast, [&] { return fast.ConvertTable(fastPos, fastLine, colLimit, lastLine); });
                ASSERT_EQ(got, want) << "seed " << seed << " table at " << line << ":" << pos;
                ASSERT_EQ(fastPos, slowPos);
                ASSERT_EQ(fastLine, slowLine);
            }
        }
        const TCellRect rect{random.Pick(0, 6), random.Pick(0, 20), random.Pick(0, 12), random.Pick(0, 30)};
        bool fastFixed = false;
        bool slowFixed = false;
        const TOutcome want =
            Observe(slow, [&] { return TLiteralConversion(slow).ConvertCellText(rect, slowFixed); });
        const TOutcome got = Observe(fast, [&] { return fast.ConvertCellText(rect, fastFixed); });
        ASSERT_EQ(got, want) << "seed " << seed << " cell";
        ASSERT_EQ(fastFixed, slowFixed);
    }
    // The documents must have exercised tables, or the comparison says little.
    EXPECT_GT(tables, 300);
}

// Running text is converted many bytes at a time: lines of hundreds of bytes
// cross the boundaries of those steps at every kind of byte.
// The conversion follows how the elements it writes nest, and leaves the
// rewriting to the documents whose elements cross a block: what it writes
// must never need the rewriting.
TEST(ConversionProperty, DefaultDocumentsNestTheirInlineElements)
{
    int withElements = 0;
    for (std::uint32_t seed = 1; seed <= 1500; ++seed) {
        TRandomDocument random(seed);
        TZtFileInfoFa4 document;
        Load(document, random.Bytes());
        if (random.Chance(30)) document.SetCharOutput(TCharOutput::Bytes);
        std::string html;
        try {
            html = BuildHtml("<head></head>\r\n", document);
        } catch (const EZtError&) {
            continue;
        }
        std::string again = html;
        BalanceInlineElements(again, html.find("<body>"));
        ASSERT_EQ(again, html) << "seed " << seed;
        if (html.find("<b>") != std::string::npos && html.find("<td") != std::string::npos) ++withElements;
    }
    // Documents with bold and tables, or the comparison says little.
    EXPECT_GT(withElements, 300);
}

TEST(ConversionProperty, LongLinesConvertAsTheSlowAlgorithmDoes)
{
    for (std::uint32_t seed = 1; seed <= 400; ++seed) {
        TRandomDocument random(seed, 300);
        TTwinDocuments twins(random.Bytes());
        TZtFileInfoFa4& fast = twins.Fast;
        TZtFileInfoFa4& slow = twins.Slow;
        if (random.Chance(30)) twins.SetCharOutput(TCharOutput::Bytes);
        if (random.Chance(50)) twins.SetMarkup(TMarkup::Classic);
        const TOutcome want = Observe(slow, [&] { return TLiteralConversion(slow).ConvertLines(0, 40); });
        const TOutcome got = Observe(fast, [&] { return fast.ConvertLines(0, 40); });
        ASSERT_EQ(got, want) << "seed " << seed << "\n" << got.Html << "\n---\n" << want.Html;
    }
    // A control sequence whose code is plain ASCII, and a double space, at
    // every distance from the line's start.
    for (const std::string& mark : {std::string("\xFF\x04"), std::string("\xFF\x40"), std::string("  ")}) {
        for (std::size_t shift = 0; shift < 140; ++shift) {
            TFa4Builder builder;
            builder.Line(std::string(shift, 'a') + mark + "b c&d e" + std::string(150, 'f'));
            builder.Line("Ende.");
            TTwinDocuments twins(builder.Bytes());
            TZtFileInfoFa4& fast = twins.Fast;
            TZtFileInfoFa4& slow = twins.Slow;
            const TOutcome want = Observe(slow, [&] { return TLiteralConversion(slow).ConvertLines(0, 1); });
            const TOutcome got = Observe(fast, [&] { return fast.ConvertLines(0, 1); });
            ASSERT_EQ(got, want) << "shift " << shift << "\n" << got.Html << "\n---\n" << want.Html;
        }
    }
}

} // namespace
} // namespace quorvex::testing
