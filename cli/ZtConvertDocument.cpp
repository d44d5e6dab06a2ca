#include "ZtConvertDocument.h"

#include <cstdio>

#include "ZtCliOptions.h"
#include "ZtTextLines.h"

namespace quorvex {
namespace {

void WriteStandardOutput(std::string_view bytes)
{
    const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    if (written != bytes.size() || std::fflush(stdout) != 0)
        throw EZtError("Cannot write to standard output");
}

} // namespace

void ConvertDocument(
    const std::string& document, const std::string& htmlName, const TZtConversion& conversion)
{
    TZtFileInfoFa4 fa4;
    fa4.SetCharOutput(conversion.CharOutput);
    fa4.LoadFromFile(document);
    if (htmlName == StandardOutputName)
        WriteStandardOutput(BuildHtml(conversion.Preferences, fa4));
    else
        SaveHtml(htmlName, conversion.Preferences, fa4);
}

std::string ReadPreferencesFile(const std::string& fileName)
{
    return JoinTextLines(ReadTextLinesFile(fileName).Lines, TLineBreak::CrLf);
}

} // namespace quorvex
