#pragma once
// Runs the documents of a batch on several threads and hands their outcomes
// back in document order, so what a batch prints does not depend on timing.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace quorvex {

// The outcome of one document: nothing when it converted, else the message.
using TZtOutcome = std::optional<std::string>;

// Calls `convert` once for each of `count` documents, on up to `jobs`
// threads; no two documents of a batch write the same file. `convert` must not throw. `finished` is called for document 0, 1,
// 2 ... in order, one call at a time, as soon as that document and every
// document before it are done.
void RunBatch(std::size_t count, unsigned jobs, const std::function<TZtOutcome(std::size_t)>& convert,
    const std::function<void(std::size_t, const TZtOutcome&)>& finished);

// Calls `work` for ranges [begin, end) that together cover the `count` items
// once, on up to `jobs` threads, `perTask` items at a time so that handing
// them out costs little. `work` must not throw.
void ForEachRangeInParallel(std::size_t count, unsigned jobs, std::size_t perTask,
    const std::function<void(std::size_t begin, std::size_t end)>& work);

} // namespace quorvex
