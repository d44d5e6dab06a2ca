// The HTML scanner: its states, the token rules for each, and its
// attributes.

#include "ZtHtmlHighlighter.h"

#include "ZtHtmlEscapes.h"
#include "ZtHtmlTags.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <stdexcept>

namespace quorvex {

namespace {

constexpr TZtColor Black{0x00, 0x00, 0x00};
constexpr TZtColor Yellow{0xFF, 0xFF, 0x00};
constexpr TZtColor Violet{0x80, 0x00, 0xFF};
constexpr TZtColor Red{0xFF, 0x00, 0x00};
constexpr TZtColor Blue{0x00, 0x80, 0xFF};
constexpr TZtColor Green{0x00, 0xFF, 0x00};

constexpr unsigned char LF = '\n';
constexpr unsigned char CR = '\r';
constexpr unsigned char TAB = '\t';

std::unique_ptr<TZtHighlighterAttributes> MakeAttribute(std::string name, TZtFontStyles style,
    std::optional<TZtColor> foreground = std::nullopt, std::optional<TZtColor> background = std::nullopt)
{
    auto attribute = std::make_unique<TZtHighlighterAttributes>(std::move(name));
    attribute->SetStyle(style);
    attribute->SetForeground(foreground);
    attribute->SetBackground(background);
    return attribute;
}

// Characters that continue a space run: control characters and the space,
// except NUL, TAB, LF and CR, so that every TAB begins a token of its own.
constexpr std::array<bool, 256> SpaceRunChars = [] {
    std::array<bool, 256> table{};
    for (int c = 1; c <= 32; ++c) table[c] = c != TAB && c != LF && c != CR;
    return table;
}();

// Characters at which a text token may end: control characters, "<" and "&".
constexpr std::array<bool, 256> TextStopChars = [] {
    std::array<bool, 256> table{};
    for (int c = 0; c < 32; ++c) table[c] = true;
    table['<'] = true;
    table['&'] = true;
    return table;
}();

std::bitset<256> MakeWordChars()
{
    std::bitset<256> chars;
    for (int c = '0'; c <= '9'; ++c) chars.set(c);
    for (int c = 'A'; c <= 'Z'; ++c) chars.set(c).set(c + ('a' - 'A'));
    chars.set('_');
    for (int c = 192; c <= 255; ++c)
        if (c != 215 && c != 247) chars.set(c);
    return chars;
}

} // namespace

TZtHtmlHighlighter::TZtHtmlHighlighter()
{
    FASPAttri = AddAttribute(MakeAttribute("Asp", 0, Black, Yellow));
    FCommentAttri = AddAttribute(MakeAttribute("Comment", 0));
    FIdentifierAttri = AddAttribute(MakeAttribute("Identifier", fsBold));
    FKeyAttri = AddAttribute(MakeAttribute("Reserved word", fsBold, Violet));
    FSpaceAttri = AddAttribute(MakeAttribute("Space", 0));
    FSymbolAttri = AddAttribute(MakeAttribute("Symbol", fsBold));
    FTextAttri = AddAttribute(MakeAttribute("Text", 0));
    FUndefKeyAttri = AddAttribute(MakeAttribute("Unknown word", fsBold, Red));
    FValueAttri = AddAttribute(MakeAttribute("Value", 0, Blue));
    FAndAttri = AddAttribute(MakeAttribute("Escape ampersand", fsBold, Green));

    FKindAttributes[htkEscape] = FAndAttri;
    FKindAttributes[htkAsp] = FASPAttri;
    FKindAttributes[htkComment] = FCommentAttri;
    FKindAttributes[htkIdentifier] = FIdentifierAttri;
    FKindAttributes[htkTag] = FKeyAttri;
    FKindAttributes[htkLineEnd] = nullptr;
    FKindAttributes[htkSpace] = FSpaceAttri;
    FKindAttributes[htkString] = FValueAttri;
    FKindAttributes[htkSymbol] = FSymbolAttri;
    FKindAttributes[htkText] = FTextAttri;
    FKindAttributes[htkUnknownTag] = FUndefKeyAttri;
    FKindAttributes[htkValue] = FValueAttri;

    FillDispatch();
    ResetScanState();
    SetDefaultFilter("HTML Document (*.htm,*.html)|*.htm;*.html");
}

void TZtHtmlHighlighter::FillDispatch()
{
    FDispatch.fill(&TZtHtmlHighlighter::WordProc);
    FDispatch[0] = &TZtHtmlHighlighter::LineEndProc;
    for (int c = 1; c <= 32; ++c) FDispatch[c] = &TZtHtmlHighlighter::SpaceProc;
    FDispatch[LF] = &TZtHtmlHighlighter::LineFeedProc;
    FDispatch[CR] = &TZtHtmlHighlighter::CarriageReturnProc;
    FDispatch['"'] = &TZtHtmlHighlighter::StringProc;
    FDispatch['&'] = &TZtHtmlHighlighter::AndProc;
    FDispatch['<'] = &TZtHtmlHighlighter::TagOpenProc;
    FDispatch['='] = &TZtHtmlHighlighter::EqualProc;
    FDispatch['>'] = &TZtHtmlHighlighter::TagCloseProc;
}

void TZtHtmlHighlighter::ResetScanState()
{
    FState = hsText;
}

int TZtHtmlHighlighter::ScanState() const
{
    return FState;
}

void TZtHtmlHighlighter::SetScanState(int state)
{
    if (state < 0 || state >= ScanStateCount) throw std::out_of_range("Range check error");
    FState = static_cast<THtmlScanState>(state);
}

// Columns are ints for the editor, so a line longer than INT_MAX characters
// is scanned up to that length; the scanner never fails on any text.
void TZtHtmlHighlighter::StartLine(std::string_view line, int /*lineIndex*/)
{
    const std::size_t length = std::min<std::size_t>(line.size(), INT_MAX);
    FLine = reinterpret_cast<const unsigned char*>(line.data());
    const void* nul = length == 0 ? nullptr : std::memchr(FLine, 0, length);
    FLength = nul ? static_cast<std::size_t>(static_cast<const unsigned char*>(nul) - FLine) : length;
    FPosition = 0;
    FEscapeLength = 0;
    NextToken();
}

void TZtHtmlHighlighter::NextToken()
{
    FTokenStart = FPosition;
    switch (FState) {
    case hsAsp:
        BlockProc(htkAsp, '%', 1);
        break;
    case hsComment:
        BlockProc(htkComment, '-', 2);
        break;
    case hsText:
        TextProc();
        break;
    default:
        Dispatch();
        break;
    }
}

bool TZtHtmlHighlighter::AtLineEnd() const
{
    return FTokenKind == htkLineEnd;
}

int TZtHtmlHighlighter::TokenStart() const
{
    return static_cast<int>(FTokenStart);
}

int TZtHtmlHighlighter::TokenLength() const
{
    return static_cast<int>(FPosition - FTokenStart);
}

std::string TZtHtmlHighlighter::TokenText() const
{
    if (FPosition == FTokenStart) return {};
    return std::string(reinterpret_cast<const char*>(FLine) + FTokenStart, FPosition - FTokenStart);
}

int TZtHtmlHighlighter::TokenKind() const
{
    return FTokenKind;
}

TZtHighlighterAttributes* TZtHtmlHighlighter::TokenAttributes() const
{
    return FKindAttributes[FTokenKind];
}

TZtHighlighterAttributes* TZtHtmlHighlighter::DefaultAttributes(int role) const
{
    switch (role) {
    case arComment:
        return FCommentAttri;
    case arIdentifier:
        return FIdentifierAttri;
    case arKeyword:
        return FKeyAttri;
    case arWhitespace:
        return FSpaceAttri;
    case arSymbol:
        return FSymbolAttri;
    default: // arString and anything unknown
        return nullptr;
    }
}

std::bitset<256> TZtHtmlHighlighter::WordChars() const
{
    static const std::bitset<256> chars = MakeWordChars();
    return chars;
}

std::string TZtHtmlHighlighter::LanguageName() const
{
    return "HTML document";
}

void TZtHtmlHighlighter::Dispatch()
{
    (this->*FDispatch[At(FPosition)])();
}

// The end of the text or a NUL: the position stays, so every further call
// on this line reports the line end again.
void TZtHtmlHighlighter::LineEndProc()
{
    FTokenKind = htkLineEnd;
}

void TZtHtmlHighlighter::LineFeedProc()
{
    FTokenKind = htkSpace;
    ++FPosition;
}

void TZtHtmlHighlighter::CarriageReturnProc()
{
    FTokenKind = htkSpace;
    ++FPosition;
    if (At(FPosition) == LF) ++FPosition;
}

void TZtHtmlHighlighter::SpaceProc()
{
    FTokenKind = htkSpace;
    ++FPosition;
    while (FPosition < FLength && SpaceRunChars[FLine[FPosition]]) ++FPosition;
}

// No state marks an open string: an unclosed one ends with the line.
void TZtHtmlHighlighter::StringProc()
{
    if (FState == hsValue) {
        FTokenKind = htkValue;
        FState = hsAttributes;
    } else {
        FTokenKind = htkString;
    }
    ++FPosition;
    while (FPosition < FLength) {
        const unsigned char c = FLine[FPosition];
        if (c == CR || c == LF) return;
        ++FPosition;
        if (c == '"') return;
    }
}

// An "&" ends any tag for the scanner: what follows is scanned as text.
void TZtHtmlHighlighter::AndProc()
{
    if (FEscapeLength != 0 && FEscapeColumn == FPosition) {
        FTokenKind = htkEscape;
        FPosition += FEscapeLength;
    } else if (At(FPosition + 1) == '#') {
        FPosition += 2;
        while (html::IsDigit(At(FPosition))) ++FPosition;
        if (At(FPosition) == ';') {
            ++FPosition;
            FTokenKind = htkEscape;
        } else {
            FTokenKind = htkText;
        }
    } else {
        FTokenKind = htkText;
    }
    FEscapeLength = 0;
    FState = hsText;
}

void TZtHtmlHighlighter::TagOpenProc()
{
    if (At(FPosition + 1) == '!' && At(FPosition + 2) == '-' && At(FPosition + 3) == '-') {
        FTokenKind = htkComment;
        FState = hsComment;
        FPosition += 4;
    } else if (At(FPosition + 1) == '%') {
        FTokenKind = htkAsp;
        FState = hsAsp;
        FPosition += 2;
    } else {
        FTokenKind = htkSymbol;
        FState = hsTagName;
        ++FPosition;
    }
}

void TZtHtmlHighlighter::EqualProc()
{
    FTokenKind = htkSymbol;
    FState = hsValue;
    ++FPosition;
}

void TZtHtmlHighlighter::TagCloseProc()
{
    FTokenKind = htkSymbol;
    FState = hsText;
    ++FPosition;
}

void TZtHtmlHighlighter::WordProc()
{
    switch (FState) {
    case hsTagName:
        TagNameProc();
        return;
    case hsValue:
        // A bare value keeps quotes, "=", "&" and "<" inside it.
        FState = hsAttributes;
        FTokenKind = htkValue;
        ++FPosition;
        while (FPosition < FLength && FLine[FPosition] > ' ' && FLine[FPosition] != '>') ++FPosition;
        return;
    default:
        FTokenKind = htkIdentifier;
        ++FPosition;
        while (FPosition < FLength) {
            const unsigned char c = FLine[FPosition];
            if (c <= ' ' || c == '"' || c == '=' || c == '>') break;
            ++FPosition;
        }
        return;
    }
}

// Letters, "!" and "/", then digits. The name may be empty; the next token
// then starts at the same character in the attribute state.
void TZtHtmlHighlighter::TagNameProc()
{
    FState = hsAttributes;
    while (FPosition < FLength && html::IsNameLetter(FLine[FPosition])) ++FPosition;
    while (FPosition < FLength && html::IsDigit(FLine[FPosition])) ++FPosition;
    const std::string_view name(reinterpret_cast<const char*>(FLine) + FTokenStart, FPosition - FTokenStart);
    const int hash = html::NameHash(name);
    if (hash >= html::BucketCount)
        FTokenKind = htkIdentifier;
    else if (html::FindKnownTag(name, hash) >= 0)
        FTokenKind = htkTag;
    else
        FTokenKind = htkUnknownTag;
}

// A ">" closes a block when `closerCount` characters `closer` stand in
// front of it on this line (they may belong to the opening "<!--").
bool TZtHtmlHighlighter::ClosedBy(std::size_t index, unsigned char closer, std::size_t closerCount) const
{
    if (index < closerCount) return false;
    for (std::size_t i = 1; i <= closerCount; ++i)
        if (FLine[index - i] != closer) return false;
    return true;
}

// Continues a comment or script block up to its end or the end of the line.
void TZtHtmlHighlighter::BlockProc(THtmlTokenKind kind, unsigned char closer, std::size_t closerCount)
{
    const unsigned char first = At(FPosition);
    if (first == 0 || first == LF || first == CR) {
        Dispatch();
        return;
    }
    FTokenKind = kind;
    while (FPosition < FLength) {
        const unsigned char c = FLine[FPosition];
        if (c == CR || c == LF) return;
        ++FPosition;
        if (c == '>' && ClosedBy(FPosition - 1, closer, closerCount)) {
            FState = hsText;
            return;
        }
    }
}

// Text runs over spaces, quotes and ">" up to a control character, a "<" or
// a character escape; an escape is remembered for the token after it.
void TZtHtmlHighlighter::TextProc()
{
    const unsigned char first = At(FPosition);
    if (first < ' ' || first == '<') {
        Dispatch();
        return;
    }
    FTokenKind = htkText;
    while (FPosition < FLength) {
        const unsigned char c = FLine[FPosition];
        if (!TextStopChars[c]) {
            ++FPosition;
            continue;
        }
        if (c != '&') return;
        if (At(FPosition + 1) == '#') {
            std::size_t end = FPosition + 2;
            while (html::IsDigit(At(end))) ++end;
            if (At(end) == ';')
                FState = hsEscape;
            else
                FPosition = end; // "&#" and digits without ";" stay text
            return;
        }
        const std::size_t escape = html::MatchEscape(
            std::string_view(reinterpret_cast<const char*>(FLine) + FPosition, FLength - FPosition));
        if (escape != 0) {
            FEscapeLength = escape;
            FEscapeColumn = FPosition;
            FState = hsEscape;
            return;
        }
        ++FPosition;
    }
}

} // namespace quorvex
