// The converter run as a process, the way scripts use it.

#include <gtest/gtest.h>
#include <spawn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <vector>

#include "Fa4Builder.h"
#include "TestFiles.h"
#include "ZtDefaultPreferences.h"
#include "ZtErrors.h"
#include "ZtFileInfoFa4.h"

extern char** environ;

namespace quorvex {
namespace {

namespace fs = std::filesystem;
using testing::TFa4Builder;

constexpr std::string_view Doctype = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n";

struct TRun {
    int Status = -1;
    std::string Out;
    std::string Err;
};

std::string ReadBytes(const fs::path& name)
{
    return testing::ReadFileBytes(name.string());
}
void WriteBytes(const fs::path& name, const std::string& bytes)
{
    testing::WriteFileBytes(name.string(), bytes);
}

class Fa4ToHtml : public ::testing::Test {
protected:
    void SetUp() override
    {
        FDir = fs::temp_directory_path() /
            ("quorvex-fa4tohtml-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(FDir);
        fs::create_directories(FDir);
    }
    void TearDown() override { fs::remove_all(FDir); }

    std::string Path(const std::string& name) const { return (FDir / name).string(); }

    // Runs the converter in the test folder, its output streams caught in
    // files, standard input read from `input` when one is named.
    TRun Run(const std::vector<std::string>& args, const std::string& input = "") const
    {
        const std::string outName = Path("stdout.txt");
        const std::string errName = Path("stderr.txt");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outName.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, errName.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (!input.empty()) posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDONLY, 0);
        std::vector<std::string> all = {FA4TOHTML_PATH};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& arg : all) argv.push_back(arg.data());
        argv.push_back(nullptr);

        TRun run;
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, FA4TOHTML_PATH, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            ADD_FAILURE() << "cannot start " << FA4TOHTML_PATH;
            return run;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.Out = ReadBytes(outName);
        run.Err = ReadBytes(errName);
        return run;
    }

    // A small document: a header line, body paragraphs with umlauts and a
    // character outside the translated set, and `extra` as more body lines.
    std::string MakeDocument(const std::string& name, const std::vector<std::string>& extra = {}) const
    {
        TFa4Builder builder;
        builder.EmptyParagraphs(6);
        builder.Line("Kopfzeile\xFF\x01");
        builder.EmptyParagraphs(5);
        builder.Line("Sehr geehrte Damen und Herren,\xFF\x01");
        builder.Line("Gr\x81\xE1"
                     "e aus M\x81nchen, caf\x82 \xFF\x80"
                     "fett\xFF\x90.\xFF\x01");
        for (const auto& line : extra) builder.Line(line);
        const std::string path = Path(name);
        builder.WriteTo(path);
        return path;
    }

    // What SaveHtml writes for the document with the given preferences.
    static std::string Expected(const std::string& document, std::string_view preferences,
        TCharOutput output = TCharOutput::CharReferences, THyphenJoin join = hjJoined,
        TMarkup markup = TMarkup::Portable)
    {
        TZtFileInfoFa4 fa4;
        fa4.SetCharOutput(output);
        fa4.SetHyphenJoin(join);
        fa4.SetMarkup(markup);
        fa4.LoadFromFile(document);
        return BuildHtml(preferences, fa4);
    }

