#pragma once
// One document of a batch: loaded into its own document object, converted,
// and written to its HTML file or to standard output.

#include <string>
#include <string_view>

#include "ZtFileInfoFa4.h"

namespace quorvex {

struct TZtConversion {
    std::string Preferences; // lines ended by CR LF
    TCharOutput CharOutput = TCharOutput::Bytes;
};

// `htmlName` "-" writes to standard output. Raises EZtError with the message
// the user sees.
void ConvertDocument(
    const std::string& document, const std::string& htmlName, const TZtConversion& conversion);

// A preferences file as the window's "Load..." reads it, every line then
// ended by CR LF.
std::string ReadPreferencesFile(const std::string& fileName);

} // namespace quorvex
