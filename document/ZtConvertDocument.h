#pragma once
// One document from its file to its HTML: loaded into a document object of
// its own, converted, and written to the HTML file or to standard output.

#include <string>
#include <string_view>

#include "ZtErrors.h"
#include "ZtFileInfoFa4.h"
#include "ZtOutputFolder.h"
#include "ZtTemporaryFiles.h"

namespace quorvex {

// Written in place of a file name to mean standard output, or standard input
// where a document is named.
inline constexpr std::string_view StandardOutputName = "-";
inline constexpr std::string_view StandardInputName = "-";

struct TZtConversion {
    std::string Preferences; // lines ended by CR LF
    TCharOutput CharOutput = TCharOutput::CharReferences;
    THyphenJoin HyphenJoin = hjJoined;
    TMarkup Markup = TMarkup::Portable;
    bool WriteText = false; // the document's text (HtmlToText) is written instead of its HTML
    bool KeepText = false; // TZtConvertedDocument::Text is filled

    TZtOutputModes Modes() const { return {CharOutput, HyphenJoin, Markup}; }
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
    std::string Text; // HtmlToText of the HTML, when asked for
};

// Where the HTML (with WriteText the text) of a conversion goes.
struct TZtHtmlDestination {
    std::string Name; // as messages name it; "-" is standard output
    // Set: the HTML is the entry `Entry` of this folder, a name the program
    // made: a regular file put in place of what stood there, which is never
    // followed or written into. Unset: `Name` as the user typed it, a link
    // followed, a device or FIFO written into.
    const TZtOutputFolder* Folder = nullptr;
    std::string Entry;
};

// `document` "-" reads standard input to its end. Raises EZtError with the
// message the user sees: EZtConversionError when the document was read but
// did not convert, EZtNotReplacedError when what stands under the HTML's
// name stays (a document, a link, a FIFO ...). Standard output that is a
// regular file is checked as any file the HTML would replace.
TZtConvertedDocument ConvertDocument(
    const std::string& document, const TZtHtmlDestination& html, const TZtConversion& conversion);
// The same for a name the user typed, "-" standard output.
TZtConvertedDocument ConvertDocument(
    const std::string& document, const std::string& htmlName, const TZtConversion& conversion);
// The same for a name the program made (the document's name and ".html"):
// written as an entry of its folder, which is opened as named and, with
// `sweep`, cleared of a killed run's leftovers.
TZtConvertedDocument ConvertToMadeName(const std::string& document, const std::string& htmlName,
    const TZtConversion& conversion, TZtLeftoverSweep* sweep = nullptr);

// A preferences file as the window's "Load..." reads it, every line then
// ended by CR LF.
std::string ReadPreferencesFile(const std::string& fileName);

} // namespace quorvex
