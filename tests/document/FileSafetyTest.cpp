// No data lost: a file is replaced whole or left as it was, whatever fails
// on the way, and documents that are no readable file are refused before
// anything is written.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <tuple>

#include "DocumentFixture.h"
#include "TestFiles.h"
#include "ZtDefaultPreferences.h"
#include "ZtFileAccess.h"
#include "ZtRecognizeDocument.h"
#include "ZtTemporaryFiles.h"
#include "ZtTextLines.h"

namespace quorvex::testing {
namespace {

namespace fs = std::filesystem;

class FileSafetyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Folder = MakeTempFolder("quorvex-safety");
        Target = (Folder / "doc.html").string();
        for (int i = 0; i < 5000; ++i) NewBytes += "new line " + std::to_string(i) + "\r";
        WriteFileBytes(Target, Earlier);
    }
    void TearDown() override { fs::remove_all(Folder); }

    std::vector<std::string> FolderEntries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Folder)) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    // The replacement failed as a whole: the message names the file and the
    // system's reason, the earlier file is intact and no temporary file is
    // left.
    void ExpectRefusedAndUntouched(const TFileWriteHooks& hooks, const std::string& reason)
    {
        try {
            WriteWholeFile(Target, NewBytes, hooks);
            ADD_FAILURE() << "no error";
        } catch (const EZtError& error) {
            EXPECT_EQ(std::string(error.what()), "Cannot create file " + Target + ": " + reason);
        }
        EXPECT_EQ(ReadFileBytes(Target), Earlier);
        EXPECT_EQ(FolderEntries(), std::vector<std::string>{"doc.html"});
    }
    std::string ErrorOfLoading(const std::string& name)
    {
        try {
            Document.LoadFromFile(name);
        } catch (const EZtError& error) {
            return error.what();
        }
        return "(no error)";
    }

    fs::path Folder;
    std::string Target;
    const std::string Earlier = "<html>the earlier file</html>";
    std::string NewBytes;
    TZtFileInfoFa4 Document;
};

TEST_F(FileSafetyTest, FailureBetweenWritingAndRenamingKeepsTheEarlierFile)
{
    std::string temporaryContent;
    TFileWriteHooks hooks;
    hooks.BeforeRename = [&](const std::string& temporaryName) {
        temporaryContent = ReadFileBytes(temporaryName);
        return false;
    };
    ExpectRefusedAndUntouched(hooks, "Input/output error");
    // The failure came after the new bytes were all in the temporary file.
    EXPECT_EQ(temporaryContent, NewBytes);

    // Any other error at that point cleans up the same way.
    hooks.BeforeRename = [](const std::string&) -> bool { throw std::runtime_error("power cut"); };
    EXPECT_THROW(WriteWholeFile(Target, NewBytes, hooks), std::runtime_error);
    EXPECT_EQ(ReadFileBytes(Target), Earlier);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"doc.html"});
}

TEST_F(FileSafetyTest, InterruptedReplacementLeavesNothingBehind)
{
    // While the bytes are written, the new file has no name a kill could
    // leave behind.
    TFileWriteHooks hooks;
    std::vector<std::string> entriesWhileWriting;
    hooks.Write = [&](int fd, const void* data, std::size_t size) {
        entriesWhileWriting = FolderEntries();
        return ::write(fd, data, size);
    };
    WriteWholeFile(Target, NewBytes, hooks);
    EXPECT_EQ(entriesWhileWriting, std::vector<std::string>{"doc.html"});

    // An interrupt in the moment the temporary file has a name removes it and
    // ends the program by the signal.
    WriteFileBytes(Target, Earlier);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        InstallTemporaryFileCleanup();
        TFileWriteHooks interrupted;
        interrupted.BeforeRename = [](const std::string&) { return ::raise(SIGINT) == 0; };
        WriteWholeFile(Target, NewBytes, interrupted);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << status;
    EXPECT_EQ(ReadFileBytes(Target), Earlier);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"doc.html"});
}

