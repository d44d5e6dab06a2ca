// The installed stand-in for "MS Sans Serif", the font of the window's own
// texts (the controls choose theirs).
#pragma once

#include <QFont>

namespace quorvex {

QFont WindowFont(int pixelSize);

} // namespace quorvex
