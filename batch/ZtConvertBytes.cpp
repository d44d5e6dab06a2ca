// Converts a document's bytes and gathers its row of the index.

#include "ZtConvertBytes.h"

#include <exception>

#include "ZtDocumentFacts.h"
#include "ZtFileInfoFa4.h"
#include "ZtHtmlText.h"
#include "ZtIndexRow.h"

namespace quorvex {

TZtBytesResult ConvertBytesItem(
    std::string indexPath, std::string document, std::time_t modified, const TZtConversion& conversion)
{
    TZtBytesResult result;
    std::optional<TZtDocumentFacts> facts;
    std::optional<std::string> failure;
    std::string text;
    try {
        facts = DocumentFactsOfBytes(document);
        facts->Modified = modified;
        TZtFileInfoFa4 fa4;
        fa4.LoadFromMemory(std::string(StandardInputName), std::move(document));
        result.Html = BuildHtml(conversion.Preferences, fa4, conversion.Modes());
        if (conversion.KeepText) text = HtmlToText(*result.Html);
    } catch (const std::exception& error) {
        failure = error.what();
    }
    result.Row = IndexRowOf(std::move(indexPath), std::move(failure), std::move(facts));
    result.Row.Text = std::move(text);
    return result;
}

} // namespace quorvex
