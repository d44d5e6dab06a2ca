#pragma once
// The HTML head put in front of every converted document unless the user
// loads or edits another: 16 lines, each ended by CR LF.

#include <string_view>

namespace quorvex {

inline constexpr std::string_view DefaultPreferencesText =
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
