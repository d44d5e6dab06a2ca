// The editor's 82 key bindings, in the order the window defines them, and
// the Scintilla command behind each editor command that Scintilla has.
#include "ZtEditorKeys.h"

#include <Qsci/qscicommand.h>

#include <array>

namespace quorvex {

namespace {

using enum TZtEditorCommand;

constexpr Qt::KeyboardModifiers None = Qt::NoModifier;
constexpr Qt::KeyboardModifiers Shift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers Ctrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers Alt = Qt::AltModifier;
constexpr Qt::KeyboardModifiers CtrlShift = Qt::ControlModifier | Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers ShiftAlt = Qt::ShiftModifier | Qt::AltModifier;

constexpr QKeyCombination K(Qt::KeyboardModifiers modifiers, Qt::Key key)
{
    return QKeyCombination(modifiers, key);
}

constexpr std::array<TZtKeyBinding, 82> Bindings{{
    {K(None, Qt::Key_Up), cmdUp},
    {K(Shift, Qt::Key_Up), cmdSelUp},
    {K(Ctrl, Qt::Key_Up), cmdScrollUp},
    {K(None, Qt::Key_Down), cmdDown},
    {K(Shift, Qt::Key_Down), cmdSelDown},
    {K(Ctrl, Qt::Key_Down), cmdScrollDown},
    {K(None, Qt::Key_Left), cmdLeft},
    {K(Shift, Qt::Key_Left), cmdSelLeft},
    {K(Ctrl, Qt::Key_Left), cmdWordLeft},
    {K(CtrlShift, Qt::Key_Left), cmdSelWordLeft},
    {K(None, Qt::Key_Right), cmdRight},
    {K(Shift, Qt::Key_Right), cmdSelRight},
    {K(Ctrl, Qt::Key_Right), cmdWordRight},
    {K(CtrlShift, Qt::Key_Right), cmdSelWordRight},
    {K(None, Qt::Key_PageDown), cmdPageDown},
    {K(Shift, Qt::Key_PageDown), cmdSelPageDown},
    {K(Ctrl, Qt::Key_PageDown), cmdPageBottom},
    {K(CtrlShift, Qt::Key_PageDown), cmdSelPageBottom},
    {K(None, Qt::Key_PageUp), cmdPageUp},
    {K(Shift, Qt::Key_PageUp), cmdSelPageUp},
    {K(Ctrl, Qt::Key_PageUp), cmdPageTop},
    {K(CtrlShift, Qt::Key_PageUp), cmdSelPageTop},
    {K(None, Qt::Key_Home), cmdLineStart},
    {K(Shift, Qt::Key_Home), cmdSelLineStart},
    {K(Ctrl, Qt::Key_Home), cmdEditorTop},
    {K(CtrlShift, Qt::Key_Home), cmdSelEditorTop},
    {K(None, Qt::Key_End), cmdLineEnd},
    {K(Shift, Qt::Key_End), cmdSelLineEnd},
    {K(Ctrl, Qt::Key_End), cmdEditorBottom},
    {K(CtrlShift, Qt::Key_End), cmdSelEditorBottom},
    {K(None, Qt::Key_Insert), cmdToggleMode},
    {K(Ctrl, Qt::Key_Insert), cmdCopy},
    {K(Shift, Qt::Key_Delete), cmdCut},
    {K(Shift, Qt::Key_Insert), cmdPaste},
    {K(None, Qt::Key_Delete), cmdDeleteChar},
    {K(None, Qt::Key_Backspace), cmdDeleteLastChar},
    {K(Shift, Qt::Key_Backspace), cmdDeleteLastChar},
    {K(Ctrl, Qt::Key_Backspace), cmdDeleteLastWord},
    {K(Alt, Qt::Key_Backspace), cmdUndo},
    {K(ShiftAlt, Qt::Key_Backspace), cmdRedo},
    {K(None, Qt::Key_Return), cmdLineBreak},
    {K(Shift, Qt::Key_Return), cmdLineBreak},
    {K(None, Qt::Key_Tab), cmdTab},
    {K(Shift, Qt::Key_Tab), cmdShiftTab},
    {K(Ctrl, Qt::Key_F1), cmdContextHelp},
    {K(Ctrl, Qt::Key_A), cmdSelectAll},
    {K(Ctrl, Qt::Key_C), cmdCopy},
    {K(Ctrl, Qt::Key_V), cmdPaste},
    {K(Ctrl, Qt::Key_X), cmdCut},
    {K(CtrlShift, Qt::Key_I), cmdBlockIndent},
    {K(CtrlShift, Qt::Key_U), cmdBlockUnindent},
    {K(Ctrl, Qt::Key_M), cmdLineBreak},
    {K(Ctrl, Qt::Key_N), cmdInsertLine},
    {K(Ctrl, Qt::Key_T), cmdDeleteWord},
    {K(Ctrl, Qt::Key_Y), cmdDeleteLine},
    {K(CtrlShift, Qt::Key_Y), cmdDeleteEOL},
    {K(Ctrl, Qt::Key_Z), cmdUndo},
    {K(CtrlShift, Qt::Key_Z), cmdRedo},
    {K(Ctrl, Qt::Key_0), cmdGotoMarker0},
    {K(Ctrl, Qt::Key_1), cmdGotoMarker1},
    {K(Ctrl, Qt::Key_2), cmdGotoMarker2},
    {K(Ctrl, Qt::Key_3), cmdGotoMarker3},
    {K(Ctrl, Qt::Key_4), cmdGotoMarker4},
    {K(Ctrl, Qt::Key_5), cmdGotoMarker5},
    {K(Ctrl, Qt::Key_6), cmdGotoMarker6},
    {K(Ctrl, Qt::Key_7), cmdGotoMarker7},
    {K(Ctrl, Qt::Key_8), cmdGotoMarker8},
    {K(Ctrl, Qt::Key_9), cmdGotoMarker9},
    {K(CtrlShift, Qt::Key_0), cmdSetMarker0},
    {K(CtrlShift, Qt::Key_1), cmdSetMarker1},
    {K(CtrlShift, Qt::Key_2), cmdSetMarker2},
    {K(CtrlShift, Qt::Key_3), cmdSetMarker3},
    {K(CtrlShift, Qt::Key_4), cmdSetMarker4},
    {K(CtrlShift, Qt::Key_5), cmdSetMarker5},
    {K(CtrlShift, Qt::Key_6), cmdSetMarker6},
    {K(CtrlShift, Qt::Key_7), cmdSetMarker7},
    {K(CtrlShift, Qt::Key_8), cmdSetMarker8},
    {K(CtrlShift, Qt::Key_9), cmdSetMarker9},
    {K(CtrlShift, Qt::Key_N), cmdNormalSelect},
    {K(CtrlShift, Qt::Key_C), cmdColumnSelect},
    {K(CtrlShift, Qt::Key_L), cmdLineSelect},
    {K(CtrlShift, Qt::Key_B), cmdMatchBracket},
}};

struct TScintillaCommand {
    TZtEditorCommand Command;
    QsciCommand::Command Scintilla;
};

// Commands Scintilla carries out itself. The rest are the editor's own.
constexpr std::array<TScintillaCommand, 38> ScintillaCommands{{
    {cmdUp, QsciCommand::LineUp},
    {cmdSelUp, QsciCommand::LineUpExtend},
    {cmdScrollUp, QsciCommand::LineScrollUp},
    {cmdDown, QsciCommand::LineDown},
    {cmdSelDown, QsciCommand::LineDownExtend},
    {cmdScrollDown, QsciCommand::LineScrollDown},
    {cmdLeft, QsciCommand::CharLeft},
    {cmdSelLeft, QsciCommand::CharLeftExtend},
    {cmdWordLeft, QsciCommand::WordLeft},
    {cmdSelWordLeft, QsciCommand::WordLeftExtend},
    {cmdRight, QsciCommand::CharRight},
    {cmdSelRight, QsciCommand::CharRightExtend},
    {cmdWordRight, QsciCommand::WordRight},
    {cmdSelWordRight, QsciCommand::WordRightExtend},
    {cmdPageDown, QsciCommand::PageDown},
    {cmdSelPageDown, QsciCommand::PageDownExtend},
    {cmdPageUp, QsciCommand::PageUp},
    {cmdSelPageUp, QsciCommand::PageUpExtend},
    {cmdLineStart, QsciCommand::Home},
    {cmdSelLineStart, QsciCommand::HomeExtend},
    {cmdEditorTop, QsciCommand::DocumentStart},
    {cmdSelEditorTop, QsciCommand::DocumentStartExtend},
    {cmdLineEnd, QsciCommand::LineEnd},
    {cmdSelLineEnd, QsciCommand::LineEndExtend},
    {cmdEditorBottom, QsciCommand::DocumentEnd},
    {cmdSelEditorBottom, QsciCommand::DocumentEndExtend},
    {cmdToggleMode, QsciCommand::EditToggleOvertype},
    {cmdCopy, QsciCommand::SelectionCopy},
    {cmdCut, QsciCommand::SelectionCut},
    {cmdPaste, QsciCommand::Paste},
    {cmdDeleteChar, QsciCommand::Delete},
    {cmdDeleteLastChar, QsciCommand::DeleteBack},
    {cmdDeleteLastWord, QsciCommand::DeleteWordLeft},
    {cmdUndo, QsciCommand::Undo},
    {cmdRedo, QsciCommand::Redo},
    {cmdLineBreak, QsciCommand::Newline},
    {cmdTab, QsciCommand::Tab},
    {cmdShiftTab, QsciCommand::Backtab},
}};

// Further commands Scintilla has as well.
constexpr std::array<TScintillaCommand, 4> MoreScintillaCommands{{
    {cmdSelectAll, QsciCommand::SelectAll},
    {cmdDeleteWord, QsciCommand::DeleteWordRight},
    {cmdDeleteLine, QsciCommand::LineDelete},
    {cmdDeleteEOL, QsciCommand::DeleteLineRight},
}};

// In column selection mode the selecting moves keep the block rectangular.
constexpr std::array<TScintillaCommand, 8> RectangleCommands{{
    {cmdSelUp, QsciCommand::LineUpRectExtend},
    {cmdSelDown, QsciCommand::LineDownRectExtend},
    {cmdSelLeft, QsciCommand::CharLeftRectExtend},
    {cmdSelRight, QsciCommand::CharRightRectExtend},
    {cmdSelLineStart, QsciCommand::HomeRectExtend},
    {cmdSelLineEnd, QsciCommand::LineEndRectExtend},
    {cmdSelPageUp, QsciCommand::PageUpRectExtend},
    {cmdSelPageDown, QsciCommand::PageDownRectExtend},
}};

template <size_t N>
int Lookup(const std::array<TScintillaCommand, N>& table, TZtEditorCommand command)
{
    for (const auto& entry : table)
        if (entry.Command == command) return entry.Scintilla;
    return 0;
}

} // namespace

std::span<const TZtKeyBinding> EditorKeyBindings()
{
    return Bindings;
}

int ScintillaCommandOf(TZtEditorCommand command)
{
    if (const int found = Lookup(ScintillaCommands, command)) return found;
    return Lookup(MoreScintillaCommands, command);
}

int RectangleCommandOf(TZtEditorCommand command)
{
    return Lookup(RectangleCommands, command);
}

bool IsSelectingMove(TZtEditorCommand command)
{
    switch (command) {
    case cmdSelUp:
    case cmdSelDown:
    case cmdSelLeft:
    case cmdSelRight:
    case cmdSelWordLeft:
    case cmdSelWordRight:
    case cmdSelPageUp:
    case cmdSelPageDown:
    case cmdSelPageTop:
    case cmdSelPageBottom:
    case cmdSelLineStart:
    case cmdSelLineEnd:
    case cmdSelEditorTop:
    case cmdSelEditorBottom:
        return true;
    default:
        return false;
    }
}

} // namespace quorvex
