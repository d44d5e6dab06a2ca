// What the program does with its command line before the event loop runs.

#include "ZtProgramStart.h"

#include "ZtBatchRun.h"
#include "ZtConvertDocument.h"
#include "ZtErrorReport.h"
#include "ZtFormQuorvexMain.h"
#include "ZtQuotedName.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

namespace quorvex {

namespace {

// Every argument of the window names a file, also "-", which the run would
// take for standard input.
std::string DocumentFileName(const std::string& argument)
{
    return argument == StandardInputName ? "./" + argument : argument;
}

// The window's batch on standard error: a document it passes over is named
// with the reason, as the headless converter names it; of the failures
// only a document that did not convert is shown, in the window's box.
class TWindowRunReport : public TZtRunReport {
public:
    explicit TWindowRunReport(TZtFormQuorvex& window)
        : FWindow(window)
    { }

    void Note(const TZtBatchNote&) override { }
    void Conflict(const std::string& message) override
    {
        std::fprintf(stderr, "quorvex: %s\n", WithoutControls(message).c_str());
        std::fflush(stderr);
    }
    void Converting(std::size_t) override { }
    void Finished(const TZtBatchItem&, const TZtItemResult& result, const TZtOutcome&) override
    {
        if (result.ConversionFailed) FWindow.ReportConversionError(*result.Message);
        // A link, FIFO or document in the way stays, and the batch says so.
        if (result.NotReplaced) Conflict(*result.Message);
    }
    void AllFinished() override { }
    void RunFileFailed(const std::string&, const std::string&) override { }

private:
    TZtFormQuorvex& FWindow;
};

// Each document is converted on its own, without the window: the window's
// preferences and character output decide the bytes, as a Save would. The
// shared run's rules keep the HTML off any document, of the batch or not:
// such a document is passed over, and so is a second document that would
// write the same HTML file. One document at a time, so that the boxes come
// in order on the window's thread.
void ConvertBatch(TZtFormQuorvex& window, const std::vector<std::string>& arguments)
{
    TZtBatchRequest request;
    for (const std::string& name : arguments) request.Names.push_back(DocumentFileName(name));
    request.Conversion = window.Conversion();
    request.Conflicts = TZtConflictPolicy::cpPassOverItem;
    TWindowRunReport report(window);
    RunRequest(request, report);
}

} // namespace

std::optional<int> ActOnArguments(
    TZtFormQuorvex& window, TZtPrompter& prompter, const std::vector<std::string>& arguments)
{
    if (arguments.empty()) return std::nullopt;
    if (arguments.size() == 1) {
        try {
            window.OpenDocument(arguments.front());
        } catch (const std::exception& error) {
            ShowFatalError(prompter, error);
            return 1;
        }
        return std::nullopt;
    }
    ConvertBatch(window, arguments);
    return 0;
}

bool NonInteractiveRun()
{
    const char* value = std::getenv("QUORVEX_NONINTERACTIVE");
    return value != nullptr && *value != '\0';
}

} // namespace quorvex
