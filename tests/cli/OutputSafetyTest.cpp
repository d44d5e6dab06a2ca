// What stands under an output name the run made is never followed or
// written into, and no document is replaced, whatever an archive holds or
// plants while the run goes on.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <future>
#include <thread>

#include "Fa4Builder.h"
#include "RunProgram.h"
#include "TestFiles.h"

extern char** environ;

namespace quorvex::testing {
namespace {

namespace fs = std::filesystem;

class OutputSafety : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(FTree);
        WriteFileBytes(Victim(), "my thesis\n");
    }
    void TearDown() override { fs::remove_all(FTemp); }

    TProgramRun Run(const std::vector<std::string>& args) const
    {
        return RunProgram(FA4TOHTML_PATH, args, FTemp);
    }
    void Document(const fs::path& path) const
    {
        TFa4Builder().EmptyParagraphs(12).Line("Brief").WriteTo(path.string());
    }
    std::string Victim() const { return (FTemp / "victim.txt").string(); }
    // The line that reports what stood in the way of `html`.
    static std::string Refused(const fs::path& document, const fs::path& html, const std::string& what)
    {
        return "fa4tohtml: " + document.string() + ": " + html.string() + ": " + what + "; not replaced\n";
    }

    const fs::path FTemp = MakeTempFolder("quorvex-output-safety");
    const fs::path FTree = FTemp / "archive";
};

TEST_F(OutputSafety, LinksInTheWayAreNeverFollowed)
{
    Document(FTree / "letter.fa4");
    Document(FTree / "memo.fa4");
    fs::create_symlink(Victim(), FTree / "letter.fa4.html");
    fs::create_symlink(FTemp / "created.txt", FTree / "memo.fa4.html");
    TProgramRun run = Run({"-r", FTree.string()});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find(Refused(FTree / "letter.fa4", FTree / "letter.fa4.html", "is a symbolic link")),
        std::string::npos)
        << run.Err;
    EXPECT_NE(run.Err.find(Refused(FTree / "memo.fa4", FTree / "memo.fa4.html", "is a symbolic link")),
        std::string::npos)
        << run.Err;
    EXPECT_FALSE(fs::exists(FTemp / "created.txt"));

    // The index, and a folder of the mirrored tree planted as a link.
    const fs::path site = FTemp / "site";
    fs::create_directories(FTree / "sub");
    Document(FTree / "sub" / "note.fa4");
    fs::create_directories(site);
    fs::create_directories(FTemp / "elsewhere");
    fs::create_symlink(Victim(), site / "index.html");
    fs::create_directory_symlink(FTemp / "elsewhere", site / "sub");
    run = Run({"-r", "-d", site.string(), FTree.string()});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("fa4tohtml: " + (FTree / "sub" / "note.fa4").string() + ": " +
                  (site / "sub").string() + ": is a symbolic link; not entered\n"),
        std::string::npos)
        << run.Err;
    EXPECT_NE(run.Err.find((site / "index.html").string() + ": is a symbolic link; not replaced\n"),
        std::string::npos)
        << run.Err;
    EXPECT_TRUE(fs::is_regular_file(site / "letter.fa4.html"));
    EXPECT_TRUE(fs::is_empty(FTemp / "elsewhere"));
    EXPECT_EQ(ReadFileBytes(Victim()), "my thesis\n");
}

TEST_F(OutputSafety, FifosDevicesSocketsAndFoldersInTheWayFailOnlyTheirItem)
{
    std::vector<std::pair<std::string, std::string>> inTheWay{
        {"pipe", "is a FIFO"}, {"folder", "is a folder"}};
    for (const auto& [name, what] : inTheWay) Document(FTree / (name + ".fa4"));
    const fs::path fifo = FTree / "pipe.fa4.html";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    // A reader that takes what fits the pipe, so that a run that wrote into
    // the FIFO ends instead of waiting.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    fs::create_directory(FTree / "folder.fa4.html");
    const fs::path socketName = FTree / "socket.fa4.html";
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketName.string().size() < sizeof address.sun_path) {
        socketName.string().copy(address.sun_path, sizeof address.sun_path - 1);
        if (::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            Document(FTree / "socket.fa4");
            inTheWay.emplace_back("socket", "is a socket");
        }
    }
    // Made here, never taken from the system's /dev; only root may.
    if (::mknod((FTree / "device.fa4.html").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        Document(FTree / "device.fa4");
        inTheWay.emplace_back("device", "is a device");
    }
    Document(FTree / "plain.fa4");

    const TProgramRun run = Run({"-r", FTree.string()});
    ::close(reader);
    ::close(listener);
    EXPECT_EQ(run.Status, 1);
    for (const auto& [name, what] : inTheWay)
        EXPECT_NE(run.Err.find(Refused(FTree / (name + ".fa4"), FTree / (name + ".fa4.html"), what)),
            std::string::npos)
            << run.Err;
    EXPECT_NE(run.Err.find("1 converted"), std::string::npos) << run.Err;
    EXPECT_TRUE(fs::is_regular_file(FTree / "plain.fa4.html"));
    EXPECT_TRUE(fs::is_fifo(fifo));
    if (inTheWay.size() < 4) GTEST_SKIP() << "no socket or device node could be made here";
}

