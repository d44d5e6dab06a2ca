#pragma once
// A document's title and a short excerpt of its text, built from its body
// lines as they are read, for lists that tell documents apart.

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvex {

// Titles are cut after this many characters.
inline constexpr std::size_t DocumentTitleLength = 80;
// Excerpts are cut at the last word boundary within this many characters.
inline constexpr std::size_t DocumentExcerptLength = 100;

// The line's characters: control sequences and the marks that open and close
// blue text are not shown, control bytes show as blanks.
std::string ShownText(std::string_view line);

// Takes body lines from the first on, until Full().
class TZtExcerptBuilder {
public:
    // The next line's text as the file stores it.
    void AddLine(std::string_view line);
    // Title and excerpt are complete; later lines change neither.
    bool Full() const;

    // The first line that shows more than blanks, without its leading and
    // trailing blanks, with the first word of the next line when it ends in a
    // hyphenated word, cut at DocumentTitleLength characters; UTF-8.
    std::string Title() const;
    // The text from the title line on, lines joined by a space, blanks
    // collapsed, hyphenated words joined, cut at a word boundary with "…"
    // when longer than DocumentExcerptLength characters; UTF-8.
    std::string Excerpt() const;

private:
    void JoinTitle(std::string_view shown);

    std::string FTitle; // code page 437, as are the others
    bool FTitleJoinPending = false;
    std::string FText;
    bool FHyphenPending = false; // FText ends in a hyphen that a small letter removes
};

} // namespace quorvex
