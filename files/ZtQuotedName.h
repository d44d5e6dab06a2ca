#pragma once
// File names made safe to print: a name may hold any byte, and a control
// character that reaches a terminal can move the cursor, clear the screen
// or start a line that looks like the program's own.

#include <string>
#include <string_view>

namespace quorvex {

// The name unchanged when it holds no control character; else quoted as ls
// quotes it: printable runs in single quotes, control characters as $'\n',
// $'\033' and the like, so that the text pasted into a shell is the name:
// "a\x1b]0;x\a" gives 'a'$'\033'']0;x'$'\a'.
// Control characters are the bytes 0x00 to 0x1F and 0x7F, the C1 controls
// U+0080 to U+009F as UTF-8 spells them (C2 80 to C2 9F), and a byte 0x80
// to 0x9F that is not part of a valid UTF-8 sequence, which a terminal
// reading 8-bit bytes takes for a C1 control (0x9B starts a cursor command
// there). Every other byte, UTF-8 or the 8-bit letters of old names, is
// printed as it is.
std::string QuotedName(std::string_view name);

// Text that is no name (a message that may hold a name from elsewhere) with
// every control character as $'\ooo'; line ends stay when `keepLineEnds`.
std::string WithoutControls(std::string_view text, bool keepLineEnds = false);

} // namespace quorvex
