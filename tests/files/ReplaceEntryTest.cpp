// A new file put in place of an entry of an open folder: what stands under
// the name at the moment of the replacement decides, with or without the
// file system's swap, and a killed writer's leftover is removed by the next.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>

#include "TestFiles.h"
#include "ZtOutputFolder.h"
#include "ZtReplaceEntry.h"
#include "ZtTemporaryFiles.h"

namespace quorvex::testing {
namespace {

namespace fs = std::filesystem;

// Files that begin with "DOC" stand for documents.
std::optional<std::string> KeepsDoc(int fd, std::string_view)
{
    char head[3] = {};
    if (::pread(fd, head, 3, 0) == 3 && std::string_view(head, 3) == "DOC") return "looks like a document";
    return std::nullopt;
}

class ReplaceEntryTest : public ::testing::Test {
protected:
    void TearDown() override { fs::remove_all(FFolder); }
    std::string Path(const std::string& name) const { return (FFolder / name).string(); }
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(FFolder)) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    // The message of the write, "" when it succeeded.
    std::string Write(const std::string& entry, const std::string& bytes, const TFileWriteHooks& hooks = {})
    {
        try {
            WriteEntry(Folder, entry, bytes, KeepsDoc, hooks);
        } catch (const EZtError& error) {
            return error.what();
        }
        return "";
    }

