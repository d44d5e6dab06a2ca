// The multi-line source editor that holds the preferences text: QScintilla
// with 8-bit text (one byte per character, never re-encoded), a fixed set of
// key bindings and a hook for a line-by-line highlighter.
#pragma once

#include "ZtEditorKeys.h"

#include <Qsci/qsciscintilla.h>

#include <array>
#include <span>
#include <string>
#include <vector>

namespace quorvex {

class TZtCustomHighlighter;
class TZtHighlighterLexer;

class TZtSourceEditor : public QsciScintilla {
    Q_OBJECT

public:
    explicit TZtSourceEditor(QWidget* parent = nullptr);
    ~TZtSourceEditor() override;

    // Attaches a highlighter (registers a change listener and colours the
    // text through it); nullptr detaches and withdraws the listener. The
    // highlighter must outlive its attachment.
    void SetHighlighter(TZtCustomHighlighter* highlighter);
    TZtCustomHighlighter* Highlighter() const { return FHighlighter; }

    // Every line followed by CR LF, the last one included. An empty editor
    // (no bytes at all, which also shows as one empty line) has no lines and
    // gives "". Trailing blanks of a line still being edited are left out.
    std::string WholeText() const;
    std::vector<std::string> Lines() const;
    // Replaces all lines; no UserChanged, the undo history is cleared. An
    // empty list, or a single empty line, leaves the editor empty.
    void SetLines(const std::vector<std::string>& lines);

    void ExecuteCommand(TZtEditorCommand command);
    static std::span<const TZtKeyBinding> KeyBindings();

signals:
    // The user changed the text: typing, deleting, cutting, pasting, undo,
    // redo. Not raised by SetLines.
    void UserChanged();
    // Ctrl+F1; nobody listens by default, so the key does nothing.
    void ContextHelpRequested();
    // After every command, whether it came from a key or from ExecuteCommand.
    void CommandExecuted(quorvex::TZtEditorCommand command);

public:
    // The selection mode the selecting moves work in (SC_SEL_STREAM,
    // SC_SEL_RECTANGLE or SC_SEL_LINES).
    int SelectionMode() const { return FSelectionMode; }
    // Where the bookmark is, or -1 when it is not set.
    int BookmarkLine(int number) const;

protected:
    // The widget's font and palette are the editor's own look: text the
    // highlighter leaves uncoloured is drawn in them.
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Dropped files are left to the window (it opens them); text is taken.
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void ApplyOptions();
    void ApplyOwnLook();
    void BindKeys();
    void ApplyWordCharacters();
    void OnModified(int position, int modificationType, int length);
    void ScheduleTrim();
    void TrimEditedLines();
    void TrimTrailingBlanks(int line);
    bool IsEdited(int line) const;
    std::string LineBytes(int line) const;
    void RunOwnCommand(TZtEditorCommand command);
    void MoveToPageEdge(bool bottom, bool extend);
    void InsertLineAtCaret();
    bool SmartTab();
    void IndentBlock(bool indent);
    void SetBookmark(int number);
    void GotoBookmark(int number);
    void SetSelectionMode(int mode);
    void MatchBracket();

    TZtCustomHighlighter* FHighlighter = nullptr;
    TZtHighlighterLexer* FLexer = nullptr;
    int FListenerHandle = 0;
    int FQuiet = 0; // > 0 while the editor changes its own text
    std::vector<int> FPendingLines; // edited, not yet marked
    bool FTrimScheduled = false;
    int FSelectionMode = 0;
    std::array<int, 10> FBookmarkColumns{};
};

} // namespace quorvex
