// Reads the tags and references of our own HTML, and nothing else: the text
// is what the conversion wrote, so it cannot differ from the page.

#include "ZtHtmlText.h"

#include <array>
#include <cstdint>

#include "ZtCodePage437.h"

namespace quorvex {
namespace {

constexpr char32_t SoftHyphen = 0xAD;
constexpr char32_t NoBreakSpace = 0xA0;
constexpr char32_t ReplacementCharacter = 0xFFFD;

struct TNamedReference {
    std::string_view Name;
    char32_t Character;
};

// The references the conversion writes, with the few a head may bring.
constexpr std::array<TNamedReference, 21> NamedReferences{{{"quot", U'"'}, {"amp", U'&'}, {"lt", U'<'},
    {"gt", U'>'}, {"nbsp", NoBreakSpace}, {"shy", SoftHyphen}, {"uuml", 0xFC}, {"auml", 0xE4}, {"euml", 0xEB},
    {"iuml", 0xEF}, {"Auml", 0xC4}, {"ouml", 0xF6}, {"Ouml", 0xD6}, {"Uuml", 0xDC}, {"szlig", 0xDF},
    {"deg", 0xB0}, {"radic", 0x221A}, {"sup2", 0xB2}, {"sup3", 0xB3}, {"apos", U'\''}, {"middot", 0xB7}}};

// The length of the well-formed UTF-8 sequence at the start of `text`, 0 if
// there is none.
std::size_t Utf8Length(std::string_view text, char32_t& c)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
    }
    if (length == 0 || text.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) return 0;
        c = (c << 6) | (next & 0x3F);
    }
    const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
    const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
    return overlong || surrogate || c > 0x10FFFF ? 0 : length;
}

bool IsSourceBlank(char c)
{
    return c == ' ' || c == '\r' || c == '\n' || c == '\t' || c == '\f';
}

bool IsControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

// What the head says of the body's bytes: a head that declares UTF-8 has
// them as UTF-8, any other as code page 437.
bool DeclaresUtf8(std::string_view head)
{
    for (std::size_t at = head.find("charset"); at != std::string_view::npos;
         at = head.find("charset", at + 1)) {
        std::string_view rest = head.substr(at + 7, 16);
        std::string lowered;
        for (const char c : rest)
            if (c != '=' && c != '"' && c != '\'' && c != ' ')
                lowered += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        if (lowered.starts_with("utf-8") || lowered.starts_with("utf8")) return true;
    }
    return false;
}

class THtmlTextReader {
public:
    THtmlTextReader(std::string_view body, bool utf8)
        : FHtml(body)
        , FUtf8(utf8)
    { }

    std::string Read()
    {
        while (FAt < FHtml.size()) {
            const char c = FHtml[FAt];
            if (c == '<')
                ReadMarkup();
            else if (c == '&')
                ReadReference();
            else if (IsSourceBlank(c))
                Blank(), ++FAt;
            else
                ReadCharacter();
        }
        EndLine(true);
        while (!FOut.empty() && FOut.back() == '\n') FOut.pop_back();
        if (!FOut.empty()) FOut += '\n';
        // Empty header lines before any text are no part of it.
        FOut.erase(0, FOut.find_first_not_of('\n') == std::string::npos ? 0 : FOut.find_first_not_of('\n'));
        return std::move(FOut);
    }

private:
    void ReadCharacter()
    {
        const auto byte = static_cast<unsigned char>(FHtml[FAt]);
        char32_t c = byte;
        std::size_t length = 1;
        if (byte >= 0x80) {
            length = FUtf8 ? Utf8Length(FHtml.substr(FAt), c) : 0;
            if (length == 0) {
                length = 1;
                c = FUtf8 ? ReplacementCharacter : Cp437ToUnicode[byte];
            }
        }
        FAt += length;
        Character(c);
    }

    void Character(char32_t c)
    {
        if (c == SoftHyphen) {
            FJoining = true;
            return;
        }
        if (c == 0) return; // a browser shows nothing for it
        if (c == NoBreakSpace) {
            FJoinedBlank = false;
            FlushBlank();
            FOut += ' ';
            FJoining = false;
            return;
        }
        if (IsControl(c)) {
            Blank();
            return;
        }
        // Only a letter goes on with the word: before anything else the
        // break after the soft hyphen shows as the blank it is.
        if (FJoinedBlank && !IsLetter(c)) FBlank = true;
        FJoinedBlank = false;
        FlushBlank();
        AppendUtf8(FOut, c);
        FJoining = false;
    }

