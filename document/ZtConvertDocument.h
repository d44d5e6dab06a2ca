#pragma once
// One document from its file to its HTML: loaded into a document object of
// its own, converted, and written to the HTML file or to standard output.

#include <string>
#include <string_view>

#include "ZtErrors.h"
#include "ZtFileInfoFa4.h"

namespace quorvex {

// Written in place of a file name to mean standard output, or standard input
// where a document is named.
inline constexpr std::string_view StandardOutputName = "-";
inline constexpr std::string_view StandardInputName = "-";

struct TZtConversion {
    std::string Preferences; // lines ended by CR LF
    TCharOutput CharOutput = TCharOutput::CharReferences;
    THyphenJoin HyphenJoin = hjJoined;
};

// A document that was read but could not be converted. The message is the
// conversion's own; nothing has been written.
class EZtConversionError : public EZtError {
public:
    using EZtError::EZtError;
};

// What a conversion saw of its document, for warnings: standard input is
// taken whether or not it looks like a document.
struct TZtConvertedDocument {
    bool LooksLikeDocument = true;
    TZtDamageAccount Damage;
};

// `document` "-" reads standard input to its end, `htmlName` "-" writes to
// standard output. Raises EZtError with the message
// the user sees: EZtConversionError when the document was read but did not
// convert.
TZtConvertedDocument ConvertDocument(
    const std::string& document, const std::string& htmlName, const TZtConversion& conversion);

// A preferences file as the window's "Load..." reads it, every line then
// ended by CR LF.
std::string ReadPreferencesFile(const std::string& fileName);

} // namespace quorvex