TEST_F(OutputSafety, ALaterRunRemovesTheLeftoversOfAKilledOne)
{
    Document(FTree / "a.fa4");
    WriteFileBytes((FTree / "a.fa4.html.tmp-abcd1234").string(), "<html>half of it");
    // Named so by chance, but a document: it stays.
    Document(FTree / "b.tmp-abcd1234");
    const TProgramRun run = Run({"-r", FTree.string()});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_FALSE(fs::exists(FTree / "a.fa4.html.tmp-abcd1234"));
    EXPECT_TRUE(fs::exists(FTree / "b.tmp-abcd1234"));
    EXPECT_TRUE(fs::is_regular_file(FTree / "a.fa4.html"));
}

// Runs the program with standard output open for reading and writing on
// `file`, as a shell's 1<>file does.
int RunOntoFile(const std::vector<std::string>& args, const fs::path& file, const fs::path& errors)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, file.c_str(), O_RDWR, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> all = {FA4TOHTML_PATH};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& arg : all) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, FA4TOHTML_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

TEST_F(OutputSafety, DocumentsStayWholeOrCutAlsoUnderStandardOutput)
{
    const fs::path source = FTree / "brief.fa4";
    Document(source);
    const std::string bytes = ReadFileBytes(source.string());
    const std::string cut = bytes.substr(0, 60000);
    // A whole document is refused before the run, by the check of its
    // outputs; a cut one only where the HTML would take its place.
    for (const char* name : {"cut.fa4", "cut.bin"}) {
        const fs::path target = FTemp / name;
        WriteFileBytes(target.string(), cut);
        const TProgramRun run = Run({"-o", target.string(), source.string()});
        EXPECT_EQ(run.Status, 1) << name;
        EXPECT_NE(run.Err.find(": " + target.string() + ": "), std::string::npos) << run.Err;
        EXPECT_NE(run.Err.find("; not replaced\n"), std::string::npos) << run.Err;
    }
    EXPECT_EQ(ReadFileBytes((FTemp / "cut.bin").string()), cut);

    const fs::path onto = FTemp / "p.bin";
    WriteFileBytes(onto.string(), bytes);
    EXPECT_EQ(RunOntoFile({"-o", "-", source.string()}, onto, FTemp / "errors.txt"), 1);
    EXPECT_EQ(ReadFileBytes(onto.string()), bytes);
    EXPECT_EQ(ReadFileBytes((FTemp / "errors.txt").string()),
        "fa4tohtml: " + source.string() + ": standard output: looks like an F&A 4 document; not replaced\n");
}

TEST_F(OutputSafety, APlanterRacingTheRunChangesNothingOutsideIt)
{
    // Hard links of one document: a large batch that costs one file.
    constexpr int Folders = 20;
    constexpr int PerFolder = 100;
    Document(FTemp / "one.fa4");
    for (int f = 0; f < Folders; ++f) {
        fs::create_directories(FTree / std::to_string(f));
        for (int d = 0; d < PerFolder; ++d)
            fs::create_hard_link(FTemp / "one.fa4", FTree / std::to_string(f) / (std::to_string(d) + ".fa4"));
    }
    const fs::path site = FTemp / "site";
    fs::create_directories(FTemp / "elsewhere");
    // Names the run writes late: the second half of the folders, and the
    // index, which is written last.
    std::vector<fs::path> planted{site / "index.html"};
    for (int f = Folders / 2; f < Folders; ++f)
        for (int d = 0; d < PerFolder; d += 7)
            planted.push_back(site / std::to_string(f) / (std::to_string(d) + ".fa4.html"));
    std::atomic<bool> done = false;
    std::atomic<int> plants = 0;
    auto planter = std::async(std::launch::async, [&] {
        while (!done) {
            // The links stand while the others are planted; only the
            // planter's own links are taken away again.
            std::vector<const fs::path*> own;
            for (const fs::path& name : planted)
                if (::symlink(Victim().c_str(), name.c_str()) == 0) own.push_back(&name);
            // A folder of the mirror, planted as a link out of the site.
            const fs::path folder = site / std::to_string(Folders - 1);
            const bool folderPlanted = ::symlink((FTemp / "elsewhere").c_str(), folder.c_str()) == 0;
            plants += static_cast<int>(own.size());
            for (const fs::path* name : own) {
                struct stat info { };
                if (::lstat(name->c_str(), &info) == 0 && S_ISLNK(info.st_mode)) ::unlink(name->c_str());
            }
            if (folderPlanted) ::unlink(folder.c_str());
        }
    });
    const TProgramRun run = Run({"-r", "-j", "2", "-d", site.string(), FTree.string()});
    done = true;
    planter.get();

    EXPECT_GT(plants.load(), 0);
    EXPECT_EQ(ReadFileBytes(Victim()), "my thesis\n");
    EXPECT_TRUE(fs::is_empty(FTemp / "elsewhere"));
    // Each failure has its line, and the summary counts them all.
    std::size_t lines = 0;
    for (char c : run.Err) lines += c == '\n' ? 1 : 0;
    ASSERT_GT(lines, 0u);
    const std::size_t failures = lines - 1;
    EXPECT_NE(run.Err.find(", " + std::to_string(failures) + " failed\n"), std::string::npos) << run.Err;
    EXPECT_EQ(run.Status, failures > 0 ? 1 : 0) << run.Err;
    // What the planter never touched was written.
    for (int f = 0; f < Folders / 2; ++f)
        EXPECT_TRUE(fs::is_regular_file(site / std::to_string(f) / "1.fa4.html")) << f;
}

} // namespace
} // namespace quorvex::testing
