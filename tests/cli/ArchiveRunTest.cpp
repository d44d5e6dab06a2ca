// fa4tohtml run over folder trees: -r, the mirrored output, the index, -u,
// and the warning for a named file that does not look like a document.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "Fa4Builder.h"
#include "RunProgram.h"
#include "TestFiles.h"
#include "ZtDefaultPreferences.h"
#include "ZtFileInfoFa4.h"

namespace quorvex::testing {
namespace {

namespace fs = std::filesystem;

class ArchiveRun : public ::testing::Test {
protected:
    void TearDown() override { fs::remove_all(FTemp); }

    TProgramRun Run(const std::vector<std::string>& args) const
    {
        return RunProgram(FA4TOHTML_PATH, args, FTemp);
    }

    // A document whose first body line is `title`.
    void Document(const fs::path& path, const std::string& title) const
    {
        fs::create_directories(path.parent_path());
        TFa4Builder().EmptyParagraphs(12).Line(title + "\xFF\x01").Line("Text").WriteTo(path.string());
    }
    // Recognised, but every one of its entries holds a line, which no
    // document can be loaded with.
    void Damaged(const fs::path& path) const
    {
        fs::create_directories(path.parent_path());
        std::string bytes = TFa4Builder().Line("x").Bytes();
        for (int i = 1; i < 10000; ++i) PutEntry(bytes, i, 1, 0);
        WriteFileBytes(path.string(), bytes);
    }
    static std::string HtmlOf(const fs::path& document)
    {
        TZtFileInfoFa4 fa4;
        fa4.LoadFromFile(document.string());
        return BuildHtml(DefaultPreferencesText, fa4);
    }
    static std::string Read(const fs::path& path) { return ReadFileBytes(path.string()); }

    const fs::path FTemp = MakeTempFolder("quorvex-archive");
    const fs::path FTree = FTemp / "archive";
    const fs::path FSite = FTemp / "site";
};

TEST_F(ArchiveRun, MirrorsTheTreeIndexesItAndReportsInPathOrder)
{
    Document(FTree / "letters" / "1994" / "BRIEF.TXT", "Brief 1994");
    Document(FTree / "letters" / "1995" / "BRIEF.TXT", "Brief 1995");
    Document(FTree / ".old" / "ALT", "Alt");
    Damaged(FTree / "b" / "KAPUTT");
    Damaged(FTree / "a" / "KAPUTT");
    WriteFileBytes((FTree / "letters" / "readme.txt").string(), "kein Dokument\n");
    fs::create_directory_symlink("..", FTree / "letters" / "loop");

    const TProgramRun run = Run({"-r", "-j", "2", "-d", FSite.string(), FTree.string()});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err,
        "fa4tohtml: " + (FTree / "a" / "KAPUTT").string() + ": Range check error\n" +
            "fa4tohtml: " + (FTree / "b" / "KAPUTT").string() + ": Range check error\n" +
            "fa4tohtml: 3 converted, 2 passed over as not documents, 0 up to date, 2 failed\n");
    for (const char* name : {"letters/1994/BRIEF.TXT", "letters/1995/BRIEF.TXT", ".old/ALT"})
        EXPECT_EQ(Read(FSite / (std::string(name) + ".html")), HtmlOf(FTree / name)) << name;
    EXPECT_FALSE(fs::exists(FSite / "letters" / "loop"));

