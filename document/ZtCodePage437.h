#pragma once
// The characters a DOS screen showed for each byte (IBM PC code page 437),
// including the glyphs of the control bytes 0x01..0x1F and 0x7F.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvex {

// Unicode code point of every byte value.
extern const std::array<char32_t, 256> Cp437ToUnicode;

// The bytes as UTF-8 text of their code page 437 glyphs (0x00 stays NUL).
std::string Cp437ToUtf8(std::string_view bytes);

// Appends the UTF-8 bytes of a Unicode character.
void AppendUtf8(std::string& out, char32_t c);

} // namespace quorvex
