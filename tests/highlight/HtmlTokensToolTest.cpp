// The htmltokens dump: its exact output format and its failure exit.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct TRun {
    int Status;
    std::string Output;
};

TRun RunTool(const std::string& argument)
{
    const std::string command = std::string("'") + HTMLTOKENS_PATH + "' '" + argument + "' 2>/dev/null";
    TRun run{-1, {}};
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.Output.append(buffer, got);
    const int status = pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class HtmlTokensTool : public testing::Test {
protected:
    std::filesystem::path FilePath = std::filesystem::temp_directory_path() /
        ("htmltokens-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + ".txt");

    void TearDown() override { std::filesystem::remove(FilePath); }

    TRun RunOn(std::string_view bytes)
    {
        std::ofstream(FilePath, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return RunTool(FilePath.string());
    }
};

TEST_F(HtmlTokensTool, TokensStatesAndLineSplitting)
{
    const TRun run = RunOn(std::string("<b x=\"1\r\n<!-- c\n\n--> &lt;\0z\n", 28));
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Output,
        "L0\t0\t8\t3c\n"
        "L0\t1\t4\t62\n"
        "L0\t2\t6\t20\n"
        "L0\t3\t3\t78\n"
        "L0\t4\t8\t3d\n"
        "L0\t5\t11\t2231\n"
        "L0\t7\t6\t0d\n"
        "L0\t8\t5\t\n"
        "E0\thsAttributes\n"
        "L1\t0\t2\t3c212d2d\n"
        "L1\t4\t2\t2063\n"
        "L1\t6\t5\t\n"
        "E1\thsComment\n"
        "L2\t0\t5\t\n"
        "E2\thsComment\n"
        "L3\t0\t2\t2d2d3e\n"
        "L3\t3\t9\t20\n"
        "L3\t4\t0\t266c743b\n"
        "L3\t8\t5\t\n"
        "E3\thsText\n");
}

TEST_F(HtmlTokensTool, LastLineWithoutLineFeed)
{
    const TRun run = RunOn("a\n\xff");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Output, "L0\t0\t9\t61\nL0\t1\t5\t\nE0\thsText\nL1\t0\t9\tff\nL1\t1\t5\t\nE1\thsText\n");
}

TEST_F(HtmlTokensTool, EmptyFileIsOneEmptyLine)
{
    const TRun run = RunOn("");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Output, "L0\t0\t5\t\nE0\thsText\n");
}

TEST_F(HtmlTokensTool, UnreadableFileFails)
{
    const TRun run = RunTool((FilePath.parent_path() / "htmltokens-no-such-file").string());
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Output, "");
    EXPECT_EQ(RunTool(FilePath.parent_path().string()).Status, 1);
}

} // namespace
