#pragma once
// The texts of the line list's cells that show a line's bytes: as screen
// glyphs and in hexadecimal.

#include <string>
#include <string_view>

namespace quorvex {

// The line's bytes as the glyphs a DOS screen showed, in UTF-8.
std::string ScreenText(std::string_view bytes);

// "41 42 FF ": two upper-case hex digits and one blank per byte.
std::string HexText(std::string_view bytes);

} // namespace quorvex
