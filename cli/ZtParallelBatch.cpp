#include "ZtParallelBatch.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <thread>

namespace quorvex {
namespace {

// Collects outcomes as threads deliver them and passes on the longest
// finished prefix in document order.
class TOrderedOutcomes {
public:
    TOrderedOutcomes(std::size_t count, const std::function<void(std::size_t, const TZtOutcome&)>& finished)
        : FOutcomes(count)
        , FDone(count, false)
        , FFinished(finished)
    { }

    void Deliver(std::size_t index, TZtOutcome outcome)
    {
        const std::lock_guard lock(FMutex);
        FOutcomes[index] = std::move(outcome);
        FDone[index] = true;
        while (FNext < FDone.size() && FDone[FNext]) {
            FFinished(FNext, FOutcomes[FNext]);
            FOutcomes[FNext].reset();
            ++FNext;
        }
    }

private:
    std::mutex FMutex;
    std::vector<TZtOutcome> FOutcomes;
    std::vector<bool> FDone;
    std::size_t FNext = 0;
    const std::function<void(std::size_t, const TZtOutcome&)>& FFinished;
};

// One spelling for every way of naming the same file ("x.html", "./x.html").
std::string TargetKey(const std::string& target)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(target, error);
    return error ? target : absolute.lexically_normal().string();
}

std::size_t DocumentCount(const std::vector<std::vector<std::size_t>>& groups)
{
    std::size_t count = 0;
    for (const auto& group : groups) count += group.size();
    return count;
}

} // namespace

std::vector<std::vector<std::size_t>> GroupByTarget(const std::vector<std::string>& targets)
{
    std::vector<std::vector<std::size_t>> groups;
    std::map<std::string, std::size_t> groupOfTarget;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const auto [it, added] = groupOfTarget.try_emplace(TargetKey(targets[i]), groups.size());
        if (added) groups.emplace_back();
        groups[it->second].push_back(i);
    }
    return groups;
}

bool WritesOverAnInput(const std::vector<std::string>& documents, const std::vector<std::string>& targets)
{
    std::set<std::string> inputs;
    for (const auto& document : documents) inputs.insert(TargetKey(document));
    return std::any_of(targets.begin(), targets.end(),
        [&](const std::string& target) { return inputs.count(TargetKey(target)) > 0; });
}

void RunBatch(const std::vector<std::vector<std::size_t>>& groups, unsigned jobs,
    const std::function<TZtOutcome(std::size_t)>& convert,
    const std::function<void(std::size_t, const TZtOutcome&)>& finished)
{
    TOrderedOutcomes outcomes(DocumentCount(groups), finished);
    std::atomic<std::size_t> nextGroup = 0;
    const auto work = [&] {
        for (std::size_t g = nextGroup++; g < groups.size(); g = nextGroup++)
            for (const std::size_t index : groups[g]) outcomes.Deliver(index, convert(index));
    };

    const std::size_t threadCount = std::min<std::size_t>(std::max(jobs, 1u), groups.size());
    if (threadCount <= 1) {
        work();
        return;
    }
    std::vector<std::jthread> threads;
    threads.reserve(threadCount - 1);
    for (std::size_t t = 1; t < threadCount; ++t) threads.emplace_back(work);
    work();
}

} // namespace quorvex
