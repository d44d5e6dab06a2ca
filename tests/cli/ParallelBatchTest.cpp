// A batch on several threads: groups that write one file, document order
// of outcomes, and what it reports.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>

#include "ZtBatchReport.h"
#include "ZtParallelBatch.h"

namespace quorvex {
namespace {

TEST(RunBatch, OutcomesArriveInDocumentOrderWhateverFinishesFirst)
{
    constexpr std::size_t count = 12;
    std::mutex mutex;
    std::vector<std::size_t> converted;
    std::vector<std::size_t> reported;
    RunBatch(
        count, 4,
        [&](std::size_t i) -> TZtOutcome {
            // Early documents take longest, so later ones finish first.
            std::this_thread::sleep_for(std::chrono::milliseconds(2 * (count - i)));
            const std::lock_guard lock(mutex);
            converted.push_back(i);
            if (i % 3 == 1) return "failed " + std::to_string(i);
            return std::nullopt;
        },
        [&](std::size_t i, const TZtOutcome& outcome) {
            reported.push_back(i);
            EXPECT_EQ(outcome.has_value(), i % 3 == 1);
            if (outcome) {
                EXPECT_EQ(*outcome, "failed " + std::to_string(i));
            }
        });
    std::vector<std::size_t> all(count);
    for (std::size_t i = 0; i < count; ++i) all[i] = i;
    EXPECT_EQ(reported, all);
    std::sort(converted.begin(), converted.end());
    EXPECT_EQ(converted, all);
}

std::string Captured(std::FILE* stream)
{
    std::fflush(stream);
    std::rewind(stream);
    std::string text;
    for (int c; (c = std::fgetc(stream)) != EOF;) text += static_cast<char>(c);
    return text;
}

TEST(BatchReport, ErrorLinesAndProgressOnlyForLongerBatches)
{
    std::FILE* shortBatch = std::tmpfile();
    ASSERT_NE(shortBatch, nullptr);
    {
        TZtBatchReport report(shortBatch, 3, true);
        report.Finished("a.fa4", std::nullopt);
        report.Finished("b.fa4", "Cannot open file b.fa4");
        EXPECT_TRUE(report.AnyFailed());
    }
    EXPECT_EQ(Captured(shortBatch), "fa4tohtml: b.fa4: Cannot open file b.fa4\n");
    std::fclose(shortBatch);

    std::FILE* longBatch = std::tmpfile();
    ASSERT_NE(longBatch, nullptr);
    {
        TZtBatchReport report(longBatch, 4, true);
        report.Finished("a.fa4", std::nullopt);
        report.Finished("b.fa4", "broken");
        EXPECT_TRUE(report.AnyFailed());
    }
    const std::string text = Captured(longBatch);
    std::fclose(longBatch);
    EXPECT_NE(text.find("fa4tohtml: 1 of 4 documents"), std::string::npos) << text;
    EXPECT_NE(text.find("\x1b[Kfa4tohtml: b.fa4: broken\n"), std::string::npos) << text;
    EXPECT_NE(text.find("fa4tohtml: 2 of 4 documents, 1 failed"), std::string::npos) << text;
    // The progress line is erased when the batch ends.
    EXPECT_EQ(text.substr(text.size() - 4), "\r\x1b[K");

    std::FILE* quiet = std::tmpfile();
    ASSERT_NE(quiet, nullptr);
    {
        TZtBatchReport report(quiet, 10, false);
        report.Finished("a.fa4", std::nullopt);
        EXPECT_FALSE(report.AnyFailed());
    }
    EXPECT_EQ(Captured(quiet), "");
    std::fclose(quiet);
}

} // namespace
} // namespace quorvex
