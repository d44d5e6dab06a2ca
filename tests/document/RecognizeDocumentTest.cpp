// Telling documents from other files by their head and leading line entries.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <random>

#include "ExampleDocuments.h"
#include "Fa4Builder.h"
#include "TestFiles.h"
#include "ZtRecognizeDocument.h"

namespace quorvex::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t TableEnd = 38 + 11 * 10000;

class RecognizeDocument : public ::testing::Test {
protected:
    void TearDown() override { fs::remove_all(FDir); }
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        const std::string path = (FDir / name).string();
        WriteFileBytes(path, bytes);
        return path;
    }
    const fs::path FDir = MakeTempFolder("quorvex-recognize");
};

bool Looks(const std::string& bytes)
{
    return LooksLikeFa4Head(bytes, bytes.size());
}

TEST_F(RecognizeDocument, SamplesAndBuiltDocumentsAreDocuments)
{
    int samples = 0;
    for (const auto& entry : fs::directory_iterator(QUORVEX_EXAMPLES_DIR)) {
        if (entry.path().extension() != ".fa4") continue;
        EXPECT_TRUE(LooksLikeFa4Document(entry.path().string())) << entry;
        ++samples;
    }
    EXPECT_GE(samples, 3);
    // Fewer lines than the fixed sections; the last text ends at the file's end.
    EXPECT_TRUE(LooksLikeFa4Document(Write("short", TFa4Builder().Line("a").Line("bc").Bytes())));
}

TEST_F(RecognizeDocument, TruncatedDocumentsAreNot)
{
    const std::string whole = TFa4Builder().EmptyParagraphs(10).Bytes();
    EXPECT_FALSE(LooksLikeFa4Document(Write("cut-in-texts", whole.substr(0, whole.size() - 1))));
    EXPECT_FALSE(LooksLikeFa4Document(Write("cut-in-table", whole.substr(0, TableEnd - 1))));
    EXPECT_FALSE(LooksLikeFa4Document(Write("empty", "")));

    // Exactly a head and a table, the one line inside the table itself.
    std::string bare(TableEnd, '\0');
    PutEntry(bare, 0, 5, 0);
    EXPECT_TRUE(Looks(bare));
    EXPECT_FALSE(Looks(bare.substr(0, TableEnd - 1)));
}

TEST_F(RecognizeDocument, OnlyTheCountedLeadingEntriesAreChecked)
{
    std::string file = TFa4Builder().EmptyParagraphs(30).Bytes();
    PutEntry(file, 12, 2, static_cast<std::uint32_t>(file.size())); // past the end, not checked
    EXPECT_TRUE(Looks(file));
    PutEntry(file, 11, 2, static_cast<std::uint32_t>(file.size() - 38 - 1)); // one byte past the end
    EXPECT_FALSE(Looks(file));

    std::string shortCount = TFa4Builder().EmptyParagraphs(30).Bytes();
    PutEntry(shortCount, 3, 0, 0); // the line count ends at 3
    PutEntry(shortCount, 4, 9, 0xFFFFFFFF);
    EXPECT_TRUE(Looks(shortCount));
    PutEntry(shortCount, 0, 0, 0);
    EXPECT_FALSE(Looks(shortCount));
}

TEST_F(RecognizeDocument, TextAndRandomBytesAreNot)
{
    std::string text;
    while (text.size() < 2 * TableEnd) text += "Sehr geehrte Damen und Herren, anbei der Bericht.\r\n";
    EXPECT_FALSE(LooksLikeFa4Document(Write("letter.txt", text)));

    std::mt19937 random(11);
    for (int i = 0; i < 200; ++i) {
        std::string bytes(TableEnd + random() % 50000, '\0');
        for (char& c : bytes) c = static_cast<char>(random());
        EXPECT_FALSE(Looks(bytes)) << "seed 11, file " << i;
    }
}

TEST_F(RecognizeDocument, FoldersAndPipesAreNotReadAsDocuments)
{
    EXPECT_FALSE(LooksLikeFa4Document(FDir.string()));
    const std::string pipe = (FDir / "pipe").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(LooksLikeFa4Document(pipe)); // returns instead of waiting for a writer
    EXPECT_FALSE(LooksLikeFa4Document((FDir / "missing").string()));
}

} // namespace
} // namespace quorvex::testing
