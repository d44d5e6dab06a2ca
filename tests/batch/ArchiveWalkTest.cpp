// Walking an archive's folder tree for its documents.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "Fa4Builder.h"
#include "TestFiles.h"
#include "ZtArchiveWalk.h"

namespace quorvex::testing {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> Paths(const TZtArchiveWalk& walk)
{
    std::vector<fs::path> paths;
    for (const auto& document : walk.Documents) paths.push_back(document.Path);
    return paths;
}

class ArchiveWalk : public ::testing::Test {
protected:
    void TearDown() override { fs::remove_all(FTemp); }

    void Document(const fs::path& path) const
    {
        fs::create_directories(path.parent_path());
        TFa4Builder().Line("Text").WriteTo(path.string());
    }
    void Text(const fs::path& path) const
    {
        fs::create_directories(path.parent_path());
        WriteFileBytes(path.string(), "not a document\n");
    }

    const fs::path FTemp = MakeTempFolder("quorvex-walk");
    const fs::path FRoot = FTemp / "archive";
};

TEST_F(ArchiveWalk, FindsDocumentsInEveryFolderInPathOrder)
{
    Document(FRoot / "letters" / "1994" / "BRIEF.TXT");
    Document(FRoot / "letters" / "1995" / "BRIEF.TXT"); // the same name in another folder
    Document(FRoot / ".old" / "ALT");
    Document(FRoot / "A");
    Text(FRoot / "letters" / "readme.txt");
    Text(FRoot / "empty" / ".keep");
    ASSERT_EQ(::mkfifo((FRoot / "pipe").c_str(), 0600), 0);

    const TZtArchiveWalk walk = WalkArchive(FRoot);
    const std::vector<fs::path> expected = {FRoot / ".old" / "ALT", FRoot / "A",
        FRoot / "letters" / "1994" / "BRIEF.TXT", FRoot / "letters" / "1995" / "BRIEF.TXT"};
    EXPECT_EQ(Paths(walk), expected);
    EXPECT_EQ(walk.PassedOver, 3u);
    EXPECT_TRUE(walk.Unreadable.empty());
    EXPECT_GT(walk.Documents.front().Facts.LineCount, 0);

    // A run without an index reads only the heads, and tells the same files.
    const TZtArchiveWalk heads = WalkArchive(FRoot, std::nullopt, 2, nullptr, TZtWalkReads::isHeads);
    EXPECT_EQ(Paths(heads), expected);
    EXPECT_EQ(heads.PassedOver, 3u);
    EXPECT_EQ(heads.OtherFiles.size(), walk.OtherFiles.size());
    EXPECT_EQ(heads.Documents.front().Facts.Inode, walk.Documents.front().Facts.Inode);
    EXPECT_EQ(heads.Documents.front().Facts.LineCount, 0);
}

TEST_F(ArchiveWalk, LinksToFoldersAreNotFollowed)
{
    Document(FRoot / "sub" / "DOC");
    Document(FTemp / "outside" / "OUT");
    fs::create_directory_symlink("..", FRoot / "sub" / "loop");
    fs::create_directory_symlink(FTemp / "outside", FRoot / "away");
    fs::create_symlink(FRoot / "sub" / "DOC", FRoot / "DOC-LINK"); // a link to a file is that file

    const TZtArchiveWalk walk = WalkArchive(FRoot);
    const std::vector<fs::path> expected = {FRoot / "DOC-LINK", FRoot / "sub" / "DOC"};
    EXPECT_EQ(Paths(walk), expected);
    EXPECT_EQ(walk.PassedOver, 2u);
}

TEST_F(ArchiveWalk, OutputFolderInsideTheTreeIsLeftOut)
{
    Document(FRoot / "DOC");
    Document(FRoot / "site" / "DOC");
    const TZtArchiveWalk walk = WalkArchive(FRoot, FRoot / "." / "site");
    EXPECT_EQ(Paths(walk), std::vector<fs::path>{FRoot / "DOC"});
    EXPECT_EQ(walk.PassedOver, 0u);

    // Output into the tree's own top folder: only its cache is left out.
    Text(FRoot / ".fa4tohtml-cache");
    Text(FRoot / "sub" / ".fa4tohtml-cache");
    EXPECT_EQ(WalkArchive(FRoot, FRoot).PassedOver, 1u);
}

} // namespace
} // namespace quorvex::testing
