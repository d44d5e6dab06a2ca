#pragma once
// UTF-8 as file names and page texts need it checked: names may hold any
// bytes, and both the index page and the JSON lines must tell which do not
// form UTF-8.

#include <cstddef>
#include <string_view>

namespace quorvex {

// Length of the valid UTF-8 sequence at the start of `text`, 0 when there is
// none (stray or missing continuation bytes, overlong forms, surrogates,
// values past U+10FFFF).
inline std::size_t Utf8SequenceLength(std::string_view text)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    char32_t value = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) != 0x80) return 0;
        value = (value << 6) | (byte & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    return length;
}

inline bool IsValidUtf8(std::string_view text)
{
    while (!text.empty()) {
        const std::size_t length = Utf8SequenceLength(text);
        if (length == 0) return false;
        text.remove_prefix(length);
    }
    return true;
}

} // namespace quorvex
