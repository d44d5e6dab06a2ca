// Opening a 10000-line document in the window, from the command to the
// laid-out preview: loading, listing, converting and showing the HTML.
// Run with QT_QPA_PLATFORM=offscreen where there is no display.
#include "BenchDocuments.h"
#include "ZtFormQuorvexMain.h"
#include "ZtHtmlPreview.h"
#include "ZtPrompter.h"

#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>

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
    QApplication::processEvents();
    for (auto _ : state) {
        window.OpenDocument(fileName);
        // Asking for the last block's place makes the layout reach the end.
        QTextDocument* document = window.HtmlPreview->document();
        benchmark::DoNotOptimize(document->documentLayout()->blockBoundingRect(document->lastBlock()));
        QApplication::processEvents();
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(OpenRealisticDocument)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
