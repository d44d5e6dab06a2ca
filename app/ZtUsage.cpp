// The command line, the usage and the version of the desktop program.
#include "ZtUsage.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "ZtQuotedName.h"

namespace quorvex {

namespace {

constexpr std::string_view ProgramName = "quorvex";

constexpr char UsageText[] = "Usage: quorvex [OPTION]... [--] [DOCUMENT]\n"
                             "   or: quorvex [OPTION]... [--] DOCUMENT DOCUMENT...\n"
                             "Shows an F&A 4 document, its lines and its HTML preview in a window.\n"
                             "Two or more documents are converted to HTML files named DOCUMENT.html\n"
                             "beside them, without the window; a file there that looks like an\n"
                             "F&A 4 document is not replaced.\n"
                             "\n"
                             "  --help     show this help and exit\n"
                             "  --version  show the version and exit\n"
                             "  --         end of options: the arguments after it are documents\n"
                             "\n"
                             "Exit status: 0 when the window is closed or the batch ends, 1 when the\n"
                             "one document named cannot be opened, 2 on a wrong command line.\n";

// The form every Quorvex program uses, so that scripts read one kind of line.
int ReportUsageError(std::string_view typed)
{
    const std::string message = WithoutControls(typed);
    std::fprintf(stderr, "%.*s: %.*s\nTry '%.*s --help' for more information.\n",
        static_cast<int>(ProgramName.size()), ProgramName.data(), static_cast<int>(message.size()),
        message.data(), static_cast<int>(ProgramName.size()), ProgramName.data());
    return 2;
}

bool IsOption(std::string_view argument)
{
    return argument.size() >= 2 && argument.front() == '-';
}

// The option as a usage error names it: a long option whole, of a cluster
// of short options the first.
std::string_view UnknownOption(std::string_view argument)
{
    return argument[1] == '-' ? argument : argument.substr(0, 2);
}

} // namespace

TZtCommandLine ReadCommandLine(const std::vector<std::string>& arguments)
{
    TZtCommandLine commandLine;
    bool help = false;
    bool version = false;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (optionsEnded || !IsOption(argument))
            commandLine.Documents.push_back(argument);
        else if (argument == "--")
            optionsEnded = true;
        else if (argument == "--help")
            help = true;
        else if (argument == "--version")
            version = true;
        else {
            commandLine.ExitCode =
                ReportUsageError("unknown option '" + std::string(UnknownOption(argument)) + "'");
            return commandLine;
        }
    }
    if (help) {
        std::fputs(UsageText, stdout);
        commandLine.ExitCode = 0;
    } else if (version) {
        std::printf(
            "%.*s (Quorvex) %s\n", static_cast<int>(ProgramName.size()), ProgramName.data(), QUORVEX_VERSION);
        commandLine.ExitCode = 0;
    }
    return commandLine;
}

} // namespace quorvex
