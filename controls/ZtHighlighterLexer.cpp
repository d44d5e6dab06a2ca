// The QScintilla lexer that colours the editor's lines through the
// highlighter.

#include "ZtHighlighterLexer.h"

#include "ZtHighlighter.h"

#include <Qsci/qsciscintilla.h>

#include <algorithm>
#include <string_view>

namespace quorvex {

namespace {

QColor ToQColor(const TZtColor& colour)
{
    return QColor(colour.Red, colour.Green, colour.Blue);
}

} // namespace

TZtHighlighterLexer::TZtHighlighterLexer(QObject* parent)
    : QsciLexerCustom(parent)
{ }

void TZtHighlighterLexer::SetHighlighter(TZtCustomHighlighter* highlighter)
{
    FHighlighter = highlighter;
    FStyleAttributes.clear();
    if (!highlighter) return;
    const int count = std::min(highlighter->AttributeCount(), MaxAttributeStyles);
    for (int i = 0; i < count; ++i) FStyleAttributes.push_back(highlighter->Attribute(i));
}

void TZtHighlighterLexer::SetOwnLook(const QFont& font, const QColor& text, const QColor& paper)
{
    FFont = font;
    FText = text;
    FPaper = paper;
}

void TZtHighlighterLexer::RefreshStyles()
{
    setDefaultFont(FFont);
    setDefaultColor(FText);
    setDefaultPaper(FPaper);
    for (int style = 0; style <= MaxAttributeStyles; ++style) {
        setFont(defaultFont(style), style);
        setColor(defaultColor(style), style);
        setPaper(defaultPaper(style), style);
    }
}

bool TZtHighlighterLexer::Active() const
{
    return FHighlighter && FHighlighter->Enabled();
}

const TZtHighlighterAttributes* TZtHighlighterLexer::AttributeOfStyle(int style) const
{
    if (style < 1 || style > static_cast<int>(FStyleAttributes.size())) return nullptr;
    return FStyleAttributes[style - 1];
}

int TZtHighlighterLexer::StyleOf(const TZtHighlighterAttributes* attribute) const
{
    if (!attribute) return 0;
    const auto found = std::find(FStyleAttributes.begin(), FStyleAttributes.end(), attribute);
    return found == FStyleAttributes.end() ? 0 : static_cast<int>(found - FStyleAttributes.begin()) + 1;
}

QString TZtHighlighterLexer::description(int style) const
{
    if (style == 0) return QStringLiteral("Default");
    if (const auto* attribute = AttributeOfStyle(style)) return QString::fromLatin1(attribute->Name());
    // Unused styles still get a name, so every style the lexer may paint is
    // set up by the editor.
    return style <= MaxAttributeStyles ? QStringLiteral("Unused") : QString();
}

QColor TZtHighlighterLexer::defaultColor(int style) const
{
    const auto* attribute = AttributeOfStyle(style);
    if (attribute && attribute->Foreground()) return ToQColor(*attribute->Foreground());
    return FText;
}

QColor TZtHighlighterLexer::defaultPaper(int style) const
{
    const auto* attribute = AttributeOfStyle(style);
    if (!attribute) return FPaper;
    if (attribute->Background()) return ToQColor(*attribute->Background());
    const auto* space = FHighlighter ? FHighlighter->DefaultAttributes(arWhitespace) : nullptr;
    if (space && space->Background()) return ToQColor(*space->Background());
    return FPaper;
}

QFont TZtHighlighterLexer::defaultFont(int style) const
{
    QFont font = FFont;
    if (const auto* attribute = AttributeOfStyle(style)) {
        const TZtFontStyles styles = attribute->Style();
        font.setBold(styles & fsBold);
        font.setItalic(styles & fsItalic);
        font.setUnderline(styles & fsUnderline);
        font.setStrikeOut(styles & fsStrikeOut);
    }
    return font;
}

bool TZtHighlighterLexer::defaultEolFill(int) const
{
    return false;
}

const char* TZtHighlighterLexer::DocumentBytes() const
{
    // Valid until the text changes; styling does not change it.
    return static_cast<const char*>(
        editor()->SendScintillaPtrResult(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
}

// Sets the scan state a line starts in: the state stored at the end of the
// line before it, or the reset state for the first line.
void TZtHighlighterLexer::StartLineScan(int line, const char* text)
{
    if (line == 0)
        FHighlighter->ResetScanState();
    else
        FHighlighter->SetScanState(
            static_cast<int>(editor()->SendScintilla(QsciScintillaBase::SCI_GETLINESTATE, line - 1)));
    const long start = editor()->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
    const long end = editor()->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, line);
    FHighlighter->StartLine(std::string_view(text + start, static_cast<size_t>(end - start)), line);
}

// Paints one line from its first byte to its line break; the scanner has
// been started on it. Gaps a scanner leaves keep the editor's own look.
void TZtHighlighterLexer::StyleLine(int line, const char* text)
{
    const long start = editor()->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
    const int length =
        static_cast<int>(editor()->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, line) - start);
    StartLineScan(line, text);
    startStyling(start);
    int covered = 0;
    // A sound scanner ends every line well within this many tokens; the
    // bound keeps a faulty one from hanging the editor.
    for (int tokens = 0; !FHighlighter->AtLineEnd() && tokens <= 2 * length + 16; ++tokens) {
        const int tokenStart = std::clamp(FHighlighter->TokenStart(), 0, length);
        const int tokenEnd = std::clamp(tokenStart + FHighlighter->TokenLength(), 0, length);
        if (tokenStart > covered) {
            setStyling(tokenStart - covered, 0);
            covered = tokenStart;
        }
        if (tokenEnd > covered) {
            PaintToken(start + covered, tokenEnd - covered, FHighlighter->TokenAttributes());
            covered = tokenEnd;
        }
        FHighlighter->NextToken();
    }
    if (length > covered) setStyling(length - covered, 0);
}

void TZtHighlighterLexer::PaintToken(long position, int length, const TZtHighlighterAttributes* attribute)
{
    setStyling(length, StyleOf(attribute));
    if (attribute && (attribute->Style() & fsStrikeOut))
        editor()->SendScintilla(QsciScintillaBase::SCI_INDICATORFILLRANGE, position, length);
}

void TZtHighlighterLexer::styleText(int start, int end)
{
    QsciScintilla* ed = editor();
    if (!ed) return;
    const long length = ed->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    const int firstLine = static_cast<int>(ed->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, start));
    const int lastLine = static_cast<int>(ed->SendScintilla(
        QsciScintillaBase::SCI_LINEFROMPOSITION, std::max<long>(std::min<long>(end, length) - 1, start)));
    const auto lineStart = [&](int line) {
        return line < ed->lines() ? ed->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line) : length;
    };
    const long firstStart = lineStart(firstLine);
    const long lastEnd = lineStart(lastLine + 1);
    ed->SendScintilla(QsciScintillaBase::SCI_SETINDICATORCURRENT, StrikeIndicator);
    ed->SendScintilla(QsciScintillaBase::SCI_INDICATORCLEARRANGE, firstStart, lastEnd - firstStart);
    if (!Active()) {
        startStyling(firstStart);
        setStyling(static_cast<int>(lastEnd - firstStart), 0);
        return;
    }
    const char* text = DocumentBytes();
    for (int line = firstLine; line <= lastLine; ++line) {
        StyleLine(line, text);
        const long lineEnd = ed->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, line);
        const long nextStart = lineStart(line + 1);
        if (nextStart > lineEnd) setStyling(static_cast<int>(nextStart - lineEnd), 0);
        ed->SendScintilla(
            QsciScintillaBase::SCI_SETLINESTATE, line, static_cast<long>(FHighlighter->ScanState()));
    }
}

TZtHighlighterAttributes* TZtHighlighterLexer::AttributeAt(int line, int column)
{
    QsciScintilla* ed = editor();
    if (!ed || !Active() || line < 0 || line >= ed->lines()) return nullptr;
    // The stored state of the line before must be current.
    const long lineEnd = ed->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, line);
    if (ed->SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED) < lineEnd)
        ed->SendScintilla(QsciScintillaBase::SCI_COLOURISE,
            ed->SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED), lineEnd);
    StartLineScan(line, DocumentBytes());
    while (!FHighlighter->AtLineEnd()) {
        const int tokenStart = FHighlighter->TokenStart();
        if (column >= tokenStart && column < tokenStart + FHighlighter->TokenLength())
            return FHighlighter->TokenAttributes();
        if (tokenStart > column) return nullptr;
        FHighlighter->NextToken();
    }
    return nullptr;
}

} // namespace quorvex