TEST_F(FileSafetyTest, WithoutProcTheNewFileIsNamedFromTheStart)
{
    // A bare chroot has no /proc to name an unnamed file through.
    TFileWriteHooks hooks;
    hooks.NameUnnamed = [](int, const std::string&) {
        errno = ENOENT;
        return -1;
    };
    WriteWholeFile(Target, NewBytes, hooks);
    EXPECT_EQ(ReadFileBytes(Target), NewBytes);
    const std::string fresh = (Folder / "new.html").string();
    WriteWholeFile(fresh, Earlier, hooks);
    EXPECT_EQ(ReadFileBytes(fresh), Earlier);
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"doc.html", "new.html"}));
}

TEST_F(FileSafetyTest, LongestNamesAreReplacedAgain)
{
    // The temporary name must stay within the folder's limit of 255 bytes
    // however long the name it stands beside.
    for (const std::size_t length : {240u, 250u, 255u}) {
        const std::string name = (Folder / std::string(length, 'L')).string();
        WriteWholeFile(name, "first");
        WriteWholeFile(name, "second");
        EXPECT_EQ(ReadFileBytes(name), "second") << length;
        fs::remove(name);
    }
    EXPECT_EQ(TemporaryNameBeside("dir/" + std::string(255, 'L'), 0).size(), 4u + 255u);
    EXPECT_EQ(TemporaryNameBeside("short.html", 0).rfind("short.html.tmp-", 0), 0u);
}

TEST_F(FileSafetyTest, FullDeviceIsReportedAndKeepsTheEarlierFile)
{
    // The device takes the first 3000 bytes, in pieces, and then is full.
    std::size_t stored = 0;
    TFileWriteHooks hooks;
    hooks.Write = [&](int fd, const void* data, std::size_t size) -> ssize_t {
        if (stored >= 3000) {
            errno = ENOSPC;
            return -1;
        }
        const ssize_t written = ::write(fd, data, std::min<std::size_t>(size, 1000));
        if (written > 0) stored += static_cast<std::size_t>(written);
        return written;
    };
    ExpectRefusedAndUntouched(hooks, "No space left on device");
    EXPECT_EQ(stored, 3000u);

    // A write that stores nothing and reports no error cannot go on either.
    hooks.Write = [](int, const void*, std::size_t) -> ssize_t { return 0; };
    ExpectRefusedAndUntouched(hooks, "Input/output error");
}

TEST_F(FileSafetyTest, ShortWritesThatMakeProgressStillWriteEverything)
{
    int calls = 0;
    TFileWriteHooks hooks;
    hooks.Write = [&](int fd, const void* data, std::size_t size) -> ssize_t {
        ++calls;
        if (calls % 3 == 0) {
            errno = EINTR;
            return -1;
        }
        return ::write(fd, data, std::min<std::size_t>(size, 4093));
    };
    WriteWholeFile(Target, NewBytes, hooks);
    EXPECT_EQ(ReadFileBytes(Target), NewBytes);
    EXPECT_GT(calls, static_cast<int>(NewBytes.size() / 4093));
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"doc.html"});
}

TEST_F(FileSafetyTest, PreferencesFileIsReplacedWhole)
{
    WriteFileBytes(Target, std::string(100000, 'p'));
    WriteTextLinesFile(Target, TTextLines{{"<head>", "</head>"}, TLineBreak::Lf});
    EXPECT_EQ(ReadFileBytes(Target), "<head>\n</head>\n");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"doc.html"});
}

