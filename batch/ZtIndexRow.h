#pragma once
// What the index shows of one document, from what was read of it.

#include <optional>
#include <string>

#include "ZtArchiveIndex.h"
#include "ZtDocumentFacts.h"

namespace quorvex {

// Size and date of every document whose facts could be read; title, lines,
// beginning and damage only of one that was converted (no `failure`).
TZtIndexRow IndexRowOf(
    std::string path, std::optional<std::string> failure, std::optional<TZtDocumentFacts> facts);

} // namespace quorvex
