// What stands under an output name decides how it is written: links are
// followed and kept, devices and FIFOs are written as they stand, only a
// replaced file costs a sync.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <future>

#include "TestFiles.h"
#include "ZtErrors.h"
#include "ZtFileAccess.h"

namespace quorvex::testing {
namespace {

namespace fs = std::filesystem;

class TargetKindsTest : public ::testing::Test {
protected:
    void SetUp() override { Folder = MakeTempFolder("quorvex-targets"); }
    void TearDown() override { fs::remove_all(Folder); }
    std::string Path(const std::string& name) const { return (Folder / name).string(); }
    std::vector<std::string> Entries(const fs::path& folder) const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path Folder;
};

TEST_F(TargetKindsTest, SymbolicLinksStayAndTheFileTheyPointToIsReplaced)
{
    fs::create_directory(Folder / "real");
    WriteFileBytes(Path("real/page.html"), std::string(5000, 'o'));
    ::chmod(Path("real/page.html").c_str(), 0604);
    // A relative link to a relative link: each resolves from its own folder.
    fs::create_symlink("real/page.html", Folder / "first.html");
    fs::create_directory(Folder / "links");
    fs::create_symlink("../first.html", Folder / "links" / "second.html");

    WriteWholeFile(Path("links/second.html"), "new");
    EXPECT_EQ(ReadFileBytes(Path("real/page.html")), "new");
    EXPECT_TRUE(fs::is_symlink(Folder / "first.html"));
    EXPECT_TRUE(fs::is_symlink(Folder / "links" / "second.html"));
    EXPECT_EQ(fs::status(Folder / "real" / "page.html").permissions(), fs::perms(0604));
    EXPECT_EQ(Entries(Folder / "real"), std::vector<std::string>{"page.html"});
    EXPECT_EQ(Entries(Folder / "links"), std::vector<std::string>{"second.html"});

    // A dangling link creates the file it names.
    fs::create_symlink("real/later.html", Folder / "dangling.html");
    WriteWholeFile(Path("dangling.html"), "created");
    EXPECT_TRUE(fs::is_symlink(Folder / "dangling.html"));
    EXPECT_EQ(ReadFileBytes(Path("real/later.html")), "created");

    // A loop of links is no file to write.
    fs::create_symlink("loop-b", Folder / "loop-a");
    fs::create_symlink("loop-a", Folder / "loop-b");
    EXPECT_THROW(WriteWholeFile(Path("loop-a"), "x"), EZtError);
    EXPECT_TRUE(fs::is_symlink(Folder / "loop-a"));
}

TEST_F(TargetKindsTest, FifoIsWrittenAsItStands)
{
    const std::string fifo = Path("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // The test holds both ends open from the start, so that a writer that
    // replaced the FIFO instead of writing into it fails the test and does
    // not leave the reader waiting.
    const int readEnd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(readEnd, 0);
    const int keptWriteEnd = ::open(fifo.c_str(), O_WRONLY);
    ASSERT_GE(keptWriteEnd, 0);
    ::fcntl(readEnd, F_SETFL, 0);
    auto reader = std::async(std::launch::async, [readEnd] {
        std::string got;
        char buffer[4096];
        for (ssize_t n; (n = ::read(readEnd, buffer, sizeof buffer)) > 0;) got.append(buffer, n);
        ::close(readEnd);
        return got;
    });
    // More than a pipe holds, so the writer has to wait for the reader.
    std::string bytes;
    for (int i = 0; i < 200000; ++i) bytes += static_cast<char>('a' + i % 26);
    try {
        WriteWholeFile(fifo, bytes);
    } catch (const EZtError& error) {
        ADD_FAILURE() << error.what();
    }
    ::close(keptWriteEnd);
    EXPECT_EQ(reader.get(), bytes);
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(Entries(Folder), std::vector<std::string>{"pipe"});
}

TEST_F(TargetKindsTest, AFileOpenOnADescriptorIsWrittenInPlace)
{
    // As a shell's "> out.html" with "-o /dev/stdout": the descriptor must
    // see the HTML, so the file may not be replaced by another.
    const std::string name = Path("out.html");
    const int held = ::open(name.c_str(), O_RDWR | O_CREAT, 0644);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::write(held, "old content, longer than the new", 32), 32);
    struct stat before { };
    ASSERT_EQ(::fstat(held, &before), 0);
    try {
        WriteWholeFile("/proc/self/fd/" + std::to_string(held), "<html>");
    } catch (const EZtError& error) {
        ADD_FAILURE() << error.what();
    }
    struct stat after { };
    ASSERT_EQ(::stat(name.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    char seen[64] = {};
    EXPECT_EQ(::pread(held, seen, sizeof seen, 0), 6);
    EXPECT_STREQ(seen, "<html>");
    ::close(held);
    EXPECT_EQ(Entries(Folder), std::vector<std::string>{"out.html"});
}

TEST_F(TargetKindsTest, CharacterDevicesAreWrittenAsTheyStand)
{
    // The null and the full device made afresh in the test's own folder.
    const std::string null = Path("null");
    const std::string full = Path("full");
    if (::mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0 ||
        ::mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0)
        GTEST_SKIP() << "cannot make device nodes here";
    if (const int fd = ::open(null.c_str(), O_WRONLY); fd >= 0)
        ::close(fd);
    else
        GTEST_SKIP() << "device nodes cannot be opened in this folder";

    WriteWholeFile(null, std::string(10000, 'x'));
    EXPECT_TRUE(fs::is_character_file(null));
    try {
        WriteWholeFile(full, "x");
        ADD_FAILURE() << "no error for a full device";
    } catch (const EZtError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file " + full + ": No space left on device");
    }
    EXPECT_TRUE(fs::is_character_file(full));
    EXPECT_EQ(Entries(Folder), (std::vector<std::string>{"full", "null"}));
}

TEST_F(TargetKindsTest, OnlyAReplacedFileIsSynced)
{
    std::vector<bool> synced; // per sync: was it a folder
    TFileWriteHooks hooks;
    hooks.Sync = [&](int fd) {
        struct stat info { };
        ::fstat(fd, &info);
        synced.push_back(S_ISDIR(info.st_mode));
        return 0;
    };
    const std::string name = Path("page.html");
    WriteWholeFile(name, "first", hooks);
    EXPECT_TRUE(synced.empty());
    WriteWholeFile(name, "second", hooks);
    EXPECT_EQ(synced, (std::vector<bool>{false, true}));
    EXPECT_EQ(ReadFileBytes(name), "second");

    // A sync that fails keeps the earlier file.
    hooks.Sync = [](int) { return -1; };
    EXPECT_THROW(WriteWholeFile(name, "third", hooks), EZtError);
    EXPECT_EQ(ReadFileBytes(name), "second");
    EXPECT_EQ(Entries(Folder), std::vector<std::string>{"page.html"});
}

} // namespace
} // namespace quorvex::testing