    fs::path FDir;
};

TEST_F(Fa4ToHtml, WritesEachDocumentBesideItself)
{
    const std::string a = MakeDocument("a.fa4");
    const std::string b = MakeDocument("b.txt", {"zweite\xFF\x01"});
    const TRun run = Run({a, b});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(run.Out, "");
    const std::string html = ReadBytes(a + ".html");
    EXPECT_EQ(html, Expected(a, DefaultPreferencesText));
    const std::string start = std::string(Doctype) + std::string(DefaultPreferencesText) + "<body>\r\n";
    EXPECT_EQ(html.substr(0, start.size()), start);
    EXPECT_EQ(html.substr(html.size() - 7), "</body>");
    EXPECT_EQ(ReadBytes(b + ".html"), Expected(b, DefaultPreferencesText));
}

TEST_F(Fa4ToHtml, OutputFileAndStandardOutput)
{
    const std::string a = MakeDocument("a.fa4");
    const std::string expected = Expected(a, DefaultPreferencesText);

    const TRun toStdout = Run({"-o", "-", a});
    EXPECT_EQ(toStdout.Status, 0) << toStdout.Err;
    EXPECT_EQ(toStdout.Out, expected);
    EXPECT_FALSE(fs::exists(a + ".html"));

    const std::string target = Path("chosen.htm");
    WriteBytes(target, std::string(100000, 'x'));
    const TRun toFile = Run({a, "-o", target});
    EXPECT_EQ(toFile.Status, 0) << toFile.Err;
    EXPECT_EQ(ReadBytes(target), expected);
}

TEST_F(Fa4ToHtml, FolderOption)
{
    const std::string a = MakeDocument("a.fa4");
    fs::create_directories(FDir / "out");
    const TRun run = Run({"-d", Path("out"), a});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(ReadBytes(FDir / "out" / "a.fa4.html"), Expected(a, DefaultPreferencesText));
    EXPECT_FALSE(fs::exists(a + ".html"));
}

TEST_F(Fa4ToHtml, TextInsteadOfHtmlWhereverHtmlWouldGo)
{
    const std::string a = MakeDocument("a.fa4");
    const std::string text = "Kopfzeile\n\n\n\n\n\nSehr geehrte Damen und Herren,\nGr\xC3\xBC\xC3\x9F"
                             "e aus M\xC3\xBCnchen, caf\xC3\xA9 fett.\n";
    TRun run = Run({"--text", a});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(ReadBytes(a + ".txt"), text);
    EXPECT_FALSE(fs::exists(a + ".html"));
    run = Run({"--text", "-o", "-", a});
    EXPECT_EQ(run.Out, text);
    run = Run({"--text", "-o", Path("chosen"), a});
    EXPECT_EQ(ReadBytes(Path("chosen")), text);
    run = Run({"--text", "-"}, a);
    EXPECT_EQ(run.Out, text);
    // A folder walked into another: NAME.txt in the mirrored folders, and no
    // index, which would link to HTML.
    fs::create_directories(FDir / "tree" / "sub");
    fs::copy_file(a, FDir / "tree" / "sub" / "b.fa4");
    run = Run({"--text", "-r", "-d", Path("out"), Path("tree")});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(ReadBytes(FDir / "out" / "sub" / "b.fa4.txt"), text);
    EXPECT_FALSE(fs::exists(FDir / "out" / "index.html"));
    EXPECT_FALSE(fs::exists(FDir / "out" / "sub" / "b.fa4.html"));
    EXPECT_EQ(Run({"--text", "-r", Path("tree")}).Status, 0);
    EXPECT_EQ(ReadBytes(FDir / "tree" / "sub" / "b.fa4.txt"), text);
    EXPECT_FALSE(fs::exists(FDir / "tree" / "sub" / "b.fa4.html"));
    EXPECT_EQ(Run({"--text", "--info", a}).Status, 2);
}

TEST_F(Fa4ToHtml, PreferencesFileLinesEndedWithCrLf)
{
    const std::string a = MakeDocument("a.fa4");
    const std::string prefs = Path("prefs.html");
    WriteBytes(prefs, "<head>\n<title>Brief</title>\n</head>");
    const TRun run = Run({"-p", prefs, "-o", "-", a});
    EXPECT_EQ(run.Status, 0) << run.Err;
    const std::string head = "<head>\r\n<title>Brief</title>\r\n</head>\r\n";
    EXPECT_EQ(run.Out, Expected(a, head));
    EXPECT_EQ(
        run.Out.substr(0, Doctype.size() + head.size() + 8), std::string(Doctype) + head + "<body>\r\n");

    const std::string missing = Path("none.html");
    const TRun failed = Run({"-p", missing, a});
    EXPECT_EQ(failed.Status, 1);
    EXPECT_EQ(failed.Err,
        "fa4tohtml: " + missing + ": " + FormatFileMessage("Cannot open file %s", missing, ENOENT) + "\n");
    EXPECT_FALSE(fs::exists(a + ".html"));
}

TEST_F(Fa4ToHtml, ReadableByDefaultClassicOnRequest)
{
    const std::string a = MakeDocument("a.fa4", {"\x9B \xB0 Wort- ", "teil\xFF\x01"});
    const TRun sound = Run({"-o", "-", a});
    EXPECT_EQ(sound.Status, 0) << sound.Err;
    EXPECT_EQ(sound.Out, Expected(a, DefaultPreferencesText));
    EXPECT_NE(sound.Out.find("  .font1 {font-size:18pt}\r\n"), std::string::npos);
    EXPECT_NE(sound.Out.find("caf&#233;"), std::string::npos);
    EXPECT_NE(sound.Out.find("&#162; &#9617; Wort&shy;<!-- LINE 15 -->teil<br>"), std::string::npos);
    // Translated characters keep their entities.
    EXPECT_NE(sound.Out.find("Gr&uuml;&szlig;e"), std::string::npos);
    for (const char c : sound.Out)
        ASSERT_LT(static_cast<unsigned char>(c), 0x80) << "8-bit byte left in the output";
    EXPECT_EQ(Run({"--unicode", "-o", "-", a}).Out, sound.Out);

    const TRun classic = Run({"--classic", "-o", "-", a});
    EXPECT_EQ(classic.Status, 0) << classic.Err;
    EXPECT_EQ(
        classic.Out, Expected(a, ClassicPreferencesText, TCharOutput::Bytes, hjLineBreak, TMarkup::Classic));
    EXPECT_EQ(classic.Out.substr(0, ClassicPreferencesText.size()), ClassicPreferencesText);
    EXPECT_NE(classic.Out.find("  font.font1 {font:18pt}\r\n"), std::string::npos);
    EXPECT_NE(classic.Out.find("caf\x82"), std::string::npos);
    EXPECT_NE(classic.Out.find("\x9B \xB0 Wort&shy;\r<!-- LINE 15 -->teil<br>"), std::string::npos);

    const TRun both = Run({"--unicode", "--classic", "-o", "-", a});
    EXPECT_EQ(both.Out,
        Expected(a, ClassicPreferencesText, TCharOutput::CharReferences, hjLineBreak, TMarkup::Classic));
    EXPECT_NE(both.Out.find("&#162; &#9617; Wort&shy;\r<!-- LINE 15 -->"), std::string::npos);
}

TEST_F(Fa4ToHtml, MissingDocumentInTheMiddleOfABatch)
{
    const std::string a = MakeDocument("a.fa4");
    const std::string missing = Path("missing.fa4");
    const std::string c = MakeDocument("c.fa4");
    const TRun run = Run({a, missing, c});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err,
        "fa4tohtml: " + missing + ": " + FormatFileMessage("Cannot open file %s", missing, ENOENT) + "\n");
    EXPECT_EQ(ReadBytes(a + ".html"), Expected(a, DefaultPreferencesText));
    EXPECT_EQ(ReadBytes(c + ".html"), Expected(c, DefaultPreferencesText));
    EXPECT_FALSE(fs::exists(missing + ".html"));
}

