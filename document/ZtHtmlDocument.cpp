// The whole HTML document: the preferences text as its head, then the three
// sections of the F&A 4 document.

#include "ZtFileInfoFa4.h"
#include "ZtFileWriter.h"

namespace quorvex {

std::string BuildHtml(std::string_view preferences, TZtFileInfoFa4& document) {
  // The header comes first in the body, the footer last. A section is never
  // left out: every converted line begins with its line comment.
  const std::string header = document.ConvertSection(secHeader);
  const std::string body = document.ConvertSection(secBody);
  const std::string footer = document.ConvertSection(secFooter);
  std::string html;
  html.reserve(preferences.size() + header.size() + body.size() + footer.size() + 32);
  html += preferences;
  html += "<body>\r";
  html += header;
  html += "<hr>";
  html += body;
  html += "<hr>";
  html += footer;
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
