// Text split into lines and joined again, and files of such text.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "ZtErrors.h"
#include "ZtTextLines.h"

namespace quorvex {
namespace {

using TLines = std::vector<std::string>;
using namespace std::string_literals;

void ExpectSplit(const std::string& bytes, const TLines& lines, TLineBreak style)
{
    const TTextLines text = SplitTextLines(bytes);
    EXPECT_EQ(text.Lines, lines);
    EXPECT_EQ(text.Break, style);
}

TEST(SplitTextLines, EachBreakStyleIsRecognisedAndRemembered)
{
    ExpectSplit("a\r\nb\r\n", {"a", "b"}, TLineBreak::CrLf);
    ExpectSplit("a\rb\r", {"a", "b"}, TLineBreak::Cr);
    ExpectSplit("a\nb\n", {"a", "b"}, TLineBreak::Lf);
    ExpectSplit("a\nb", {"a", "b"}, TLineBreak::Lf);
}

TEST(SplitTextLines, MixedBreaksAndNoBreaksGiveCrLf)
{
    ExpectSplit("a\rb\nc", {"a", "b", "c"}, TLineBreak::CrLf);
    ExpectSplit("a\r\nb\rc", {"a", "b", "c"}, TLineBreak::CrLf);
    ExpectSplit("a\r\nb\nc", {"a", "b", "c"}, TLineBreak::CrLf);
    ExpectSplit("only", {"only"}, TLineBreak::CrLf);
    // A CR followed by a CR LF is an empty line, then the break after it.
    ExpectSplit("\r\r\n", {"", ""}, TLineBreak::CrLf);
}

TEST(SplitTextLines, NulEndsALineAndIsSkippedRightAfterABreak)
{
    ExpectSplit("a\0b"s, {"a", "b"}, TLineBreak::CrLf);
    ExpectSplit("a\r\n\0b"s, {"a", "b"}, TLineBreak::CrLf);
    ExpectSplit("a\r\0b"s, {"a", "b"}, TLineBreak::Cr);
    ExpectSplit("a\n\0\nb"s, {"a", "", "b"}, TLineBreak::Lf);
    // Only the one NUL after a break is passed over; the next ends a line.
    ExpectSplit("a\0\0b"s, {"a", "b"}, TLineBreak::CrLf);
    ExpectSplit("a\0\0\0b"s, {"a", "", "b"}, TLineBreak::CrLf);
    ExpectSplit("a\n\0"s, {"a"}, TLineBreak::Lf);
}

TEST(SplitTextLines, BreaksAtTheEndAndEmptyText)
{
    ExpectSplit("", {}, TLineBreak::CrLf);
    ExpectSplit("a\n", {"a"}, TLineBreak::Lf);
    ExpectSplit("a\n\n", {"a", ""}, TLineBreak::Lf);
    ExpectSplit("\r", {""}, TLineBreak::Cr);
    ExpectSplit("a\r", {"a"}, TLineBreak::Cr);
    ExpectSplit("\0"s, {""}, TLineBreak::CrLf);
}

TEST(SplitTextLines, EightBitBytesStayAsTheyAre)
{
    const std::string line = "\x84\x94\x81\xE1\xFF\x7F\x1A";
    ExpectSplit(line + "\r\n" + line, {line, line}, TLineBreak::CrLf);
}

TEST(JoinTextLines, EveryLineEndsWithTheBreak)
{
    EXPECT_EQ(JoinTextLines({"a", "", "b"}, TLineBreak::CrLf), "a\r\n\r\nb\r\n");
    EXPECT_EQ(JoinTextLines({"a", "b"}, TLineBreak::Cr), "a\rb\r");
    EXPECT_EQ(JoinTextLines({"a", "b"}, TLineBreak::Lf), "a\nb\n");
    EXPECT_EQ(JoinTextLines({}, TLineBreak::CrLf), "");
}

TEST(JoinTextLines, RoundTripInEachStyle)
{
    const std::vector<TLines> samples = {{"<head>", "  body {}", "</head>"}, {""}, {"a", "", ""}, {"x\x84y"}};
    for (const TLineBreak style : {TLineBreak::CrLf, TLineBreak::Cr, TLineBreak::Lf}) {
        for (const auto& lines : samples) {
            const TTextLines text = SplitTextLines(JoinTextLines(lines, style));
            EXPECT_EQ(text.Lines, lines);
            EXPECT_EQ(text.Break, style);
        }
    }
}

class TextLinesFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        FDir = std::filesystem::temp_directory_path() /
            ("quorvex-textlines-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(FDir);
        std::filesystem::create_directories(FDir);
    }
    void TearDown() override { std::filesystem::remove_all(FDir); }

    std::string Path(const std::string& name) const { return (FDir / name).string(); }

    static std::string ReadBytes(const std::string& fileName) { return testing::ReadFileBytes(fileName); }

    std::filesystem::path FDir;
};

TEST_F(TextLinesFile, WrittenBackInTheStyleItWasReadIn)
{
    const std::string name = Path("prefs.html");
    {
        std::ofstream out(name, std::ios::binary);
        out << "<head>\n<style>\n</head>";
    }
    const TTextLines text = ReadTextLinesFile(name);
    EXPECT_EQ(text.Lines, (TLines{"<head>", "<style>", "</head>"}));
    WriteTextLinesFile(name, text);
    EXPECT_EQ(ReadBytes(name), "<head>\n<style>\n</head>\n");
}

TEST_F(TextLinesFile, WritingReplacesALongerFileAndNoLinesGiveAnEmptyFile)
{
    const std::string name = Path("prefs.html");
    WriteTextLinesFile(name, {{"a", "b", "c", "d"}, TLineBreak::CrLf});
    WriteTextLinesFile(name, {{"x"}, TLineBreak::Cr});
    EXPECT_EQ(ReadBytes(name), "x\r");
    WriteTextLinesFile(name, {});
    EXPECT_EQ(ReadBytes(name), "");
    EXPECT_TRUE(ReadTextLinesFile(name).Lines.empty());
}

TEST_F(TextLinesFile, FailuresNameTheFile)
{
    const std::string missing = Path("missing.html");
    try {
        ReadTextLinesFile(missing);
        ADD_FAILURE() << "no error";
    } catch (const EZtError& error) {
        EXPECT_EQ(error.what(), FormatFileMessage("Cannot open file %s", missing, ENOENT));
    }
    const std::string unwritable = Path("no-such-folder/prefs.html");
    try {
        WriteTextLinesFile(unwritable, {{"a"}, TLineBreak::CrLf});
        ADD_FAILURE() << "no error";
    } catch (const EZtError& error) {
        EXPECT_EQ(error.what(), FormatFileMessage("Cannot create file %s", unwritable, ENOENT));
    }
}

} // namespace
} // namespace quorvex