TEST_F(Fa4ToHtml, PreferencesFileAboveTheBoundIsRefusedBeforeItIsRead)
{
    // Sparse: reading it whole would take its size in memory.
    const std::string good = MakeDocument("good.fa4");
    const std::string preferences = Path("head.html");
    WriteBytes(preferences, "");
    fs::resize_file(preferences, (std::uintmax_t{16} << 20) + 1);
    const TRun head = Run({"-p", preferences, good});
    EXPECT_EQ(head.Status, 1);
    EXPECT_EQ(head.Err,
        "fa4tohtml: " + preferences + ": Cannot open file " + preferences +
            ": 16777217 bytes, more than the 16 MiB a preferences file may hold\n");
    EXPECT_FALSE(fs::exists(good + ".html"));
}

TEST_F(Fa4ToHtml, FailedConversionLeavesTheOutputFileAlone)
{
    const std::string target = Path("keep.html");
    WriteBytes(target, "earlier");
    const TRun run = Run({"-o", target, Path("missing.fa4")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(ReadBytes(target), "earlier");

    // -d makes a missing folder, but not inside a file.
    const std::string a = MakeDocument("a.fa4");
    WriteBytes(Path("plain"), "text");
    const TRun noFolder = Run({"-d", Path("plain/sub"), a});
    EXPECT_EQ(noFolder.Status, 1);
    EXPECT_NE(noFolder.Err.find("fa4tohtml: " + a + ": "), std::string::npos) << noFolder.Err;
}

// Concentric boxes whose HTML doubles with every ring, from line 12 on.
std::string ConcentricBoxesDocument(const fs::path& name, int size)
{
    TFa4Builder builder;
    for (int i = 0; i < 12; ++i) builder.Line("x");
    builder.Lines(quorvex::testing::ConcentricBoxes(size));
    builder.WriteTo(name.string());
    return name.string();
}

TEST_F(Fa4ToHtml, BatchGoesOnPastDocumentsThatCannotBeConverted)
{
    const std::string a = MakeDocument("a.fa4");
    const std::string b = MakeDocument("b.fa4");
    // A table whose left edge meets a line too short to hold it.
    const std::string damaged = Path("c.fa4");
    TFa4Builder().Lines(std::vector<std::string>(12, "x")).Line("ab\xDA\xC4\xBF").Line("x").WriteTo(damaged);
    const std::string d = MakeDocument("d.fa4");
    const std::string boxes = ConcentricBoxesDocument(FDir / "boxes.fa4", 100);
    const std::string empty = Path("empty.fa4");
    WriteBytes(empty, "");
    const std::string huge = Path("huge.fa4");
    WriteBytes(huge, "");
    fs::resize_file(huge, std::uintmax_t{1} << 31); // sparse: takes no disk space
    const std::string folder = Path("folder.fa4");
    fs::create_directories(folder);
    fs::create_directories(FDir / "out");
    const fs::path out = FDir / "out";
    WriteBytes(out / "boxes.fa4.html", "earlier");
    // Read as it stands, a pipe would wait for a writer for ever.
    const std::string pipe = Path("pipe.fa4");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);

    const TRun run = Run({"-j", "1", "-d", out.string(), a, b, damaged, d, boxes, empty, huge, folder, pipe});
    EXPECT_EQ(run.Status, 1);
    auto line = [](const std::string& name, const std::string& message) {
        return "fa4tohtml: " + name + ": " + message + "\n";
    };
    // Named files that do not look like documents are still tried, after a warning.
    const std::string notADocument = "warning: does not look like an F&A 4 document";
    // The broken box is converted as lines, and said to be.
    EXPECT_EQ(run.Err,
        line(damaged, "warning: damaged: 1 table could not be read as a table") +
            line(boxes, "Document too complex to convert") + line(empty, notADocument) +
            line(huge, notADocument) +
            line(huge, "Range check error: 2147483648 bytes; a document holds less than 2 GiB") +
            line(folder, "is a folder; use -r to convert the documents in it") +
            line(pipe, "Cannot open file " + pipe + ": Not a regular file"));
    for (const std::string& written : {a, b, damaged, d, empty}) {
        const fs::path html = out / (fs::path(written).filename().string() + ".html");
        EXPECT_EQ(ReadBytes(html), Expected(written, DefaultPreferencesText)) << written;
    }
    EXPECT_EQ(ReadBytes(out / "boxes.fa4.html"), "earlier");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(out)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
        (std::vector<std::string>{
            "a.fa4.html", "b.fa4.html", "boxes.fa4.html", "c.fa4.html", "d.fa4.html", "empty.fa4.html"}));
}

