#pragma once
// The HTML head put in front of every converted document unless the user
// loads or edits another: 16 lines, each ended by CR LF.

#include <string_view>

namespace quorvex {

// The font sizes are written as `font-size`: browsers drop a `font` rule that
// names no family, so the classic head leaves every font at body size. Each
// family list ends in a generic family, so that a system without the named
// fonts still shows fixed text in a fixed-width font and tables aligned. The
// rules name classes only: word processors that read the head apply no rule
// that names an element as well. The page is ASCII, and says what it is.
inline constexpr std::string_view DefaultPreferencesText =
    "<head>\r\n"
    "<meta charset=\"utf-8\">\r\n"
    "<style type=\"text/css\">\r\n"
    "  body  {font-family:Times New Roman, Verdana, Arial, Helvetica, serif}\r\n"
    "  p.indent {}\r\n"
    "  .fixed {font-family:Courier New, monospace}\r\n"
    "  .font1 {font-size:18pt}\r\n"
    "  .font2 {font-size:16pt}\r\n"
    "  .font3 {font-size:14pt}\r\n"
    "  .font4 {font-size:13pt}\r\n"
    "  .font5 {font-size:11pt}\r\n"
    "  .font6 {font-size:10pt}\r\n"
    "  .font7 {font-size:9pt}\r\n"
    "  .font8 {}\r\n"
    "</style>\r\n"
    "</head>\r\n";

// The head of the classic output, for pages that must match it byte for byte.
inline constexpr std::string_view ClassicPreferencesText =
    "<head>\r\n"
    "<style type=\"text/css\">\r\n"
    "  body  {font-family:Times New Roman, Verdana, Arial, Helvetica}\r\n"
    "  p.indent {}\r\n"
    "  td.fixed {font-family:Courier New}\r\n"
    "  font.fixed {font-family:Courier New}\r\n"
    "  font.font1 {font:18pt}\r\n"
    "  font.font2 {font:16pt}\r\n"
    "  font.font3 {font:14pt}\r\n"
    "  font.font4 {font:13pt}\r\n"
    "  font.font5 {font:11pt}\r\n"
    "  font.font6 {font:10pt}\r\n"
    "  font.font7 {font:9pt}\r\n"
    "  font.font8 {}\r\n"
    "</style>\r\n"
    "</head>\r\n";

} // namespace quorvex
