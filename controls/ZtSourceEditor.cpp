// The source editor: options, key bindings, its own commands, 8-bit text
// in and out, and trimming of edited lines.

#include "ZtSourceEditor.h"

#include "ZtEditorKeys.h"
#include "ZtFonts.h"
#include "ZtHighlighter.h"
#include "ZtHighlighterLexer.h"

#include <Qsci/qscicommandset.h>

#include <QDropEvent>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPalette>
#include <QShortcut>
#include <QTimer>

#include <algorithm>
#include <bitset>

namespace quorvex {

namespace {

using enum TZtEditorCommand;

// Markers 0 to 9 are the numbered bookmarks, shown in the gutter; the
// invisible marker 10 flags lines whose trailing blanks are still to go.
constexpr int EditedMarker = 10;
constexpr int BookmarkMask = (1 << 10) - 1;

constexpr std::string_view LineBreak = "\r\n";

constexpr std::array<char, 8> Brackets{'(', ')', '[', ']', '{', '}', '<', '>'};

// A numbered bookmark as the gutter shows it: the digit in the gutter's
// font on a small tab.
QImage BookmarkImage(int number, const QFont& font, const QPalette& palette)
{
    const QFontMetrics metrics(font);
    const QSize size(metrics.horizontalAdvance(QLatin1Char('0')) + 6, metrics.height());
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setPen(palette.color(QPalette::Dark));
    painter.setBrush(palette.color(QPalette::ToolTipBase));
    painter.drawRect(QRect(QPoint(0, 0), size - QSize(1, 1)));
    painter.setPen(palette.color(QPalette::ToolTipText));
    painter.setFont(font);
    painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, QString::number(number));
    return image;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

TZtSourceEditor::TZtSourceEditor(QWidget* parent)
    : QsciScintilla(parent)
    , FLexer(new TZtHighlighterLexer(this))
{
    ApplyOptions();
    BindKeys();
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
        [this](int position, int type, const char*, int length, int, int, int, int, int, int) {
            OnModified(position, type, length);
        });
    connect(this, &QsciScintilla::cursorPositionChanged, this, &TZtSourceEditor::ScheduleTrim);
}

TZtSourceEditor::~TZtSourceEditor()
{
    if (FHighlighter && FListenerHandle) FHighlighter->RemoveChangeListener(FListenerHandle);
}

std::span<const TZtKeyBinding> TZtSourceEditor::KeyBindings()
{
    return EditorKeyBindings();
}

void TZtSourceEditor::ApplyOptions()
{
    // Bytes stay bytes: no UTF-8, no code page conversion by Scintilla.
    setUtf8(false);
    SendScintilla(SCI_SETCODEPAGE, 0L);
    setEolMode(EolWindows);

    QWidget::setFont(EditorFont());
    indicatorDefine(StrikeIndicator, TZtHighlighterLexer::StrikeIndicator);
    ApplyOwnLook();
    setLexer(FLexer);

    setIndentationsUseTabs(false);
    setTabWidth(8);
    setIndentationWidth(2); // the step of block indent and unindent
    setTabIndents(false);
    setBackspaceUnindents(false);
    setAutoIndent(true);
    setWrapMode(WrapNone);

    setEdgeMode(EdgeLine);
    setEdgeColumn(80);

    const QFont gutter = GutterFont();
    setMarginsFont(gutter);
    setMargins(1);
    setMarginType(0, SymbolMargin);
    setMarginWidth(0, QFontMetrics(gutter).horizontalAdvance(QStringLiteral("00")) + 8);
    setMarginMarkerMask(0, BookmarkMask);
    setMarginSensitivity(0, false);
    for (int number = 0; number < 10; ++number)
        markerDefine(BookmarkImage(number, gutter, palette()), number);
    markerDefine(Invisible, EditedMarker);
}

void TZtSourceEditor::ApplyOwnLook()
{
    FLexer->SetOwnLook(font(), palette().color(QPalette::Text), palette().color(QPalette::Base));
    FLexer->RefreshStyles();
    setIndicatorForegroundColor(palette().color(QPalette::Text), TZtHighlighterLexer::StrikeIndicator);
    // The scroll-bar colour of Windows sits between the button face and
    // the mid-tone shadow; Midlight is the palette's nearest role.
    setEdgeColor(palette().color(QPalette::Midlight));
}

void TZtSourceEditor::changeEvent(QEvent* event)
{
    QsciScintilla::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) ApplyOwnLook();
}