TEST_F(Fa4ToHtml, ParallelBatchGivesTheSameFilesAndMessagesInOrder)
{
    std::vector<std::string> documents;
    for (int i = 0; i < 8; ++i) {
        if (i % 3 == 1) {
            documents.push_back(Path("missing" + std::to_string(i) + ".fa4"));
        } else {
            documents.push_back(
                MakeDocument("doc" + std::to_string(i) + ".fa4", {std::string(i * 50, 'x') + "\xFF\x01"}));
        }
    }
    fs::create_directories(FDir / "one");
    fs::create_directories(FDir / "two");
    std::vector<std::string> serial = {"-j", "1", "-d", Path("one")};
    std::vector<std::string> parallel = {"-j2", "-d", Path("two")};
    serial.insert(serial.end(), documents.begin(), documents.end());
    parallel.insert(parallel.end(), documents.begin(), documents.end());

    const TRun one = Run(serial);
    const TRun two = Run(parallel);
    EXPECT_EQ(one.Status, 1);
    EXPECT_EQ(two.Status, 1);
    EXPECT_EQ(one.Err, two.Err);
    std::string expectedErr;
    for (const auto& document : documents)
        if (!fs::exists(document))
            expectedErr += "fa4tohtml: " + document + ": " +
                FormatFileMessage("Cannot open file %s", document, ENOENT) + "\n";
    EXPECT_EQ(two.Err, expectedErr);

    int files = 0;
    for (const auto& entry : fs::directory_iterator(FDir / "one")) {
        const fs::path name = entry.path().filename();
        EXPECT_EQ(ReadBytes(entry.path()), ReadBytes(FDir / "two" / name)) << name;
        ++files;
    }
    EXPECT_EQ(files, 5);
}

