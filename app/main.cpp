// quorvex: the desktop program. No document opens the window empty, one
// document opens in it, two or more are converted to HTML files beside them
// without showing the window.

#include "ZtApplication.h"
#include "ZtFormQuorvexMain.h"
#include "ZtHtmlPreview.h"
#include "ZtProgramStart.h"
#include "ZtPrompter.h"
#include "ZtTemporaryFiles.h"
#include "ZtUsage.h"

#include <memory>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    using namespace quorvex;

    // File names as the system gave them, byte for byte.
    const TZtCommandLine commandLine = ReadCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (commandLine.ExitCode) return *commandLine.ExitCode;
    // An interrupted batch leaves no temporary file beside the HTML it was
    // replacing.
    InstallTemporaryFileCleanup();

    std::unique_ptr<TZtPrompter> prompter;
    if (NonInteractiveRun())
        prompter = std::make_unique<TZtConsolePrompter>();
    else
        prompter = std::make_unique<TZtQtPrompter>();

    TZtApplication::ChooseUtf8WhereNoLocaleIsSet();
    TZtHtmlPreview::PrepareApplication();
    // Qt sees the program's name only: a document named like one of Qt's
    // own options ("-reverse", "-style") stays a document.
    int toolkitArgc = 1;
    TZtApplication application(toolkitArgc, argv, *prompter);
    TZtFormQuorvex window(*prompter);
    if (const auto exitCode = ActOnArguments(window, *prompter, commandLine.Documents)) return *exitCode;
    window.show();
    return application.exec();
}
