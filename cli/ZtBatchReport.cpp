// The error lines and the progress line of a batch on standard error.

#include "ZtBatchReport.h"

#include "ZtQuotedName.h"

namespace quorvex {
namespace {

// Carriage return, then the terminal's "erase to end of line".
constexpr std::string_view EraseLine = "\r\x1b[K";

void Put(std::FILE* stream, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stream);
}

} // namespace

std::string ErrorLine(std::string_view name, std::string_view message)
{
    // Names in the message are quoted where it was made; what else it
    // holds cannot reach the terminal as a command either.
    std::string line(ProgramName);
    line += ": ";
    line += QuotedName(name);
    line += ": ";
    line += WithoutControls(message);
    line += '\n';
    return line;
}

std::string NoteLine(const TZtBatchNote& note)
{
    return ErrorLine(note.Name, note.Text);
}

std::string NotADocumentLine(const TZtBatchItem& item)
{
    return ErrorLine(item.Document, "warning: does not look like an F&A 4 document");
}

std::string DamageLine(const TZtBatchItem& item, const TZtDamageAccount& damage)
{
    return ErrorLine(item.Document, "warning: damaged: " + DescribeDamage(damage));
}

std::string SummaryLine(const TZtBatchCounts& counts)
{
    const std::string damaged =
        counts.Damaged > 0 ? " (" + std::to_string(counts.Damaged) + " damaged)" : std::string();
    return std::string(ProgramName) + ": " + std::to_string(counts.Converted) + " converted" + damaged +
        ", " + std::to_string(counts.PassedOver) + " passed over as not documents, " +
        std::to_string(counts.UpToDate) + " up to date, " + std::to_string(counts.Failed) + " failed\n";
}

TZtBatchReport::TZtBatchReport(std::FILE* stream, std::size_t total, bool showProgress)
    : FStream(stream)
    , FTotal(total)
    , FShowProgress(showProgress && total > ProgressThreshold)
{
    DrawProgress();
}

TZtBatchReport::~TZtBatchReport()
{
    ClearProgress();
}

void TZtBatchReport::Note(std::string_view line)
{
    ClearProgress();
    Put(FStream, line);
    DrawProgress();
}

void TZtBatchReport::Finished(std::string_view name, const TZtOutcome& outcome)
{
    ++FDone;
    if (outcome) {
        ++FFailed;
        ClearProgress();
        Put(FStream, ErrorLine(name, *outcome));
    }
    DrawProgress();
}

void TZtBatchReport::ClearProgress()
{
    if (!FShowProgress) return;
    Put(FStream, EraseLine);
    std::fflush(FStream);
}

void TZtBatchReport::DrawProgress()
{
    if (!FShowProgress) return;
    std::string line(EraseLine);
    line += ProgramName;
    line += ": " + std::to_string(FDone) + " of " + std::to_string(FTotal) + " documents";
    if (FFailed > 0) line += ", " + std::to_string(FFailed) + " failed";
    Put(FStream, line);
    std::fflush(FStream);
}

} // namespace quorvex
