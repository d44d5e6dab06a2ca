#pragma once
// One run over many documents, from its request to the files written, for
// every program: the phases in order, and each outcome handed to the program
// as data for it to word and show.

#include <cstddef>
#include <string>

#include "ZtBatchItems.h"
#include "ZtBatchRequest.h"
#include "ZtConvertItem.h"
#include "ZtParallelBatch.h"

namespace quorvex {

// What a run did, for its last line.
struct TZtBatchCounts {
    std::size_t Converted = 0;
    std::size_t PassedOver = 0; // files that are no documents
    std::size_t UpToDate = 0;
    std::size_t Failed = 0;
    std::size_t Damaged = 0; // of the converted ones
};

// What a program is told while its run goes on. Calls come one at a time,
// on the thread that runs the request, in the order of the items.
class TZtRunReport {
public:
    virtual ~TZtRunReport() = default;
    // What the walk found to say about folders and files, before any item.
    virtual void Note(const TZtBatchNote& note) = 0;
    // An output the rules forbid. With cpRefuseRun every conflict is told and
    // the run ends there without writing; with cpPassOverItem the item is
    // passed over (it is then finished as failed) and the run goes on.
    virtual void Conflict(const std::string& message) = 0;
    // The items are about to be converted, or kept where up to date.
    virtual void Converting(std::size_t items) = 0;
    // An item is done, and so is every item before it. `outcome` is why it
    // failed, as the progress shows it.
    virtual void Finished(
        const TZtBatchItem& item, const TZtItemResult& result, const TZtOutcome& outcome) = 0;
    // Every item is done.
    virtual void AllFinished() = 0;
    // The index of the run could not be written.
    virtual void RunFileFailed(const std::string& name, const std::string& message) = 0;
};

struct TZtRunSummary {
    bool Refused = false; // conflicts kept the run from writing anything
    TZtBatchCounts Counts;
};

// Gathers the items of the request, plans their outputs, converts them on
// request.Jobs threads, and with Recursive and OutputDir writes the index and
// the cache of the archive.
TZtRunSummary RunRequest(const TZtBatchRequest& request, TZtRunReport& report);

} // namespace quorvex
