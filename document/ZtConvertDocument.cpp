// One document from its file to its HTML file or standard output.

#include "ZtConvertDocument.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <exception>

#include "ZtFileAccess.h"
#include "ZtTextLines.h"

namespace quorvex {
namespace {

void WriteStandardOutput(std::string_view bytes)
{
    const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    if (written != bytes.size() || std::fflush(stdout) != 0)
        throw EZtError("Cannot write to standard output");
}

std::string ConvertLoaded(const TZtConversion& conversion, TZtFileInfoFa4& fa4)
{
    try {
        return BuildHtml(conversion.Preferences, fa4);
    } catch (const std::exception& error) {
        throw EZtConversionError(error.what());
    }
}

} // namespace

TZtConvertedDocument ConvertDocument(
    const std::string& document, const std::string& htmlName, const TZtConversion& conversion)
{
    TZtFileInfoFa4 fa4;
    fa4.SetCharOutput(conversion.CharOutput);
    fa4.SetHyphenJoin(conversion.HyphenJoin);
    if (document == StandardInputName)
        fa4.LoadFromStream(document, STDIN_FILENO);
    else
        fa4.LoadFromFile(document);
    // Converted before anything is written, so that a document that does not
    // convert leaves whatever stands under the HTML name untouched.
    const std::string html = ConvertLoaded(conversion, fa4);
    if (htmlName == StandardOutputName)
        WriteStandardOutput(html);
    else
        WriteWholeFile(htmlName, html);
    return {fa4.LooksLikeDocument(), fa4.Damage()};
}

std::string ReadPreferencesFile(const std::string& fileName)
{
    return JoinTextLines(ReadTextLinesFile(fileName).Lines, TLineBreak::CrLf);
}

} // namespace quorvex