void TZtSourceEditor::BindKeys()
{
    // Scintilla's own key map is emptied so only the bindings below act.
    standardCommands()->clearKeys();
    standardCommands()->clearAlternateKeys();
    SendScintilla(SCI_CLEARALLCMDKEYS);

    auto bind = [this](QKeyCombination key, TZtEditorCommand command) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, command] { ExecuteCommand(command); });
    };
    for (const TZtKeyBinding& binding : KeyBindings()) bind(binding.Key, binding.Command);
    // Shift+Tab arrives as Backtab, and the keypad has an Enter of its own.
    bind(QKeyCombination(Qt::ShiftModifier, Qt::Key_Backtab), cmdShiftTab);
    bind(QKeyCombination(Qt::NoModifier, Qt::Key_Enter), cmdLineBreak);
    bind(QKeyCombination(Qt::ShiftModifier, Qt::Key_Enter), cmdLineBreak);
}

// Bound keys arrive as shortcuts; what reaches this point with Ctrl, Alt or
// Meta held is unbound and must not type its letter.
void TZtSourceEditor::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        event->ignore();
        return;
    }
    QsciScintilla::keyPressEvent(event);
}

bool TZtSourceEditor::canInsertFromMimeData(const QMimeData* source) const
{
    return !source->hasUrls() && QsciScintilla::canInsertFromMimeData(source);
}

void TZtSourceEditor::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls()) return event->ignore();
    QsciScintilla::dragEnterEvent(event);
}

void TZtSourceEditor::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasUrls()) return event->ignore();
    QsciScintilla::dragMoveEvent(event);
}

void TZtSourceEditor::dropEvent(QDropEvent* event)
{
    if (event->mimeData()->hasUrls()) return event->ignore();
    QsciScintilla::dropEvent(event);
}

void TZtSourceEditor::SetHighlighter(TZtCustomHighlighter* highlighter)
{
    if (FHighlighter && FListenerHandle) FHighlighter->RemoveChangeListener(FListenerHandle);
    FListenerHandle = 0;
    FHighlighter = highlighter;
    FLexer->SetHighlighter(highlighter);
    if (highlighter)
        FListenerHandle = highlighter->AddChangeListener([this](TZtCustomHighlighter&) {
            FLexer->RefreshStyles();
            recolor();
        });
    ApplyWordCharacters();
    FLexer->RefreshStyles();
    recolor();
}

// Word-wise moves and selection stop where the highlighter's language has
// its word boundaries.
void TZtSourceEditor::ApplyWordCharacters()
{
    if (!FHighlighter) {
        SendScintilla(SCI_SETCHARSDEFAULT);
        return;
    }
    const auto characters = [](const std::bitset<256>& set) {
        std::string text;
        for (int code = 1; code < 256; ++code)
            if (set.test(static_cast<size_t>(code))) text.push_back(static_cast<char>(code));
        return text;
    };
    SendScintilla(SCI_SETCHARSDEFAULT);
    SendScintilla(SCI_SETWORDCHARS, 0UL, characters(FHighlighter->WordChars()).c_str());
    SendScintilla(SCI_SETPUNCTUATIONCHARS, 0UL, characters(FHighlighter->WordBreakChars()).c_str());
}

// ---------------------------------------------------------------- text

std::string TZtSourceEditor::LineBytes(int line) const
{
    const long start = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    const long end = SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line));
    const auto* text = static_cast<const char*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
    return std::string(text + start, static_cast<size_t>(end - start));
}

bool TZtSourceEditor::IsEdited(int line) const
{
    return (markersAtLine(line) & (1 << EditedMarker)) ||
        std::find(FPendingLines.begin(), FPendingLines.end(), line) != FPendingLines.end();
}

