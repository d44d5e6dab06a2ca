// Arbitrary bytes split into lines at LF and scanned from an arbitrary start
// state: every line's tokens must cover it exactly once, in order, and reach
// the line end.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ZtHtmlHighlighter.h"

namespace {

void Check(bool condition)
{
    if (!condition) __builtin_trap();
}

void ScanLine(quorvex::TZtHtmlHighlighter& highlighter, std::string_view line, int index)
{
    const std::size_t nul = line.find('\0');
    const int end = static_cast<int>(nul == std::string_view::npos ? line.size() : nul);
    highlighter.StartLine(line, index);
    int position = 0;
    // Each empty token changes the state or is followed by one that moves on,
    // so a line never needs more than a few tokens per character.
    const int maxTokens = 4 * end + 8;
    for (int tokens = 0; !highlighter.AtLineEnd(); ++tokens) {
        Check(tokens < maxTokens);
        Check(highlighter.TokenStart() == position);
        Check(highlighter.TokenLength() >= 0);
        position += highlighter.TokenLength();
        Check(position <= end);
        highlighter.NextToken();
    }
    Check(highlighter.TokenStart() == end && highlighter.TokenLength() == 0 && position == end);
    Check(highlighter.ScanState() != quorvex::hsEscape);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    static quorvex::TZtHtmlHighlighter highlighter;
    // A line starts in a state that a line ended in, and hsEscape never
    // remains at a line's end.
    constexpr int StartStates = quorvex::hsEscape;
    static_assert(quorvex::hsEscape == quorvex::TZtHtmlHighlighter::ScanStateCount - 1);
    highlighter.SetScanState(data[0] % StartStates);
    std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    int index = 0;
    while (true) {
        const std::size_t lf = text.find('\n');
        ScanLine(highlighter, text.substr(0, lf), index++);
        if (lf == std::string_view::npos) break;
        text.remove_prefix(lf + 1);
    }
    return 0;
}
