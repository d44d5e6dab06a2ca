// Documents converted on several threads, their outcomes passed on in
// document order.

#include "ZtParallelBatch.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

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

} // namespace

void RunBatch(std::size_t count, unsigned jobs, const std::function<TZtOutcome(std::size_t)>& convert,
    const std::function<void(std::size_t, const TZtOutcome&)>& finished)
{
    TOrderedOutcomes outcomes(count, finished);
    std::atomic<std::size_t> next = 0;
    const auto work = [&] {
        for (std::size_t i = next++; i < count; i = next++) outcomes.Deliver(i, convert(i));
    };

    const std::size_t threadCount = std::min<std::size_t>(std::max(jobs, 1u), count);
    if (threadCount <= 1) {
        work();
        return;
    }
    std::vector<std::jthread> threads;
    threads.reserve(threadCount - 1);
    for (std::size_t t = 1; t < threadCount; ++t) threads.emplace_back(work);
    work();
}

void ForEachRangeInParallel(std::size_t count, unsigned jobs, std::size_t perTask,
    const std::function<void(std::size_t begin, std::size_t end)>& work)
{
    perTask = std::max<std::size_t>(perTask, 1);
    RunBatch((count + perTask - 1) / perTask, jobs,
        [&](std::size_t task) {
            work(task * perTask, std::min(count, (task + 1) * perTask));
            return TZtOutcome();
        },
        [](std::size_t, const TZtOutcome&) {});
}

} // namespace quorvex
