// The damage account in words.

#include "ZtDamageAccount.h"

namespace quorvex {
namespace {

std::string Count(std::int64_t count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

void AddPart(std::string& text, const std::string& part)
{
    if (!text.empty()) text += "; ";
    text += part;
}

std::string OfLines(std::int32_t count, std::int32_t lines)
{
    return std::to_string(count) + " of " + Count(lines, "line", "lines");
}

} // namespace

std::string DescribeDamage(const TZtDamageAccount& damage)
{
    std::string text;
    if (damage.LinesOutside > 0)
        AddPart(text, OfLines(damage.LinesOutside, damage.Lines) + " outside the file");
    if (damage.LinesCut > 0)
        AddPart(text, OfLines(damage.LinesCut, damage.Lines) + " cut at the end of the file");
    if (damage.BytesMissing > 0)
        text += " (" + Count(static_cast<std::int64_t>(damage.BytesMissing), "byte", "bytes") + " missing)";
    if (damage.SequencesCut > 0)
        AddPart(text, Count(damage.SequencesCut, "control sequence", "control sequences") + " cut off");
    if (damage.EntriesMissing > 0)
        AddPart(text,
            "line table cut at the end of the file (" + Count(damage.EntriesMissing, "entry", "entries") +
                " missing)");
    if (damage.TablesUnread > 0)
        AddPart(text,
            damage.TablesUnread == 1
                ? std::string("1 table could not be read as a table")
                : std::to_string(damage.TablesUnread) + " tables could not be read as tables");
    return text;
}

} // namespace quorvex
