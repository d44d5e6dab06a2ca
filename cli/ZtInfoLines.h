#pragma once
// `fa4tohtml --info`: what is known of each file, one JSON object per line
// (JSON Lines), for catalogues, spreadsheets and jq.

#include <string>

#include "ZtCliOptions.h"
#include "ZtDocumentFacts.h"

namespace quorvex {

// The object of one file, ended by a newline. `name` is written as given;
// where it is not valid UTF-8 its invalid bytes show as U+FFFD and
// "name_hex" holds every byte, so the name can be recovered.
std::string InfoLine(const std::string& name, const TZtDocumentFacts& facts);
// The object of a file that could not be read: its name and the message.
std::string InfoErrorLine(const std::string& name, const std::string& message);

// Prints the lines of every file the options name (with -r, of every
// regular file found below each folder, in path order) and reports failures
// on standard error. Returns the exit status: 0, or 1 when any failed.
int PrintInfo(const TZtCliOptions& options, unsigned jobs);

} // namespace quorvex
