// fa4tohtml: converts F&A 4 documents to HTML files without opening a window.

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <thread>
#include <vector>

#include "ZtBatchReport.h"
#include "ZtCliOptions.h"
#include "ZtConvertDocument.h"
#include "ZtDefaultPreferences.h"
#include "ZtParallelBatch.h"

namespace quorvex {
namespace {

enum TExitStatus { exOk = 0, exFailed = 1, exUsage = 2 };

int ReportUsageError(const EZtUsageError& error)
{
    std::fprintf(stderr, "%.*s: %s\nTry '%.*s --help' for more information.\n",
        static_cast<int>(ProgramName.size()), ProgramName.data(), error.what(),
        static_cast<int>(ProgramName.size()), ProgramName.data());
    return exUsage;
}

unsigned DefaultJobs()
{
    return std::max(1u, std::thread::hardware_concurrency());
}

// Never throws: a failure becomes the document's outcome.
TZtOutcome ConvertOne(
    const std::string& document, const std::string& htmlName, const TZtConversion& conversion)
{
    try {
        ConvertDocument(document, htmlName, conversion);
        return std::nullopt;
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "unknown error";
    }
}

int ConvertAll(const TZtCliOptions& options, const TZtConversion& conversion)
{
    const std::vector<std::string>& documents = options.Documents;
    std::vector<std::string> targets;
    targets.reserve(documents.size());
    for (const auto& document : documents) targets.push_back(HtmlFileName(options, document));

    unsigned jobs = options.Jobs > 0 ? options.Jobs : DefaultJobs();
    if (WritesOverAnInput(documents, targets)) jobs = 1;

    TZtBatchReport report(stderr, documents.size(), isatty(STDERR_FILENO) == 1);
    RunBatch(
        GroupByTarget(targets), jobs,
        [&](std::size_t i) { return ConvertOne(documents[i], targets[i], conversion); },
        [&](std::size_t i, const TZtOutcome& outcome) { report.Finished(documents[i], outcome); });
    return report.AnyFailed() ? exFailed : exOk;
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

    TZtConversion conversion;
    conversion.Preferences = DefaultPreferencesText;
    if (options.Classic) {
        conversion.CharOutput = options.Unicode ? TCharOutput::CharReferences : TCharOutput::Bytes;
        conversion.HyphenJoin = hjLineBreak;
        conversion.Preferences = ClassicPreferencesText;
    }
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
    return quorvex::Run(std::vector<std::string>(argv + 1, argv + argc));
}
