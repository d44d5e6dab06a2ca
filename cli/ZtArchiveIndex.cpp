// Writes the index page: plain HTML that reads well without its small
// style sheet, real tables with header cells for screen readers.

#include "ZtArchiveIndex.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>

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
    ".failed { color: #a00; }\n"
    "</style>\n";

constexpr std::string_view TableHead =
    "<table>\n"
    "<thead><tr><th scope=\"col\">Name</th><th scope=\"col\">Title</th><th scope=\"col\">Lines</th>"
    "<th scope=\"col\">Size (bytes)</th><th scope=\"col\">Modified</th></tr></thead>\n"
    "<tbody>\n";

constexpr std::string_view ReplacementCharacter = "\xEF\xBF\xBD";

// Length of the valid UTF-8 sequence at the start of `text`, 0 when there is
// none (stray or missing continuation bytes, overlong forms, surrogates,
// values past U+10FFFF).
std::size_t Utf8SequenceLength(std::string_view text)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    char32_t value = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) != 0x80) return 0;
        value = (value << 6) | (byte & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    return length;
}

// C0 and C1 control characters, which HTML does not allow in text.
bool IsControl(std::string_view sequence)
{
    const auto lead = static_cast<unsigned char>(sequence[0]);
    if (sequence.size() == 1) return lead < 0x20 || lead == 0x7F;
    return lead == 0xC2 && static_cast<unsigned char>(sequence[1]) < 0xA0;
}

// Text for the page: UTF-8 kept, other bytes as U+FFFD, markup characters
// escaped, control characters as spaces.
std::string HtmlText(std::string_view text)
{
    std::string out;
    while (!text.empty()) {
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
    return out;
}

bool IsUnreservedInUrl(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
        c == '.' || c == '_' || c == '~' || c == '/';
}

// Every byte of a file name reaches the link, percent-encoded where needed;
// a name with ':' in its first segment cannot be read as a scheme.
std::string UrlPath(std::string_view path)
{
    constexpr std::string_view Hex = "0123456789ABCDEF";
    std::string url = "./";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsUnreservedInUrl(byte)) {
            url += c;
        } else {
            url += '%';
            url += Hex[byte >> 4];
            url += Hex[byte & 0x0F];
        }
    }
    return url;
}

std::string FolderOf(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
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

std::string FolderHeading(const std::string& folder)
{
    return folder.empty() ? "Top folder" : HtmlText(folder);
}

std::string DateCell(std::time_t modified)
{
    std::tm local{};
    localtime_r(&modified, &local);
    std::array<char, 32> machine{};
    std::array<char, 32> shown{};
    std::strftime(machine.data(), machine.size(), "%Y-%m-%dT%H:%M:%S", &local);
    std::strftime(shown.data(), shown.size(), "%Y-%m-%d %H:%M", &local);
    return "<td class=\"date\"><time datetime=\"" + std::string(machine.data()) + "\">" + shown.data() +
        "</time></td>";
}

std::string Row(const TZtIndexRow& row)
{
    const std::string name = HtmlText(NameOf(row.Path));
    std::string html = "<tr>";
    if (row.Failure) {
        html += "<th scope=\"row\">" + name + "</th>";
        html += "<td class=\"failed\">Not converted: " + HtmlText(*row.Failure) + "</td><td></td>";
    } else {
        html += "<th scope=\"row\"><a href=\"" + UrlPath(row.Path) + ".html\">" + name + "</a></th>";
        html += "<td>" + HtmlText(row.Title) + "</td>";
        html += "<td class=\"number\">" + std::to_string(row.Lines) + "</td>";
    }
    html += "<td class=\"number\">" + std::to_string(row.Size) + "</td>";
    html += DateCell(row.Modified);
    html += "</tr>\n";
    return html;
}

std::string Summary(const std::vector<TZtIndexRow>& rows)
{
    const auto failed = std::count_if(
        rows.begin(), rows.end(), [](const TZtIndexRow& row) { return row.Failure.has_value(); });
    if (rows.empty()) return "<p>No documents were found.</p>\n";
    std::string text = "<p>" + std::to_string(rows.size() - static_cast<std::size_t>(failed)) + " of " +
        std::to_string(rows.size()) + " documents converted";
    if (failed > 0) text += "; " + std::to_string(failed) + " could not be converted";
    return text + ".</p>\n";
}

} // namespace

std::string BuildArchiveIndex(std::string_view archiveName, std::vector<TZtIndexRow> rows)
{
    // Sections by folder, rows by name, whatever order the rows came in.
    std::map<std::string, std::vector<const TZtIndexRow*>, TFolderOrder> folders;
    std::sort(rows.begin(), rows.end(),
        [](const TZtIndexRow& a, const TZtIndexRow& b) { return NameOf(a.Path) < NameOf(b.Path); });
    for (const auto& row : rows) folders[FolderOf(row.Path)].push_back(&row);

    const std::string title = "Index of " + HtmlText(archiveName);
    std::string html(PageHead);
    html += "<title>" + title + "</title>\n";
    html += StyleSheet;
    html += "</head>\n<body>\n<h1>" + title + "</h1>\n";
    html += Summary(rows);
    int number = 0;
    for (const auto& [folder, folderRows] : folders) {
        const std::string id = "folder-" + std::to_string(++number);
        html += "<section aria-labelledby=\"" + id + "\">\n";
        html += "<h2 id=\"" + id + "\">" + FolderHeading(folder) + "</h2>\n";
        html += TableHead;
        for (const TZtIndexRow* row : folderRows) html += Row(*row);
        html += "</tbody>\n</table>\n</section>\n";
    }
    html += "</body>\n</html>\n";
    return html;
}

} // namespace quorvex
