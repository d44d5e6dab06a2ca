#pragma once
// The texts of the line list's cells: what a row of the window's list shows
// for one line of the document.

#include <cstdint>
#include <optional>
#include <string>

#include "ZtFileInfoFa4.h"

namespace quorvex {

// Column indexes of the line list, in the order the cells are asked for.
enum TLineColumn { lcLength = 0, lcText = 1, lcHex = 2, lcIndex = 3 };

// The text of one cell as UTF-8: the line's length, its bytes as the glyphs
// a DOS screen showed, its bytes in hexadecimal ("41 42 FF "), or the row
// index. No text for a column outside the four.
std::optional<std::string> LineCellText(
    const TZtFileInfoFa4& document, const TFa4LineEntry& entry, std::int32_t row, int column);

// "41 42 FF ": two upper-case hex digits and one blank per byte.
std::string HexText(std::string_view bytes);

} // namespace quorvex
