#include "ZtHtmlPreview.h"

#include "ZtFonts.h"

#include <QDesktopServices>
#include <QScrollBar>
#include <QTextDocument>

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>

namespace quorvex {

namespace {

// Windows-1252 at 0x80-0x9F; the five bytes it leaves open keep their
// Latin-1 control characters, as browsers do.
constexpr std::array<char16_t, 32> Windows1252High{
    0x20AC,
    0x0081,
    0x201A,
    0x0192,
    0x201E,
    0x2026,
    0x2020,
    0x2021,
    0x02C6,
    0x2030,
    0x0160,
    0x2039,
    0x0152,
    0x008D,
    0x017D,
    0x008F,
    0x0090,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014,
    0x02DC,
    0x2122,
    0x0161,
    0x203A,
    0x0153,
    0x009D,
    0x017E,
    0x0178,
};

struct TLengthProperty {
    std::string_view Name;
};

// Qt's rich text reads these two only in px.
constexpr std::array<TLengthProperty, 2> PointProperties{{{"margin-left"}, {"text-indent"}}};

constexpr double PixelsPerPoint = 96.0 / 72.0;

bool IsNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
}

bool StartsWithNoCase(std::string_view text, size_t at, std::string_view word)
{
    if (text.size() - at < word.size()) return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[at + i])) != word[i]) return false;
    return true;
}

size_t SkipBlanks(std::string_view text, size_t at)
{
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    return at;
}

// The length of a number (sign, digits, one decimal point) at a position.
size_t NumberLength(std::string_view text, size_t at)
{
    size_t end = at;
    if (end < text.size() && (text[end] == '-' || text[end] == '+')) ++end;
    const size_t digits = end;
    while (end < text.size() && (std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == '.'))
        ++end;
    return end == digits ? 0 : end - at;
}

// Rewrites the value at `at` when it is a length in pt or without a unit
// (which browsers read as px for a page without a document type); returns
// the position after what was consumed.
size_t RewriteLength(std::string_view html, size_t at, std::string& out)
{
    const size_t numberLength = NumberLength(html, at);
    if (numberLength == 0) return at;
    const std::string_view number = html.substr(at, numberLength);
    const size_t unit = at + numberLength;
    const bool points =
        StartsWithNoCase(html, unit, "pt") && (unit + 2 >= html.size() || !IsNameChar(html[unit + 2]));
    const bool unitless = unit >= html.size() || !(IsNameChar(html[unit]) || html[unit] == '%');
    if (!points && !unitless) return at;
    double value = 0;
    const std::string numberText(number[0] == '+' ? number.substr(1) : number);
    if (std::from_chars(numberText.data(), numberText.data() + numberText.size(), value).ec != std::errc{})
        return at;
    const long pixels = std::lround(points ? value * PixelsPerPoint : value);
    out += std::to_string(pixels);
    out += "px";
    return points ? unit + 2 : unit;
}

} // namespace

TZtHtmlPreview::TZtHtmlPreview(QWidget* parent)
    : QTextBrowser(parent)
{
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setTextInteractionFlags(Qt::TextBrowserInteraction | Qt::TextSelectableByKeyboard);
    document()->setDefaultFont(SerifFont());
    const QString fixed = FixedFont().family();
    document()->setDefaultStyleSheet(
        QStringLiteral("pre, tt, code, kbd, samp { font-family: '%1'; }").arg(fixed));
    connect(
        this, &QTextBrowser::anchorClicked, this, [](const QUrl& url) { QDesktopServices::openUrl(url); });
}

QString TZtHtmlPreview::DecodeWindows1252(std::string_view bytes)
{
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        *out++ = (code >= 0x80 && code <= 0x9F) ? QChar(Windows1252High[code - 0x80]) : QChar(code);
    }
    return text;
}

std::string TZtHtmlPreview::PointLengthsToPixels(std::string_view html)
{
    std::string out;
    out.reserve(html.size() + html.size() / 16);
    size_t copied = 0;
    for (size_t at = 0; at < html.size(); ++at) {
        if (at > 0 && IsNameChar(html[at - 1])) continue;
        for (const TLengthProperty& property : PointProperties) {
            if (!StartsWithNoCase(html, at, property.Name)) continue;
            size_t value = SkipBlanks(html, at + property.Name.size());
            if (value >= html.size() || html[value] != ':') continue;
            value = SkipBlanks(html, value + 1);
            out.append(html.substr(copied, value - copied));
            const size_t next = RewriteLength(html, value, out);
            copied = next == value ? value : next;
            at = copied > at ? copied - 1 : at;
            break;
        }
    }
    out.append(html.substr(copied));
    return out;
}

void TZtHtmlPreview::ShowHtml(std::string_view html)
{
    const QString text = DecodeWindows1252(PointLengthsToPixels(html));
    // Laying the page out once, after the whole text is in, is cheaper than
    // following every block the parser adds.
    document()->setLayoutEnabled(false);
    setHtml(text);
    document()->setLayoutEnabled(true);
    clearHistory();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
}

void TZtHtmlPreview::ClearPreview()
{
    clear();
    clearHistory();
}

} // namespace quorvex
