// Opening a 10000-line document in the window, from the command to the
// painted preview: loading, listing, converting, loading the page into the
// engine and drawing it. Reports the peak memory of the window's process and
// of the engine's processes.
// Run with QT_QPA_PLATFORM=offscreen where there is no display.
#include "BenchDocuments.h"
#include "PreviewPainted.h"
#include "ZtFormQuorvexMain.h"
#include "ZtHtmlPreview.h"
#include "ZtPrompter.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include <fstream>
#include <string>

namespace {

void OpenRealisticDocument(benchmark::State& state)
{
    QTemporaryDir folder;
    const std::string fileName = folder.path().toStdString() + "/realistic.fa4";
    const std::string bytes = quorvex::bench::RealisticDocument();
    std::ofstream(fileName, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));

    quorvex::TZtConsolePrompter prompter;
    quorvex::TZtFormQuorvex window(prompter);
    window.resize(800, 600);
    window.show();
    quorvex::bench::WaitUntilPainted(*window.HtmlPreview);
    for (auto _ : state) {
        window.OpenDocument(fileName);
        if (!quorvex::bench::WaitUntilPainted(*window.HtmlPreview)) state.SkipWithError("no preview");
    }
    state.counters["peak_kB"] = static_cast<double>(quorvex::bench::PeakResidentKb());
    state.counters["engine_peak_kB"] = static_cast<double>(quorvex::bench::EnginePeakResidentKb());
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(OpenRealisticDocument)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    quorvex::TZtHtmlPreview::PrepareApplication();
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
