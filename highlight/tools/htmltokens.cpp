// htmltokens FILE: prints the tokens of every line of FILE as the editor
// scans them, one per output line, then the state the line ends in:
//
//   L<line>\t<start column>\t<kind ordinal>\t<token bytes as lower-case hex>
//   E<line>\t<state name>
//
// Lines are split at LF only (a CR stays in its line); a trailing LF adds no
// line, so an empty file is one empty line. Line numbers start at 0.
#include "ZtHtmlHighlighter.h"

#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace {

using quorvex::TZtHtmlHighlighter;

constexpr std::array<std::string_view, TZtHtmlHighlighter::ScanStateCount> StateNames = {
    "hsText",
    "hsTagName",
    "hsAttributes",
    "hsValue",
    "hsComment",
    "hsAsp",
    "hsEscape",
};

struct TFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::optional<std::string> ReadFile(const char* name)
{
    std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(name, "rb"));
    if (!file) return std::nullopt;
    std::string data;
    std::array<char, 65536> buffer;
    std::size_t got;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), file.get())) > 0)
        data.append(buffer.data(), got);
    if (std::ferror(file.get())) return std::nullopt;
    return data;
}

void AppendHex(std::string& out, std::string_view bytes)
{
    constexpr std::string_view Digits = "0123456789abcdef";
    for (unsigned char c : bytes) {
        out += Digits[c >> 4];
        out += Digits[c & 15];
    }
}

void AppendLineTokens(std::string& out, TZtHtmlHighlighter& scanner, std::string_view line, int index)
{
    const std::string number = std::to_string(index);
    scanner.StartLine(line, index);
    for (;;) {
        out += 'L';
        out += number;
        out += '\t';
        out += std::to_string(scanner.TokenStart());
        out += '\t';
        out += std::to_string(scanner.TokenKind());
        out += '\t';
        AppendHex(out,
            line.substr(static_cast<std::size_t>(scanner.TokenStart()),
                static_cast<std::size_t>(scanner.TokenLength())));
        out += '\n';
        if (scanner.AtLineEnd()) break;
        scanner.NextToken();
    }
    out += 'E';
    out += number;
    out += '\t';
    out += StateNames[static_cast<std::size_t>(scanner.ScanState())];
    out += '\n';
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("Usage: htmltokens FILE\n", stderr);
        return 2;
    }
    const std::optional<std::string> data = ReadFile(argv[1]);
    if (!data) {
        std::fprintf(stderr, "Cannot open file %s\n", argv[1]);
        return 1;
    }

    TZtHtmlHighlighter scanner;
    scanner.ResetScanState();
    std::string out;
    std::string_view rest = *data;
    int index = 0;
    for (;;) {
        const std::size_t end = rest.find('\n');
        AppendLineTokens(out, scanner, rest.substr(0, end), index++);
        if (end == std::string_view::npos || end + 1 == rest.size()) break;
        rest.remove_prefix(end + 1);
        if (out.size() >= 1 << 16) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