    const std::string index = Read(FSite / "index.html");
    for (const char* excerpt :
        {"<a href=\"./letters/1994/BRIEF.TXT.html\">BRIEF.TXT</a></th><td>Brief 1994</td>"
         "<td class=\"number\">14</td>",
            "<a href=\"./letters/1995/BRIEF.TXT.html\">BRIEF.TXT</a></th><td>Brief 1995</td>",
            "<a href=\"./.old/ALT.html\">ALT</a>", "<h2 id=\"folder-2\">a</h2>",
            "<th scope=\"row\">KAPUTT</th><td class=\"failed\">Not converted: Range check error</td>"})
        EXPECT_NE(index.find(excerpt), std::string::npos) << excerpt;
}

TEST_F(ArchiveRun, WithoutOutputFolderTheHtmlGoesBesideEachDocument)
{
    Document(FTree / "x" / "DOC", "Eins");
    Document(FTree / "DOC", "Zwei");
    const TProgramRun run = Run({"--recursive", FTree.string()});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(Read(FTree / "x" / "DOC.html"), HtmlOf(FTree / "x" / "DOC"));
    EXPECT_EQ(Read(FTree / "DOC.html"), HtmlOf(FTree / "DOC"));
    EXPECT_FALSE(fs::exists(FTree / "index.html"));
}

TEST_F(ArchiveRun, UpdateConvertsOnlyWhatChanged)
{
    Document(FTree / "A", "Eins");
    Document(FTree / "B", "Zwei");
    const std::vector<std::string> args = {"-r", "-u", "-d", FSite.string(), FTree.string()};
    ASSERT_EQ(Run(args).Status, 0);
    const fs::path htmlA = FSite / "A.html";
    // The HTML was written long ago; a newer one stays, an older one goes.
    const auto past = fs::file_time_type::clock::now() - std::chrono::hours(2);
    fs::last_write_time(htmlA, past);
    fs::last_write_time(FSite / "B.html", past);
    fs::last_write_time(FTree / "A", past - std::chrono::hours(1));
    fs::remove(FSite / "index.html");

    const TProgramRun second = Run(args);
    EXPECT_EQ(second.Err, "fa4tohtml: 1 converted, 0 passed over as not documents, 1 up to date, 0 failed\n");
    EXPECT_EQ(fs::last_write_time(htmlA), past);
    EXPECT_NE(fs::last_write_time(FSite / "B.html"), past);
    // The index still lists both.
    EXPECT_NE(Read(FSite / "index.html").find("<td>Eins</td>"), std::string::npos);

    // Preferences newer than an HTML file convert its document again.
    const fs::path prefs = FTemp / "prefs.html";
    WriteFileBytes(prefs.string(), "<head></head>\n");
    fs::last_write_time(prefs, past + std::chrono::hours(1));
    const std::vector<std::string> withPrefs = {
        "-r", "-u", "-p", prefs.string(), "-d", FSite.string(), FTree.string()};
    EXPECT_EQ(Run(withPrefs).Err,
        "fa4tohtml: 1 converted, 0 passed over as not documents, 1 up to date, 0 failed\n");
    EXPECT_NE(fs::last_write_time(htmlA), past);
    EXPECT_EQ(Run(withPrefs).Err,
        "fa4tohtml: 0 converted, 0 passed over as not documents, 2 up to date, 0 failed\n");
}

// Every word file of the search data beside the index, one after another.
std::string AllWordFiles(const fs::path& site)
{
    std::string words;
    for (int i = 0; fs::exists(site / "search" / ("w-" + std::to_string(i) + ".js")); ++i)
        words += ReadFileBytes((site / "search" / ("w-" + std::to_string(i) + ".js")).string());
    return words;
}

TEST_F(ArchiveRun, IndexSearchesTheTextsAndUpdateTakesKeptTextsFromTheEarlierData)
{
    Document(FTree / "A", "Eins");
    Document(FTree / "sub" / "B", "Zwei");
    const std::vector<std::string> args = {"-r", "-u", "-d", FSite.string(), FTree.string()};
    ASSERT_EQ(Run(args).Status, 0);
    const std::string index = Read(FSite / "index.html");
    EXPECT_NE(index.find("<input type=\"search\""), std::string::npos);
    EXPECT_NE(index.find("<script src=\"search/search.js\"></script>"), std::string::npos);
    EXPECT_NE(index.find("script-src 'self'"), std::string::npos);
    EXPECT_TRUE(fs::exists(FSite / "search" / "search.js"));
    EXPECT_NE(Read(FSite / "search" / "index.js").find("\"documents\": 2,"), std::string::npos);
    // Documents are numbered in the index's order.
    EXPECT_NE(AllWordFiles(FSite).find("eins 0\\n"), std::string::npos);
    EXPECT_NE(AllWordFiles(FSite).find("zwei 1\\n"), std::string::npos);

    // A kept document's text is the earlier data's: the document is not read.
    const fs::path texts = FSite / "search" / "t-0.js";
    std::string earlier = Read(texts);
    earlier.replace(earlier.find("\"Eins\\n"), 5, "\"Anders");
    WriteFileBytes(texts.string(), earlier);
    // A text file an earlier, longer run left behind is not read.
    WriteFileBytes(
        (FSite / "search" / "t-1.js").string(), "fa4Search.texts(1, [\n\"A\",\n\"Veraltet\",\n]);\n");
    const auto past = fs::file_time_type::clock::now() - std::chrono::hours(2);
    fs::last_write_time(FTree / "A", past);
    fs::last_write_time(FTree / "sub" / "B", fs::file_time_type::clock::now() + std::chrono::hours(1));
    EXPECT_EQ(
        Run(args).Err, "fa4tohtml: 1 converted, 0 passed over as not documents, 1 up to date, 0 failed\n");
    EXPECT_NE(AllWordFiles(FSite).find("anders 0\\n"), std::string::npos);
    EXPECT_EQ(AllWordFiles(FSite).find("eins "), std::string::npos);
    EXPECT_EQ(AllWordFiles(FSite).find("veraltet"), std::string::npos);
    EXPECT_NE(AllWordFiles(FSite).find("zwei 1\\n"), std::string::npos);
    // Without earlier data the kept document's text is read from its HTML.
    fs::remove(texts);
    ASSERT_EQ(Run(args).Status, 0);
    EXPECT_NE(AllWordFiles(FSite).find("eins 0\\n"), std::string::npos);
}

// The cache beside the index spares reading unchanged documents; what it
// holds must never show in the index: a document rewritten in place with as
// many bytes and its old time is read again, and a damaged cache is no
// cache.
TEST_F(ArchiveRun, UpdateFromTheCacheWritesTheIndexOfAFullRun)
{
    Document(FTree / "A", "Eins");
    Document(FTree / "sub" / "B", "Zwei");
    WriteFileBytes((FTree / "readme.txt").string(), "kein Dokument\n");
    const auto past = fs::file_time_type::clock::now() - std::chrono::hours(2);
    for (const char* name : {"A", "sub/B", "readme.txt"}) fs::last_write_time(FTree / name, past);
    const std::vector<std::string> update = {"-r", "-u", "-d", FSite.string(), FTree.string()};
    ASSERT_EQ(Run(update).Status, 0);
    ASSERT_TRUE(fs::is_regular_file(FSite / ".fa4tohtml-cache"));

    Document(FTree / "A", "Drei");
    fs::last_write_time(FTree / "A", past);
    const TProgramRun second = Run(update);
    EXPECT_EQ(second.Err, "fa4tohtml: 0 converted, 1 passed over as not documents, 2 up to date, 0 failed\n");
    const fs::path full = FTemp / "full";
    ASSERT_EQ(Run({"-r", "-d", full.string(), FTree.string()}).Status, 0);
    EXPECT_NE(Read(full / "index.html").find("<td>Drei</td>"), std::string::npos);
    EXPECT_EQ(Read(FSite / "index.html"), Read(full / "index.html"));

    WriteFileBytes((FSite / ".fa4tohtml-cache").string(), Read(FSite / ".fa4tohtml-cache").substr(0, 100));
    EXPECT_EQ(Run(update).Err, second.Err);
    EXPECT_EQ(Read(FSite / "index.html"), Read(full / "index.html"));
}

TEST_F(ArchiveRun, NamedFileThatIsNoDocumentIsConvertedWithAWarning)
{
    fs::create_directories(FTree);
    const std::string text = (FTree / "notes.txt").string();
    WriteFileBytes(text, "Notizen\r\n");
    const TProgramRun run = Run({text});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Err, "fa4tohtml: " + text + ": warning: does not look like an F&A 4 document\n");
    EXPECT_TRUE(fs::exists(text + ".html"));

