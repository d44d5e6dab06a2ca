// Every line, whatever its bytes and its start state, is cut into tokens
// that follow each other without gap or overlap and end at the line end.
#include "ZtHtmlHighlighter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

namespace quorvex {
namespace {

// Bytes that steer the scanner into its rules, mixed with arbitrary ones.
constexpr std::string_view Interesting = "<>!-%&#;=\"' \t\r\n/aAmpltz19?\x01";

std::string RandomLine(std::mt19937& random)
{
    std::uniform_int_distribution<int> length(0, 40);
    std::uniform_int_distribution<int> anyByte(0, 255);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(Interesting.size()) - 1);
    std::bernoulli_distribution arbitrary(0.3);
    std::string line(static_cast<std::size_t>(length(random)), ' ');
    for (char& c : line)
        c = arbitrary(random) ? static_cast<char>(anyByte(random))
                              : Interesting[static_cast<std::size_t>(pick(random))];
    return line;
}

std::size_t ScannedLength(const std::string& line)
{
    const std::size_t nul = line.find('\0');
    return nul == std::string::npos ? line.size() : nul;
}

// Checks one line from one start state; a failure is fatal so that the
// caller can stop and report the line.
void CheckCoverage(TZtHtmlHighlighter& scanner, const std::string& line, int startState)
{
    const std::size_t expectedEnd = ScannedLength(line);
    scanner.SetScanState(startState);
    scanner.StartLine(line, 0);
    std::size_t covered = 0;
    int emptyInARow = 0;
    for (std::size_t tokens = 0; !scanner.AtLineEnd(); ++tokens) {
        ASSERT_LE(tokens, 3 * line.size() + 4) << "the scan does not reach the line end";
        ASSERT_EQ(static_cast<std::size_t>(scanner.TokenStart()), covered) << "gap or overlap";
        ASSERT_EQ(static_cast<std::size_t>(scanner.TokenLength()), scanner.TokenText().size());
        ASSERT_EQ(scanner.TokenText(), line.substr(covered, scanner.TokenText().size()));
        ASSERT_GE(scanner.TokenKind(), 0);
        ASSERT_LT(scanner.TokenKind(), TZtHtmlHighlighter::TokenKindCount);
        ASSERT_NE(scanner.TokenAttributes(), nullptr);
        emptyInARow = scanner.TokenLength() == 0 ? emptyInARow + 1 : 0;
        ASSERT_LE(emptyInARow, 2) << "empty tokens without progress";
        covered += static_cast<std::size_t>(scanner.TokenLength());
        scanner.NextToken();
    }
    ASSERT_EQ(static_cast<std::size_t>(scanner.TokenStart()), expectedEnd)
        << "line end before the end of the text";
    ASSERT_EQ(covered, expectedEnd);
    ASSERT_EQ(scanner.TokenLength(), 0);
    if (startState != TZtHtmlHighlighter::hsEscape) {
        ASSERT_NE(scanner.ScanState(), TZtHtmlHighlighter::hsEscape) << "an escape was left behind";
    }
}

TEST(HtmlScannerProperty, RandomLinesAreCoveredExactlyOnce)
{
    std::mt19937 random(20261209);
    TZtHtmlHighlighter scanner;
    for (int round = 0; round < 20000; ++round) {
        const std::string line = RandomLine(random);
        for (int state = 0; state < TZtHtmlHighlighter::ScanStateCount; ++state) {
            CheckCoverage(scanner, line, state);
            if (testing::Test::HasFatalFailure()) {
                ADD_FAILURE() << "start state " << state << ", line bytes: " << testing::PrintToString(line);
                return;
            }
        }
    }
}

// Lines scanned one after the other keep their state: scanning the joined
// text line by line equals scanning each line from the state stored for it.
TEST(HtmlScannerProperty, LineStatesAreReproducible)
{
    std::mt19937 random(7);
    TZtHtmlHighlighter running;
    TZtHtmlHighlighter fresh;
    running.ResetScanState();
    for (int i = 0; i < 5000; ++i) {
        const std::string line = RandomLine(random);
        const int startState = running.ScanState();
        running.StartLine(line, i);
        std::vector<std::pair<int, int>> first;
        for (; !running.AtLineEnd(); running.NextToken())
            first.emplace_back(running.TokenStart(), running.TokenKind());
        fresh.SetScanState(startState);
        fresh.StartLine(line, i);
        std::vector<std::pair<int, int>> second;
        for (; !fresh.AtLineEnd(); fresh.NextToken())
            second.emplace_back(fresh.TokenStart(), fresh.TokenKind());
        ASSERT_EQ(first, second);
        ASSERT_EQ(running.ScanState(), fresh.ScanState());
    }
}

} // namespace
} // namespace quorvex
