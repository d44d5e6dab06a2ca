// Writes the index page: plain HTML that reads well without its small
// style sheet, real tables with header cells for screen readers.

#include "ZtArchiveIndex.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <vector>

#include "ZtUtf8.h"

namespace quorvex {
namespace {

constexpr std::string_view PageHead =
    "<!DOCTYPE html>\n"
    "<html lang=\"en\">\n"
    "<head>\n"
    "<meta charset=\"utf-8\">\n"
    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";

constexpr std::string_view StyleSheet =
    "<style>\n"
    "body { font-family: sans-serif; margin: 1em 2em; }\n"
    "table { border-collapse: collapse; margin-bottom: 1.5em; width: 100%; }\n"
    "th, td { border: 1px solid #bbb; padding: 0.2em 0.6em; text-align: left; vertical-align: top; }\n"
    "thead th { background: #eee; white-space: nowrap; }\n"
    "td.number { text-align: right; }\n"
    "tbody th, td.number, td.date { width: 1%; white-space: nowrap; }\n"
    ".failed, .damaged { color: #a00; }\n"
    "td.excerpt { color: #444; font-size: 0.9em; }\n"
    "mark { background: #ff6; color: inherit; }\n"
    "section { content-visibility: auto; contain-intrinsic-size: auto 40em; }\n"
    "div.damaged { font-weight: bold; }\n"
    "</style>\n";

constexpr std::string_view TableHead =
    "<table>\n"
    "<thead><tr><th scope=\"col\">Name</th><th scope=\"col\">Title</th><th scope=\"col\">Lines</th>"
    "<th scope=\"col\">Size (bytes)</th><th scope=\"col\">Modified</th><th scope=\"col\">Beginning</th></tr>"
    "</thead>\n"
    "<tbody>\n";

constexpr std::string_view ReplacementCharacter = "\xEF\xBF\xBD";

// C0 and C1 control characters, which HTML does not allow in text.
bool IsControl(std::string_view sequence)
{
    const auto lead = static_cast<unsigned char>(sequence[0]);
    if (sequence.size() == 1) return lead < 0x20 || lead == 0x7F;
    return lead == 0xC2 && static_cast<unsigned char>(sequence[1]) < 0xA0;
}

// Bytes that go to the page as they are.
bool IsPlainText(unsigned char c)
{
    return c >= 0x20 && c < 0x7F && c != '&' && c != '<' && c != '>' && c != '"';
}

// Text for the page: UTF-8 kept, other bytes as U+FFFD, markup characters
// escaped, control characters as spaces.
void AppendHtmlText(std::string& out, std::string_view text)
{
    while (!text.empty()) {
        std::size_t plain = 0;
        while (plain < text.size() && IsPlainText(static_cast<unsigned char>(text[plain]))) ++plain;
        out += text.substr(0, plain);
        text.remove_prefix(plain);
        if (text.empty()) break;
        const std::size_t length = Utf8SequenceLength(text);
        const std::string_view sequence = text.substr(0, std::max<std::size_t>(length, 1));
        if (length == 0)
            out += ReplacementCharacter;
        else if (IsControl(sequence))
            out += ' ';
        else if (sequence == "&")
            out += "&amp;";
        else if (sequence == "<")
            out += "&lt;";
        else if (sequence == ">")
            out += "&gt;";
        else if (sequence == "\"")
            out += "&quot;";
        else
            out += sequence;
        text.remove_prefix(sequence.size());
    }
}

std::string HtmlText(std::string_view text)
{
    std::string out;
    AppendHtmlText(out, text);
    return out;
}

bool IsUnreservedInUrl(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
        c == '.' || c == '_' || c == '~' || c == '/';
}

// Every byte of a file name reaches the link, percent-encoded where needed;
// a name with ':' in its first segment cannot be read as a scheme.
void AppendUrlPath(std::string& url, std::string_view path)
{
    constexpr std::string_view Hex = "0123456789ABCDEF";
    url += "./";
    while (!path.empty()) {
        std::size_t plain = 0;
        while (plain < path.size() && IsUnreservedInUrl(static_cast<unsigned char>(path[plain]))) ++plain;
        url += path.substr(0, plain);
        path.remove_prefix(plain);
        if (path.empty()) break;
        const auto byte = static_cast<unsigned char>(path.front());
        url += '%';
        url += Hex[byte >> 4];
        url += Hex[byte & 0x0F];
        path.remove_prefix(1);
    }
}

std::string_view FolderOf(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
}

std::string_view NameOf(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// Folder by folder, so that "a/b" follows "a" and comes before "a-b": the
// separator sorts before every other byte.
struct TFolderOrder {
    bool operator()(std::string_view a, std::string_view b) const
    {
        const auto key = [](char c) {
            return c == '/' ? -1 : static_cast<int>(static_cast<unsigned char>(c));
        };
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return key(x) < key(y); });
    }
};

void AppendFolderHeading(std::string& html, std::string_view folder)
{
    if (folder.empty())
        html += "Top folder";
    else
        AppendHtmlText(html, folder);
}

void AppendNumber(std::string& html, std::uint64_t number)
{
    std::array<char, 20> digits{};
    std::size_t at = digits.size();
    do {
        digits[--at] = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number > 0);
    html.append(digits.data() + at, digits.size() - at);
}

char* PutTwoDigits(char* at, int number)
{
    *at++ = static_cast<char>('0' + number / 10 % 10);
    *at++ = static_cast<char>('0' + number % 10);
    return at;
}

// "2024-03-05" and the time after `separator`, with or without seconds, as
// strftime's "%Y-%m-%d" and "%H:%M:%S" write them for years of four digits.
void AppendDate(std::string& html, const std::tm& local, char separator, bool seconds)
{
    std::array<char, 32> text{};
    const int year = local.tm_year + 1900;
    if (year < 1000 || year > 9999) {
        const char* format = separator == 'T' ? "%Y-%m-%dT%H:%M:%S" : "%Y-%m-%d %H:%M";
        html.append(text.data(), std::strftime(text.data(), text.size(), format, &local));
        return;
    }
    char* at = PutTwoDigits(text.data(), year / 100);
    at = PutTwoDigits(at, year % 100);
    *at++ = '-';
    at = PutTwoDigits(at, local.tm_mon + 1);
    *at++ = '-';
    at = PutTwoDigits(at, local.tm_mday);
    *at++ = separator;
    at = PutTwoDigits(at, local.tm_hour);
    *at++ = ':';
    at = PutTwoDigits(at, local.tm_min);
    if (seconds) {
        *at++ = ':';
        at = PutTwoDigits(at, local.tm_sec);
    }
    html.append(text.data(), at);
}

void AppendDateCell(std::string& html, std::time_t modified)
{
    // A file that could not be looked at has no date to show.
    if (modified == 0) {
        html += "<td class=\"date\"></td>";
        return;
    }
    std::tm local{};
    localtime_r(&modified, &local);
    html += "<td class=\"date\"><time datetime=\"";
    AppendDate(html, local, 'T', true);
    html += "\">";
    AppendDate(html, local, ' ', false);
    html += "</time></td>";
}

void AppendRow(std::string& html, const TZtIndexRow& row)
{
    const std::string_view name = NameOf(row.Path);
    html += "<tr>";
    if (row.Failure) {
        html += "<th scope=\"row\">";
        AppendHtmlText(html, name);
        html += "</th><td class=\"failed\">Not converted: ";
        AppendHtmlText(html, *row.Failure);
        html += "</td><td></td>";
    } else {
        html += "<th scope=\"row\"><a href=\"";
        AppendUrlPath(html, row.Path);
        html += ".html\">";
        AppendHtmlText(html, name);
        html += "</a></th><td>";
        AppendHtmlText(html, row.Title);
        html += "</td><td class=\"number\">";
        if (row.Lines < 0)
            html += std::to_string(row.Lines);
        else
            AppendNumber(html, static_cast<std::uint64_t>(row.Lines));
        html += "</td>";
    }
    html += "<td class=\"number\">";
    AppendNumber(html, row.Size);
    html += "</td>";
    AppendDateCell(html, row.Modified);
    // The text's beginning goes last: it is the widest column.
    html += "<td class=\"excerpt\">";
    if (!row.Damage.empty()) {
        html += "<div class=\"damaged\">Damaged: ";
        AppendHtmlText(html, row.Damage);
        html += "</div>";
    }
    AppendHtmlText(html, row.Excerpt);
    html += "</td></tr>\n";
}

std::string Summary(const std::vector<TZtIndexRow>& rows)
{
    const auto failed = std::count_if(
        rows.begin(), rows.end(), [](const TZtIndexRow& row) { return row.Failure.has_value(); });
    if (rows.empty()) return "<p>No documents were found.</p>\n";
    std::string text = "<p>" + std::to_string(rows.size() - static_cast<std::size_t>(failed)) + " of " +
        std::to_string(rows.size()) + " documents converted";
    const auto damaged = std::count_if(
        rows.begin(), rows.end(), [](const TZtIndexRow& row) { return !row.Failure && !row.Damage.empty(); });
    if (damaged > 0) text += "; " + std::to_string(damaged) + " of them damaged";
    if (failed > 0) text += "; " + std::to_string(failed) + " could not be converted";
    return text + ".</p>\n";
}

// A row and its name, looked up once for sorting.
struct TNamedRow {
    std::string_view Name;
    const TZtIndexRow* Row;
};

// The rows of each folder by name, the folders in their order. Rows come
// mostly folder by folder, so the folder is looked up only when it changes.
std::vector<std::vector<TNamedRow>> RowsByFolder(const std::vector<TZtIndexRow>& rows)
{
    std::map<std::string_view, std::vector<TNamedRow>, TFolderOrder> folders;
    std::vector<TNamedRow>* current = nullptr;
    std::string_view currentFolder;
    for (const auto& row : rows) {
        const std::string_view folder = FolderOf(row.Path);
        if (!current || folder != currentFolder) {
            current = &folders[folder];
            currentFolder = folder;
        }
        current->push_back({NameOf(row.Path), &row});
    }
    std::vector<std::vector<TNamedRow>> sections;
    sections.reserve(folders.size());
    for (auto& [folder, folderRows] : folders) {
        std::stable_sort(folderRows.begin(), folderRows.end(),
            [](const TNamedRow& a, const TNamedRow& b) { return a.Name < b.Name; });
        sections.push_back(std::move(folderRows));
    }
    return sections;
}

constexpr std::string_view SearchPolicy =
    "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; script-src 'self'; "
    "style-src 'unsafe-inline'; base-uri 'none'; form-action 'none'\">\n";

constexpr std::string_view SearchBar =
    "<p id=\"search-bar\" hidden><label>Search the documents' text: <input type=\"search\" id=\"search\" "
    "size=\"40\" autocomplete=\"off\"></label> <span id=\"search-status\" role=\"status\"></span></p>\n";

} // namespace

