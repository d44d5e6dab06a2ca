// quorvex: the desktop program. No argument opens the window empty, one
// argument opens that F&A 4 document in it, two or more are converted to
// HTML files beside them without showing the window.

#include "ZtApplication.h"
#include "ZtFormQuorvexMain.h"
#include "ZtHtmlPreview.h"
#include "ZtProgramStart.h"
#include "ZtPrompter.h"
#include "ZtUsage.h"

#include <memory>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    using namespace quorvex;

    // File names as the system gave them, byte for byte.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (const auto exitCode = AnswerUsageRequest(arguments)) return *exitCode;

    std::unique_ptr<TZtPrompter> prompter;
    if (NonInteractiveRun())
        prompter = std::make_unique<TZtConsolePrompter>();
    else
        prompter = std::make_unique<TZtQtPrompter>();

    TZtHtmlPreview::PrepareApplication();
    TZtApplication application(argc, argv, *prompter);
    TZtFormQuorvex window(*prompter);
    if (const auto exitCode = ActOnArguments(window, *prompter, arguments)) return *exitCode;
    window.show();
    return application.exec();
}