std::vector<std::string> TZtSourceEditor::Lines() const
{
    std::vector<std::string> result;
    if (SendScintilla(SCI_GETLENGTH) == 0) return result;
    const int count = lines();
    result.reserve(static_cast<size_t>(count));
    for (int line = 0; line < count; ++line) {
        std::string text = LineBytes(line);
        if (IsEdited(line))
            while (!text.empty() && IsBlank(text.back())) text.pop_back();
        result.push_back(std::move(text));
    }
    return result;
}

std::string TZtSourceEditor::WholeText() const
{
    std::string text;
    for (const std::string& line : Lines()) {
        text += line;
        text += LineBreak;
    }
    return text;
}

void TZtSourceEditor::SetLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += LineBreak;
        text += lines[i];
    }
    ++FQuiet;
    SendScintilla(SCI_CLEARALL);
    SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(text.size()), text.data());
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    SendScintilla(SCI_SETSAVEPOINT);
    SendScintilla(SCI_GOTOPOS, 0L);
    markerDeleteAll(); // bookmarks of the old text would gather on line 0
    FPendingLines.clear();
    --FQuiet;
}

// ------------------------------------------------- changes and blanks

void TZtSourceEditor::OnModified(int position, int modificationType, int length)
{
    if (!(modificationType & (SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT)) || FQuiet) return;
    // Only lines the user typed on lose their trailing blanks; lines that
    // undo or redo restore keep them, so the redo history stays usable.
    if (modificationType & SC_PERFORMED_USER) {
        const int first =
            static_cast<int>(SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(position)));
        const int last = (modificationType & SC_MOD_INSERTTEXT)
            ? static_cast<int>(
                  SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(position + length)))
            : first;
        for (int line = first; line <= last; ++line) FPendingLines.push_back(line);
        ScheduleTrim();
    }
    emit UserChanged();
}

// Scintilla must not be changed from inside its own notifications, so the
// blanks go once the current event is handled.
void TZtSourceEditor::ScheduleTrim()
{
    if (FTrimScheduled) return;
    FTrimScheduled = true;
    QTimer::singleShot(0, this, &TZtSourceEditor::TrimEditedLines);
}

// Trailing blanks of an edited line are dropped once the caret has left the
// line (Enter included); the caret's own line keeps them while it is edited.
void TZtSourceEditor::TrimEditedLines()
{
    FTrimScheduled = false;
    for (int line : FPendingLines)
        if (line < lines()) markerAdd(line, EditedMarker);
    FPendingLines.clear();
    int caretLine = 0;
    int caretIndex = 0;
    getCursorPosition(&caretLine, &caretIndex);
    for (int line = markerFindNext(0, 1 << EditedMarker); line >= 0;
         line = markerFindNext(line + 1, 1 << EditedMarker)) {
        if (line == caretLine) continue;
        TrimTrailingBlanks(line);
        markerDelete(line, EditedMarker);
    }
}

void TZtSourceEditor::TrimTrailingBlanks(int line)
{
    const std::string text = LineBytes(line);
    size_t keep = text.size();
    while (keep > 0 && IsBlank(text[keep - 1])) --keep;
    if (keep == text.size()) return;
    const long start = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    ++FQuiet;
    SendScintilla(SCI_DELETERANGE, static_cast<unsigned long>(start + static_cast<long>(keep)),
        static_cast<long>(text.size() - keep));
    --FQuiet;
}

// ------------------------------------------------------------ commands

void TZtSourceEditor::ExecuteCommand(TZtEditorCommand command)
{
    if (command == cmdTab && SmartTab()) {
        emit CommandExecuted(command);
        return;
    }
    int scintilla = 0;
    if (FSelectionMode == SC_SEL_RECTANGLE && IsSelectingMove(command))
        scintilla = RectangleCommandOf(command);
    if (!scintilla) scintilla = ScintillaCommandOf(command);
    if (scintilla) {
        if (QsciCommand* standard = standardCommands()->find(static_cast<QsciCommand::Command>(scintilla)))
            standard->execute();
        else
            SendScintilla(static_cast<unsigned>(scintilla));
        if (FSelectionMode == SC_SEL_LINES && IsSelectingMove(command)) SetSelectionMode(SC_SEL_LINES);
    } else {
        RunOwnCommand(command);
    }
    emit CommandExecuted(command);
}

