// The phases of a run, top-down: gather the items, look at their files, plan
// the outputs and their conflicts, convert in order, write the index and the
// cache.

#include "ZtBatchRun.h"

#include <cstdint>
#include <exception>
#include <map>
#include <optional>
#include <vector>

#include "ZtArchiveIndex.h"
#include "ZtFactsCache.h"
#include "ZtFileStatus.h"
#include "ZtIndexFiles.h"
#include "ZtOutputFolder.h"
#include "ZtOutputPlan.h"
#include "ZtRecognizeDocument.h"
#include "ZtReplaceEntry.h"
#include "ZtRunTexts.h"
#include "ZtTemporaryFiles.h"
#include "ZtUpToDate.h"

namespace quorvex {
namespace {

// Items whose files are looked at in one go on one thread.
constexpr std::size_t KeysPerTask = 32;

// What a run finds out before it writes anything: each item's files, and
// with Update whether its HTML is up to date.
struct TPlan {
    std::vector<TZtOutputKeys> Keys;
    std::vector<char> Kept; // the HTML is up to date and stays
};

// Looking at every document and target is work for all threads.
TPlan LookAtFiles(const TZtBatchItems& batch, const TZtBatchRequest& request)
{
    // Preferences that cannot be looked at make every HTML out of date.
    const std::int64_t preferencesTime =
        request.PreferencesFile ? ModificationTime(*request.PreferencesFile, INT64_MAX) : 0;
    TPlan plan{std::vector<TZtOutputKeys>(batch.Items.size()), std::vector<char>(batch.Items.size(), 0)};
    ForEachRangeInParallel(
        batch.Items.size(), request.Jobs, KeysPerTask, [&](std::size_t begin, std::size_t end) {
            TZtKeyLookups lookups;
            for (std::size_t i = begin; i < end; ++i) {
                const TZtBatchItem& item = batch.Items[i];
                if (item.WritesNothing()) continue;
                plan.Keys[i] = FindOutputKeys(item, lookups);
                if (!request.Update) continue;
                // A document whose time cannot be read is converted, and fails
                // there.
                const std::int64_t documentTime =
                    item.Facts ? item.Facts->ModifiedNs : ModificationTime(item.Document, INT64_MAX);
                plan.Kept[i] = HtmlIsUpToDate(documentTime, plan.Keys[i].OutputTime, preferencesTime) ? 1 : 0;
            }
        });
    return plan;
}

// The output folder, made when missing; nothing when it cannot be, which
// the conversions then say for each document.
std::optional<TZtOutputFolder> OutputFolderIfAny(const std::string& name)
{
    try {
        return TZtOutputFolder::OpenNamed(name, true);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool Mirrored(const TZtBatchRequest& request)
{
    return request.Recursive && request.OutputDir;
}

// Tells every conflict; true when the run may go on, with the items of the
// conflicts passed over where the policy allows it.
bool SettleConflicts(
    const TZtBatchRequest& request, TZtBatchItems& batch, const TPlan& plan, TZtRunReport& report)
{
    std::vector<TZtRunFile> runFiles;
    if (Mirrored(request))
        runFiles = {{IndexName(request), "the index"}, {FactsCacheName(request), "the cache"}};
    const std::vector<TZtConflict> conflicts = FindConflicts(batch.Items, plan.Keys, runFiles);
    if (request.Conflicts == TZtConflictPolicy::cpRefuseRun) {
        for (const TZtConflict& conflict : conflicts) report.Conflict(conflict.Message);
        return conflicts.empty();
    }
    bool goesOn = true;
    for (const TZtConflict& conflict : conflicts) {
        // A document named twice has its HTML written once, without a word.
        if (!conflict.Repeat) report.Conflict(conflict.Message);
        // A run file in the way of the run's own files stops the run all
        // the same: there is no one document to pass over.
        if (!conflict.Item)
            goesOn = false;
        else if (TZtBatchItem& item = batch.Items[*conflict.Item]; !item.Refusal)
            item.Refusal = conflict.Message;
    }
    return goesOn;
}

void Count(TZtBatchCounts& counts, const TZtItemResult& result)
{
    if (result.State == TZtItemState::isConverted) {
        ++counts.Converted;
        if (result.Damage.Damaged()) ++counts.Damaged;
    } else if (result.State == TZtItemState::isUpToDate)
        ++counts.UpToDate;
    else
        ++counts.Failed;
}

// Converts the items not kept on the request's threads and reports every
// item in item order; the texts for the search go to `texts` as they come.
std::vector<TZtItemResult> ConvertItems(const TZtBatchItems& batch, const std::vector<char>& kept,
    const TZtItemSettings& settings, unsigned jobs, TZtRunTexts& texts, TZtRunReport& report,
    TZtBatchCounts& counts)
{
    std::vector<TZtItemResult> results(batch.Items.size());
    std::vector<std::size_t> converted;
    for (std::size_t i = 0; i < batch.Items.size(); ++i) {
        if (kept[i]) {
            results[i] = KeepItem(batch.Items[i], settings);
            texts.SetAside(i, results[i].Row.Text);
        } else {
            converted.push_back(i);
        }
    }
    report.Converting(batch.Items.size());
    std::size_t reported = 0; // the items before this one are reported
    // A kept item has nothing to say but its place in the progress.
    const auto reportUpTo = [&](std::size_t end, const TZtOutcome& last) {
        for (; reported < end; ++reported) {
            report.Finished(
                batch.Items[reported], results[reported], reported + 1 == end ? last : TZtOutcome());
            Count(counts, results[reported]);
        }
    };
    RunBatch(
        converted.size(), jobs,
        [&](std::size_t k) {
            TZtItemResult& result = results[converted[k]];
            result = ConvertItem(batch.Items[converted[k]], settings);
            texts.SetAside(converted[k], result.Row.Text);
            return result.Message;
        },
        [&](std::size_t k, const TZtOutcome& outcome) { reportUpTo(converted[k] + 1, outcome); });
    reportUpTo(batch.Items.size(), TZtOutcome());
    report.AllFinished();
    return results;
}

// The folders and files named, as the index's title shows them.
std::string ArchiveName(const std::vector<std::string>& names)
{
    std::string joined;
    for (const auto& name : names) joined += (joined.empty() ? "" : ", ") + name;
    return joined;
}

std::string SearchFolder(const TZtBatchRequest& request)
{
    return *request.OutputDir + "/" + std::string(SearchFolderName);
}

// The index of every document of the run, those that failed included, and
// the data its search reads, each file written as soon as it is whole.
bool WriteIndex(const TZtBatchRequest& request, const TZtBatchItems& batch,
    std::vector<TZtItemResult>& results, TZtRunTexts& texts, TZtLeftoverSweep& sweep, TZtRunReport& report)
{
    std::vector<TZtIndexRow> rows;
    std::vector<std::size_t> items; // of each row
    rows.reserve(results.size());
    // Standard input's HTML went to standard output: nothing to link to.
    // A name refused before conversion is no document of the archive.
    for (std::size_t i = 0; i < results.size(); ++i) {
        if (batch.Items[i].Target == StandardOutputName || batch.Items[i].Refusal) continue;
        rows.push_back(std::move(results[i].Row));
        items.push_back(i);
    }
    try {
        const TZtOutputFolder folder = TZtOutputFolder::OpenNamed(*request.OutputDir, true);
        sweep.Sweep(folder.Descriptor());
        const TZtOutputFolder searchFolder = folder.Enter(std::string(SearchFolderName), true);
        sweep.Sweep(searchFolder.Descriptor());
        TZtIndexFiles index(
            [&](TZtSearchFile file) { WriteEntry(searchFolder, file.Name, file.Bytes, KeepsDocument); });
        for (const std::size_t k : RowsInIndexOrder(rows)) {
            rows[k].Text = texts.Take(items[k]);
            index.Add(std::move(rows[k]));
        }
        WriteEntry(
            folder, std::string(IndexFileName), index.Finish(ArchiveName(request.Names)), KeepsDocument);
        return true;
    } catch (const std::exception& error) {
        report.RunFileFailed(IndexName(request), error.what());
        return false;
    }
}

// The cache only spares the next run some reading: when it cannot be written
// the run has still done all it should, and says nothing. Only a file of its
// own is written, never through a link or into a pipe.
void WriteFactsCache(const TZtBatchRequest& request, const std::string& bytes)
{
    try {
        const TZtOutputFolder folder = TZtOutputFolder::OpenNamed(*request.OutputDir, true);
        WriteEntry(folder, std::string(FactsCacheFileName), bytes, KeepsDocument);
    } catch (const std::exception&) { }
}

} // namespace

TZtRunSummary RunRequest(const TZtBatchRequest& request, TZtRunReport& report)
{
    TZtBatchItems batch = GatherBatchItems(request, request.Jobs);
    for (const auto& note : batch.Notes) report.Note(note);
    const TPlan plan = LookAtFiles(batch, request);
    if (!SettleConflicts(request, batch, plan, report)) return {true, {}};

    TZtRunSummary summary;
    summary.Counts.PassedOver = batch.PassedOver;
    TZtLeftoverSweep sweep(KeepsDocument);
    const bool indexed = WritesIndex(request);
    TZtConversion conversion = request.Conversion;
    conversion.KeepText = indexed; // for the index's search
    // Only a kept document's HTML stays as it was, and so its text.
    const auto earlierTexts = indexed && request.Update ? ReadEarlierSearchTexts(SearchFolder(request))
                                                        : std::map<std::string, std::string, std::less<>>();
    TZtOutputFolders folders([&](int folder) { sweep.Sweep(folder); });
    const TZtItemSettings settings{conversion, request.OutputDir, Mirrored(request),
        request.OutputFile.has_value(), &folders, &earlierTexts};
    // The texts wait beside the HTML, in a file without a name.
    std::optional<TZtOutputFolder> textsFolder;
    if (indexed) textsFolder = OutputFolderIfAny(*request.OutputDir);
    TZtRunTexts texts(indexed ? batch.Items.size() : 0, textsFolder ? textsFolder->Descriptor() : -1);
    std::vector<TZtItemResult> results =
        ConvertItems(batch, plan.Kept, settings, request.Jobs, texts, report, summary.Counts);
    if (indexed && !WriteIndex(request, batch, results, texts, sweep, report)) ++summary.Counts.Failed;
    if (indexed && batch.NewCache) WriteFactsCache(request, *batch.NewCache);
    return summary;
}

} // namespace quorvex
