// fa4tohtml: converts F&A 4 documents to HTML files without opening a window.

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ZtBatchReport.h"
#include "ZtBatchRun.h"
#include "ZtCliOptions.h"
#include "ZtConvertDocument.h"
#include "ZtDefaultPreferences.h"
#include "ZtFileStatus.h"
#include "ZtInfoLines.h"
#include "ZtQuotedName.h"
#include "ZtTemporaryFiles.h"

namespace quorvex {
namespace {

enum TExitStatus { exOk = 0, exFailed = 1, exUsage = 2 };

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

// The run told on standard error: conflicts and notes as they come, each
// item's failure and warnings with the progress, in item order.
class TCliRunReport : public TZtRunReport {
public:
    void Note(const TZtBatchNote& note) override { std::fputs(NoteLine(note).c_str(), stderr); }
    void Conflict(const std::string& message) override
    {
        std::fprintf(stderr, "%.*s: %s\n", static_cast<int>(ProgramName.size()), ProgramName.data(),
            WithoutControls(message).c_str());
    }
    void Converting(std::size_t items) override
    {
        FProgress.emplace(stderr, items, StandardErrorIsTerminal());
    }
    void Finished(const TZtBatchItem& item, const TZtItemResult& result, const TZtOutcome& outcome) override
    {
        if (item.NotADocument || result.NotADocument) FProgress->Note(NotADocumentLine(item));
        if (result.State == TZtItemState::isConverted && result.Damage.Damaged())
            FProgress->Note(DamageLine(item, result.Damage));
        FProgress->Finished(item.Document, outcome);
    }
    void AllFinished() override { FProgress.reset(); }
    void RunFileFailed(const std::string& name, const std::string& message) override
    {
        std::fputs(ErrorLine(name, message).c_str(), stderr);
    }

private:
    std::optional<TZtBatchReport> FProgress; // while the items are converted
};

int ConvertAll(const TZtCliOptions& options, const TZtConversion& conversion)
{
    TZtBatchRequest request = BatchRequest(options);
    request.Update = options.Update;
    request.PreferencesFile = options.PreferencesFile;
    request.Jobs = options.Jobs > 0 ? options.Jobs : DefaultJobs();
    request.Conversion = conversion;
    // A run whose outputs conflict writes nothing at all.
    request.Conflicts = TZtConflictPolicy::cpRefuseRun;
    TCliRunReport report;
    const TZtRunSummary summary = RunRequest(request, report);
    if (summary.Refused) return exUsage;
    if (options.Recursive) std::fputs(SummaryLine(summary.Counts).c_str(), stderr);
    return summary.Counts.Failed > 0 ? exFailed : exOk;
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
