#pragma once
// The index page of a converted archive: one section per folder, one table
// row per document, links to the HTML files beside the index.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

struct TZtIndexRow {
    // The document's path below the archive, '/' between folders; its HTML is
    // this path with ".html" added, relative to the index.
    std::string Path;
    // The message when the document could not be converted.
    std::optional<std::string> Failure;
    std::string Title; // UTF-8
    // About a hundred characters of the text from the title on, UTF-8, so
    // that letters that all begin alike can be told apart.
    std::string Excerpt;
    // What a damaged document lost, in words; empty when it is intact.
    std::string Damage;
    std::int32_t Lines = 0;
    std::uint64_t Size = 0;
    std::time_t Modified = 0;
    // The document's text (HtmlToText) for the index's search, UTF-8.
    std::string Text;
};

// The whole page, UTF-8. `archiveName` names the archive in the title. Names
// and messages that are not UTF-8 show U+FFFD for the bytes that are not;
// links keep every byte. Dates are local time. With `search` the page has a
// search field for the data of TZtSearchDataBuilder in the folder
// SearchFolderName beside it, whose documents are the rows in the order of
// RowsInIndexOrder.
std::string BuildArchiveIndex(
    std::string_view archiveName, std::vector<TZtIndexRow> rows, bool search = false);
// The positions in `rows` in the order the page lists them: folder by
// folder, each by name.
std::vector<std::size_t> RowsInIndexOrder(const std::vector<TZtIndexRow>& rows);

// The name of the index page inside the output folder.
inline constexpr std::string_view IndexFileName = "index.html";

} // namespace quorvex
