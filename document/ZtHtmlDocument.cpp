// The whole HTML document: the preferences text as its head, then the three
// sections of the F&A 4 document.

#include "ZtFa4Converter.h"
#include "ZtFileInfoFa4.h"
#include "ZtFileAccess.h"

namespace quorvex {

std::string BuildHtml(std::string_view preferences, TZtFileInfoFa4& document)
{
    // The header comes first in the body, the footer last. A section is never
    // left out: every converted line begins with its line comment.
    std::string html;
    // Room for what a document of running text becomes, so that the text is
    // not copied as it grows; pages that stay unused are never touched. The
    // held bytes, not the file's size: a sparse file may be far larger.
    html.reserve(preferences.size() + 2 * static_cast<std::size_t>(document.HeldSize()) + 64 * Fa4MaxLines);
    html += preferences;
    html += "<body>\r";
    // One converter for the three sections, so that they share one bound on
    // the work of the conversion.
    ConvertWithinMemory([&] {
        TFa4Converter converter(document);
        converter.ConvertSection(html, secHeader);
        html += "<hr>";
        converter.ConvertSection(html, secBody);
        html += "<hr>";
        converter.ConvertSection(html, secFooter);
    });
    html += "</body>";
    return html;
}

void SaveHtml(const std::string& fileName, std::string_view preferences, TZtFileInfoFa4& document)
{
    // Converting first leaves whatever stands under the name untouched when
    // the conversion fails.
    const std::string html = BuildHtml(preferences, document);
    WriteWholeFile(fileName, html);
}

} // namespace quorvex
