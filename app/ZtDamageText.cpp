// German words for each part of the damage account.

#include "ZtDamageText.h"

#include <QStringList>

namespace quorvex {
namespace {

QString OfLines(std::int32_t count, std::int32_t lines)
{
    return QStringLiteral("%1 von %2 Zeilen").arg(count).arg(lines);
}

} // namespace

QString DamageText(const TZtDamageAccount& damage)
{
    QStringList parts;
    if (damage.LinesOutside > 0)
        parts << OfLines(damage.LinesOutside, damage.Lines) + QStringLiteral(" außerhalb der Datei");
    if (damage.LinesCut > 0)
        parts << OfLines(damage.LinesCut, damage.Lines) + QStringLiteral(" am Dateiende abgeschnitten");
    if (damage.BytesMissing > 0 && !parts.isEmpty())
        parts.last() += QStringLiteral(" (%1 Bytes fehlen)").arg(damage.BytesMissing);
    if (damage.SequencesCut > 0)
        parts << QStringLiteral("%1 Steuerfolgen abgeschnitten").arg(damage.SequencesCut);
    if (damage.EntriesMissing > 0)
        parts << QStringLiteral("Zeilentabelle am Dateiende abgeschnitten (%1 Einträge fehlen)")
                     .arg(damage.EntriesMissing);
    if (damage.TablesUnread > 0)
        parts << (damage.TablesUnread == 1
                ? QStringLiteral("1 Tabelle nicht als Tabelle lesbar")
                : QStringLiteral("%1 Tabellen nicht als Tabellen lesbar").arg(damage.TablesUnread));
    return parts.join(QStringLiteral("; "));
}

} // namespace quorvex
