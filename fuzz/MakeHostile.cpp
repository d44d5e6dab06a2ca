// Writes hand-made worst-case documents of at most 1 MiB into a folder:
// the shapes that make a table converter or a rule scanner work hardest.
// Usage: make_hostile FOLDER

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "Fa4Builder.h"

namespace {

using quorvex::testing::PutEntry;
using quorvex::testing::TFa4Builder;
constexpr std::size_t MaxBytes = 1 << 20;
constexpr std::size_t TableBytes = 38 + 11 * 10000;

// Concentric boxes: every box is a table whose one cell holds the next box,
// and every inner top-left corner is a cell corner of every outer box.
TFa4Builder NestedBoxes(int size)
{
    TFa4Builder builder;
    builder.Lines(quorvex::testing::ConcentricBoxes(size));
    return builder;
}

// A grid of one-character cells: rows x columns crossings.
TFa4Builder NarrowGrid(int rows, int columns)
{
    TFa4Builder builder;
    auto rule = [&](char left, char middle, char right) {
        std::string line(1, left);
        for (int c = 0; c < columns; ++c) line += std::string("\xC4") + (c + 1 < columns ? middle : right);
        return line;
    };
    std::string text("\xB3");
    for (int c = 0; c < columns; ++c) text += std::string("x") + "\xB3";
    builder.Line(rule('\xDA', '\xC2', '\xBF'));
    for (int r = 0; r < rows; ++r) {
        builder.Line(text);
        builder.Line(r + 1 < rows ? rule('\xC3', '\xC5', '\xB4') : rule('\xC0', '\xC1', '\xD9'));
    }
    return builder;
}

// Lines of one repeated byte, as long as a line may be.
TFa4Builder RepeatedLines(const std::string& unit, int lines, std::size_t length)
{
    TFa4Builder builder;
    std::string line;
    while (line.size() + unit.size() <= length) line += unit;
    for (int i = 0; i < lines; ++i) builder.Line(line);
    return builder;
}

// Top-left corners that each start a left edge running far down before the
// shape turns out not to be a table.
TFa4Builder FailingCorners(int lines, int width)
{
    TFa4Builder builder;
    std::string top;
    for (int i = 0; i < width / 2; ++i) top += "\xDA\xBF";
    builder.Line(top);
    for (int i = 1; i < lines; ++i) builder.Line(std::string(width, '\xB3'));
    return builder;
}

// Where the text of line `index` of a built document starts, counted from
// file offset 38 as the line table counts.
std::uint32_t TextOffset(const std::string& bytes, int index)
{
    const std::size_t at = 38 + 11 * static_cast<std::size_t>(index) + 6;
    std::uint32_t offset = 0;
    for (int i = 3; i >= 0; --i) offset = (offset << 8) | static_cast<unsigned char>(bytes[at + i]);
    return offset;
}

// Lines `first` to `last` all point at the text of line `source`: a small
// file whose lines add up to hundreds of megabytes.
std::string ShareText(std::string bytes, int source, int first, int last, std::uint16_t length)
{
    const std::uint32_t offset = TextOffset(bytes, source);
    for (int i = first; i <= last; ++i) PutEntry(bytes, i, length, offset);
    return bytes;
}

// A line of 32767 top-left corners above 9900 lines that share one text of
// vertical lines, closed by a line of letters: every corner's left edge runs
// down the whole document before it turns out not to be a table.
std::string SharedLeftEdges()
{
    constexpr int Width = 65534;
    std::string corners;
    for (int i = 0; i < Width / 2; ++i) corners += "\xDA\xBF";
    TFa4Builder builder;
    for (int i = 0; i < 12; ++i) builder.Line("x");
    builder.Line(corners).Line(std::string(Width, '\xB3')).Line(std::string(Width, 'x'));
    constexpr int Last = 9998;
    std::string bytes = ShareText(builder.Bytes(), 13, 13, Last - 1, Width);
    PutEntry(bytes, Last, Width, TextOffset(bytes, 14));
    return bytes;
}

// Every line of the document points at one text of 65535 bytes, each of
// which becomes a 12-byte entity: gigabytes of HTML from 180 KiB. Unused
// bytes pad the file to 1 MiB, which raises the conversion's bound.
std::string SharedLineText()
{
    TFa4Builder builder;
    builder.Line(std::string(65535, '\xFC'));
    std::string bytes = ShareText(builder.Bytes(), 0, 1, 9998, 65535);
    bytes.resize(MaxBytes, 'x');
    return bytes;
}

// A grid whose every cell holds a small box: each box is a table of its own
// and a cell corner of the grid.
TFa4Builder BoxesInEveryCell(int rows, int columns)
{
    TFa4Builder builder;
    for (int i = 0; i < 12; ++i) builder.Line("x");
    auto rule = [&](const char* left, const char* middle, const char* right) {
        std::string line = left;
        for (int c = 0; c < columns; ++c) line += std::string(6, '\xC4') + (c + 1 < columns ? middle : right);
        return line;
    };
    auto cells = [&](const char* inner) {
        std::string line = "\xB3";
        for (int c = 0; c < columns; ++c) line += std::string(" ") + inner + " \xB3";
        return line;
    };
    builder.Line(rule("\xDA", "\xC2", "\xBF"));
    for (int r = 0; r < rows; ++r) {
        builder.Line(cells("\xDA\xC4\xC4\xBF"));
        builder.Line(cells("\xB3"
                           "ab\xB3"));
        builder.Line(cells("\xC0\xC4\xC4\xD9"));
        builder.Line(r + 1 < rows ? rule("\xC3", "\xC5", "\xB4") : rule("\xC0", "\xC1", "\xD9"));
    }
    return builder;
}

// Tables of one-character cells as wide as a line may be, in the footer and
// header lines, which are converted whatever the line count.
TFa4Builder WideOuterTables()
{
    constexpr int Columns = 32767;
    auto rule = [](const char* left, const char* middle, const char* right) {
        std::string line = left;
        for (int c = 0; c < Columns; ++c) line += std::string("\xC4") + (c + 1 < Columns ? middle : right);
        return line;
    };
    std::string text = "\xB3";
    for (int c = 0; c < Columns; ++c) text += "x\xB3";
    TFa4Builder builder;
    for (int section = 0; section < 2; ++section) {
        builder.Line(rule("\xDA", "\xC2", "\xBF"));
        for (int i = 0; i < 4; ++i) builder.Line(text);
        builder.Line(rule("\xC0", "\xC1", "\xD9"));
    }
    builder.Line("Ende");
    return builder;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_hostile FOLDER\n");
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path folder = argv[1];
    fs::create_directories(folder);
    const int budget = static_cast<int>(MaxBytes - TableBytes);
    const std::vector<std::pair<std::string, std::function<std::string()>>> documents = {
        {"nested-boxes.fa4", [] { return NestedBoxes(900).Bytes(); }},
        {"nested-boxes-small.fa4", [] { return NestedBoxes(40).Bytes(); }},
        {"narrow-grid.fa4", [] { return NarrowGrid(300, 600).Bytes(); }},
        {"rules-65535.fa4", [&] { return RepeatedLines("\xC4", budget / 65535, 65535).Bytes(); }},
        {"rule-runs.fa4", [&] { return RepeatedLines("\xC4 ", budget / 65535, 65535).Bytes(); }},
        {"ff-bytes.fa4", [&] { return RepeatedLines("\xFF", budget / 65535, 65535).Bytes(); }},
        {"indent-codes.fa4", [&] { return RepeatedLines("\xFF\x21\x05", budget / 60000, 60000).Bytes(); }},
        {"failing-corners.fa4", [] { return FailingCorners(900, 900).Bytes(); }},
        {"shared-left-edges.fa4", [] { return SharedLeftEdges(); }},
        {"shared-line-text.fa4", [] { return SharedLineText(); }},
        {"boxes-in-every-cell.fa4", [] { return BoxesInEveryCell(220, 100).Bytes(); }},
        {"wide-outer-tables.fa4", [] { return WideOuterTables().Bytes(); }},
    };
    for (const auto& [name, make] : documents) {
        const std::string bytes = make();
        if (bytes.size() > MaxBytes) {
            std::fprintf(
                stderr, "make_hostile: %s is %zu bytes, more than 1 MiB\n", name.c_str(), bytes.size());
            return 1;
        }
        std::ofstream((folder / name).string(), std::ios::binary | std::ios::trunc)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        std::printf("%s %zu\n", name.c_str(), bytes.size());
    }
    return 0;
}
