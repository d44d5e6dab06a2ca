// The whole HTML document: the preferences text as its head, then the three
// sections of the F&A 4 document.

#include "ZtFa4Converter.h"
#include "ZtFileInfoFa4.h"
#include "ZtFileAccess.h"

#include <functional>

namespace quorvex {

namespace {

// What a written document holds in memory at most, besides one line's or
// one table's HTML.
constexpr std::size_t SpilledAfter = std::size_t{4} << 20;

void AssembleHtml(std::string& html, std::string_view preferences, TZtFileInfoFa4& document,
    const std::function<void(std::string_view)>* write)
{
    // The header comes first in the body, the footer last. A section is never
    // left out: every converted line begins with its line comment.
    html += preferences;
    html += "<body>\r";
    // One converter for the three sections, so that they share one bound on
    // the work of the conversion.
    ConvertWithinMemory([&] {
        TFa4Converter converter(document);
        if (write) converter.SpillLargeOutput(html, *write, SpilledAfter);
        converter.ConvertSection(html, secHeader);
        html += "<hr>";
        converter.ConvertSection(html, secBody);
        html += "<hr>";
        converter.ConvertSection(html, secFooter);
    });
    html += "</body>";
}

} // namespace

std::string BuildHtml(std::string_view preferences, TZtFileInfoFa4& document)
{
    std::string html;
    // Room for what a document of running text becomes, so that the text is
    // not copied as it grows; pages that stay unused are never touched. The
    // held bytes, not the file's size: a sparse file may be far larger.
    html.reserve(preferences.size() + 2 * static_cast<std::size_t>(document.HeldSize()) + 64 * Fa4MaxLines);
    AssembleHtml(html, preferences, document, nullptr);
    return html;
}

void WriteHtml(std::string_view preferences, TZtFileInfoFa4& document,
    const std::function<void(std::string_view)>& write)
{
    std::string html;
    html.reserve(preferences.size() + 2 * SpilledAfter);
    AssembleHtml(html, preferences, document, &write);
    write(html);
}

void SaveHtml(const std::string& fileName, std::string_view preferences, TZtFileInfoFa4& document)
{
    // Converting first leaves whatever stands under the name untouched when
    // the conversion fails.
    const std::string html = BuildHtml(preferences, document);
    WriteWholeFile(fileName, html);
}

} // namespace quorvex
