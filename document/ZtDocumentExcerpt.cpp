// Title and excerpt: the running text of a document's first lines, with the
// words that a line end hyphenated made whole again.

#include "ZtDocumentExcerpt.h"

#include "ZtByteTables.h"
#include "ZtCodePage437.h"

namespace quorvex {
namespace {

constexpr std::string_view Ellipsis = "\xE2\x80\xA6"; // U+2026 in UTF-8

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') + 1 - first);
}

// A word hyphenated at the line's end stands before the line's last blank,
// as the conversion sees it.
bool EndsHyphenated(std::string_view shown)
{
    return shown.size() >= 2 && shown.ends_with("- ") && Trimmed(shown).size() >= 2;
}

bool StartsSmall(std::string_view text)
{
    return !text.empty() && SmallLetters[static_cast<unsigned char>(text.front())];
}

bool StartsCapital(std::string_view text)
{
    return !text.empty() && CapitalLetters[static_cast<unsigned char>(text.front())];
}

void AppendCollapsed(std::string& out, std::string_view text)
{
    for (const char c : text)
        if (c != ' ' || (!out.empty() && out.back() != ' ')) out += c;
}

} // namespace

std::string ShownText(std::string_view line)
{
    std::string shown;
    for (std::size_t position = 0; position < line.size(); ++position) {
        const auto byte = static_cast<unsigned char>(line[position]);
        if (byte == 0xFF) {
            if (position + 1 < line.size())
                position += 1 + CodeTable[static_cast<unsigned char>(line[position + 1])].Operands;
        } else if (byte != 0xAE && byte != 0xAF) {
            shown += byte < 0x20 ? ' ' : static_cast<char>(byte);
        }
    }
    return shown;
}

bool IsSetApart(std::string_view line, TZtEmphasis& emphasis)
{
    bool shows = false;
    bool whole = true;
    for (std::size_t position = 0; position < line.size(); ++position) {
        const auto byte = static_cast<unsigned char>(line[position]);
        if (byte == 0xFF) {
            if (position + 1 >= line.size()) break;
            const auto code = static_cast<unsigned char>(line[position + 1]);
            if (code == 0x80 || code == 0x90) emphasis.Bold = code == 0x80;
            if (code == 0x81 || code == 0x91) emphasis.Underline = code == 0x81;
            // Fonts 1 to 4 are drawn larger than the body's text, 5 to 8 not.
            if (code >= 0x88 && code <= 0x8F) emphasis.LargerFont = code <= 0x8B;
            if (code >= 0x98 && code <= 0x9F) emphasis.LargerFont = false;
            position += 1 + CodeTable[code].Operands;
        } else if (byte > 0x20 && byte != 0xAE && byte != 0xAF) {
            shows = true;
            whole = whole && emphasis.Any();
        }
    }
    return shows && whole;
}

void TZtExcerptBuilder::AddLine(std::string_view line)
{
    ++FLines;
    const bool setApart = IsSetApart(line, FEmphasis);
    const std::string shown = ShownText(line);
    const std::string_view text = Trimmed(shown);
    if (text.empty()) return;
    if (FFirstLine.Text.empty())
        FFirstLine.Take(shown);
    else if (FFirstLine.JoinPending)
        FFirstLine.Join(text);
    if (FHeading.Text.empty() && setApart && FLines <= TitleHeadingLines)
        FHeading.Take(shown);
    else if (FHeading.JoinPending)
        FHeading.Join(text);
    if (!FText.empty()) {
        if (FHyphenPending && StartsSmall(text))
            FText.pop_back();
        else if (!(FHyphenPending && StartsCapital(text)))
            FText += ' ';
    }
    AppendCollapsed(FText, text);
    FHyphenPending = EndsHyphenated(shown);
}

void TZtExcerptBuilder::TTitle::Take(std::string_view shown)
{
    Text = Trimmed(shown);
    JoinPending = EndsHyphenated(shown);
}

void TZtExcerptBuilder::TTitle::Join(std::string_view shown)
{
    JoinPending = false;
    const std::string_view word = shown.substr(0, shown.find(' '));
    if (StartsSmall(word)) {
        Text.pop_back();
        Text += word;
    } else if (StartsCapital(word)) {
        Text += word;
    }
}

bool TZtExcerptBuilder::Full() const
{
    const bool headingKnown = !FHeading.Text.empty() || FLines >= TitleHeadingLines;
    return headingKnown && !FFirstLine.JoinPending && !FHeading.JoinPending &&
        FText.size() > DocumentExcerptLength;
}

std::string TZtExcerptBuilder::Title() const
{
    const std::string& title = FHeading.Text.empty() ? FFirstLine.Text : FHeading.Text;
    return Cp437ToUtf8(title.substr(0, DocumentTitleLength));
}

std::string TZtExcerptBuilder::Excerpt() const
{
    if (FText.size() <= DocumentExcerptLength) return Cp437ToUtf8(FText);
    // Cut before the word that passes the length; a word longer than all of
    // it is cut where the length ends.
    std::size_t cut = FText.rfind(' ', DocumentExcerptLength);
    if (cut == std::string::npos || cut == 0) cut = DocumentExcerptLength;
    std::string excerpt = Cp437ToUtf8(FText.substr(0, cut));
    excerpt += Ellipsis;
    // Kept for the index until the whole archive is converted: no spare room.
    excerpt.shrink_to_fit();
    return excerpt;
}

} // namespace quorvex
