// Compares modification times; a missing file is never up to date.

#include "ZtUpToDate.h"

#include "ZtFileStatus.h"

namespace quorvex {

std::int64_t ModificationTime(const std::string& name, std::int64_t missing)
{
    const TFileStatus status = StatusOf(name);
    return status.Found() ? status.ModifiedNs : missing;
}

bool HtmlIsUpToDate(std::int64_t documentTime, std::optional<std::int64_t> htmlTime, std::int64_t notBefore)
{
    return htmlTime && *htmlTime > documentTime && *htmlTime > notBefore;
}

} // namespace quorvex
