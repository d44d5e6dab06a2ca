// fa4tohtml: converts F&A 4 documents to HTML files without opening a window.

#include <malloc.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>
#include <thread>
#include <vector>

#include "ZtArchiveIndex.h"
#include "ZtBatchItems.h"
#include "ZtBatchReport.h"
#include "ZtCliOptions.h"
#include "ZtConvertDocument.h"
#include "ZtConvertItem.h"
#include "ZtDefaultPreferences.h"
#include "ZtFileAccess.h"
#include "ZtFactsCache.h"
#include "ZtOutputFolder.h"
#include "ZtRecognizeDocument.h"
#include "ZtReplaceEntry.h"
#include "ZtFileStatus.h"
#include "ZtInfoLines.h"
#include "ZtOutputPlan.h"
#include "ZtParallelBatch.h"
#include "ZtQuotedName.h"
#include "ZtSearchData.h"
#include "ZtTemporaryFiles.h"
#include "ZtUpToDate.h"

namespace quorvex {
namespace {

enum TExitStatus { exOk = 0, exFailed = 1, exUsage = 2 };

// Items whose files are looked at in one go on one thread.
constexpr std::size_t KeysPerTask = 32;

int ReportUsageError(const EZtUsageError& error)
{
    std::fprintf(stderr, "%.*s: %s\nTry '%.*s --help' for more information.\n",
        static_cast<int>(ProgramName.size()), ProgramName.data(), WithoutControls(error.what()).c_str(),
        static_cast<int>(ProgramName.size()), ProgramName.data());
    return exUsage;
}

unsigned DefaultJobs()
{
    return std::max(1u, std::thread::hardware_concurrency());
}

// The folders and files named, as the index's title shows them.
std::string ArchiveName(const std::vector<std::string>& names)
{
    std::string joined;
    for (const auto& name : names) joined += (joined.empty() ? "" : ", ") + name;
    return joined;
}

std::string SearchFolder(const TZtCliOptions& options)
{
    return *options.OutputDir + "/" + std::string(SearchFolderName);
}

// The index of every document of the run, those that failed included, and
// the data its search reads.
bool WriteIndex(const TZtCliOptions& options, const TZtBatchItems& batch, std::vector<TZtItemResult>& results,
    TZtLeftoverSweep& sweep)
{
    const std::string name = IndexName(BatchRequest(options));
    std::vector<TZtIndexRow> rows;
    rows.reserve(results.size());
    // Standard input's HTML went to standard output: nothing to link to.
    // A name refused before conversion is no document of the archive.
    for (std::size_t i = 0; i < results.size(); ++i)
        if (batch.Items[i].Target != StandardOutputName && !batch.Items[i].Refusal)
            rows.push_back(std::move(results[i].Row));
    TZtSearchDataBuilder search;
    // Each text is given up once the search data holds it.
    for (const std::size_t i : RowsInIndexOrder(rows)) {
        search.Add(rows[i].Path, rows[i].Text);
        std::string().swap(rows[i].Text);
    }
    try {
        const TZtOutputFolder folder = TZtOutputFolder::OpenNamed(*options.OutputDir, true);
        sweep.Sweep(folder.Descriptor());
        const TZtOutputFolder searchFolder = folder.Enter(std::string(SearchFolderName), true);
        sweep.Sweep(searchFolder.Descriptor());
        for (const TZtSearchFile& file : search.Finish())
            WriteEntry(searchFolder, file.Name, file.Bytes, KeepsDocument);
        WriteEntry(folder, std::string(IndexFileName),
            BuildArchiveIndex(ArchiveName(options.Documents), std::move(rows), true), KeepsDocument);
        return true;
    } catch (const std::exception& error) {
        std::fputs(ErrorLine(name, error.what()).c_str(), stderr);
        return false;
    }
}

// The cache only spares the next run some reading: when it cannot be written
// the run has still done all it should, and says nothing. Only a file of its
// own is written, never through a link or into a pipe.
void WriteFactsCache(const TZtCliOptions& options, const std::string& bytes)
{
    try {
        const TZtOutputFolder folder = TZtOutputFolder::OpenNamed(*options.OutputDir, true);
        WriteEntry(folder, std::string(FactsCacheFileName), bytes, KeepsDocument);
    } catch (const std::exception&) { }
}

void Count(TZtBatchCounts& counts, TZtItemState state)
{
    if (state == TZtItemState::isConverted)
        ++counts.Converted;
    else if (state == TZtItemState::isUpToDate)
        ++counts.UpToDate;
    else
        ++counts.Failed;
}

// A run whose outputs conflict writes nothing at all.
int ReportConflicts(const std::vector<std::string>& conflicts)
{
    for (const auto& conflict : conflicts)
        std::fprintf(stderr, "%.*s: %s\n", static_cast<int>(ProgramName.size()), ProgramName.data(),
            WithoutControls(conflict).c_str());
    return exUsage;
}

// What a run finds out before it writes anything: each item's files, and
// with -u whether its HTML is up to date.
struct TPlan {
    std::vector<TZtOutputKeys> Keys;
    std::vector<char> Kept; // the HTML is up to date and stays
};

// Looking at every document and target is work for all threads.
TPlan LookAtFiles(const TZtBatchItems& batch, const TZtCliOptions& options, unsigned jobs)
{
    // Preferences that cannot be looked at make every HTML out of date.
    const std::int64_t preferencesTime =
        options.PreferencesFile ? ModificationTime(*options.PreferencesFile, INT64_MAX) : 0;
    TPlan plan{std::vector<TZtOutputKeys>(batch.Items.size()), std::vector<char>(batch.Items.size(), 0)};
    ForEachRangeInParallel(batch.Items.size(), jobs, KeysPerTask, [&](std::size_t begin, std::size_t end) {
        TZtKeyLookups lookups;
        for (std::size_t i = begin; i < end; ++i) {
            const TZtBatchItem& item = batch.Items[i];
            if (item.WritesNothing()) continue;
            plan.Keys[i] = FindOutputKeys(item, lookups);
            if (!options.Update) continue;
            // A document whose time cannot be read is converted, and fails
            // there.
            const std::int64_t documentTime =
                item.Facts ? item.Facts->ModifiedNs : ModificationTime(item.Document, INT64_MAX);
            plan.Kept[i] = HtmlIsUpToDate(documentTime, plan.Keys[i].OutputTime, preferencesTime) ? 1 : 0;
        }
    });
    return plan;
}

// Converts the items not kept on `jobs` threads and reports every item in
// item order.
std::vector<TZtItemResult> ConvertItems(const TZtBatchItems& batch, const std::vector<char>& kept,
    const TZtItemSettings& settings, unsigned jobs, TZtBatchCounts& counts)
{
    std::vector<TZtItemResult> results(batch.Items.size());
    std::vector<std::size_t> converted;
    for (std::size_t i = 0; i < batch.Items.size(); ++i) {
        if (kept[i])
            results[i] = KeepItem(batch.Items[i], settings);
        else
            converted.push_back(i);
    }
    TZtBatchReport report(stderr, batch.Items.size(), StandardErrorIsTerminal());
    std::size_t reported = 0; // the items before this one are reported
    // A kept item has nothing to say but its place in the progress.
    const auto reportUpTo = [&](std::size_t end, const TZtOutcome& last) {
        for (; reported < end; ++reported) {
            const TZtBatchItem& item = batch.Items[reported];
            const TZtItemResult& result = results[reported];
            if (item.NotADocument || result.NotADocument) report.Note(NotADocumentLine(item));
            if (result.State == TZtItemState::isConverted && result.Damage.Damaged()) {
                report.Note(DamageLine(item, result.Damage));
                ++counts.Damaged;
            }
            report.Finished(item.Document, reported + 1 == end ? last : TZtOutcome());
            Count(counts, results[reported].State);
        }
    };
    RunBatch(
        converted.size(), jobs,
        [&](std::size_t k) {
            TZtItemResult& result = results[converted[k]];
            result = ConvertItem(batch.Items[converted[k]], settings);
            return result.Message;
        },
        [&](std::size_t k, const TZtOutcome& outcome) { reportUpTo(converted[k] + 1, outcome); });
    reportUpTo(batch.Items.size(), TZtOutcome());
    return results;
}

int ConvertAll(const TZtCliOptions& options, const TZtConversion& conversion)
{
    const unsigned jobs = options.Jobs > 0 ? options.Jobs : DefaultJobs();
    const TZtBatchItems batch = GatherBatchItems(BatchRequest(options), jobs);
    for (const auto& note : batch.Notes) std::fputs(NoteLine(note).c_str(), stderr);
    const TPlan plan = LookAtFiles(batch, options, jobs);
    const bool mirrored = options.Recursive && options.OutputDir;
    std::vector<TZtRunFile> runFiles;
    if (mirrored)
        runFiles = {{IndexName(BatchRequest(options)), "the index"},
            {FactsCacheName(BatchRequest(options)), "the cache"}};
    const std::vector<std::string> conflicts = OutputConflicts(batch.Items, plan.Keys, runFiles);
    if (!conflicts.empty()) return ReportConflicts(conflicts);
    TZtBatchCounts counts{0, batch.PassedOver, 0, 0};
    TZtLeftoverSweep sweep(KeepsDocument);
    // A run that writes text writes no index: the index links to HTML.
    const bool indexed = mirrored && !options.Text;
    TZtConversion itemConversion = conversion;
    itemConversion.KeepText = indexed; // for the index's search
    // Only a kept document's HTML stays as it was, and so its text.
    const auto earlierTexts = indexed && options.Update ? ReadEarlierSearchTexts(SearchFolder(options))
                                                        : std::map<std::string, std::string, std::less<>>();
    TZtOutputFolders folders([&](int folder) { sweep.Sweep(folder); });
    const TZtItemSettings settings{
        itemConversion, options.OutputDir, mirrored, options.OutputFile.has_value(), &folders, &earlierTexts};
    std::vector<TZtItemResult> results = ConvertItems(batch, plan.Kept, settings, jobs, counts);
    if (indexed && !WriteIndex(options, batch, results, sweep)) ++counts.Failed;
    if (indexed && batch.NewCache) WriteFactsCache(options, *batch.NewCache);
    if (options.Recursive) std::fputs(SummaryLine(counts).c_str(), stderr);
    return counts.Failed > 0 ? exFailed : exOk;
}

int Run(const std::vector<std::string>& args)
{
    TZtCliOptions options;
    try {
        options = ParseCommandLine(args);
    } catch (const EZtUsageError& error) {
        return ReportUsageError(error);
    }
    if (options.Help) {
        std::fputs(UsageText().c_str(), stdout);
        return exOk;
    }
    if (options.Version) {
        std::printf(
            "%.*s (Quorvex) %s\n", static_cast<int>(ProgramName.size()), ProgramName.data(), QUORVEX_VERSION);
        return exOk;
    }

    if (options.Info) {
        const int status = PrintInfo(options, options.Jobs > 0 ? options.Jobs : DefaultJobs());
        return std::fflush(stdout) == 0 ? status : exFailed;
    }

    TZtConversion conversion;
    conversion.Preferences = DefaultPreferencesText;
    if (options.Classic) {
        conversion.CharOutput = options.Unicode ? TCharOutput::CharReferences : TCharOutput::Bytes;
        conversion.HyphenJoin = hjLineBreak;
        conversion.Markup = TMarkup::Classic;
        conversion.Preferences = ClassicPreferencesText;
    }
    conversion.WriteText = options.Text;
    if (options.PreferencesFile) {
        try {
            conversion.Preferences = ReadPreferencesFile(*options.PreferencesFile);
        } catch (const std::exception& error) {
            std::fputs(ErrorLine(*options.PreferencesFile, error.what()).c_str(), stderr);
            return exFailed;
        }
    }
    return ConvertAll(options, conversion);
}

} // namespace
} // namespace quorvex

int main(int argc, char** argv)
{
    // A document and its HTML take a megabyte or two, freed and taken again
    // for the next one: kept by the heap, their pages are not mapped, zeroed
    // and faulted in anew for every document of a batch.
    constexpr int KeptHeap = 32 << 20; // the most the heap lets a program set
    mallopt(M_MMAP_THRESHOLD, KeptHeap);
    mallopt(M_TRIM_THRESHOLD, KeptHeap);
    // An interrupted batch leaves no temporary file beside the HTML it was
    // replacing.
    quorvex::InstallTemporaryFileCleanup();
    return quorvex::Run(std::vector<std::string>(argv + 1, argv + argc));
}
