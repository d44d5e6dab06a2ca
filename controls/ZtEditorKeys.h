// Key bindings and the Scintilla side of the editor commands.
#pragma once

#include "ZtSourceEditor.h"

#include <span>

namespace quorvex {

std::span<const TZtKeyBinding> EditorKeyBindings();
// The QsciCommand::Command that carries out a command, or 0 for the
// editor's own commands.
int ScintillaCommandOf(TZtEditorCommand command);
// The rectangular variant of a selecting move, or 0 where Scintilla has none.
int RectangleCommandOf(TZtEditorCommand command);
bool IsSelectingMove(TZtEditorCommand command);

} // namespace quorvex
