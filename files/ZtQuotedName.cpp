// The quoting of names for messages, as ls quotes them.

#include "ZtQuotedName.h"

#include <cstddef>

namespace quorvex {
namespace {

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence that starts at `at`, 0 where none
// does.
std::size_t Utf8Length(std::string_view text, std::size_t at)
{
    const auto byte = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    unsigned lowest = 0; // the smallest code point of that length
    if (byte >= 0xC2 && byte <= 0xDF) {
        length = 2;
        lowest = 0x80;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
        length = 3;
        lowest = 0x800;
    } else if (byte >= 0xF0 && byte <= 0xF4) {
        length = 4;
        lowest = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    unsigned code = byte & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if (!IsContinuation(next)) return 0;
        code = code << 6 | (next & 0x3F);
    }
    if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

// How many bytes from `at` form one control character; 0 where a
// printable character starts. `printable` takes the length of that one.
std::size_t ControlLength(std::string_view text, std::size_t at, std::size_t& printable)
{
    const auto byte = static_cast<unsigned char>(text[at]);
    printable = 1;
    if (byte < 0x20 || byte == 0x7F) return 1;
    if (byte < 0x80) return 0;
    const std::size_t length = Utf8Length(text, at);
    if (length == 0) return byte <= 0x9F ? 1 : 0;
    printable = length;
    return byte == 0xC2 && static_cast<unsigned char>(text[at + 1]) <= 0x9F ? 2 : 0;
}

void AppendEscape(std::string& out, unsigned char byte)
{
    constexpr std::string_view Named = "abtnvfr"; // 0x07 to 0x0D
    out += '\\';
    if (byte >= 0x07 && byte <= 0x0D) {
        out += Named[byte - 0x07];
        return;
    }
    out += static_cast<char>('0' + (byte >> 6));
    out += static_cast<char>('0' + (byte >> 3 & 7));
    out += static_cast<char>('0' + (byte & 7));
}

// Walks `text` in runs of printable and of control characters.
template <typename TPrintable, typename TControl>
void ForEachRun(std::string_view text, TPrintable printableRun, TControl controlRun)
{
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t printable = 1;
        const bool control = ControlLength(text, at, printable) > 0;
        std::size_t end = at;
        while (end < text.size()) {
            const std::size_t length = ControlLength(text, end, printable);
            if ((length > 0) != control) break;
            end += control ? length : printable;
        }
        const std::string_view run = text.substr(at, end - at);
        if (control)
            controlRun(run);
        else
            printableRun(run);
        at = end;
    }
}

bool HoldsControls(std::string_view text)
{
    std::size_t printable = 1;
    for (std::size_t at = 0; at < text.size(); at += printable)
        if (ControlLength(text, at, printable) > 0) return true;
    return false;
}

void AppendControls(std::string& out, std::string_view run)
{
    out += "$'";
    for (const char c : run) AppendEscape(out, static_cast<unsigned char>(c));
    out += '\'';
}

} // namespace

std::string QuotedName(std::string_view name)
{
    if (!HoldsControls(name)) return std::string(name);
    std::string quoted;
    quoted.reserve(name.size() + 16);
    ForEachRun(
        name,
        [&](std::string_view run) {
            quoted += '\'';
            for (const char c : run) {
                if (c == '\'')
                    quoted += "'\\''";
                else
                    quoted += c;
            }
            quoted += '\'';
        },
        [&](std::string_view run) { AppendControls(quoted, run); });
    return quoted;
}

std::string WithoutControls(std::string_view text, bool keepLineEnds)
{
    if (!HoldsControls(text)) return std::string(text);
    std::string out;
    out.reserve(text.size() + 16);
    ForEachRun(
        text, [&](std::string_view run) { out += run; },
        [&](std::string_view run) {
            std::size_t from = 0;
            for (std::size_t i = 0; i <= run.size(); ++i) {
                if (i < run.size() && !(keepLineEnds && run[i] == '\n')) continue;
                if (i > from) AppendControls(out, run.substr(from, i - from));
                if (i < run.size()) out += '\n';
                from = i + 1;
            }
        });
    return out;
}

} // namespace quorvex
