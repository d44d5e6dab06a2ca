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

// Which of the attributes that set a line apart are on: they run on from
// one line to the next until switched off.
struct TZtEmphasis {
    bool Bold = false;
    bool Underline = false;
    bool LargerFont = false; // one of the fonts above body size

    bool Any() const { return Bold || Underline || LargerFont; }
};

// Whether every character the line shows (blanks aside) is bold, underlined
// or in a larger font, and it shows one; `emphasis` is the state at the
// line's start and becomes the state at its end.
bool IsSetApart(std::string_view line, TZtEmphasis& emphasis);

// Body lines this far from the first are looked at for a heading.
inline constexpr int TitleHeadingLines = 20;

// Takes body lines from the first on, until Full().
class TZtExcerptBuilder {
public:
    // The next line's text as the file stores it.
    void AddLine(std::string_view line);
    // Title and excerpt are complete; later lines change neither.
    bool Full() const;

    // The first line set apart as a whole (IsSetApart) among the first
    // TitleHeadingLines lines, or else the first line that shows more than
    // blanks; without its leading and trailing blanks, with the first word of
    // the next line when it ends in a hyphenated word, cut at
    // DocumentTitleLength characters; UTF-8. A letter's address is the same
    // on many letters, its subject line tells them apart.
    std::string Title() const;
    // The text from the title line on, lines joined by a space, blanks
    // collapsed, hyphenated words joined, cut at a word boundary with "…"
    // when longer than DocumentExcerptLength characters; UTF-8.
    std::string Excerpt() const;

private:
    // A title line, and whether its last word goes on in the next line.
    struct TTitle {
        std::string Text;
        bool JoinPending = false;

        void Take(std::string_view shown);
        void Join(std::string_view shown);
    };

    TTitle FFirstLine; // code page 437, as are the others
    TTitle FHeading;
    TZtEmphasis FEmphasis;
    int FLines = 0;
    std::string FText;
    bool FHyphenPending = false; // FText ends in a hyphen that a small letter removes
};

} // namespace quorvex