void TZtSourceEditor::RunOwnCommand(TZtEditorCommand command)
{
    const int index = static_cast<int>(command);
    if (command >= cmdGotoMarker0 && command <= cmdGotoMarker9)
        return GotoBookmark(index - static_cast<int>(cmdGotoMarker0));
    if (command >= cmdSetMarker0 && command <= cmdSetMarker9)
        return SetBookmark(index - static_cast<int>(cmdSetMarker0));
    switch (command) {
    case cmdPageTop:
        return MoveToPageEdge(false, false);
    case cmdSelPageTop:
        return MoveToPageEdge(false, true);
    case cmdPageBottom:
        return MoveToPageEdge(true, false);
    case cmdSelPageBottom:
        return MoveToPageEdge(true, true);
    case cmdInsertLine:
        return InsertLineAtCaret();
    case cmdBlockIndent:
        return IndentBlock(true);
    case cmdBlockUnindent:
        return IndentBlock(false);
    case cmdNormalSelect:
        return SetSelectionMode(SC_SEL_STREAM);
    case cmdColumnSelect:
        return SetSelectionMode(SC_SEL_RECTANGLE);
    case cmdLineSelect:
        return SetSelectionMode(SC_SEL_LINES);
    case cmdMatchBracket:
        return MatchBracket();
    case cmdContextHelp:
        emit ContextHelpRequested();
        return;
    default:
        return;
    }
}

// The first or last fully visible line, in the caret's column.
void TZtSourceEditor::MoveToPageEdge(bool bottom, bool extend)
{
    const long caret = SendScintilla(SCI_GETCURRENTPOS);
    const long column = SendScintilla(SCI_GETCOLUMN, static_cast<unsigned long>(caret));
    const long top = SendScintilla(SCI_DOCLINEFROMVISIBLE, SendScintilla(SCI_GETFIRSTVISIBLELINE));
    long line = top;
    if (bottom) {
        const long visible = std::max(1L, SendScintilla(SCI_LINESONSCREEN));
        line = std::min<long>(top + visible - 1, lines() - 1);
    }
    const long target = SendScintilla(SCI_FINDCOLUMN, static_cast<unsigned long>(line), column);
    if (extend)
        SendScintilla(SCI_SETCURRENTPOS, static_cast<unsigned long>(target));
    else
        SendScintilla(SCI_SETEMPTYSELECTION, static_cast<unsigned long>(target));
    SendScintilla(SCI_CHOOSECARETX);
}

// Tab without a selection goes to where the next word starts on the nearest
// line above that is not blank, so columns line up with the line above.
// Where that line offers no such place, Scintilla's Tab goes to the next
// multiple of the tab width.
bool TZtSourceEditor::SmartTab()
{
    if (hasSelectedText()) return false;
    int line = 0, index = 0;
    getCursorPosition(&line, &index);
    for (int above = line - 1; above >= 0; --above) {
        const std::string text = LineBytes(above);
        if (std::all_of(text.begin(), text.end(), IsBlank)) continue;
        size_t column = static_cast<size_t>(index);
        while (column < text.size() && !IsBlank(text[column])) ++column;
        while (column < text.size() && IsBlank(text[column])) ++column;
        if (column >= text.size()) return false;
        const std::string blanks(column - static_cast<size_t>(index), ' ');
        SendScintilla(SCI_ADDTEXT, static_cast<unsigned long>(blanks.size()), blanks.c_str());
        return true;
    }
    return false;
}

// A line break at the caret; the caret stays where it was.
void TZtSourceEditor::InsertLineAtCaret()
{
    const long caret = SendScintilla(SCI_GETCURRENTPOS);
    SendScintilla(SCI_INSERTTEXT, static_cast<unsigned long>(caret), std::string(LineBreak).c_str());
}

