#pragma once
// Plain 8-bit text files read and written as lines (the preferences files).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

enum class TLineBreak { CrLf, Cr, Lf };

struct TTextLines {
    std::vector<std::string> Lines;
    TLineBreak Break = TLineBreak::CrLf;
};

// Splits at CR LF, CR, LF or NUL (a NUL right after a break is skipped; a
// break at the very end adds no line). The style is CR or LF when only that
// kind was seen, CR LF otherwise.
TTextLines SplitTextLines(std::string_view bytes);
// Every line followed by the break, the last included.
std::string JoinTextLines(const std::vector<std::string>& lines, TLineBreak lineBreak);
// The most a preferences file may hold: far more than any head of a page
// needs, fonts or pictures written into its style sheet included.
inline constexpr std::uint64_t MaxTextLinesFileSize = std::uint64_t{16} << 20;

// Reads a file ("Cannot open file %s") and splits it. A file larger than
// MaxTextLinesFileSize is refused before anything is read: "Cannot open file
// %s: 20971520 bytes, more than the 16 MiB a preferences file may hold".
TTextLines ReadTextLinesFile(const std::string& fileName);
// Writes the joined lines through a temporary file ("Cannot create file %s").
void WriteTextLinesFile(const std::string& fileName, const TTextLines& text);

} // namespace quorvex
