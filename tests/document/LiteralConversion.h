#pragma once
// The line, table and cell conversion written step by step the slow way:
// every plain text, raw index, edge and span computed afresh where the
// algorithm asks for it. The library must produce the same bytes and leave
// the same conversion state.

#include <cstdint>
#include <string>
#include <vector>

#include "ZtFileInfoFa4.h"

namespace quorvex::testing {

class TLiteralConversion {
public:
    explicit TLiteralConversion(TZtFileInfoFa4& document)
        : Doc(document)
    { }

    std::string ConvertLines(std::int32_t first, std::int32_t last);
    std::string ConvertTable(
        std::int32_t& pos, std::int32_t& line, std::int32_t colLimit, std::int32_t lastLine);
    std::string ConvertCellText(const TCellRect& rect, bool& fixed);

private:
    // What the markup writes between lines, and at the start of a fixed line.
    std::string LineEnd() const { return Doc.Markup() == TMarkup::Classic ? "\r" : "\r\n"; }
    bool EndsWithLineEnd(const std::string& text) const { return text.ends_with(LineEnd()); }
    std::string FixedFont() const
    {
        return Doc.Markup() == TMarkup::Classic ? "<font class=\"fixed\">"
                                                : "<font class=\"fixed\" face=\"Courier New, monospace\">";
    }

    struct TGrid {
        std::int32_t TopLine = 0, LeftCol = 0, RightCol = 0, BottomLine = 0;
        std::vector<std::int32_t> ColBounds, RowBounds;
        std::vector<std::string> RowTexts;
    };
    std::string ConvertCell(const TGrid& grid, std::int32_t c, std::int32_t r);

    TZtFileInfoFa4& Doc;
};

} // namespace quorvex::testing
