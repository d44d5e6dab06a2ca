// A run is refused before anything is written when a document would be
// written over by HTML or two documents would write one file; names are
// compared as the files they denote.

#include <gtest/gtest.h>

#include <filesystem>

#include "TestFiles.h"
#include "ZtOutputPlan.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;
using TConflicts = std::vector<std::string>;

// The conflicts of documents, each given with its HTML file.
TConflicts Conflicts(const std::vector<std::pair<std::string, std::string>>& pairs)
{
    std::vector<TZtBatchItem> items;
    for (const auto& [document, target] : pairs) {
        TZtBatchItem& item = items.emplace_back();
        item.Document = document;
        item.Target = target;
    }
    return OutputConflicts(items);
}

class OutputPlanTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Folder = testing::MakeTempFolder("quorvex-plan");
        fs::create_directory(Folder / "out");
        for (const char* name : {"a.fa4", "b.fa4"}) testing::WriteFileBytes(Path(name), "document");
    }
    void TearDown() override { fs::remove_all(Folder); }
    std::string Path(const std::string& name) const { return (Folder / name).string(); }

    fs::path Folder;
};

TEST_F(OutputPlanTest, NoDocumentIsWrittenOverByHtml)
{
    const std::string a = Path("a.fa4");
    const std::string b = Path("b.fa4");
    EXPECT_EQ(Conflicts({{a, a + ".html"}, {b, b + ".html"}}), TConflicts{});
    EXPECT_EQ(Conflicts({{a, a}}), TConflicts{"the HTML of " + a + " would overwrite the document " + a});
    // A document that another of the run writes before it is read, even
    // when it does not exist yet.
    EXPECT_EQ(Conflicts({{b, b + ".html"}, {b + ".html", b + ".html.html"}}),
        TConflicts{"the HTML of " + b + " would overwrite the document " + b + ".html"});
    // Through a symbolic link, and in another spelling.
    fs::create_symlink("a.fa4", Folder / "link.html");
    EXPECT_EQ(Conflicts({{a, Path("link.html")}}),
        TConflicts{
            "the HTML of " + a + " would overwrite the document " + a + " through " + Path("link.html")});
    EXPECT_EQ(Conflicts({{b, Path("out/../a.fa4")}, {a, Path("a.html")}}).size(), 1u);
}

TEST_F(OutputPlanTest, NoOutputIsWrittenTwice)
{
    const std::string a = Path("a.fa4");
    const std::string b = Path("b.fa4");
    const std::string out = Path("out/D.html");
    EXPECT_EQ(
        Conflicts({{a, out}, {b, out}}), TConflicts{a + " and " + b + " would both be written to " + out});
    // Other spellings of one file that does not exist yet: a detour, a
    // linked folder, a link to it.
    fs::create_directory_symlink("out", Folder / "alias");
    fs::create_symlink("out/D.html", Folder / "pointer.html");
    for (const std::string& other : {Path("out/../out/D.html"), Path("alias/D.html"), Path("pointer.html")})
        EXPECT_EQ(Conflicts({{a, out}, {b, other}}).size(), 1u) << other;
    EXPECT_EQ(Conflicts({{a, out}, {b, Path("out/E.html")}}), TConflicts{});
    // In folders that do not exist yet, as for a first run into an empty
    // output folder.
    const std::string fresh = Path("new/sub/D.html");
    EXPECT_EQ(Conflicts({{a, fresh}, {b, Path("new/x/../sub/D.html")}}).size(), 1u);
    EXPECT_EQ(Conflicts({{a, fresh}, {b, Path("new/sub/E.html")}, {b, Path("new/x/D.html")}}), TConflicts{});
    // Standard input twice goes to standard output twice.
    EXPECT_EQ(
        Conflicts({{"-", "-"}, {"-", "-"}}), TConflicts{"- and - would both be written to standard output"});
}

} // namespace
} // namespace quorvex