    EXPECT_EQ(Run({"-r", "-o", "out.html", FTree.string()}).Status, 2);
}

TEST_F(ArchiveRun, DocumentWhoseHtmlWouldBeTheIndexIsRefused)
{
    Document(FTree / "index", "Inhalt");
    Document(FTree / "sub" / "index", "Unten");
    const TProgramRun run = Run({"-r", "-d", FSite.string(), FTree.string()});
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Err,
        "fa4tohtml: " + (FTree / "index").string() + " and the index would both be written to " +
            (FSite / "index.html").string() + "\n");
    EXPECT_FALSE(fs::exists(FSite));
}

TEST_F(ArchiveRun, NamesThatAreNoDocumentsSayWhatToDo)
{
    Document(FTree / "BRIEF.fa4", "Brief");
    WriteFileBytes((FTree / "notes.FA4").string(), "Notizen\r\n");
    const std::string tree = FTree.string();

    const TProgramRun folder = Run({tree});
    EXPECT_EQ(folder.Status, 1);
    EXPECT_EQ(folder.Err, "fa4tohtml: " + tree + ": is a folder; use -r to convert the documents in it\n");

    const std::string missing = (FTemp / "nosuch").string();
    const TProgramRun gone = Run({"-r", "-d", FSite.string(), missing});
    EXPECT_EQ(gone.Status, 1);
    EXPECT_EQ(gone.Err.substr(0, gone.Err.find('\n')),
        "fa4tohtml: " + missing + ": Cannot open file " + missing + ": No such file or directory");
    EXPECT_EQ(Read(FSite / "index.html").find("<tr><th scope=\"row\">"), std::string::npos);

    // A file named as a document that is none is named; -d makes its folder
    // with and without -r.
    const TProgramRun walked = Run({"-r", "-d", (FTemp / "a" / "b").string(), tree});
    EXPECT_EQ(walked.Status, 0);
    EXPECT_EQ(walked.Err.substr(0, walked.Err.find('\n')),
        "fa4tohtml: " + (FTree / "notes.FA4").string() +
            ": warning: passed over: does not look like an F&A 4 document");
    const TProgramRun named = Run({"-d", (FTemp / "c" / "d").string(), (FTree / "BRIEF.fa4").string()});
    EXPECT_EQ(named.Status, 0) << named.Err;
    EXPECT_TRUE(fs::exists(FTemp / "c" / "d" / "BRIEF.fa4.html"));
}

