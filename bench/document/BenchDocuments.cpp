// The documents of the benchmarks, built line by line.

#include "BenchDocuments.h"

#include <random>
#include <vector>

#include "Fa4Builder.h"

namespace quorvex::bench {
namespace {

using testing::TFa4Builder;

const std::vector<std::string> Words = {"der", "die", "das", "und", "f\x81r", "Lieferung", "Schrauben",
    "Gr\x94\xE1"
    "e",
    "Angebot", "Preis", "jederzeit", "M\x84rz", "Ihre", "Anfrage", "wir", "freuen", "uns",
    "\x81"
    "ber",
    "den", "Auftrag", "Zahlung", "innerhalb", "von", "Tagen", "ohne", "Abzug",
    "Stra\xE1"
    "e",
    "Menge", "&", "<DIN>", "1994", "12,50", "\"M8\""};

// A table of `columns` cells of `width` characters and `rows` rows of
// `height` text lines.
std::vector<std::string> Grid(int columns, int width, int rows, int height, const std::string& fill)
{
    auto rule = [&](const char* left, const char* middle, const char* right) {
        std::string line = left;
        for (int c = 0; c < columns; ++c) {
            line.append(static_cast<std::size_t>(width), '\xC4');
            line += c + 1 < columns ? middle : right;
        }
        return line;
    };
    std::vector<std::string> lines = {rule("\xDA", "\xC2", "\xBF")};
    for (int r = 0; r < rows; ++r) {
        for (int h = 0; h < height; ++h) {
            std::string line = "\xB3";
            for (int c = 0; c < columns; ++c) {
                std::string cell = fill.substr(0, static_cast<std::size_t>(width));
                cell.resize(static_cast<std::size_t>(width), ' ');
                line += cell + "\xB3";
            }
            lines.push_back(line);
        }
        lines.push_back(r + 1 < rows ? rule("\xC3", "\xC5", "\xB4") : rule("\xC0", "\xC1", "\xD9"));
    }
    return lines;
}

// A one-column table whose cell holds a table `depth` levels deep next to
// some text; `width` is the inner width.
std::vector<std::string> Nested(int depth, int width)
{
    if (depth == 0) return Grid(2, width / 2 - 1, 2, 1, "Wert 12,50");
    std::vector<std::string> inner = Nested(depth - 1, width - 4);
    std::vector<std::string> lines;
    lines.push_back("\xDA" + std::string(static_cast<std::size_t>(width), '\xC4') + "\xBF");
    lines.push_back("\xB3" + std::string("Ebene ") + std::to_string(depth) +
        std::string(static_cast<std::size_t>(width - 7), ' ') + "\xB3");
    for (const std::string& line : inner) {
        std::string padded = line + std::string(static_cast<std::size_t>(width - 1) - line.size(), ' ');
        lines.push_back("\xB3" + std::string(" ") + padded + "\xB3");
    }
    lines.push_back("\xC0" + std::string(static_cast<std::size_t>(width), '\xC4') + "\xD9");
    return lines;
}

TFa4Builder WithOuterLines()
{
    TFa4Builder builder;
    builder.Line("Seite 1\xFF\x01");
    builder.EmptyParagraphs(5);
    builder.Line("\xFF\x88\xFF\x80Musterfirma GmbH\xFF\x90\xFF\x98\xFF\x01");
    builder.EmptyParagraphs(5);
    return builder;
}

} // namespace

std::string RealisticDocument(unsigned seed)
{
    std::mt19937 random(seed);
    auto word = [&] { return Words[random() % Words.size()]; };
    TFa4Builder builder = WithOuterLines();
    while (builder.LineCount() < 9990) {
        const std::size_t kind = random() % 40;
        if (kind == 0 && builder.LineCount() < 9970) {
            for (const auto& line : Grid(3, 12, 4, 2, "Schrauben M8")) builder.Line(line);
            builder.EmptyParagraphs(1);
            continue;
        }
        // A paragraph of a few lines of about 70 characters.
        const int lines = 1 + static_cast<int>(random() % 6);
        for (int i = 0; i < lines; ++i) {
            std::string line;
            if (i == 0 && kind < 4) line += std::string("\xFF\x21\x05\x00", 4) + "1.  ";
            if (i == 0 && kind == 4) line += "                              ";
            while (line.size() < 66) {
                if (random() % 12 == 0)
                    line += "\xFF\x80" + word() + "\xFF\x90";
                else
                    line += word();
                line += ' ';
            }
            if (i + 1 < lines) {
                if (random() % 4 == 0) line += "An- ";
            } else {
                line += "Ende.\xFF\x01";
            }
            builder.Line(line);
        }
        builder.EmptyParagraphs(1);
    }
    return builder.Bytes();
}

std::string RuleRunsDocument()
{
    TFa4Builder builder = WithOuterLines();
    std::string line;
    while (line.size() < 4000) line += "Wort \xC4\xC4 Zahl \xCD\xCD\xCD 12 \xC4 ";
    for (int i = 0; i < 200; ++i) builder.Line(line + "\xFF\x01");
    return builder.Bytes();
}

std::string WideTableDocument()
{
    TFa4Builder builder = WithOuterLines();
    for (const auto& line : Grid(3000, 1, 40, 1, "x")) builder.Line(line);
    return builder.Bytes();
}

std::string TallTableDocument()
{
    TFa4Builder builder = WithOuterLines();
    for (const auto& line : Grid(3, 20, 4000, 1, "Schrauben M8 verzinkt")) builder.Line(line);
    return builder.Bytes();
}

std::string NestedTablesDocument()
{
    TFa4Builder builder = WithOuterLines();
    const std::vector<std::string> table = Nested(5, 60);
    while (builder.LineCount() + table.size() + 1 < 9990) {
        for (const auto& line : table) builder.Line(line);
        builder.Line("Text zwischen den Tabellen.\xFF\x01");
    }
    return builder.Bytes();
}

} // namespace quorvex::bench
