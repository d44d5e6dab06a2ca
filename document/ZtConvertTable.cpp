// Box-drawn tables: the frame is measured from its top and left edges, the
// grid's boundaries collected, and one cell element written per cell corner.

#include <algorithm>
#include <array>
#include <vector>

#include "ZtByteSearch.h"
#include "ZtFa4Converter.h"
#include "ZtTextSlots.h"

namespace quorvex {

using namespace std::string_view_literals;

namespace {

constexpr auto TeeBytes = [] {
    TByteSet tees{};
    for (std::size_t b = 0; b < 256; ++b) tees[b] = DownTees[b] || RightTees[b];
    return TByteList<8>(tees);
}();

} // namespace

namespace {

// The number of sorted `bounds` below each value from `first` to `last`.
std::vector<std::int32_t> CountBelowEach(
    const std::vector<std::int32_t>& bounds, std::int32_t first, std::int32_t last)
{
    std::vector<std::int32_t> counts(static_cast<std::size_t>(last - first + 1));
    auto bound = bounds.begin();
    for (std::int32_t value = first; value <= last; ++value) {
        while (bound != bounds.end() && *bound < value) ++bound;
        counts[static_cast<std::size_t>(value - first)] = static_cast<std::int32_t>(bound - bounds.begin());
    }
    return counts;
}

std::int32_t SpanCount(
    std::int32_t first, std::int32_t last, const std::vector<std::int32_t>& countsBelow, std::int32_t origin)
{
    return countsBelow[static_cast<std::size_t>(last - origin)] -
        countsBelow[static_cast<std::size_t>(first - origin)] + 1;
}

void SortUnique(std::vector<std::int32_t>& bounds)
{
    std::sort(bounds.begin(), bounds.end());
    bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
}

// The texts of the bytes that a cell writes by their translation alone:
// all but spaces, hyphens, table corners and control sequences.
TTextSlots MakeCellSlots(const std::array<std::string_view, 256>& texts, bool followNesting)
{
    TTextSlots slots;
    for (std::size_t b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        if (byte == 0x20 || byte == 0x2D || byte == 0xFF || TableCorners[byte] ||
            (followNesting && InlineRoleOfChar(byte) != 0))
            slots.LeaveOut(byte);
        else
            slots.Set(byte, texts[b]);
    }
    return slots;
}

const TTextSlots& CellSlotsFor(TCharOutput output, TMarkup markup)
{
    static const std::array<TTextSlots, 4> slots = {
        MakeCellSlots(CharTextsFor(TCharOutput::Bytes, TMarkup::Classic), false),
        MakeCellSlots(CharTextsFor(TCharOutput::CharReferences, TMarkup::Classic), false),
        MakeCellSlots(CharTextsFor(TCharOutput::Bytes, TMarkup::Portable), true),
        MakeCellSlots(CharTextsFor(TCharOutput::CharReferences, TMarkup::Portable), true)};
    return slots[(output == TCharOutput::Bytes ? 0 : 1) + (markup == TMarkup::Classic ? 0 : 2)];
}

// Appends the texts of the bytes from `from` on, before `to`, for as long as
// the slots hold them, and returns where that ended.
std::int32_t AppendSlottedRun(std::string& text, const unsigned char* bytes, std::int32_t from,
    std::int32_t to, const TTextSlots& slots)
{
    constexpr std::int32_t ChunkBytes = 64;
    std::int32_t p = from;
    // Most cells hold a few characters: a buffer would cost more than it saves.
    if (to - from <= 4) {
        for (; p < to && slots.Holds(bytes[p]); ++p) {
            const std::uint8_t size = slots.Size[bytes[p]];
            if (size == 1)
                text += slots.Text[bytes[p]][0];
            else
                text.append(slots.Text[bytes[p]].data(), size);
        }
        return p;
    }
    std::array<char, (ChunkBytes + 1) * TTextSlots::SlotSize> buffer;
    for (;;) {
        char* out = buffer.data();
        const std::int32_t limit = std::min(to, p + ChunkBytes);
        while (p < limit && slots.Holds(bytes[p])) out = slots.Write(out, bytes[p++]);
        text.append(buffer.data(), static_cast<std::size_t>(out - buffer.data()));
        if (p < limit || p == to) return p;
    }
}

} // namespace

// The per-call data of one table.
struct TTableGrid {
    std::int32_t TopLine = 0;
    std::int32_t LeftCol = 0;
    std::int32_t RightCol = 0;
    std::int32_t BottomLine = 0;
    std::vector<std::int32_t> ColBounds;
    std::vector<std::int32_t> RowBounds;
    std::vector<std::string_view> Rows; // plain texts of the lines from TopLine on
    std::vector<const TLineScan*> Scans; // the scans they come from
    // For each column from LeftCol to RightCol and each line from TopLine to
    // BottomLine: how many boundaries lie before it. Cells lie inside the
    // frame, so their spans are two look-ups.
    std::vector<std::int32_t> ColsBefore;
    std::vector<std::int32_t> RowsBefore;