std::vector<std::size_t> RowsInIndexOrder(const std::vector<TZtIndexRow>& rows)
{
    std::vector<std::size_t> ordered;
    ordered.reserve(rows.size());
    for (const auto& folderRows : RowsByFolder(rows))
        for (const TNamedRow& row : folderRows)
            ordered.push_back(static_cast<std::size_t>(row.Row - rows.data()));
    return ordered;
}

std::string BuildArchiveIndex(std::string_view archiveName, std::vector<TZtIndexRow> rows, bool search)
{
    const std::string title = "Index of " + HtmlText(archiveName);
    std::string html(PageHead);
    // Rows take a little more than 200 bytes and their excerpt and damage:
    // room for all at once, so that the page is never copied as it grows.
    std::size_t room = 4096;
    for (const auto& row : rows) room += 320 + row.Excerpt.size() + row.Damage.size();
    html.reserve(room);
    if (search) html += SearchPolicy;
    html += "<title>" + title + "</title>\n";
    html += StyleSheet;
    html += "</head>\n<body>\n<h1>" + title + "</h1>\n";
    html += Summary(rows);
    if (search) html += SearchBar;
    int number = 0;
    for (const auto& folderRows : RowsByFolder(rows)) {
        const std::string id = "folder-" + std::to_string(++number);
        html += "<section aria-labelledby=\"" + id + "\">\n";
        html += "<h2 id=\"" + id + "\">";
        AppendFolderHeading(html, FolderOf(folderRows.front().Row->Path));
        html += "</h2>\n";
        html += TableHead;
        for (const TNamedRow& row : folderRows) AppendRow(html, *row.Row);
        html += "</tbody>\n</table>\n</section>\n";
    }
    if (search) html += "<script src=\"search/search.js\"></script>\n";
    html += "</body>\n</html>\n";
    return html;
}

} // namespace quorvex