TEST_F(ArchiveRun, IndexAndCacheNeverReplaceADocument)
{
    // Converted into the tree itself, where a document is named as the index
    // and another as the cache.
    Document(FTree / "index.html", "Inhalt");
    Document(FTree / ".fa4tohtml-cache", "Versteckt");
    const std::string index = Read(FTree / "index.html");
    const std::string cache = Read(FTree / ".fa4tohtml-cache");
    const TProgramRun run = Run({"-r", "-d", FTree.string(), FTree.string()});
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Err,
        "fa4tohtml: the index would overwrite the document " + (FTree / "index.html").string() + "\n" +
            "fa4tohtml: the cache would overwrite " + (FTree / ".fa4tohtml-cache").string() +
            ", which looks like an F&A 4 document\n");
    EXPECT_EQ(Read(FTree / "index.html"), index);
    EXPECT_EQ(Read(FTree / ".fa4tohtml-cache"), cache);
    EXPECT_FALSE(fs::exists(FTree / "index.html.html"));
}

TEST_F(ArchiveRun, FolderThatCannotBeEnteredOrListedFailsItsDocuments)
{
    Document(FTree / "t1" / "A", "Eins");
    for (const char* name : {"B", "C", "D"}) Document(FTree / "t2" / name, name);
    Document(FTree / "t3" / "E", "Drei");
    const std::string t2 = (FTree / "t2").string();
    const std::string t3 = (FTree / "t3").string();
    ::chmod(t2.c_str(), 0644); // listed, but its files cannot be looked at
    ::chmod(t3.c_str(), 0); // not even listed
    const auto run =
        RunProgramAsOrdinaryUser(FA4TOHTML_PATH, {"-r", "-d", FSite.string(), FTree.string()}, FTemp);
    if (!run) GTEST_SKIP() << "no user without privileges to run as";
    EXPECT_EQ(run->Status, 1);
    std::string expected;
    for (const char* name : {"B", "C", "D"})
        expected += "fa4tohtml: " + t2 + "/" + name + ": Cannot open file " + t2 + "/" + name +
            ": Permission denied\n";
    expected += "fa4tohtml: " + t3 +
        ": Cannot read folder: Permission denied\n"
        "fa4tohtml: 1 converted, 0 passed over as not documents, 0 up to date, 4 failed\n";
    EXPECT_EQ(run->Err, expected);
    const std::string index = Read(FSite / "index.html");
    EXPECT_NE(index.find("<th scope=\"row\">C</th><td class=\"failed\">Not converted: Cannot open file " +
                  t2 + "/C: Permission denied"),
        std::string::npos);
    EXPECT_NE(index.find("<th scope=\"row\">t3</th><td class=\"failed\">Not converted: Cannot read folder"),
        std::string::npos);

    const auto info = RunProgramAsOrdinaryUser(FA4TOHTML_PATH, {"--info", "-r", FTree.string()}, FTemp);
    EXPECT_EQ(info->Status, 1);
    EXPECT_NE(info->Out.find("{\"name\":\"" + t2 + "/D\",\"error\":\"Cannot open file " + t2 +
                  "/D: Permission denied\"}\n"),
        std::string::npos);
    EXPECT_NE(
        info->Out.find("{\"name\":\"" + t3 + "\",\"error\":\"Cannot read folder: Permission denied\"}\n"),
        std::string::npos);
}

