// Cell texts of the line list for the raw bytes of a document line.
#pragma once

#include <QString>

#include <string_view>

namespace quorvex {

// The bytes as the glyphs a DOS screen showed (code page 437); NUL, which
// the screen showed as a blank, becomes a blank.
QString LineGlyphText(std::string_view bytes);
// Two upper-case hexadecimal digits and a blank for every byte.
QString LineHexText(std::string_view bytes);

}  // namespace quorvex