    // The last edge searches, so that the walk finds each edge once per run of
    // corners that share it: the edge found from one corner holds for every
    // later corner before it.
    std::int32_t RightSearchLine = -1;
    std::int32_t RightSearchCol = 0;
    std::int32_t RightSearchEdge = 0;
    struct TBottomSearch {
        std::int32_t Line = -1;
        std::int32_t Edge = 0;
    };
    std::vector<TBottomSearch> BottomSearches; // by column from LeftCol

    std::string_view Text(std::int32_t line) const { return Rows[static_cast<std::size_t>(line - TopLine)]; }
    // How many grid characters the inner scan and the walk each look at.
    std::int64_t InnerArea() const
    {
        std::int64_t area = 0;
        for (std::int32_t r = TopLine; r <= BottomLine - 2; ++r)
            area += 1 + std::max(0, LastScannedCol(Text(r)) - LeftCol + 1);
        return area;
    }
    // The last column that the inner scan and the walk look at in a line.
    std::int32_t LastScannedCol(std::string_view text) const
    {
        return std::min(RightCol - 2, static_cast<std::int32_t>(text.size()) - 3);
    }

    // Follows the top edge from the corner to a top-right corner, recording
    // the down tees. False when something else than an edge stands on it.
    bool MeasureTopEdge(std::int32_t colLimit)
    {
        const std::string_view text = Text(TopLine);
        const std::int32_t end = std::min(static_cast<std::int32_t>(text.size()) - 1, colLimit);
        ColBounds.push_back(LeftCol);
        RightCol = LeftCol + 1;
        while (RightCol <= end) {
            const auto b = static_cast<unsigned char>(text[static_cast<std::size_t>(RightCol)]);
            if (TopRightCorners[b]) break;
            if (DownTees[b])
                ColBounds.push_back(RightCol);
            else if (!HorizontalLines[b])
                return false;
            ++RightCol;
        }
        ColBounds.push_back(RightCol);
        return true;
    }

    // Boundaries that start inside the frame, then the look-up tables.
    void AddInnerTees()
    {
        for (std::int32_t r = TopLine + 1; r <= BottomLine - 2; ++r) {
            const std::string_view text = Text(r);
            const std::int32_t lastCol = LastScannedCol(text);
            if (lastCol <= LeftCol) continue;
            const auto end = static_cast<std::size_t>(lastCol) + 1;
            for (auto c = FindByteOf(text, static_cast<std::size_t>(LeftCol) + 1, end, TeeBytes); c < end;
                 c = FindByteOf(text, c + 1, end, TeeBytes)) {
                if (DownTees[static_cast<unsigned char>(text[c])])
                    ColBounds.push_back(static_cast<std::int32_t>(c));
                else
                    RowBounds.push_back(r);
            }
        }
        SortUnique(ColBounds);
        SortUnique(RowBounds);
        ColsBefore = CountBelowEach(ColBounds, LeftCol, RightCol);
        RowsBefore = CountBelowEach(RowBounds, TopLine, BottomLine);
    }

