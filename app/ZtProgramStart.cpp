#include "ZtProgramStart.h"

#include "ZtErrorReport.h"
#include "ZtFormQuorvexMain.h"

#include <cstdlib>
#include <exception>

namespace quorvex {

namespace {

void ConvertBatch(TZtFormQuorvex& window, const std::vector<std::string>& arguments)
{
    for (const std::string& name : arguments) {
        try {
            window.OpenDocument(name);
            window.SaveHtmlAs(name + ".html");
        } catch (...) {
            // A batch goes on with the next document; failures stay silent.
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
