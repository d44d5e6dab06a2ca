#pragma once
// The damage account as the window's German status line tells it.

#include <QString>

#include "ZtDamageAccount.h"

namespace quorvex {

// "14 von 27 Zeilen am Dateiende abgeschnitten (5120 Bytes fehlen)", parts
// joined by "; "; empty for an intact document.
QString DamageText(const TZtDamageAccount& damage);

} // namespace quorvex