    unsigned char CharAt(std::int32_t col, std::int32_t line) const
    {
        const std::string_view text = Text(line);
        return col >= 0 && static_cast<std::size_t>(col) < text.size()
            ? static_cast<unsigned char>(text[static_cast<std::size_t>(col)])
            : 0;
    }

    std::int32_t FindRightEdge(std::int32_t col, std::int32_t line)
    {
        if (line == RightSearchLine && col >= RightSearchCol && col < RightSearchEdge) return RightSearchEdge;
        // Past its text a line holds no edge: the search runs to the frame.
        const std::string_view text = Text(line);
        const auto limit = static_cast<std::int32_t>(std::min<std::size_t>(RightCol, text.size()));
        std::int32_t k = col + 1;
        while (k < limit && !RightEdgeStops[static_cast<unsigned char>(text[static_cast<std::size_t>(k)])])
            ++k;
        if (k >= limit) k = std::max(col + 1, RightCol);
        RightSearchLine = line;
        RightSearchCol = col;
        RightSearchEdge = k;
        return k;
    }

    std::int32_t FindBottomEdge(std::int32_t col, std::int32_t line)
    {
        if (BottomSearches.empty()) BottomSearches.resize(static_cast<std::size_t>(RightCol - LeftCol));
        TBottomSearch& last = BottomSearches[static_cast<std::size_t>(col - LeftCol)];
        if (last.Line >= 0 && line >= last.Line && line < last.Edge) return last.Edge;
        std::int32_t k = line + 1;
        while (k < BottomLine && !BottomEdgeStops[CharAt(col, k)]) ++k;
        last = {line, k};
        return k;
    }
};

namespace {

void AppendAttribute(std::string& out, std::string_view name, std::int32_t value)
{
    out += ' ';
    out += name;
    out += "=\""sv;
    out += std::to_string(value);
    out += '"';
}

} // namespace

bool TFa4Converter::ConvertTable(
    std::string& out, std::int32_t& pos, std::int32_t& line, std::int32_t colLimit, std::int32_t lastLine)
{
    TTableGrid grid;
    grid.TopLine = line;
    const TLineScan& top = Scan(line);
    TCodeEffects effects;
    grid.LeftCol = top.PlainCount(pos, effects);
    ApplyCodeEffects(effects);
    ApplyCodeEffects(top.AllEffects());
    grid.Rows.push_back(top.Plain());
    grid.Scans.push_back(&top);
    const bool topEdge = grid.MeasureTopEdge(colLimit);
    Charge(grid.RightCol - grid.LeftCol);
    if (!topEdge) return false;
    const TLeftEdge leftEdge = MeasureLeftEdge(grid, lastLine);
    if (leftEdge == TLeftEdge::NoTable) return false;
    // A box whose left edge runs into a line too short for it, or past the
    // last line there can be, cannot be read as drawn. The classic output
    // fails there; the default one ends the table above that line, and
    // converts the lines of a box without a row as ordinary lines.
    const bool broken =
        leftEdge == TLeftEdge::Broken || (FMarkup == TMarkup::Portable && grid.BottomLine >= Fa4MaxLines);
    if (broken) {
        NoteUnreadTable(line, pos);
        if (grid.BottomLine == grid.TopLine + 1) return false;
    }
    // The inner scan and the walk each read the grid once.
    Charge(2 * grid.InnerArea());
    grid.AddInnerTees();

    FNesting.Block();
    out += "<table border=\"1\" cellpadding=\"0\" cellspacing=\"0\">"sv;
    out += FLineEnd;
    WriteRows(out, grid);
    out += "</table>"sv;
    out += FLineEnd;
    line = broken ? grid.BottomLine - 1 : grid.BottomLine;
    pos = RawIndex(line, grid.RightCol);
    return true;
}

void TFa4Converter::NoteUnreadTable(std::int32_t line, std::int32_t pos)
{
    // A table drawn in a cell is met again by every cell its corners start.
    const std::pair<std::int32_t, std::int32_t> corner{line, pos};
    if (std::find(FUnreadTables.begin(), FUnreadTables.end(), corner) == FUnreadTables.end())
        FUnreadTables.push_back(corner);
}

// Reads the lines below the corner until a bottom-left corner, recording
// the right tees; every line read counts as read for the conversion state.
// A line too short to reach the edge is left to be converted as a line of
// its own when the box is taken as broken.
TFa4Converter::TLeftEdge TFa4Converter::MeasureLeftEdge(TTableGrid& grid, std::int32_t lastLine)
{
    grid.RowBounds.push_back(grid.TopLine);
    grid.BottomLine = grid.TopLine + 1;
    while (grid.BottomLine <= lastLine) {
        Charge(1);
        const TLineScan& row = Scan(grid.BottomLine);
        if (row.PlainLength() <= grid.LeftCol && FMarkup == TMarkup::Portable) {
            grid.RowBounds.push_back(grid.BottomLine);
            return TLeftEdge::Broken;
        }
        ApplyCodeEffects(row.AllEffects());
        grid.Rows.push_back(row.Plain());
        grid.Scans.push_back(&row);
        if (row.PlainLength() <= grid.LeftCol) throw ERangeError();
        const auto b = static_cast<unsigned char>(row.Plain()[static_cast<std::size_t>(grid.LeftCol)]);
        if (BottomLeftCorners[b]) break;
        if (RightTees[b])
            grid.RowBounds.push_back(grid.BottomLine);
        else if (!VerticalLines[b])
            return TLeftEdge::NoTable;
        ++grid.BottomLine;
    }
    grid.RowBounds.push_back(grid.BottomLine);
    return TLeftEdge::Drawn;
}

// One row element per grid line that holds a cell corner.
void TFa4Converter::WriteRows(std::string& out, TTableGrid& grid)
{
    for (std::int32_t r = grid.TopLine; r <= grid.BottomLine - 2; ++r) {
        const std::string_view text = grid.Text(r);
        const std::int32_t lastCol = grid.LastScannedCol(text);
        bool rowOpen = false;
        for (std::int32_t c = grid.LeftCol; c <= lastCol; ++c) {
            if (!CellCorners[static_cast<unsigned char>(text[static_cast<std::size_t>(c)])]) continue;
            if (!rowOpen) {
                out += "<tr>"sv;
                rowOpen = true;
            }
            ConvertCell(out, grid, c, r);
        }
        if (rowOpen) {
            out += "</tr>"sv;
            out += FLineEnd;
        }
    }
}

void TFa4Converter::ConvertCell(std::string& out, TTableGrid& grid, std::int32_t col, std::int32_t line)
{
    TCellRect rect;
    rect.FirstCol = col + 1;
    rect.FirstLine = line + 1;
    rect.LastCol = grid.FindRightEdge(col, line) - 1;
    rect.LastLine = grid.FindBottomEdge(col, line) - 1;
    const std::int32_t colSpan = SpanCount(rect.FirstCol, rect.LastCol, grid.ColsBefore, grid.LeftCol);
    const std::int32_t rowSpan = SpanCount(rect.FirstLine, rect.LastLine, grid.RowsBefore, grid.TopLine);
    // The text goes straight after the head most cells have; the few that
    // turn out to need attributes get their head replaced.
    const std::size_t headAt = out.size();
    out += "<td>"sv;
    const std::size_t textAt = out.size();
    bool fixed = false;
    ConvertCellText(out, rect, fixed, &grid);
    FNesting.Block();
    Charge(static_cast<std::int64_t>(out.size() - textAt));
    if (fixed || colSpan > 1 || rowSpan > 1) {
        std::string head = "<td";
        if (fixed) head += " class=\"fixed\""sv;
        if (colSpan > 1) AppendAttribute(head, "colspan", colSpan);
        if (rowSpan > 1) AppendAttribute(head, "rowspan", rowSpan);
        head += '>';
        out.replace(headAt, textAt - headAt, head);
    }
    out += "</td>"sv;
}

void TFa4Converter::ConvertCellText(std::string& text, const TCellRect& rect, bool& fixed)
{
    ConvertCellText(text, rect, fixed, nullptr);
}

void TFa4Converter::ConvertCellText(
    std::string& text, const TCellRect& rect, bool& fixed, const TTableGrid* grid)
{
    const std::size_t cellStart = text.size();
    fixed = false;
    bool hyphenPending = false;
    const TTextSlots& slots = CellSlotsFor(FCharOutput, FMarkup);
    for (std::int32_t i = rect.FirstLine; i <= rect.LastLine; ++i) {
        // One scan of the line serves both edges of the cell; a table has
        // its lines' scans at hand.
        const TLineScan& scan =
            grid != nullptr ? *grid->Scans[static_cast<std::size_t>(i - grid->TopLine)] : Scan(i);
        const unsigned char* bytes = scan.RawBytes();
        std::int32_t length = scan.RawLength();
        TCodeEffects effects;
        const std::int32_t start = scan.RawIndex(rect.FirstCol, effects);
        ApplyCodeEffects(effects);
        // A line whose text ends before the cell's last column ends its segment
        // at its own last byte.
        std::int32_t end = std::min<std::int32_t>(scan.RawIndex(rect.LastCol, effects), length - 1);
        ApplyCodeEffects(effects);
        Charge(1 + std::max(0, end - start + 1));
        // After a dropped end hyphen the segment completes the word: no CR,
        // which a browser would show as a space inside it.
        const bool joined = hyphenPending && FHyphenJoin == hjJoined;
        if (text.size() > cellStart && text.back() != FLineEnd.back() && !joined) text += FLineEnd;
        for (std::int32_t p = start; p <= end; ++p) {
            if (!hyphenPending) {
                p = AppendSlottedRun(text, bytes, p, end + 1, slots);
                if (p > end) break;
            }
            unsigned char b = bytes[p];
            if (hyphenPending) {
                if (b == 0x20) {
                    text += "&nbsp;"sv;
                    continue;
                }
                if (CapitalLetters[b]) {
                    text += '-';
                    hyphenPending = false;
                } else if (CellSmallLetters[b]) {
                    text += "&shy;"sv;
                    hyphenPending = false;
                }
            }
            if (b == 0x20) {
                if (p == start || (p < end && bytes[p + 1] == 0x20)) {
                    text += "&nbsp;"sv;
                    fixed = true;
                } else {
                    text += ' ';
                }
            } else if (b == 0x2D) {
                const bool beforeSpaceOrAtEnd = p == end || bytes[p + 1] == 0x20;
                if (beforeSpaceOrAtEnd && p > 0 && CellSmallLetters[bytes[p - 1]]) {
                    hyphenPending = true;
                    // The space after the hyphen is passed over, as at a line's end.
                    if (p < end) ++p;
                } else {
                    text += '-';
                }
            } else if (TableCorners[b]) {
                if (ConvertTable(text, p, i, rect.LastCol, rect.LastLine)) {
                    const TFa4LineEntry& entry = FDoc.GetLine(i);
                    bytes = FDoc.LineBytes(entry);
                    length = entry.Length;
                    end = std::min<std::int32_t>(RawIndex(i, rect.LastCol), length - 1);
                } else {
                    text += '+';
                }
            } else if (b == 0xFF) {
                AppendCode(text, bytes, p, FDoc.AvailableFrom(bytes));
            } else {
                AppendChar(text, b);
            }
        }
        if (!hyphenPending && i < rect.LastLine) text += "<br>"sv;
    }
}

} // namespace quorvex
