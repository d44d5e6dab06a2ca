// The whole HTML document: the preferences text as its head, then the three
// sections of the F&A 4 document.

#include <algorithm>
#include <functional>

#include "ZtFa4Converter.h"
#include "ZtFileAccess.h"
#include "ZtFileInfoFa4.h"
#include "ZtInlineBalance.h"

namespace quorvex {
namespace {

// What a written document holds in memory at most, besides one line's or
// one table's HTML.
constexpr std::size_t SpilledAfter = std::size_t{4} << 20;

// HTML 4.01 Transitional keeps browsers in the mode the pages were made for
// (a doctype of HTML5 would move them), and validators and clean-up tools then
// leave the page as it is.
constexpr std::string_view PortableDoctype =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n";

// Whether a head brings its own doctype: a second one would be an error.
bool StartsWithDoctype(std::string_view preferences)
{
    const std::size_t start = preferences.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos) return false;
    constexpr std::string_view Doctype = "<!doctype";
    const std::string_view head = preferences.substr(start, Doctype.size());
    return head.size() == Doctype.size() &&
        std::equal(head.begin(), head.end(), Doctype.begin(), [](char a, char b) {
            return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
        });
}

// Assembles the document into `html`; with `write`, a large document's
// HTML goes to it in pieces as it is made, and `html` keeps the rest.
void AssembleHtml(std::string& html, std::string_view preferences, TZtFileInfoFa4& document,
    const TZtOutputModes& modes, const std::function<void(std::string_view)>* write)
{
    const bool portable = modes.Markup == TMarkup::Portable;
    if (portable && !StartsWithDoctype(preferences)) html += PortableDoctype;
    html += preferences;
    const std::size_t bodyStart = html.size();
    html += portable ? "<body>\r\n" : "<body>\r";
    // Pieces handed out before the end cannot be rewritten: once the first
    // goes, every piece of a default page passes the balancing on its way.
    TInlineBalancer balancer(bodyStart);
    bool spilled = false;
    std::string balanced;
    const std::function<void(std::string_view)> spill = [&](std::string_view piece) {
        spilled = true;
        if (!portable) return (*write)(piece);
        balanced.clear();
        balancer.Feed(piece, balanced);
        (*write)(balanced);
    };
    // The header comes first in the body, the footer last. A section is never
    // left out: every converted line begins with its line comment. One
    // converter for the three sections, so that they share one bound on the
    // work of the conversion.
    bool crossed = false;
    ConvertWithinMemory([&] {
        TFa4Converter converter(document, modes);
        if (write) converter.SpillLargeOutput(html, spill, SpilledAfter);
        converter.ConvertSection(html, secHeader);
        converter.Nesting().Block();
        html += "<hr>";
        converter.ConvertSection(html, secBody);
        converter.Nesting().Block();
        html += "<hr>";
        converter.ConvertSection(html, secFooter);
        document.NoteTablesUnread(converter.TablesUnread());
        crossed = converter.Nesting().Crossed();
        converter.GiveBackState();
    });
    html += "</body>";
    if (!portable) return;
    if (spilled) {
        balanced.clear();
        balancer.Feed(html, balanced);
        balancer.Finish(balanced);
        html.swap(balanced);
    } else if (crossed) {
        // Most documents' elements nest already: only the others are rewritten.
        BalanceInlineElements(html, bodyStart);
    }
}

} // namespace

std::string BuildHtml(std::string_view preferences, TZtFileInfoFa4& document)
{
    return BuildHtml(preferences, document, document.OutputModes());
}

std::string BuildHtml(std::string_view preferences, TZtFileInfoFa4& document, const TZtOutputModes& modes)
{
    std::string html;
    // Room for what a document of running text becomes, so that the text is
    // not copied as it grows; pages that stay unused are never touched. The
    // held bytes, not the file's size: a sparse file may be far larger.
    html.reserve(preferences.size() + 2 * static_cast<std::size_t>(document.HeldSize()) + 64 * Fa4MaxLines);
    AssembleHtml(html, preferences, document, modes, nullptr);
    return html;
}

void WriteHtml(std::string_view preferences, TZtFileInfoFa4& document, const TZtOutputModes& modes,
    const std::function<void(std::string_view)>& write)
{
    std::string html;
    html.reserve(preferences.size() + 2 * SpilledAfter);
    AssembleHtml(html, preferences, document, modes, &write);
    write(html);
}

void SaveHtml(const std::string& fileName, std::string_view preferences, TZtFileInfoFa4& document,
    const TZtOutputModes& modes)
{
    // Converting first leaves whatever stands under the name untouched when
    // the conversion fails.
    const std::string html = BuildHtml(preferences, document, modes);
    WriteWholeFile(fileName, html);
}

void SaveHtml(const std::string& fileName, std::string_view preferences, TZtFileInfoFa4& document)
{
    SaveHtml(fileName, preferences, document, document.OutputModes());
}

} // namespace quorvex