TEST_F(Fa4ToHtml, UsageErrorsExitWithTwoAndWriteNothing)
{
    const std::string a = MakeDocument("a.fa4");
    const std::string b = MakeDocument("b.fa4");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--frobnicate", a},
        {a, "-o"},
        {"-o", Path("x.html"), a, b},
        {"-j", "zero", a},
    };
    for (const auto& args : cases) {
        const TRun run = Run(args);
        EXPECT_EQ(run.Status, 2) << (args.empty() ? "" : args[0]);
        EXPECT_EQ(run.Err.rfind("fa4tohtml: ", 0), 0u) << run.Err;
        EXPECT_NE(run.Err.find("--help"), std::string::npos) << run.Err;
    }
    EXPECT_FALSE(fs::exists(a + ".html"));
    EXPECT_FALSE(fs::exists(b + ".html"));
    EXPECT_FALSE(fs::exists(Path("x.html")));
}

TEST_F(Fa4ToHtml, ConflictingOutputsAreRefusedBeforeAnythingIsWritten)
{
    const std::string a = MakeDocument("a.fa4");
    const std::string b = MakeDocument("b.fa4");
    const std::string bytes = ReadBytes(a);
    const TRun self = Run({"-o", a, a});
    EXPECT_EQ(self.Status, 2);
    EXPECT_EQ(self.Err, "fa4tohtml: the HTML of " + a + " would overwrite the document " + a + "\n");
    EXPECT_EQ(ReadBytes(a), bytes);

    // x and x.html: the second is refused before the first is converted.
    const TRun pair = Run({b, a, a + ".html"});
    EXPECT_EQ(pair.Status, 2);
    EXPECT_EQ(pair.Err, "fa4tohtml: the HTML of " + a + " would overwrite the document " + a + ".html\n");

    fs::create_directories(FDir / "x");
    fs::create_directories(FDir / "y");
    const std::string x = MakeDocument("x/D.fa4");
    const std::string y = MakeDocument("y/D.fa4");
    const TRun twice = Run({"-d", FDir.string(), b, x, y});
    EXPECT_EQ(twice.Status, 2);
    EXPECT_EQ(twice.Err,
        "fa4tohtml: " + x + " and " + y + " would both be written to " + (FDir / "D.fa4.html").string() +
            "\n");
    for (const auto& entry : fs::recursive_directory_iterator(FDir))
        EXPECT_NE(entry.path().extension(), ".html") << entry.path();
}

