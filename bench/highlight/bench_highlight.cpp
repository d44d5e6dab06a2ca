// Scanning speed of the HTML highlighter on a style sheet with markup, and
// the number of heap allocations the scan makes per token (expected: none).
//
// Counters: bytes_per_second (in units of 2^20 bytes) and allocs_per_token.
// Allocations are counted by replacing the global operator new in this
// program only.
#include "ZtHtmlHighlighter.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

namespace {

std::atomic<long long> AllocationCount{0};

void* CountedAllocation(std::size_t size)
{
    AllocationCount.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size)
{
    return CountedAllocation(size);
}
void* operator new[](std::size_t size)
{
    return CountedAllocation(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    AllocationCount.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept
{
    return operator new(size, tag);
}
void operator delete(void* block) noexcept
{
    std::free(block);
}
void operator delete[](void* block) noexcept
{
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept
{
    std::free(block);
}

namespace {

using quorvex::TZtHtmlHighlighter;

const char* const StyleSheet[] = {
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">",
    "<html>",
    "<head>",
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">",
    "<title>Quarterly report &ndash; draft</title>",
    "<style type=\"text/css\">",
    "  body  {font-family:Times New Roman, Verdana, Arial, Helvetica}",
    "  p.indent {margin-left:20pt; text-indent:-20pt}",
    "  td.fixed {font-family:Courier New}",
    "  font.fixed {font-family:Courier New}",
    "  font.font1 {font:18pt}",
    "  font.font2 {font:16pt}",
    "  font.font3 {font:14pt}",
    "  font.font4 {font:13pt}",
    "  font.font5 {font:11pt}",
    "  font.font6 {font:10pt}",
    "  font.font7 {font:9pt}",
    "  table {border-collapse:collapse; border:1px solid black}",
    "  td, th {padding:2pt 4pt; vertical-align:top}",
    "</style>",
    "</head>",
    "<body>",
};

const char* const Markup[] = {
    "<p class=indent style=\"margin-left:20pt;text-indent:-20pt\">The results for the third quarter",
    "are in line with the plan; sales rose by 4&nbsp;% and costs fell. M&uuml;ller &amp; S&ouml;hne",
    "delivered on time.<br>",
    "<b>Summary</b> &#169; 2026 &ndash; <i>internal</i> <u>only</u></p>",
    "<!-- table converted from the box drawing of the document -->",
    "<table border=1 cellspacing=0 cellpadding=2>",
    "<tr><td class=\"fixed\" colspan=2>Region</td><td rowspan=2>Total</td></tr>",
    "<tr><td>North</td><td align=right>1.234,50&nbsp;&euro;</td></tr>",
    "</table>",
    "<hr>",
    "\t<font class=font3>Heading in font 3</font><font class=\"fixed\">  fixed   text  </font>",
    "<p>Plain paragraph text without any markup at all, as most of a converted document is.</p>",
    "",
};

std::vector<std::string> RealisticLines()
{
    std::vector<std::string> lines(std::begin(StyleSheet), std::end(StyleSheet));
    while (lines.size() < 2000) lines.insert(lines.end(), std::begin(Markup), std::end(Markup));
    lines.push_back("</body>");
    lines.push_back("</html>");
    return lines;
}

std::size_t TotalBytes(const std::vector<std::string>& lines)
{
    std::size_t bytes = 0;
    for (const std::string& line : lines) bytes += line.size();
    return bytes;
}

// Scans the text line by line, each line starting in the state the previous
// one ended in, and hands every token but the line end to `onToken`.
template <class OnToken>
void ScanEveryToken(benchmark::State& state, OnToken onToken)
{
    const std::vector<std::string> lines = RealisticLines();
    TZtHtmlHighlighter scanner;
    long long tokens = 0;
    const long long allocationsBefore = AllocationCount.load();
    for (auto _ : state) {
        scanner.ResetScanState();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            scanner.StartLine(lines[i], static_cast<int>(i));
            for (; !scanner.AtLineEnd(); scanner.NextToken()) {
                onToken(scanner);
                ++tokens;
            }
            ++tokens;
        }
        benchmark::DoNotOptimize(scanner.ScanState());
    }
    const long long allocations = AllocationCount.load() - allocationsBefore;
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(TotalBytes(lines)));
    state.counters["bytes_per_pass"] = static_cast<double>(TotalBytes(lines));
    state.counters["tokens_per_pass"] = static_cast<double>(tokens) / static_cast<double>(state.iterations());
    state.counters["allocs_per_token"] = static_cast<double>(allocations) / static_cast<double>(tokens);
}

// What the editor does to keep its line states: every line to its end.
void BM_ScanLineStates(benchmark::State& state)
{
    ScanEveryToken(state, [](const TZtHtmlHighlighter&) {});
}
BENCHMARK(BM_ScanLineStates);

// What the editor does to paint: every token's place, kind and attribute.
void BM_PaintTokens(benchmark::State& state)
{
    ScanEveryToken(state, [](const TZtHtmlHighlighter& scanner) {
        benchmark::DoNotOptimize(scanner.TokenStart());
        benchmark::DoNotOptimize(scanner.TokenLength());
        benchmark::DoNotOptimize(scanner.TokenAttributes());
    });
}
BENCHMARK(BM_PaintTokens);

// TokenText copies; long tokens allocate. Shows that the counter counts.
void BM_CopyTokenTexts(benchmark::State& state)
{
    ScanEveryToken(
        state, [](const TZtHtmlHighlighter& scanner) { benchmark::DoNotOptimize(scanner.TokenText()); });
}
BENCHMARK(BM_CopyTokenTexts);

} // namespace

BENCHMARK_MAIN();
