// The command line of the desktop program: its options, and the answers to
// `quorvex --help` and `quorvex --version`, given before any window or
// display is needed.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorvex {

// What the command line asks for.
struct TZtCommandLine {
    // The documents, in command-line order.
    std::vector<std::string> Documents;
    // Set when the program ends before its window is made: 0 after the usage
    // or the version was printed, 2 after a usage error was reported.
    std::optional<int> ExitCode;
};

// An argument that begins with "-" and has more characters is an option;
// "--" ends the options, so later arguments are documents even when they
// begin with "-" (as is "./--help"). --help and --version print their
// answer; any other option is reported on standard error as a usage error.
TZtCommandLine ReadCommandLine(const std::vector<std::string>& arguments);

} // namespace quorvex
