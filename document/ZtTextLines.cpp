// Splitting text into lines and joining them again in one line-break style,
// and the files of such text.

#include "ZtTextLines.h"

#include "ZtFileAccess.h"

namespace quorvex {
namespace {

constexpr char Cr = '\r';
constexpr char Lf = '\n';
constexpr char Nul = '\0';

bool IsBreakByte(char c)
{
    return c == Cr || c == Lf || c == Nul;
}

// Which kinds of break a text used, for choosing the style it is written back in.
struct TBreaksSeen {
    bool Cr = false;
    bool Lf = false;

    TLineBreak Style() const
    {
        if (Cr && !Lf) return TLineBreak::Cr;
        if (Lf && !Cr) return TLineBreak::Lf;
        return TLineBreak::CrLf;
    }
};

// Steps over the break at `pos` (CR LF, CR, LF or NUL) and one NUL right
// after it, noting the kind of break.
std::size_t SkipBreak(std::string_view bytes, std::size_t pos, TBreaksSeen& seen)
{
    if (bytes[pos] == Cr) {
        seen.Cr = true;
        ++pos;
        if (pos < bytes.size() && bytes[pos] == Lf) {
            seen.Lf = true;
            ++pos;
        }
    } else {
        if (bytes[pos] == Lf) seen.Lf = true;
        ++pos;
    }
    if (pos < bytes.size() && bytes[pos] == Nul) ++pos;
    return pos;
}

std::string_view BreakText(TLineBreak lineBreak)
{
    switch (lineBreak) {
    case TLineBreak::Cr:
        return "\r";
    case TLineBreak::Lf:
        return "\n";
    case TLineBreak::CrLf:
        break;
    }
    return "\r\n";
}

} // namespace

TTextLines SplitTextLines(std::string_view bytes)
{
    TTextLines text;
    TBreaksSeen seen;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = pos;
        while (end < bytes.size() && !IsBreakByte(bytes[end])) ++end;
        text.Lines.emplace_back(bytes.substr(pos, end - pos));
        pos = end < bytes.size() ? SkipBreak(bytes, end, seen) : end;
    }
    text.Break = seen.Style();
    return text;
}

std::string JoinTextLines(const std::vector<std::string>& lines, TLineBreak lineBreak)
{
    const std::string_view br = BreakText(lineBreak);
    std::size_t size = 0;
    for (const auto& line : lines) size += line.size() + br.size();
    std::string out;
    out.reserve(size);
    for (const auto& line : lines) {
        out += line;
        out += br;
    }
    return out;
}

TTextLines ReadTextLinesFile(const std::string& fileName)
{
    return SplitTextLines(ReadWholeFile(fileName));
}

void WriteTextLinesFile(const std::string& fileName, const TTextLines& text)
{
    WriteWholeFile(fileName, JoinTextLines(text.Lines, text.Break));
}

} // namespace quorvex