// Indents or unindents every line the selection touches, or the caret's line.
void TZtSourceEditor::IndentBlock(bool indent)
{
    int fromLine = 0, fromIndex = 0, toLine = 0, toIndex = 0;
    if (hasSelectedText()) {
        getSelection(&fromLine, &fromIndex, &toLine, &toIndex);
        if (toLine > fromLine && toIndex == 0)
            --toLine; // a selection ending at a line start leaves that line alone
    } else {
        getCursorPosition(&fromLine, &fromIndex);
        toLine = fromLine;
    }
    beginUndoAction();
    for (int line = fromLine; line <= toLine; ++line) {
        if (indent)
            this->indent(line);
        else
            unindent(line);
    }
    endUndoAction();
}

int TZtSourceEditor::BookmarkLine(int number) const
{
    if (number < 0 || number > 9) return -1;
    return static_cast<int>(SendScintilla(SCI_MARKERNEXT, 0L, static_cast<long>(1 << number)));
}

// Setting a bookmark on the line it already marks removes it.
void TZtSourceEditor::SetBookmark(int number)
{
    int line = 0, index = 0;
    getCursorPosition(&line, &index);
    const bool here = BookmarkLine(number) == line;
    markerDeleteAll(number);
    if (here) return;
    markerAdd(line, number);
    FBookmarkColumns[static_cast<size_t>(number)] = index;
}

void TZtSourceEditor::GotoBookmark(int number)
{
    const int line = BookmarkLine(number);
    if (line < 0) return;
    const int length = static_cast<int>(LineBytes(line).size());
    setCursorPosition(line, std::min(FBookmarkColumns[static_cast<size_t>(number)], length));
    SendScintilla(SCI_CHOOSECARETX);
    ensureLineVisible(line);
}

// Scintilla makes the caret keys extend the selection after a mode change;
// cancelling that keeps the Shift keys as the only way to select.
void TZtSourceEditor::SetSelectionMode(int mode)
{
    FSelectionMode = mode;
    SendScintilla(SCI_SETSELECTIONMODE, static_cast<unsigned long>(mode));
    SendScintilla(SCI_CANCEL);
}

// Moves the caret to the bracket matching the one at (or else just before)
// the caret. A bracket counts only when the highlighter gives it the same
// attribute, so a brace in a comment does not pair with one in a tag.
void TZtSourceEditor::MatchBracket()
{
    const long length = SendScintilla(SCI_GETLENGTH);
    const auto at = [this](long position) {
        return static_cast<char>(SendScintilla(SCI_GETCHARAT, static_cast<unsigned long>(position)));
    };
    const auto bracketIndex = [](char c) {
        const auto found = std::find(Brackets.begin(), Brackets.end(), c);
        return found == Brackets.end() ? -1 : static_cast<int>(found - Brackets.begin());
    };
    const auto attributeAt = [this](long position) {
        const int line =
            static_cast<int>(SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(position)));
        const long column = position - SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
        return FLexer->AttributeAt(line, static_cast<int>(column));
    };

    long origin = SendScintilla(SCI_GETCURRENTPOS);
    if (origin >= length || bracketIndex(at(origin)) < 0) --origin;
    if (origin < 0 || bracketIndex(at(origin)) < 0) return;
    const int kind = bracketIndex(at(origin));
    const char open = Brackets[static_cast<size_t>(kind & ~1)];
    const char close = Brackets[static_cast<size_t>(kind | 1)];
    const bool forward = (kind & 1) == 0;
    const TZtHighlighterAttributes* attribute = attributeAt(origin);
    int depth = 0;
    for (long position = origin; position >= 0 && position < length; position += forward ? 1 : -1) {
        const char c = at(position);
        if (c != open && c != close) continue;
        if (attributeAt(position) != attribute) continue;
        depth += (c == open) == forward ? 1 : -1;
        if (depth == 0) {
            SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(position));
            return;
        }
    }
}

} // namespace quorvex
