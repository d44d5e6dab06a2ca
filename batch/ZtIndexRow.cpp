// An index row from a document's facts.

#include "ZtIndexRow.h"

namespace quorvex {

TZtIndexRow IndexRowOf(
    std::string path, std::optional<std::string> failure, std::optional<TZtDocumentFacts> facts)
{
    TZtIndexRow row;
    row.Path = std::move(path);
    row.Failure = std::move(failure);
    if (!facts) return row;
    row.Size = facts->Size;
    row.Modified = facts->Modified;
    if (row.Failure) return row;
    row.Lines = facts->LineCount;
    row.Title = std::move(facts->Title);
    row.Excerpt = std::move(facts->Excerpt);
    row.Damage = DescribeDamage(facts->Damage);
    return row;
}

} // namespace quorvex