    static bool IsLetter(char32_t c)
    {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c != 0xD7 && c != 0xF7);
    }

    // A blank that collapses with its neighbours; none between the halves
    // of a word a soft hyphen joins.
    void Blank()
    {
        if (FJoining)
            FJoinedBlank = true;
        else
            FBlank = true;
    }

    void FlushBlank()
    {
        if (FBlank && !FOut.empty() && FOut.back() != '\n' && FOut.back() != '\t' && FOut.back() != ' ')
            FOut += ' ';
        FBlank = false;
    }

    void TrimLineEnd()
    {
        while (!FOut.empty() && FOut.back() == ' ') FOut.pop_back();
        FBlank = false;
        FJoining = false;
        FJoinedBlank = false;
    }

    // A break between lines; inside a table's cell a blank instead, so that
    // a row stays one line. A block's edge adds no empty line.
    void EndLine(bool blockEdge)
    {
        if (FTableDepth > 0) {
            FBlank = true;
            FJoining = false;
            FJoinedBlank = false;
            return;
        }
        TrimLineEnd();
        if (blockEdge && (FOut.empty() || FOut.back() == '\n')) return;
        FOut += '\n';
    }

    void ReadMarkup()
    {
        if (FHtml.substr(FAt, 4) == "<!--") {
            const std::size_t end = FHtml.find("-->", FAt + 4);
            FAt = end == std::string_view::npos ? FHtml.size() : end + 3;
            return;
        }
        const std::size_t end = FHtml.find('>', FAt);
        if (end == std::string_view::npos) {
            Character(U'<');
            ++FAt;
            return;
        }
        std::string_view tag = FHtml.substr(FAt + 1, end - FAt - 1);
        FAt = end + 1;
        const bool closing = tag.starts_with('/');
        if (closing) tag.remove_prefix(1);
        std::size_t nameEnd = 0;
        while (nameEnd < tag.size() && !IsSourceBlank(tag[nameEnd]) && tag[nameEnd] != '/') ++nameEnd;
        std::string name;
        for (const char c : tag.substr(0, nameEnd))
            name += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        Tag(name, closing);
    }

    void Tag(std::string_view name, bool closing)
    {
        if (name == "br") {
            EndLine(false);
        } else if (name == "hr" || name == "p" || name == "div") {
            EndLine(true);
        } else if (name == "table") {
            if (closing) {
                FTableDepth = FTableDepth > 0 ? FTableDepth - 1 : 0;
                EndLine(true);
            } else {
                EndLine(true);
                ++FTableDepth;
            }
        } else if (name == "tr") {
            if (FTableDepth == 1) {
                FCells = 0;
                if (closing) EndRow();
            } else {
                FBlank = true;
            }
        } else if ((name == "td" || name == "th") && !closing) {
            if (FTableDepth == 1 && FCells++ > 0) {
                TrimLineEnd();
                FOut += '\t';
            } else {
                FBlank = true;
            }
        } else if (name == "body" && closing) {
            FAt = FHtml.size();
        }
    }

    void EndRow()
    {
        TrimLineEnd();
        FOut += '\n';
    }

    void ReadReference()
    {
        const std::size_t semicolon = FHtml.find(';', FAt);
        const std::size_t length = semicolon == std::string_view::npos ? 0 : semicolon - FAt - 1;
        if (length == 0 || length > 10) {
            Character(U'&');
            ++FAt;
            return;
        }
        const std::string_view name = FHtml.substr(FAt + 1, length);
        if (const char32_t c = ReferencedCharacter(name); c != 0) {
            FAt = semicolon + 1;
            Character(c);
        } else {
            Character(U'&');
            ++FAt;
        }
    }

    static char32_t ReferencedCharacter(std::string_view name)
    {
        if (name.starts_with('#')) {
            const bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
            std::uint32_t value = 0;
            const std::string_view digits = name.substr(hex ? 2 : 1);
            if (digits.empty()) return 0;
            for (const char d : digits) {
                int digit = -1;
                if (d >= '0' && d <= '9') digit = d - '0';
                if (hex && d >= 'a' && d <= 'f') digit = d - 'a' + 10;
                if (hex && d >= 'A' && d <= 'F') digit = d - 'A' + 10;
                if (digit < 0 || value > 0x10FFFF) return 0;
                value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
            }
            if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
                return ReplacementCharacter;
            return value;
        }
        for (const auto& reference : NamedReferences)
            if (reference.Name == name) return reference.Character;
        return 0;
    }

    std::string_view FHtml;
    bool FUtf8;
    std::size_t FAt = 0;
    std::string FOut;
    bool FBlank = false; // collapsed blanks wait for the next character
    bool FJoining = false; // a soft hyphen waits for the rest of its word
    bool FJoinedBlank = false; // and a break stands between them
    int FTableDepth = 0;
    int FCells = 0; // cells of the current row so far
};

} // namespace

std::string HtmlToText(std::string_view html)
{
    std::size_t body = html.find("<body");
    std::string_view head;
    if (body == std::string_view::npos) {
        body = 0;
    } else {
        head = html.substr(0, body);
        const std::size_t end = html.find('>', body);
        body = end == std::string_view::npos ? html.size() : end + 1;
    }
    return THtmlTextReader(html.substr(body), DeclaresUtf8(head)).Read();
}

} // namespace quorvex
