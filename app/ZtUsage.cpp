// Usage and version of the desktop program.
#include "ZtUsage.h"

#include <cstdio>

namespace quorvex {

namespace {

constexpr char UsageText[] = "Usage: quorvex [DOCUMENT]\n"
                             "   or: quorvex DOCUMENT DOCUMENT...\n"
                             "Shows an F&A 4 document, its lines and its HTML preview in a window.\n"
                             "Two or more documents are converted to HTML files named DOCUMENT.html\n"
                             "beside them, without the window.\n"
                             "\n"
                             "  --help     show this help and exit\n"
                             "  --version  show the version and exit\n";

} // namespace

std::optional<int> AnswerUsageRequest(const std::vector<std::string>& arguments)
{
    if (arguments.size() != 1) return std::nullopt;
    if (arguments.front() == "--help") {
        std::fputs(UsageText, stdout);
        return 0;
    }
    if (arguments.front() == "--version") {
        std::printf("quorvex (Quorvex) %s\n", QUORVEX_VERSION);
        return 0;
    }
    return std::nullopt;
}

} // namespace quorvex
