// Conversion throughput: BuildHtml on a loaded document, counted in bytes of
// the document file per second.

#include <benchmark/benchmark.h>

#include "BenchDocuments.h"
#include "ZtDefaultPreferences.h"
#include "ZtFileInfoFa4.h"

namespace {

using namespace quorvex;

void Convert(benchmark::State& state, const std::string& bytes)
{
    TZtFileInfoFa4 document;
    document.LoadFromMemory("bench.fa4", bytes);
    std::size_t html = 0;
    for (auto _ : state) {
        const std::string result = BuildHtml(DefaultPreferencesText, document);
        html = result.size();
        benchmark::DoNotOptimize(result.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    state.counters["doc_bytes"] = static_cast<double>(bytes.size());
    state.counters["html_bytes"] = static_cast<double>(html);
    state.counters["lines"] = document.LineCount();
}

void BM_Realistic(benchmark::State& state)
{
    static const std::string bytes = bench::RealisticDocument();
    Convert(state, bytes);
}
void BM_RuleRuns(benchmark::State& state)
{
    static const std::string bytes = bench::RuleRunsDocument();
    Convert(state, bytes);
}
void BM_WideTable(benchmark::State& state)
{
    static const std::string bytes = bench::WideTableDocument();
    Convert(state, bytes);
}
void BM_TallTable(benchmark::State& state)
{
    static const std::string bytes = bench::TallTableDocument();
    Convert(state, bytes);
}
void BM_NestedTables(benchmark::State& state)
{
    static const std::string bytes = bench::NestedTablesDocument();
    Convert(state, bytes);
}

BENCHMARK(BM_Realistic)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RuleRuns)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WideTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TallTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NestedTables)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
