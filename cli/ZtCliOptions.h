#pragma once
// The command line of fa4tohtml: what it asks for, and where each HTML file goes.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ZtBatchRequest.h"
#include "ZtErrors.h"

namespace quorvex {

// A command line that cannot be acted on; the message says why.
class EZtUsageError : public EZtError {
public:
    using EZtError::EZtError;
};

struct TZtCliOptions {
    std::vector<std::string> Documents;
    std::optional<std::string> OutputFile; // -o
    std::optional<std::string> OutputDir; // -d
    std::optional<std::string> PreferencesFile; // -p
    unsigned Jobs = 0; // -j; 0: one per core
    bool Unicode = false; // --unicode
    bool Classic = false; // --classic
    bool Recursive = false; // -r: folders are walked for documents
    bool Update = false; // -u: HTML newer than its document is kept
    bool Info = false; // --info: facts of each file as JSON Lines, nothing written
    bool Text = false; // --text: each document's text as UTF-8 instead of its HTML
    bool Help = false; // --help
    bool Version = false; // --version
};

// The arguments after the program's name. Raises EZtUsageError. With --help
// or --version nothing else is checked.
TZtCliOptions ParseCommandLine(const std::vector<std::string>& args);

// The run the options ask for: the names, -o, -d and -r.
TZtBatchRequest BatchRequest(const TZtCliOptions& options);
// Where the HTML of a named document is written (see TZtBatchRequest).
std::string HtmlFileName(const TZtCliOptions& options, const std::string& document);

// The text --help prints.
std::string UsageText();

} // namespace quorvex
