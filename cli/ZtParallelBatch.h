#pragma once
// Runs the documents of a batch on several threads and hands their outcomes
// back in document order, so what a batch prints does not depend on timing.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quorvex {

// The outcome of one document: nothing when it converted, else the message.
using TZtOutcome = std::optional<std::string>;

// Indexes of the documents that write the same file, in document order. They
// are converted one after another by one thread, so the last one wins as it
// would without parallel work.
std::vector<std::vector<std::size_t>> GroupByTarget(const std::vector<std::string>& targets);

// True when a document of the batch would be written over by the HTML of
// another (a batch naming both X and X.html); such a batch runs on one thread,
// in document order, so every run does the same.
bool WritesOverAnInput(const std::vector<std::string>& documents, const std::vector<std::string>& targets);

// Calls `convert` once for every document of every group, on up to `jobs`
// threads; `convert` must not throw. `finished` is called for document 0, 1,
// 2 ... in order, one call at a time, as soon as that document and every
// document before it are done.
void RunBatch(const std::vector<std::vector<std::size_t>>& groups, unsigned jobs,
    const std::function<TZtOutcome(std::size_t)>& convert,
    const std::function<void(std::size_t, const TZtOutcome&)>& finished);

} // namespace quorvex
