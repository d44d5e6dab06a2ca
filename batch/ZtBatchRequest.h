#pragma once
// What one run over many documents is asked to do, whichever program asks:
// the names given, where their HTML goes, whether folders are walked, and
// how the documents are converted.

#include <optional>
#include <string>
#include <vector>

#include "ZtConvertDocument.h"

namespace quorvex {

// What outputs that conflict do to a run: the command line writes nothing
// at all, the window passes over the documents concerned and converts the
// others.
enum class TZtConflictPolicy { cpRefuseRun, cpPassOverItem };

struct TZtBatchRequest {
    std::vector<std::string> Names; // documents, and with Recursive folders, in the order given
    std::optional<std::string> OutputFile; // one document's HTML goes here
    std::optional<std::string> OutputDir; // each NAME.html goes into this folder
    bool Recursive = false; // folders are walked for documents
    bool Text = false; // each document's text (NAME.txt) instead of its HTML
    // An output newer than its document and than the preferences file stays.
    bool Update = false;
    std::optional<std::string> PreferencesFile; // where Conversion.Preferences came from
    unsigned Jobs = 1; // documents converted at once
    TZtConversion Conversion;
    TZtConflictPolicy Conflicts = TZtConflictPolicy::cpRefuseRun;
};

// The one place an output's name is made: the output file, standard output
// for standard input, NAME.html (NAME.txt for Text) inside the output
// folder, or the document's own name with ".html" (".txt") added.
std::string HtmlFileName(const TZtBatchRequest& request, const std::string& document);
// A document's name, or its path below the output folder, with ".html" added.
std::string WithHtmlExtension(std::string name);
// The same with the extension of the request's output, ".html" or ".txt".
std::string WithOutputExtension(const TZtBatchRequest& request, std::string name);
// Whether the run writes an index: over folders into an output folder, as
// HTML (the index links to HTML). Only such a run reads and keeps the facts
// of its documents.
bool WritesIndex(const TZtBatchRequest& request);
// Where a run over folders with an output folder writes its index and keeps
// the cache of what it read.
std::string IndexName(const TZtBatchRequest& request);
std::string FactsCacheName(const TZtBatchRequest& request);

} // namespace quorvex