TEST_F(ArchiveRun, PathTooLongToOpenFails)
{
    // Folders made one below the other by relative steps, until the path of
    // a document in the deepest is longer than the system opens.
    fs::create_directories(FTree);
    int fd = ::open(FTree.c_str(), O_RDONLY | O_DIRECTORY);
    std::string deep = FTree.string();
    const std::string step(200, 'f');
    while (deep.size() < 4000) {
        ASSERT_EQ(::mkdirat(fd, step.c_str(), 0755), 0);
        const int below = ::openat(fd, step.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = below;
        deep += "/" + step;
    }
    const std::string name(150, 'D');
    const std::string bytes = TFa4Builder().Line("Tief").Bytes();
    const int file = ::openat(fd, name.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(::write(file, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ::close(file);
    ::close(fd);
    const std::string path = deep + "/" + name;
    ASSERT_GE(path.size(), 4096u);

    const TProgramRun run = Run({"-r", FTree.string()});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err,
        "fa4tohtml: " + path + ": Cannot open file " + path +
            ": File name too long\n"
            "fa4tohtml: 0 converted, 0 passed over as not documents, 0 up to date, 1 failed\n");
    const TProgramRun info = Run({"--info", "-r", FTree.string()});
    EXPECT_EQ(info.Status, 1);
    EXPECT_EQ(info.Out,
        "{\"name\":\"" + path + "\",\"error\":\"Cannot open file " + path + ": File name too long\"}\n");
}

TEST_F(ArchiveRun, NamesWithControlCharactersAreQuotedAndCannotForgeALine)
{
    // A title and screen clear, then a line that looks like the summary.
    const std::string summary =
        "fa4tohtml: 9 converted, 0 passed over as not documents, 0 up to date, 0 failed";
    Damaged(FTree / ("a\x1b]0;x\a\x1b[2J\n" + summary));
    const TProgramRun run = Run({"-r", FTree.string()});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err,
        "fa4tohtml: '" + FTree.string() + "/a'$'\\033'']0;x'$'\\a\\033''[2J'$'\\n''" + summary +
            "': Range check error\n"
            "fa4tohtml: 0 converted, 0 passed over as not documents, 0 up to date, 1 failed\n");

    const std::string missing = (FTemp / "x\x1b[2J").string();
    const std::string quoted = "'" + (FTemp / "x").string() + "'$'\\033''[2J'";
    EXPECT_EQ(Run({missing}).Err,
        "fa4tohtml: " + quoted + ": Cannot open file " + quoted + ": No such file or directory\n");
}

} // namespace
} // namespace quorvex::testing
