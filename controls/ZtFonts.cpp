// Finding an installed family for each font the controls ask for.

#include "ZtFonts.h"

#include <QFontDatabase>
#include <QFontInfo>

namespace quorvex {

namespace {

// Families tried in order; the first installed one wins. The fallback hint
// lets fontconfig choose when none of them is there.
QFont FirstInstalled(std::initializer_list<const char*> families, QFont::StyleHint hint)
{
    for (const char* family : families) {
        if (QFontDatabase::hasFamily(QString::fromLatin1(family))) {
            QFont font(QString::fromLatin1(family));
            font.setStyleHint(hint);
            return font;
        }
    }
    QFont font(QString::fromLatin1(*families.begin()));
    font.setStyleHint(hint);
    if (hint == QFont::TypeWriter) font.setFixedPitch(true);
    return font;
}

QFont Fixed()
{
    return FirstInstalled(
        {"Courier New", "Liberation Mono", "Nimbus Mono PS", "DejaVu Sans Mono"}, QFont::TypeWriter);
}

// Box lines and the faces and arrows of the DOS screen need a font that has
// them; DejaVu Sans Mono does.
QFont Terminal()
{
    return FirstInstalled(
        {"Terminal", "DejaVu Sans Mono", "Noto Sans Mono", "Liberation Mono"}, QFont::TypeWriter);
}

} // namespace

QFont EditorFont()
{
    QFont font = Fixed();
    font.setPointSize(9);
    return font;
}

QFont GutterFont()
{
    QFont font = Terminal();
    font.setPointSize(8);
    return font;
}

QFont ListFont()
{
    QFont font = Terminal();
    font.setPixelSize(12);
    return font;
}

QFont SerifFont()
{
    return FirstInstalled(
        {"Times New Roman", "Liberation Serif", "Nimbus Roman", "DejaVu Serif"}, QFont::Serif);
}

QFont FixedFont()
{
    return Fixed();
}

} // namespace quorvex
