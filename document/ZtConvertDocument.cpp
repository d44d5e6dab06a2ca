// One document from its file to its HTML file or standard output.

#include "ZtConvertDocument.h"

#include <cstdint>
#include <cstdio>
#include <exception>

#include "ZtFileAccess.h"
#include "ZtHtmlText.h"
#include "ZtRecognizeDocument.h"
#include "ZtReplaceEntry.h"
#include "ZtFileStatus.h"
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
        return BuildHtml(conversion.Preferences, fa4, conversion.Modes());
    } catch (const std::exception& error) {
        throw EZtConversionError(error.what());
    }
}

// The HTML or the text to write; the text is read from the HTML, so that it
// holds what the page shows, and kept in `text` when asked for.
std::string Output(const TZtConversion& conversion, TZtFileInfoFa4& fa4, std::string& text)
{
    std::string html = ConvertLoaded(conversion, fa4);
    if (!conversion.WriteText && !conversion.KeepText) return html;
    text = HtmlToText(html);
    if (!conversion.WriteText) return html;
    return conversion.KeepText ? text : std::move(text);
}

// The HTML goes to the file as it is made; a failure to write is no failure
// of the conversion.
void WriteConverted(const TZtConversion& conversion, TZtFileInfoFa4& fa4, TZtNewEntry& file)
{
    std::exception_ptr writeFailure;
    try {
        WriteHtml(conversion.Preferences, fa4, conversion.Modes(), [&](std::string_view bytes) {
            try {
                file.Write(bytes);
            } catch (...) {
                writeFailure = std::current_exception();
                throw;
            }
        });
    } catch (const std::exception& error) {
        if (writeFailure) std::rethrow_exception(writeFailure);
        throw EZtConversionError(error.what());
    }
}

} // namespace

TZtConvertedDocument ConvertDocument(
    const std::string& document, const TZtHtmlDestination& html, const TZtConversion& conversion)
{
    TZtFileInfoFa4 fa4;
    if (document == StandardInputName)
        fa4.LoadFromStream(document, StandardInputDescriptor);
    else
        fa4.LoadFromFile(document);
    std::string text;
    if (html.Folder != nullptr) {
        // The name is looked at first, so that a link or a FIFO in the way
        // costs no conversion; a document that does not convert leaves
        // whatever stands under the name untouched.
        TZtNewEntry file(*html.Folder, html.Entry, KeepsDocument, {}, html.Name);
        // Text is made from the whole HTML; HTML alone goes to the file as
        // it is made.
        if (conversion.WriteText || conversion.KeepText)
            file.Write(Output(conversion, fa4, text));
        else
            WriteConverted(conversion, fa4, file);
        file.Commit();
    } else if (html.Name == StandardOutputName) {
        RefuseProtectedStream(StandardOutputDescriptor, "standard output", KeepsDocument);
        WriteStandardOutput(Output(conversion, fa4, text));
    } else {
        // Converted before anything is written: a device or FIFO takes the
        // bytes as they come.
        WriteWholeFile(html.Name, Output(conversion, fa4, text), KeepsDocument);
    }
    return {fa4.LooksLikeDocument(), fa4.Damage(), std::move(text)};
}

TZtConvertedDocument ConvertDocument(
    const std::string& document, const std::string& htmlName, const TZtConversion& conversion)
{
    return ConvertDocument(document, TZtHtmlDestination{htmlName, nullptr, {}}, conversion);
}

TZtConvertedDocument ConvertToMadeName(const std::string& document, const std::string& htmlName,
    const TZtConversion& conversion, TZtLeftoverSweep* sweep)
{
    const std::size_t slash = htmlName.rfind('/');
    const std::string folderName = slash == std::string::npos ? std::string() : htmlName.substr(0, slash + 1);
    const TZtOutputFolder folder = TZtOutputFolder::OpenNamed(folderName, false);
    if (sweep) sweep->Sweep(folder.Descriptor());
    return ConvertDocument(
        document, TZtHtmlDestination{htmlName, &folder, htmlName.substr(slash + 1)}, conversion);
}

std::string ReadPreferencesFile(const std::string& fileName)
{
    return JoinTextLines(ReadTextLinesFile(fileName).Lines, TLineBreak::CrLf);
}

} // namespace quorvex
