// The answers to `quorvex --help` and `quorvex --version`, given before any
// window or display is needed.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorvex {

// Prints the usage or the version when that is the one argument, and gives
// the exit code; nothing otherwise. A document named like an option can be
// opened as "./--help".
std::optional<int> AnswerUsageRequest(const std::vector<std::string>& arguments);

} // namespace quorvex
