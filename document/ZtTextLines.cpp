// Splitting text into lines and joining them again in one line-break style,
// and the files of such text.

#include "ZtTextLines.h"

#include "ZtErrors.h"
#include "ZtFileAccess.h"
#include "ZtFileStatus.h"

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
    try {
        return SplitTextLines(ReadWholeFile(fileName, static_cast<std::int64_t>(MaxTextLinesFileSize)));
    } catch (const ERangeError&) {
        const std::string size = std::to_string(StatusOf(fileName).Size);
        throw EZtError(FormatFileMessage("Cannot open file %s", fileName) + ": " + size +
            " bytes, more than the " + std::to_string(MaxTextLinesFileSize >> 20) +
            " MiB a preferences file may hold");
    }
}

void WriteTextLinesFile(const std::string& fileName, const TTextLines& text)
{
    WriteWholeFile(fileName, JoinTextLines(text.Lines, text.Break));
}

} // namespace quorvex
