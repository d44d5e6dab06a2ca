// A run is refused before anything is written when a document would be
// written over by HTML or two documents would write one file; names are
// compared as the files they denote.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "TestFiles.h"
#include "ZtOutputPlan.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;
using TConflicts = std::vector<std::string>;

std::vector<TZtBatchItem> Items(const std::vector<std::pair<std::string, std::string>>& pairs)
{
    std::vector<TZtBatchItem> items;
    for (const auto& [document, target] : pairs) {
        TZtBatchItem& item = items.emplace_back();
        item.Document = document;
        item.Target = target;
    }
    return items;
}

// The conflicts of documents, each given with its HTML file.
TConflicts Conflicts(const std::vector<std::pair<std::string, std::string>>& pairs)
{
    return OutputConflicts(Items(pairs));
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

TEST_F(OutputPlanTest, NamesDifferingOnlyInCaseAreOneFileWhereTheFolderFoldsCase)
{
    const std::string a = Path("a.fa4");
    const std::string b = Path("b.fa4");
    const std::string c = Path("c.fa4");
    const auto items = Items({{a, Path("out/BRIEF.html")}, {b, Path("out/brief.html")},
        {c, Path("out/Brief.html")}, {a, Path("out/Sub/x.html")}, {b, Path("out/sub/x.html")}});
    std::vector<std::string> asked;
    const auto folds = [&](const std::string& folder) {
        asked.push_back(folder);
        return true;
    };
    const std::string oneFile = " would both be written to one file: ";
    const std::string why = " differ only in case, which their folder's file system does not tell apart";
    EXPECT_EQ(OutputConflicts(items, {{Path("out/INDEX.html"), "the index"}}, folds),
        (TConflicts{
            a + " and " + b + oneFile + Path("out/BRIEF.html") + " and " + Path("out/brief.html") + why,
            a + " and " + c + oneFile + Path("out/BRIEF.html") + " and " + Path("out/Brief.html") + why,
            a + " and " + b + oneFile + Path("out/Sub/x.html") + " and " + Path("out/sub/x.html") + why}));
    // Asked once, of the folder where the spellings part; the index's name
    // has no twin.
    EXPECT_EQ(asked, std::vector<std::string>{Path("out")});

    asked.clear();
    EXPECT_EQ(OutputConflicts(items, {}, [](const std::string&) { return false; }), TConflicts{});
    // This folder's file system tells case apart; a folder still to be made
    // is probed in the folder above it.
    EXPECT_EQ(OutputConflicts(items), TConflicts{});
    // The probe leaves its trace in the folder's time only.
    const auto longAgo = fs::file_time_type::clock::now() - std::chrono::hours(24);
    for (const std::string folder : {"out", "out/new/deeper"}) {
        fs::last_write_time(Folder / "out", longAgo);
        EXPECT_FALSE(FolderFoldsCase(Path(folder)));
        EXPECT_NE(fs::last_write_time(Folder / "out"), longAgo) << folder << " was not probed";
    }
    EXPECT_TRUE(fs::is_empty(Folder / "out"));
}

} // namespace
} // namespace quorvex
