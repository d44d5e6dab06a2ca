#pragma once
// The text a reader sees of a converted document, read from the HTML that
// the conversion wrote: the words of the header lines, the body and the
// footer lines in their order, for search tools and the archive's search.

#include <string>
#include <string_view>

namespace quorvex {

// UTF-8 text of `html`, a document this program converted (any head, any
// TCharOutput). Skips what stands before <body>, comments and tags; lines
// break where the page breaks them (<br>, <hr>, paragraphs, table rows), each
// table row is one line with a tab between its cells and breaks inside a
// cell are blanks; blanks collapse as a browser collapses them, a no-break
// space is one blank; soft hyphens are dropped and join what a line end
// split; control characters are blanks (NUL is dropped); bytes 0x80..0xFF
// written as they are read as code page 437. Empty lines before the first
// text are left out. Lines end with LF, the text too
// when it holds any.
std::string HtmlToText(std::string_view html);

} // namespace quorvex