TEST_F(Fa4ToHtml, NoOutputReplacesAFileThatLooksLikeADocument)
{
    fs::create_directories(FDir / "x");
    fs::create_directories(FDir / "y");
    const std::string x = MakeDocument("x/D.fa4");
    const std::string y = MakeDocument("y/D.fa4");
    const std::string bytes = ReadBytes(x);
    const std::string suffix = ", which looks like an F&A 4 document\n";
    // -o, the default name and -d, each naming a document outside the run.
    const TRun named = Run({"-o", x, y});
    EXPECT_EQ(named.Status, 2);
    EXPECT_EQ(named.Err, "fa4tohtml: the HTML of " + y + " would overwrite " + x + suffix);
    fs::copy_file(x, y + ".html");
    const TRun beside = Run({y});
    EXPECT_EQ(beside.Status, 2);
    EXPECT_EQ(beside.Err, "fa4tohtml: the HTML of " + y + " would overwrite " + y + ".html" + suffix);
    fs::rename(y + ".html", Path("x/D.fa4.html"));
    const TRun into = Run({"-d", Path("x"), y});
    EXPECT_EQ(into.Status, 2);
    EXPECT_EQ(into.Err, "fa4tohtml: the HTML of " + y + " would overwrite " + Path("x/D.fa4.html") + suffix);
    EXPECT_EQ(ReadBytes(x), bytes);
    EXPECT_EQ(ReadBytes(Path("x/D.fa4.html")), bytes);
}

TEST_F(Fa4ToHtml, DashReadsStandardInput)
{
    const std::string a = MakeDocument("a.fa4");
    const std::string expected = Expected(a, DefaultPreferencesText);
    const TRun toStdout = Run({"-"}, a);
    EXPECT_EQ(toStdout.Status, 0) << toStdout.Err;
    EXPECT_EQ(toStdout.Out, expected);

    // Beside a named document, with -o naming the file, from a pipe.
    const std::string pipe = Path("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    auto feeder = std::async(std::launch::async, [&] { WriteBytes(pipe, testing::ReadFileBytes(a)); });
    const TRun toFile = Run({"--output", Path("in.html"), "-"}, pipe);
    feeder.get();
    EXPECT_EQ(toFile.Status, 0) << toFile.Err;
    EXPECT_EQ(ReadBytes(Path("in.html")), expected);
    EXPECT_EQ(toFile.Out, "");

    // Standard input that is no document is named as a file would be.
    WriteBytes(Path("notes.txt"), "Notizen\r\n");
    EXPECT_EQ(
        Run({"-"}, Path("notes.txt")).Err, "fa4tohtml: -: warning: does not look like an F&A 4 document\n");

    // A table whose left edge meets a line too short to hold it.
    const std::string damaged = Path("damaged.fa4");
    TFa4Builder().Lines(std::vector<std::string>(12, "x")).Line("ab\xDA\xC4\xBF").Line("x").WriteTo(damaged);
    const TRun read = Run({"-"}, damaged);
    EXPECT_EQ(read.Status, 0);
    EXPECT_NE(read.Out.find("<!-- LINE 12 -->ab+-+\r\n<!-- LINE 13 -->x<hr>"), std::string::npos) << read.Out;
    EXPECT_EQ(read.Err, "fa4tohtml: -: warning: damaged: 1 table could not be read as a table\n");
    const TRun broken = Run({"--classic", "-"}, damaged);
    EXPECT_EQ(broken.Status, 1);
    EXPECT_EQ(broken.Out, "");
    EXPECT_EQ(broken.Err, "fa4tohtml: -: Range check error\n");
}

TEST_F(Fa4ToHtml, HelpAndVersion)
{
    const TRun help = Run({"--help"});
    EXPECT_EQ(help.Status, 0);
    EXPECT_EQ(help.Out.rfind("Usage: fa4tohtml ", 0), 0u) << help.Out;
    EXPECT_EQ(help.Err, "");

    for (const char* option : {"--version", "-V"}) {
        const TRun version = Run({option});
        EXPECT_EQ(version.Status, 0);
        EXPECT_EQ(version.Out, std::string("fa4tohtml (Quorvex) ") + QUORVEX_VERSION + "\n");
    }
}

} // namespace
} // namespace quorvex