    const fs::path FFolder = MakeTempFolder("quorvex-entries");
    const TZtOutputFolder Folder = TZtOutputFolder::OpenNamed(FFolder.string(), false);
};

TEST_F(ReplaceEntryTest, WhatStandsThereWhenTheFileIsPutInPlaceDecides)
{
    WriteFileBytes(Path("victim.txt"), "victim");
    const std::string out = Path("out.html");
    struct TCase {
        std::function<void()> Plant;
        std::string Message; // "" for a replacement
    };
    const std::vector<TCase> cases{
        {[] {}, ""},
        {[&] { WriteFileBytes(out, "<html>earlier</html>"); }, ""},
        {[&] { fs::create_symlink(Path("victim.txt"), out); }, out + ": is a symbolic link; not replaced"},
        {[&] { fs::create_symlink(Path("nowhere"), out); }, out + ": is a symbolic link; not replaced"},
        {[&] { ::mkfifo(out.c_str(), 0644); }, out + ": is a FIFO; not replaced"},
        {[&] { fs::create_directory(out); }, out + ": is a folder; not replaced"},
        {[&] { WriteFileBytes(out, "DOC kept"); }, out + ": looks like a document; not replaced"},
    };
    // The swap, then without it (a network file system), then without any
    // flag of renameat2 (vfat of old kernels); with unnamed files and
    // without.
    for (const unsigned unsupported :
        {0u, unsigned{RENAME_EXCHANGE}, unsigned{RENAME_EXCHANGE | RENAME_NOREPLACE}})
        for (const bool unnamed : {true, false}) {
            TFileWriteHooks hooks;
            hooks.Rename = [unsupported](
                               int dir, const std::string& from, const std::string& to, unsigned flags) {
                if ((flags & unsupported) != 0) {
                    errno = EINVAL;
                    return -1;
                }
                return ::renameat2(dir, from.c_str(), dir, to.c_str(), flags);
            };
            if (!unnamed)
                hooks.OpenUnnamed = [](int) {
                    errno = EOPNOTSUPP;
                    return -1;
                };
            for (std::size_t i = 0; i < cases.size(); ++i) {
                const std::string where =
                    std::to_string(unsupported) + (unnamed ? " unnamed " : " named ") + std::to_string(i);
                std::string message;
                try {
                    TZtNewEntry file(Folder, "out.html", KeepsDoc, hooks);
                    file.Write("<html>new</html>");
                    // Planted after the name was first looked at, as a
                    // racing program would.
                    cases[i].Plant();
                    file.Commit();
                } catch (const EZtError& error) {
                    message = error.what();
                }
                EXPECT_EQ(message, cases[i].Message) << where;
                if (message.empty()) EXPECT_EQ(ReadFileBytes(out), "<html>new</html>") << where;
                if (i == 6) EXPECT_EQ(ReadFileBytes(out), "DOC kept") << where;
                EXPECT_EQ(ReadFileBytes(Path("victim.txt")), "victim");
                EXPECT_FALSE(fs::exists(Path("nowhere"))) << where;
                EXPECT_EQ(Entries(), (std::vector<std::string>{"out.html", "victim.txt"})) << where;
                fs::remove_all(out);
            }
        }
    // Found before anything is written, the name fails at once.
    fs::create_symlink(Path("victim.txt"), out);
    try {
        TZtNewEntry file(Folder, "out.html", KeepsDoc);
        ADD_FAILURE() << "no error";
    } catch (const EZtNotReplacedError& error) {
        EXPECT_EQ(std::string(error.what()), out + ": is a symbolic link; not replaced");
    }
}

TEST_F(ReplaceEntryTest, FoldersBelowAreEnteredOneByOneWithoutFollowingLinks)
{
    fs::create_directory(FFolder / "real");
    fs::create_directory_symlink(FFolder / "real", FFolder / "link");
    WriteFileBytes(Path("plain"), "x");
    const auto messageOf = [&](const std::string& name) -> std::string {
        try {
            Folder.Enter(name, true);
        } catch (const EZtError& error) {
            return error.what();
        }
        return "";
    };
    EXPECT_EQ(messageOf("link"), Path("link") + ": is a symbolic link; not entered");
    EXPECT_EQ(messageOf("plain"), Path("plain") + ": is a file; not entered");
    const TZtOutputFolder made = Folder.Enter("made", true).Enter("deeper", true);
    EXPECT_EQ(made.Name(), Path("made/deeper"));
    WriteEntry(made, "page.html", "page", KeepsDoc);
    EXPECT_EQ(ReadFileBytes(Path("made/deeper/page.html")), "page");
    EXPECT_TRUE(fs::is_empty(FFolder / "real"));
}

TEST_F(ReplaceEntryTest, AKilledWritersLeftoverIsRemovedAndALiveOneKept)
{
    // Without unnamed files the writer names its file from the start.
    TFileWriteHooks named;
    named.OpenUnnamed = [](int) {
        errno = EOPNOTSUPP;
        return -1;
    };
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TFileWriteHooks killed = named;
        killed.Write = [](int fd, const void* data, std::size_t size) {
            ::write(fd, data, size / 2);
            ::raise(SIGKILL);
            return ssize_t{-1};
        };
        WriteEntry(Folder, "killed.html", std::string(100000, 'k'), KeepsDoc, killed);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
    const std::vector<std::string> left = Entries();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_TRUE(IsTemporaryName(left[0])) << left[0];
    EXPECT_EQ(left[0].rfind("killed.html.tmp-", 0), 0u);

    // A writer still at work, a kept file of the same pattern, and another
    // program's file.
    TZtNewEntry live(Folder, "live.html", KeepsDoc, named);
    live.Write("part");
    WriteFileBytes(Path("doc.tmp-abcd1234"), "DOC of someone");
    WriteFileBytes(Path("notes.tmp-x"), "notes");
    RemoveLeftovers(Folder.Descriptor(), KeepsDoc);
    std::vector<std::string> after = Entries();
    EXPECT_EQ(after.size(), 3u);
    EXPECT_EQ(std::count_if(after.begin(), after.end(),
                  [](const std::string& name) { return name.starts_with("live.html.tmp-"); }),
        1);
    EXPECT_TRUE(fs::exists(Path("doc.tmp-abcd1234")));
    EXPECT_TRUE(fs::exists(Path("notes.tmp-x")));
    live.Write(" and the rest");
    live.Commit();
    EXPECT_EQ(ReadFileBytes(Path("live.html")), "part and the rest");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"doc.tmp-abcd1234", "live.html", "notes.tmp-x"}));
}

} // namespace
} // namespace quorvex::testing
