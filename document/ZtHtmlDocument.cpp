// The whole HTML document: the preferences text as its head, then the three
// sections of the F&A 4 document.

#include "ZtFileInfoFa4.h"
#include "ZtFileWriter.h"

namespace quorvex {

std::string BuildHtml(std::string_view preferences, TZtFileInfoFa4& document) {
  // The header comes first in the body, the footer last. A section is never
  // left out: every converted line begins with its line comment.
  std::string html;
  // Room for what a document of running text becomes, so that the text is
  // not copied as it grows; pages that stay unused are never touched.
  html.reserve(preferences.size() + 2 * static_cast<std::size_t>(document.FileSize()) +
               64 * Fa4MaxLines);
  html += preferences;
  html += "<body>\r";
  document.AppendSection(html, secHeader);
  html += "<hr>";
  document.AppendSection(html, secBody);
  html += "<hr>";
  document.AppendSection(html, secFooter);
  html += "</body>";
  return html;
}

void SaveHtml(const std::string& fileName, std::string_view preferences, TZtFileInfoFa4& document) {
  // Converting first leaves whatever stands under the name untouched when
  // the conversion fails.
  const std::string html = BuildHtml(preferences, document);
  WriteFileReplacing(fileName, html);
}

}  // namespace quorvex
