// The fonts the controls ask for, resolved to the nearest installed family
// where the Windows originals ("Courier New", "Terminal", "Times New Roman")
// are missing.
#pragma once

#include <QFont>

namespace quorvex {

QFont EditorFont(); // "Courier New" 9 pt
QFont GutterFont(); // "Terminal" 8 pt
QFont ListFont(); // "Terminal" 12 px, with the DOS line and face glyphs
QFont SerifFont(); // "Times New Roman"
QFont FixedFont(); // "Courier New" at the default size

} // namespace quorvex
