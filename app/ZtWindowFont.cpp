// The font of the window's own texts, resolved to an installed family.

#include "ZtWindowFont.h"

namespace quorvex {

QFont WindowFont(int pixelSize)
{
    // A generic family that fontconfig resolves to the installed sans-serif.
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace quorvex
