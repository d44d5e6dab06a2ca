#pragma once
// What a batch tells the user on standard error: one line per failed
// document and, on a terminal, a progress line for longer batches.

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

#include "ZtBatchItems.h"
#include "ZtBatchRun.h"
#include "ZtDamageAccount.h"
#include "ZtParallelBatch.h"

namespace quorvex {

inline constexpr std::string_view ProgramName = "fa4tohtml";

// Batches of more documents than this show progress on a terminal.
inline constexpr std::size_t ProgressThreshold = 3;

// "fa4tohtml: NAME: message" and a line end, the name quoted and the
// message's control characters escaped (QuotedName, WithoutControls).
std::string ErrorLine(std::string_view name, std::string_view message);

// The line for a note of the run.
std::string NoteLine(const TZtBatchNote& note);
// The warning line for an item that is not a document.
std::string NotADocumentLine(const TZtBatchItem& item);
// The warning line for a damaged document: "fa4tohtml: NAME: warning:
// damaged: 14 of 27 lines cut at the end of the file".
std::string DamageLine(const TZtBatchItem& item, const TZtDamageAccount& damage);

// "fa4tohtml: 3 converted, 1 passed over as not documents, 0 up to date,
// 1 failed" and a line end; "3 converted (1 damaged), ..." when any
// converted document is damaged.
std::string SummaryLine(const TZtBatchCounts& counts);

class TZtBatchReport {
public:
    TZtBatchReport(std::FILE* stream, std::size_t total, bool showProgress);
    TZtBatchReport(const TZtBatchReport&) = delete;
    TZtBatchReport& operator=(const TZtBatchReport&) = delete;
    // Removes the progress line.
    ~TZtBatchReport();

    // A line that is no failure, such as a warning.
    void Note(std::string_view line);
    // Called once per document, in document order.
    void Finished(std::string_view name, const TZtOutcome& outcome);
    bool AnyFailed() const { return FFailed > 0; }

private:
    void ClearProgress();
    void DrawProgress();

    std::FILE* FStream;
    std::size_t FTotal;
    std::size_t FDone = 0;
    std::size_t FFailed = 0;
    bool FShowProgress;
};

} // namespace quorvex
