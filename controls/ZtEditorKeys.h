// The source editor's commands, the keys bound to them, and the Scintilla
// side of each command.
#pragma once

#include <QKeyCombination>

#include <span>

namespace quorvex {

enum class TZtEditorCommand {
    cmdUp,
    cmdSelUp,
    cmdScrollUp,
    cmdDown,
    cmdSelDown,
    cmdScrollDown,
    cmdLeft,
    cmdSelLeft,
    cmdWordLeft,
    cmdSelWordLeft,
    cmdRight,
    cmdSelRight,
    cmdWordRight,
    cmdSelWordRight,
    cmdPageDown,
    cmdSelPageDown,
    cmdPageBottom,
    cmdSelPageBottom,
    cmdPageUp,
    cmdSelPageUp,
    cmdPageTop,
    cmdSelPageTop,
    cmdLineStart,
    cmdSelLineStart,
    cmdEditorTop,
    cmdSelEditorTop,
    cmdLineEnd,
    cmdSelLineEnd,
    cmdEditorBottom,
    cmdSelEditorBottom,
    cmdToggleMode,
    cmdCopy,
    cmdCut,
    cmdPaste,
    cmdDeleteChar,
    cmdDeleteLastChar,
    cmdDeleteLastWord,
    cmdUndo,
    cmdRedo,
    cmdLineBreak,
    cmdTab,
    cmdShiftTab,
    cmdContextHelp,
    cmdSelectAll,
    cmdBlockIndent,
    cmdBlockUnindent,
    cmdInsertLine,
    cmdDeleteWord,
    cmdDeleteLine,
    cmdDeleteEOL,
    cmdGotoMarker0,
    cmdGotoMarker1,
    cmdGotoMarker2,
    cmdGotoMarker3,
    cmdGotoMarker4,
    cmdGotoMarker5,
    cmdGotoMarker6,
    cmdGotoMarker7,
    cmdGotoMarker8,
    cmdGotoMarker9,
    cmdSetMarker0,
    cmdSetMarker1,
    cmdSetMarker2,
    cmdSetMarker3,
    cmdSetMarker4,
    cmdSetMarker5,
    cmdSetMarker6,
    cmdSetMarker7,
    cmdSetMarker8,
    cmdSetMarker9,
    cmdNormalSelect,
    cmdColumnSelect,
    cmdLineSelect,
    cmdMatchBracket,
};

struct TZtKeyBinding {
    QKeyCombination Key;
    TZtEditorCommand Command;
};

std::span<const TZtKeyBinding> EditorKeyBindings();
// The QsciCommand::Command that carries out a command, or 0 for the
// editor's own commands.
int ScintillaCommandOf(TZtEditorCommand command);
// The rectangular variant of a selecting move, or 0 where Scintilla has none.
int RectangleCommandOf(TZtEditorCommand command);
bool IsSelectingMove(TZtEditorCommand command);

} // namespace quorvex
