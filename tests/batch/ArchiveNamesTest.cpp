// The entries of a zip of an archive stay inside the folder it is unpacked
// into and are distinct wherever case is ignored; the index keeps its name.

#include <gtest/gtest.h>

#include "ZtArchiveNames.h"

namespace quorvex {
namespace {

using TNames = std::vector<std::string>;

TNames EntriesOf(const TNames& paths)
{
    TNames entries;
    for (const auto& entry : PlanArchiveEntries(paths).Entries) {
        EXPECT_EQ(entry.Entry, entry.IndexPath + ".html");
        entries.push_back(entry.Entry);
    }
    return entries;
}

TEST(ArchiveNames, EntriesStayInsideTheFolder)
{
    EXPECT_EQ(EntriesOf({"brief.fa4", "sub/deeper/notiz.fa4"}),
        (TNames{"brief.fa4.html", "sub/deeper/notiz.fa4.html"}));
    EXPECT_EQ(EntriesOf({"../../../evil.fa4", "/abs.fa4", "C:/Windows/x.fa4", "D:y.fa4", "a/./../b.fa4"}),
        (TNames{"evil.fa4.html", "abs.fa4.html", "Windows/x.fa4.html", "y.fa4.html", "a/b.fa4.html"}));
    // Windows reads a backslash as a separator.
    EXPECT_EQ(EntriesOf({"..\\..\\x.fa4", "c:\\Win\\y.fa4", "a\\b.fa4"}),
        (TNames{"x.fa4.html", "Win/y.fa4.html", "a/b.fa4.html"}));
    // A drive is only a drive at the start; a name without any segment
    // still gets one.
    EXPECT_EQ(EntriesOf({"a/C:b.fa4", "../.."}), (TNames{"a/C:b.fa4.html", "_.html"}));
}

TEST(ArchiveNames, NamesThatDifferOnlyInCaseAreMadeDistinct)
{
    EXPECT_EQ(EntriesOf({"A.fa4", "a.fa4", "a.FA4"}), (TNames{"A.fa4.html", "a.fa4~2.html", "a.FA4~3.html"}));
    // Folders keep one name for all their documents.
    EXPECT_EQ(EntriesOf({"Sub/x.fa4", "Sub/y.fa4", "sub/x.fa4", "sub/z.fa4", "SUB/q/r.fa4"}),
        (TNames{"Sub/x.fa4.html", "Sub/y.fa4.html", "sub~2/x.fa4.html", "sub~2/z.fa4.html",
            "SUB~3/q/r.fa4.html"}));
    // The index is written too; Latin-1 letters fold as ASCII letters do.
    EXPECT_EQ(EntriesOf({"Index", "INDEX",
                  "\xC3\x9C"
                  "ber.fa4",
                  "\xC3\xBC"
                  "ber.fa4",
                  "\xC3\x97", "\xC3\xB7"}),
        (TNames{"Index~2.html", "INDEX~3.html",
            "\xC3\x9C"
            "ber.fa4.html",
            "\xC3\xBC"
            "ber.fa4~2.html",
            "\xC3\x97.html", "\xC3\xB7.html"}));
    // Made equal by leaving out what leads outside (a name safe as it is
    // keeps its own), a file and a folder of one name, and a name taken by
    // an earlier renaming.
    EXPECT_EQ(EntriesOf({"../x.fa4", "x.fa4", "a\\b.fa4", "a/b.fa4", "k.html/m", "k", "q", "Q", "q~2"}),
        (TNames{"x.fa4~2.html", "x.fa4.html", "a/b.fa4~2.html", "a/b.fa4.html", "k.html/m.html", "k~2.html",
            "q.html", "Q~2.html", "q~2~2.html"}));
}

TEST(ArchiveNames, ConflictsAreThoseTheCommandLineRefuses)
{
    EXPECT_EQ(PlanArchiveEntries({"a", "x/a", "A", "b"}).Conflicts, TNames{});
    EXPECT_EQ(PlanArchiveEntries({"D.fa4", "b", "D.fa4"}).Conflicts,
        TNames{"D.fa4 and D.fa4 would both be written to D.fa4.html"});
    EXPECT_EQ(PlanArchiveEntries({"index"}).Conflicts,
        TNames{"index and the index would both be written to index.html"});
}

TEST(ArchiveNames, WalkOrderIsFolderByFolderByBytes)
{
    const TNames paths{"a/b", "a-b", "B", "a.c", "\xC3\xA4", "a/a/z", "b"};
    TNames sorted;
    for (const std::size_t i : WalkOrder(paths)) sorted.push_back(paths[i]);
    EXPECT_EQ(sorted, (TNames{"B", "a/a/z", "a/b", "a-b", "a.c", "b", "\xC3\xA4"}));
}

} // namespace
} // namespace quorvex
