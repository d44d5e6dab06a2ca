// What the program does with its command line before the event loop runs.

#include "ZtProgramStart.h"

#include "ZtConvertDocument.h"
#include "ZtErrorReport.h"
#include "ZtFileTarget.h"
#include "ZtFormQuorvexMain.h"
#include "ZtQuotedName.h"
#include "ZtRecognizeDocument.h"
#include "ZtReplaceEntry.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <set>

namespace quorvex {

namespace {

// Every argument of the window names a file, also "-", which ConvertDocument
// takes for standard input.
std::string DocumentFileName(const std::string& argument)
{
    return argument == StandardInputName ? "./" + argument : argument;
}

// The documents of a batch as files, so that a document is known under any
// name that leads to it.
std::set<TFileIdentity> DocumentFiles(const std::vector<std::string>& arguments)
{
    std::set<TFileIdentity> documents;
    for (const std::string& name : arguments)
        if (const auto identity = IdentityOfRegularFile(DocumentFileName(name))) documents.insert(*identity);
    return documents;
}

// A file that looks like a document is worth more than the HTML that would
// replace it: the batch says why it writes no HTML there, as the
// headless converter does.
bool RefusesTarget(const std::string& document, const std::string& target)
{
    if (!LooksLikeFa4Document(target)) return false;
    std::fprintf(stderr, "quorvex: the HTML of %s would overwrite %s, which looks like an F&A 4 document\n",
        QuotedName(document).c_str(), QuotedName(target).c_str());
    std::fflush(stderr);
    return true;
}

// Each document is converted on its own, without the window: the window's
// preferences and character output decide the bytes, as a Save would. A
// batch naming both X and X.html would write X's HTML over the document
// X.html before reading it; such an HTML file is not written, in silence like
// every failure of a batch, unless X.html looks like a document.
void ConvertBatch(TZtFormQuorvex& window, const std::vector<std::string>& arguments)
{
    const TZtConversion conversion = window.Conversion();
    const std::set<TFileIdentity> documents = DocumentFiles(arguments);
    TZtLeftoverSweep sweep(KeepsDocument);
    for (const std::string& name : arguments) {
        const std::string target = name + ".html";
        if (RefusesTarget(name, target) || documents.contains(IdentityOfTarget(target))) continue;
        try {
            ConvertToMadeName(DocumentFileName(name), target, conversion, &sweep);
        } catch (const EZtConversionError& error) {
            window.ReportConversionError(error.what());
        } catch (const EZtNotReplacedError& error) {
            // A link, FIFO or document in the way stays, and the batch says so.
            std::fprintf(stderr, "quorvex: %s\n", error.what());
            std::fflush(stderr);
        } catch (...) {
            // A batch goes on with the next document; other failures stay silent.
        }
    }
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
