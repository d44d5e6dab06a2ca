// Showing the HTML of a 10000-line document in the preview, from the call
// to the painted page, the way the window shows a freshly opened document;
// and a 10 MB page, beyond what a data URL takes.
// Run with QT_QPA_PLATFORM=offscreen where there is no display.
#include "PreviewPainted.h"
#include "ZtHtmlPreview.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <array>
#include <string>

using quorvex::TZtHtmlPreview;

namespace {

constexpr std::array<const char*, 8> Words{"Die", "Abrechnung", "f\xFCr", "das",
    "Gesch\xE4"
    "ftsjahr",
    "enth\xE4lt",
    "Gr\xF6\xDF"
    "e",
    "Ma\xDF"};

// A body shaped like the converter's: one comment per line, lines joined by
// CR, paragraphs with hanging indents, fonts, bold and underlined words,
// runs of &nbsp;, rules and now and then a small box-drawn table.
std::string ConvertedDocument(int lines)
{
    std::string html =
        "<head>\r\n<style type=\"text/css\">\r\n"
        "  body  {font-family:Times New Roman, Verdana, Arial, Helvetica}\r\n"
        "  p.indent {}\r\n  td.fixed {font-family:Courier New}\r\n  font.fixed {font-family:Courier New}\r\n"
        "  font.font1 {font:18pt}\r\n  font.font2 {font:16pt}\r\n  font.font3 {font:14pt}\r\n"
        "</style>\r\n</head>\r\n<body>";
    for (int line = 0; line < lines; ++line) {
        html += "<!-- LINE " + std::to_string(line) + " -->";
        if (line % 200 == 100) {
            html += "<table border=\"1\" cellpadding=\"0\" cellspacing=\"0\">\r";
            for (int row = 0; row < 6; ++row)
                html += "<tr><td class=\"fixed\">&nbsp;Pos " + std::to_string(row) +
                    "</td><td>Menge</td><td colspan=\"2\">Betrag " + std::to_string(row * 17) +
                    ",00 DM</td></tr>\r";
            html += "</table>\r";
            line += 13;
            continue;
        }
        if (line % 97 == 0) {
            html += "<hr>\r";
            continue;
        }
        if (line % 8 == 0)
            html += line % 16 == 0 ? "<p class=\"indent\" style=\"margin-left:20pt; text-indent:-20pt\">"
                                   : "<p style=\"margin-left:0; text-indent:0\">";
        if (line % 40 == 1) html += "<font class=\"font2\"><b>";
        for (int word = 0; word < 9; ++word) {
            if (word == 4 && line % 5 == 0) html += "<u>";
            html += Words[static_cast<size_t>((line + word * 3) % Words.size())];
            if (word == 4 && line % 5 == 0) html += "</u>";
            html += (line % 11 == 0 && word < 3) ? "&nbsp;&nbsp;" : " ";
        }
        html += "\x80 " + std::to_string(line * 3 % 1000);
        if (line % 40 == 1) html += "</b></font>";
        html += line % 8 == 7 ? "<br>" : "";
        html += "\r";
    }
    html += "<hr></body>";
    return html;
}

void ShowPainted(benchmark::State& state, TZtHtmlPreview& preview, const std::string& html)
{
    preview.ShowHtml(html);
    if (!quorvex::bench::WaitUntilPainted(preview)) state.SkipWithError("the page was not shown");
}

void Measure(benchmark::State& state, const std::string& html)
{
    TZtHtmlPreview preview;
    preview.resize(780, 480);
    preview.show();
    ShowPainted(state, preview, "<html></html>");
    for (auto _ : state) ShowPainted(state, preview, html);
    state.counters["bytes"] = static_cast<double>(html.size());
    state.counters["peak_kB"] = static_cast<double>(quorvex::bench::PeakResidentKb());
    state.counters["engine_peak_kB"] = static_cast<double>(quorvex::bench::EnginePeakResidentKb());
}

void BM_ShowHtml10000Lines(benchmark::State& state)
{
    Measure(state, ConvertedDocument(10000));
}
BENCHMARK(BM_ShowHtml10000Lines)->Unit(benchmark::kMillisecond)->Iterations(5);

// Nested tables make a converted document this large; a data URL would
// refuse it.
void BM_ShowHtml10MB(benchmark::State& state)
{
    std::string html = ConvertedDocument(10000);
    const std::string body = html.substr(html.find("<body>") + 6);
    while (html.size() < 10 * 1024 * 1024) html += body;
    Measure(state, html);
}
BENCHMARK(BM_ShowHtml10MB)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    TZtHtmlPreview::PrepareApplication();
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