TEST_F(FileSafetyTest, DevicesPipesAndFoldersAreRefusedWithoutReading)
{
    const std::string pipe = (Folder / "pipe.fa4").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    // A pipe with no writer would block an ordinary open; a zero device
    // would never end. The device is made here (as root), never taken from
    // the system's /dev.
    std::vector<std::string> names{pipe, Folder.string()};
    const std::string zero = (Folder / "zero.fa4").string();
    if (::mknod(zero.c_str(), S_IFCHR | 0444, makedev(1, 5)) == 0) names.push_back(zero);
    for (const std::string& name : names) {
        const std::string reason = name == Folder.string() ? ": Is a directory" : ": Not a regular file";
        EXPECT_EQ(ErrorOfLoading(name), "Cannot open file " + name + reason);
        EXPECT_FALSE(Document.Loaded()) << name;
        EXPECT_EQ(Document.FileName(), "") << name;
    }
}

TEST_F(FileSafetyTest, UnreadableDocumentIsRefused)
{
    // Root reads files whatever their mode; a kernel setting that is only
    // written stays closed to it.
    std::string name = (Folder / "locked.fa4").string();
    WriteFileBytes(name, TFa4Builder().Line("Haus").Bytes());
    ::chmod(name.c_str(), 0);
    if (const int fd = ::open(name.c_str(), O_RDONLY); fd >= 0) {
        ::close(fd);
        name = "/proc/sys/vm/drop_caches";
        const int other = ::open(name.c_str(), O_RDONLY);
        if (other >= 0) {
            ::close(other);
            GTEST_SKIP() << "every file is readable for this user";
        }
    }
    EXPECT_EQ(ErrorOfLoading(name), "Cannot open file " + name + ": Permission denied");
    EXPECT_FALSE(Document.Loaded());
}

TEST_F(FileSafetyTest, EmptyDocumentLoadsWithNoLinesAndConverts)
{
    const std::string name = (Folder / "empty.fa4").string();
    WriteFileBytes(name, "");
    Document.LoadFromFile(name);
    EXPECT_TRUE(Document.Loaded());
    EXPECT_EQ(Document.LineCount(), 0);
    EXPECT_EQ(Document.FileSize(), 0);
    Document.SetMarkup(TMarkup::Classic);
    SaveHtml(Target, "", Document);
    EXPECT_EQ(ReadFileBytes(Target),
        "<body>\r<!-- LINE 6 -->\r<!-- LINE 7 -->\r<!-- LINE 8 -->\r<!-- LINE 9 -->\r"
        "<!-- LINE 10 -->\r<!-- LINE 11 --><hr><hr><!-- LINE 0 -->\r<!-- LINE 1 -->\r"
        "<!-- LINE 2 -->\r<!-- LINE 3 -->\r<!-- LINE 4 -->\r<!-- LINE 5 --></body>");
}

TEST_F(FileSafetyTest, DocumentsWholeCutOrDamagedAreKeptAndHtmlMayGo)
{
    const std::string whole = TFa4Builder().EmptyParagraphs(12).Line("Brief").Bytes();
    std::string damaged = whole;
    PutEntry(damaged, 3, 40, 9000000); // a text past the end
    Document.LoadFromMemory("brief.fa4", whole);
    const std::string html = BuildHtml(DefaultPreferencesText, Document);
    const std::vector<std::tuple<std::string, std::string, std::string>> cases{
        {"whole.bin", whole, "looks like an F&A 4 document"},
        {"cut.bin", whole.substr(0, 60000), "looks like an F&A 4 document"},
        {"short.bin", whole.substr(0, 49), "looks like an F&A 4 document"},
        {"damaged.bin", damaged, "looks like an F&A 4 document"},
        {"page.html", html, ""},
        {"page.htm", "<body>" + std::string(200000, 'x'), ""},
        {"zeros.bin", std::string(200000, '\0'), ""},
        {"tiny.bin", whole.substr(0, 48), ""},
        {"named.FA4", html, "is named as an F&A 4 document"},
    };
    for (const auto& [name, bytes, reason] : cases) {
        const std::string path = (Folder / name).string();
        WriteFileBytes(path, bytes);
        const int fd = ::open(path.c_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(KeepsDocument(fd, name).value_or(""), reason) << name;
        ::close(fd);
    }
}

} // namespace
} // namespace quorvex::testing
