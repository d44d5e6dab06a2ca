// Scans one line and collects its tokens, for comparing whole token lists.
#pragma once

#include "ZtHtmlHighlighter.h"

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex::test {

struct TToken {
    int Start;
    int Kind;
    std::string Text;

    friend bool operator==(const TToken&, const TToken&) = default;
    friend std::ostream& operator<<(std::ostream& out, const TToken& token)
    {
        return out << "{" << token.Start << ", " << token.Kind << ", \"" << token.Text << "\"}";
    }
};

// Tokens before the line end (the line-end token itself is checked apart).
struct TLineScan {
    std::vector<TToken> Tokens;
    int EndState;
    int LineEndColumn;
};

// Gives up after a generous number of tokens, so that a scanner that stops
// moving fails the test instead of hanging it.
inline TLineScan ScanLine(TZtHtmlHighlighter& scanner, std::string_view line, int startState)
{
    TLineScan scan{{}, 0, -1};
    scanner.SetScanState(startState);
    scanner.StartLine(line, 0);
    for (std::size_t guard = 0; !scanner.AtLineEnd() && guard <= 4 * line.size() + 8; ++guard) {
        scan.Tokens.push_back({scanner.TokenStart(), scanner.TokenKind(), scanner.TokenText()});
        scanner.NextToken();
    }
    scan.LineEndColumn = scanner.AtLineEnd() ? scanner.TokenStart() : -1;
    scan.EndState = scanner.ScanState();
    return scan;
}

inline TLineScan ScanLine(std::string_view line, int startState = hsText)
{
    TZtHtmlHighlighter scanner;
    return ScanLine(scanner, line, startState);
}

} // namespace quorvex::test
