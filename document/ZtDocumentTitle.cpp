// The title of a document: its first visible body line as Unicode text.

#include "ZtDocumentTitle.h"

#include <cstdint>
#include <limits>

#include "ZtCodePage437.h"

namespace quorvex {
namespace {

constexpr std::int32_t FirstBodyLine = 12;

// The two marks that open and close blue text are not shown; control bytes
// show as blanks.
std::string Visible(const std::string& plain)
{
    std::string shown;
    for (const char c : plain) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0xAE || byte == 0xAF) continue;
        shown += byte < 0x20 ? ' ' : c;
    }
    const std::size_t first = shown.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return shown.substr(first, shown.find_last_not_of(' ') + 1 - first);
}

} // namespace

std::string DocumentTitle(TZtFileInfoFa4& document)
{
    for (std::int32_t line = FirstBodyLine; line < document.LineCount(); ++line) {
        const std::string shown =
            Visible(document.LinePlainText(line, std::numeric_limits<std::int32_t>::max()));
        // One byte is one character of the code page.
        if (!shown.empty()) return Cp437ToUtf8(shown.substr(0, DocumentTitleLength));
    }
    return {};
}

} // namespace quorvex
