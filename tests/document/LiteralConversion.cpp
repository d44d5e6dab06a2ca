// The slow, step-by-step conversion that the library is compared with.

#include "LiteralConversion.h"

#include <algorithm>
#include <set>
#include <tuple>

namespace quorvex::testing {
namespace {

constexpr std::int32_t NoLimit = 2147483647;

bool In(std::initializer_list<int> set, unsigned char b)
{
    return std::find(set.begin(), set.end(), b) != set.end();
}
bool Capital(unsigned char b)
{
    return (b >= 0x41 && b <= 0x5A) || b == 0x8E || b == 0x99 || b == 0x9A;
}
bool Small(unsigned char b)
{
    return (b >= 0x61 && b <= 0x7A) || (b >= 0x81 && b <= 0x8D) || (b >= 0x93 && b <= 0x98) ||
        (b >= 0xA0 && b <= 0xA4) || b == 0xE1;
}
bool CellSmall(unsigned char b)
{
    return (b >= 0x61 && b <= 0x7A) || In({0x81, 0x84, 0x94, 0xE1}, b);
}

const std::initializer_list<int> TableCorners = {0xC9, 0xD5, 0xD6, 0xDA};
const std::initializer_list<int> TopRightCorners = {0xB7, 0xB8, 0xBB, 0xBF};
const std::initializer_list<int> DownTees = {0xC2, 0xCB, 0xD1, 0xD2};
const std::initializer_list<int> HorizontalLines = {0xC4, 0xCD};
const std::initializer_list<int> BottomLeftCorners = {0xC0, 0xC8, 0xD3, 0xD4};
const std::initializer_list<int> RightTees = {0xC3, 0xC6, 0xC7, 0xCC};
const std::initializer_list<int> VerticalLines = {0xB3, 0xBA};
const std::initializer_list<int> CellCorners = {
    0xC2, 0xC3, 0xC5, 0xC6, 0xC7, 0xC9, 0xCB, 0xCC, 0xCE, 0xD1, 0xD2, 0xD5, 0xD6, 0xD7, 0xD8, 0xDA};
const std::initializer_list<int> RightEdgeStops = {
    0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xBB, 0xBF, 0xC2, 0xC5, 0xCB, 0xCE, 0xD1, 0xD2, 0xD7, 0xD8};
const std::initializer_list<int> BottomEdgeStops = {
    0xC0, 0xC1, 0xC3, 0xC5, 0xC6, 0xC7, 0xC8, 0xCA, 0xCC, 0xCE, 0xCF, 0xD0, 0xD3, 0xD4, 0xD7, 0xD8};

std::int32_t CountBelow(std::int32_t v, const std::vector<std::int32_t>& bounds)
{
    std::int32_t n = 0;
    while (n < static_cast<std::int32_t>(bounds.size()) && bounds[static_cast<std::size_t>(n)] < v) ++n;
    return n;
}

std::string Translated(const TZtFileInfoFa4& doc, unsigned char b)
{
    std::string text;
    doc.AppendChar(text, b);
    return text;
}

std::string TagFor(std::int32_t v)
{
    if (v == 0) return "<p style=\"margin-left:0; text-indent:0\">";
    if (v <= 255)
        return "<p class=\"indent\" style=\"margin-left:" + std::to_string(4 * v) + "pt; text-indent:-" +
            std::to_string(4 * v) + "pt\">";
    return "<p class=\"indent\" style=\"margin-left:" + std::to_string(4 * (v % 256)) + "pt; text-indent:-" +
        std::to_string(4 * (v / 256)) + "pt\">";
}

} // namespace

std::string TLiteralConversion::ConvertLines(std::int32_t first, std::int32_t last)
{
    Doc.IndentPending = false;
    Doc.ParagraphEnd = false;
    Doc.ParagraphTag.clear();
    std::string result;
    bool hyphenPending = false;
    std::int32_t linesSince = 0;
    bool joinedHere = false;
    bool textSeen = false;
    auto joinHyphen = [&](const std::string& join) {
        if (EndsWithLineEnd(result)) result.resize(result.size() - LineEnd().size());
        result += join;
        hyphenPending = false;
        joinedHere = !textSeen;
    };
    for (std::int32_t line = first; line <= last; ++line) {
        const TFa4LineEntry* entry = &Doc.GetLine(line);
        const unsigned char* bytes = Doc.LineBytes(*entry);
        std::int32_t position = 0;
        std::string lineText;
        bool ruleRun = false;
        bool nbsp = entry->Length > 0 && bytes[0] == 0x20;
        joinedHere = false;
        textSeen = false;
        while (position < entry->Length) {
            const unsigned char b = bytes[position];
            if (hyphenPending) {
                if (Capital(b))
                    joinHyphen("-");
                else if (Small(b))
                    joinHyphen("&shy;");
            }
            if (b == 0x20) {
                bool allSpaces = true;
                for (std::int32_t k = position; k < entry->Length; ++k)
                    allSpaces = allSpaces && bytes[k] == 0x20;
                if (allSpaces)
                    lineText += " ";
                else if (nbsp)
                    lineText += "&nbsp;";
                else if (bytes[position + 1] == 0x20) {
                    nbsp = true;
                    lineText += "&nbsp;";
                } else
                    lineText += " ";
            } else if (b == 0x2D) {
                if (position == entry->Length - 2 && bytes[position + 1] == 0x20) {
                    hyphenPending = true;
                    ++position;
                } else {
                    lineText += "-";
                }
            } else if (b == 0xC4 || b == 0xCD) {
                std::string plain = Doc.LinePlainText(line, NoLimit);
                while (!plain.empty() && static_cast<unsigned char>(plain.back()) <= 0x20) plain.pop_back();
                while (!plain.empty() && static_cast<unsigned char>(plain.front()) <= 0x20) plain.erase(0, 1);
                const bool whole = !plain.empty() && std::all_of(plain.begin(), plain.end(), [&](char c) {
                    return static_cast<unsigned char>(c) == b;
                });
                if (whole) {
                    lineText += "<hr>" + LineEnd();
                    position += static_cast<std::int32_t>(plain.size()) - 1;
                } else {
                    ruleRun = true;
                    std::int32_t q = position + 1;
                    while (q < entry->Length && bytes[q] == b) ++q;
                    lineText += std::string(static_cast<std::size_t>(q - position), '-');
                    position = q - 1;
                }
            } else if (In(TableCorners, b)) {
                const std::string html = ConvertTable(position, line, NoLimit, last);
                if (!html.empty()) {
                    lineText += html;
                    entry = &Doc.GetLine(line);
                    bytes = Doc.LineBytes(*entry);
                } else {
                    lineText += "+";
                }
            } else if (b == 0xFF) {
                ++position;
                lineText += Doc.TranslateCode(bytes, position);
            } else {
                lineText += Translated(Doc, b);
            }
            if (b != 0xFF) textSeen = true;
            ++position;
        }
        if (Doc.ParagraphEnd) {
            if (Doc.IndentPending && lineText.empty())
                lineText = "</p>";
            else if (ruleRun || (linesSince == 0 && nbsp))
                lineText = FixedFont() + lineText + "</font><br>";
            else
                lineText += "<br>";
        }
        if (Doc.IndentPending) {
            Doc.ParagraphTag = TagFor(Doc.Indent);
            lineText = Doc.ParagraphTag + lineText;
        }
        lineText = "<!-- LINE " + std::to_string(line) + " -->" + lineText;
        if (result.empty())
            result = lineText;
        else if (EndsWithLineEnd(result) || (joinedHere && Doc.HyphenJoin() == hjJoined))
            result += lineText;
        else
            result += LineEnd() + lineText;
        Doc.IndentPending = false;
        if (Doc.ParagraphEnd) {
            Doc.ParagraphEnd = false;
            linesSince = 0;
        } else {
            ++linesSince;
        }
    }
    return result;
}

std::string TLiteralConversion::ConvertTable(
    std::int32_t& pos, std::int32_t& line, std::int32_t colLimit, std::int32_t lastLine)
{
    TGrid g;
    g.TopLine = line;
    g.LeftCol = static_cast<std::int32_t>(Doc.LinePlainText(line, pos).size());
    const std::string t = Doc.LinePlainText(g.TopLine, NoLimit);
    g.RowTexts.push_back(t);
    const std::int32_t e = std::min(static_cast<std::int32_t>(t.size()) - 1, colLimit);
    g.ColBounds.push_back(g.LeftCol);
    g.RightCol = g.LeftCol + 1;
    while (g.RightCol <= e) {
        const auto b = static_cast<unsigned char>(t[static_cast<std::size_t>(g.RightCol)]);
        if (In(TopRightCorners, b)) break;
        if (In(DownTees, b)) {
            g.ColBounds.push_back(g.RightCol);
            ++g.RightCol;
        } else if (In(HorizontalLines, b)) {
            ++g.RightCol;
        } else {
            return "";
        }
    }
    g.ColBounds.push_back(g.RightCol);
    g.RowBounds.push_back(g.TopLine);
    g.BottomLine = g.TopLine + 1;
    // The default markup takes a line too short for the left edge as the
    // end of a broken box, without reading it for the state.
    bool broken = false;
    while (g.BottomLine <= lastLine) {
        const auto state = std::tuple(Doc.Indent, Doc.IndentPending, Doc.ParagraphEnd);
        const std::string s = Doc.LinePlainText(g.BottomLine, NoLimit);
        if (static_cast<std::int32_t>(s.size()) <= g.LeftCol && Doc.Markup() == TMarkup::Portable) {
            std::tie(Doc.Indent, Doc.IndentPending, Doc.ParagraphEnd) = state;
            broken = true;
            break;
        }
        g.RowTexts.push_back(s);
        if (static_cast<std::int32_t>(s.size()) <= g.LeftCol) throw ERangeError();
        const auto b = static_cast<unsigned char>(s[static_cast<std::size_t>(g.LeftCol)]);
        if (In(BottomLeftCorners, b)) break;
        if (In(RightTees, b)) {
            g.RowBounds.push_back(g.BottomLine);
            ++g.BottomLine;
        } else if (In(VerticalLines, b)) {
            ++g.BottomLine;
        } else {
            return "";
        }
    }
    g.RowBounds.push_back(g.BottomLine);
    broken = broken || (Doc.Markup() == TMarkup::Portable && g.BottomLine >= Fa4MaxLines);
    if (broken && g.BottomLine == g.TopLine + 1) return "";
    for (std::int32_t r = g.TopLine + 1; r <= g.BottomLine - 2; ++r) {
        const std::string& s = g.RowTexts[static_cast<std::size_t>(r - g.TopLine)];
        for (std::int32_t c = g.LeftCol + 1;
             c <= std::min(g.RightCol - 2, static_cast<std::int32_t>(s.size()) - 3); ++c) {
            const auto b = static_cast<unsigned char>(s[static_cast<std::size_t>(c)]);
            if (In(DownTees, b))
                g.ColBounds.push_back(c);
            else if (In(RightTees, b))
                g.RowBounds.push_back(r);
        }
    }
    for (auto* bounds : {&g.ColBounds, &g.RowBounds}) {
        std::set<std::int32_t> unique(bounds->begin(), bounds->end());
        bounds->assign(unique.begin(), unique.end());
    }
    std::string rows;
    for (std::int32_t r = g.TopLine; r <= g.BottomLine - 2; ++r) {
        const std::string s = g.RowTexts[static_cast<std::size_t>(r - g.TopLine)];
        bool rowOpen = false;
        for (std::int32_t c = g.LeftCol;
             c <= std::min(g.RightCol - 2, static_cast<std::int32_t>(s.size()) - 3); ++c) {
            if (!In(CellCorners, static_cast<unsigned char>(s[static_cast<std::size_t>(c)]))) continue;
            if (!rowOpen) {
                rows += "<tr>";
                rowOpen = true;
            }
            rows += ConvertCell(g, c, r);
        }
        if (rowOpen) rows += "</tr>" + LineEnd();
    }
    const std::string result = "<table border=\"1\" cellpadding=\"0\" cellspacing=\"0\">" + LineEnd() + rows +
        "</table>" + LineEnd();
    line = broken ? g.BottomLine - 1 : g.BottomLine;
    pos = Doc.RawIndex(Doc.GetLine(line), g.RightCol);
    return result;
}

std::string TLiteralConversion::ConvertCell(const TGrid& g, std::int32_t c, std::int32_t r)
{
    auto charAt = [&](std::int32_t col, std::int32_t ln) -> unsigned char {
        const std::string& s = g.RowTexts[static_cast<std::size_t>(ln - g.TopLine)];
        return col < static_cast<std::int32_t>(s.size())
            ? static_cast<unsigned char>(s[static_cast<std::size_t>(col)])
            : 0;
    };
    std::int32_t right = c + 1;
    while (right < g.RightCol && !In(RightEdgeStops, charAt(right, r))) ++right;
    std::int32_t bottom = r + 1;
    while (bottom < g.BottomLine && !In(BottomEdgeStops, charAt(c, bottom))) ++bottom;
    const TCellRect rect{c + 1, r + 1, right - 1, bottom - 1};
    const std::int32_t colSpan =
        CountBelow(rect.LastCol, g.ColBounds) - CountBelow(rect.FirstCol, g.ColBounds) + 1;
    const std::int32_t rowSpan =
        CountBelow(rect.LastLine, g.RowBounds) - CountBelow(rect.FirstLine, g.RowBounds) + 1;
    bool fixed = false;
    const std::string text = ConvertCellText(rect, fixed);
    std::string element = "<td";
    if (fixed) element += " class=\"fixed\"";
    if (colSpan > 1) element += " colspan=\"" + std::to_string(colSpan) + "\"";
    if (rowSpan > 1) element += " rowspan=\"" + std::to_string(rowSpan) + "\"";
    return element + ">" + text + "</td>";
}

std::string TLiteralConversion::ConvertCellText(const TCellRect& rect, bool& fixed)
{
    std::string text;
    fixed = false;
    bool pending = false;
    for (std::int32_t i = rect.FirstLine; i <= rect.LastLine; ++i) {
        const TFa4LineEntry* entry = &Doc.GetLine(i);
        const unsigned char* bytes = Doc.LineBytes(*entry);
        const std::int32_t start = Doc.RawIndex(*entry, rect.FirstCol);
        std::int32_t end = Doc.RawIndex(*entry, rect.LastCol);
        if (end >= entry->Length) end = entry->Length - 1;
        std::string seg;
        const bool completesWord = pending && Doc.HyphenJoin() == hjJoined;
        std::int32_t p = start;
        while (p <= end) {
            const unsigned char b = bytes[p];
            if (pending) {
                if (b == 0x20) {
                    seg += "&nbsp;";
                    ++p;
                    continue;
                }
                if (Capital(b)) {
                    seg += "-";
                    pending = false;
                } else if (CellSmall(b)) {
                    seg += "&shy;";
                    pending = false;
                }
            }
            if (b == 0x20) {
                if (p == start || (p < end && bytes[p + 1] == 0x20)) {
                    seg += "&nbsp;";
                    fixed = true;
                } else {
                    seg += " ";
                }
            } else if (b == 0x2D) {
                if (p < end && bytes[p + 1] != 0x20) {
                    seg += "-";
                } else if (p > 0 && CellSmall(bytes[p - 1])) {
                    pending = true;
                    if (p < end) ++p;
                } else {
                    seg += "-";
                }
            } else if (In(TableCorners, b)) {
                const std::string nested = ConvertTable(p, i, rect.LastCol, rect.LastLine);
                if (nested.empty()) {
                    seg += "+";
                } else {
                    seg += nested;
                    entry = &Doc.GetLine(i);
                    bytes = Doc.LineBytes(*entry);
                    end = Doc.RawIndex(*entry, rect.LastCol);
                    if (end >= entry->Length) end = entry->Length - 1;
                }
            } else if (b == 0xFF) {
                ++p;
                seg += Doc.TranslateCode(bytes, p);
            } else {
                seg += Translated(Doc, b);
            }
            ++p;
        }
        if (!pending && i < rect.LastLine) seg += "<br>";
        if (text.empty())
            text = seg;
        else if (EndsWithLineEnd(text) || completesWord)
            text += seg;
        else
            text += LineEnd() + seg;
    }
    return text;
}

} // namespace quorvex::testing
