// Texts set aside during a run come back whole, whichever thread set them
// aside and wherever they were kept, and leave no file behind.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>

#include "TestFiles.h"
#include "ZtRunTexts.h"

namespace quorvex::testing {
namespace {

namespace fs = std::filesystem;

std::string TextOf(std::size_t item)
{
    return std::string(item * 37 % 5000, static_cast<char>('a' + item % 26)) + std::to_string(item);
}

void SetAsideFromTwoThreads(TZtRunTexts& texts, std::size_t items)
{
    const auto setAside = [&](std::size_t first) {
        for (std::size_t i = first; i < items; i += 2) {
            std::string text = i % 10 == 3 ? std::string() : TextOf(i);
            texts.SetAside(i, text);
            EXPECT_TRUE(text.empty());
        }
    };
    std::thread other(setAside, 1);
    setAside(0);
    other.join();
}

TEST(RunTexts, ComeBackWholeFromTheScratchFileOrFromMemory)
{
    const fs::path folder = MakeTempFolder("run-texts");
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    // The first pass goes through the scratch file, not the fallback.
    EXPECT_NO_THROW(TZtScratchFile{fd});
    for (const int where : {fd, -1}) {
        constexpr std::size_t Items = 300;
        TZtRunTexts texts(Items, where);
        SetAsideFromTwoThreads(texts, Items);
        EXPECT_TRUE(fs::is_empty(folder)); // the scratch file has no name
        for (std::size_t i = Items; i-- > 0;)
            EXPECT_EQ(texts.Take(i), i % 10 == 3 ? std::string() : TextOf(i)) << where << ' ' << i;
    }
    ::close(fd);
    EXPECT_TRUE(fs::is_empty(folder));
    fs::remove_all(folder);
}

} // namespace
} // namespace quorvex::testing
