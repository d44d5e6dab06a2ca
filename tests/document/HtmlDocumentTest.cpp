// The whole HTML document, and saving it over an existing file.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "DocumentFixture.h"
#include "TestFiles.h"
#include "ZtDefaultPreferences.h"
#include "ZtFileAccess.h"

namespace quorvex::testing {
namespace {

namespace fs = std::filesystem;

const std::string Doctype = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n";

class HtmlDocumentTest : public ::testing::Test {
protected:
    void SetUp() override { Folder = MakeTempFolder("quorvex-html"); }
    void TearDown() override { fs::remove_all(Folder); }
    std::vector<std::string> FolderEntries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Folder)) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path Folder;
    TZtFileInfoFa4 Document;
};

TEST_F(HtmlDocumentTest, SectionsInTheirOrderAfterThePreferences)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 14; ++i) lines.push_back("L" + std::to_string(i));
    LoadLines(Document, lines);
    EXPECT_EQ(BuildHtml("<head>\r\n</head>\r\n", Document),
        Doctype +
            "<head>\r\n</head>\r\n<body>\r\n<!-- LINE 6 -->L6\r\n<!-- LINE 7 -->L7\r\n<!-- LINE 8 -->L8\r\n"
            "<!-- LINE 9 -->L9\r\n<!-- LINE 10 -->L10\r\n<!-- LINE 11 -->L11<hr>"
            "<!-- LINE 12 -->L12\r\n<!-- LINE 13 -->L13<hr>"
            "<!-- LINE 0 -->L0\r\n<!-- LINE 1 -->L1\r\n<!-- LINE 2 -->L2\r\n<!-- LINE 3 -->L3\r\n"
            "<!-- LINE 4 -->L4\r\n<!-- LINE 5 -->L5</body>");
    Document.SetMarkup(TMarkup::Classic);
    EXPECT_EQ(BuildHtml("<head>\r\n</head>\r\n", Document),
        "<head>\r\n</head>\r\n<body>\r<!-- LINE 6 -->L6\r<!-- LINE 7 -->L7\r<!-- LINE 8 -->L8\r"
        "<!-- LINE 9 -->L9\r<!-- LINE 10 -->L10\r<!-- LINE 11 -->L11<hr>"
        "<!-- LINE 12 -->L12\r<!-- LINE 13 -->L13<hr>"
        "<!-- LINE 0 -->L0\r<!-- LINE 1 -->L1\r<!-- LINE 2 -->L2\r<!-- LINE 3 -->L3\r"
        "<!-- LINE 4 -->L4\r<!-- LINE 5 -->L5</body>");
}

TEST_F(HtmlDocumentTest, DefaultPreferencesShortDocumentsAndEmptyHead)
{
    LoadLines(Document, {"a", "b", "c"});
    const std::string html = BuildHtml(DefaultPreferencesText, Document);
    const std::string start = Doctype + "<head>\r\n<meta charset=\"utf-8\">\r\n<style";
    EXPECT_EQ(html.substr(0, start.size()), start);
    const std::string bodyStart = "</head>\r\n<body>\r\n<!-- LINE 6 -->";
    EXPECT_EQ(html.substr(Doctype.size() + DefaultPreferencesText.size() - 9, bodyStart.size()), bodyStart);
    EXPECT_NE(html.find("<!-- LINE 11 --><hr><hr><!-- LINE 0 -->a\r\n"), std::string::npos);
    EXPECT_EQ(html.substr(html.size() - 7), "</body>");
    EXPECT_EQ(BuildHtml("", Document), BuildHtml(Doctype, Document));
    EXPECT_EQ(BuildHtml("", Document).substr(Doctype.size(), 8), "<body>\r\n");
    // A head with a doctype of its own gets no second one.
    EXPECT_EQ(BuildHtml(" <!doctype html>\r\n", Document).substr(0, 26), " <!doctype html>\r\n<body>\r\n");
    // Sections end with a line end when their last line does.
    LoadLines(Document, {"a", "b", "c", "d", "e", std::string(4, '\xC4'), "g", "h", "i", "j", "k", "l"});
    EXPECT_NE(BuildHtml("", Document).find("<!-- LINE 5 --><hr>\r\n</body>"), std::string::npos);
    Document.SetMarkup(TMarkup::Classic);
    EXPECT_EQ(BuildHtml("", Document).substr(0, 7), "<body>\r");
    EXPECT_NE(BuildHtml("", Document).find("<!-- LINE 5 --><hr>\r</body>"), std::string::npos);
    EXPECT_EQ(
        BuildHtml(ClassicPreferencesText, Document).substr(0, 33), "<head>\r\n<style type=\"text/css\">\r\n");
}

TEST_F(HtmlDocumentTest, SaveReplacesALongerFileWhole)
{
    const std::string name = (Folder / "doc.html").string();
    WriteFileBytes(name, std::string(100000, 'z'));
    ::chmod(name.c_str(), 0640);
    // Only root may give a file away; it keeps its owner then.
    const bool givenAway = ::chown(name.c_str(), 4321, 4322) == 0;
    LoadLines(Document, {"Haus"});
    SaveHtml(name, DefaultPreferencesText, Document);
    EXPECT_EQ(ReadFileBytes(name), BuildHtml(DefaultPreferencesText, Document));
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"doc.html"});
    struct stat info { };
    ASSERT_EQ(::stat(name.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    if (givenAway) {
        EXPECT_EQ(info.st_uid, 4321u);
        EXPECT_EQ(info.st_gid, 4322u);
    }
}

TEST_F(HtmlDocumentTest, SaveIntoAFolderThatCannotHoldTheFileFails)
{
    LoadLines(Document, {"Haus"});
    for (const auto& [name, reason] :
        {std::pair{(Folder / "missing" / "doc.html").string(), ": No such file or directory"},
            std::pair{(Folder / "plain.txt" / "doc.html").string(), ": Not a directory"}}) {
        WriteFileBytes((Folder / "plain.txt").string(), "text");
        try {
            SaveHtml(name, DefaultPreferencesText, Document);
            ADD_FAILURE() << "no error for " << name;
        } catch (const EZtError& error) {
            EXPECT_EQ(std::string(error.what()), "Cannot create file " + name + reason);
        }
    }
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"plain.txt"});
    // A name that is a folder cannot be replaced either; the folder stays.
    fs::create_directory(Folder / "sub");
    EXPECT_THROW(SaveHtml((Folder / "sub").string(), "", Document), EZtError);
    EXPECT_TRUE(fs::is_directory(Folder / "sub"));
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"plain.txt", "sub"}));
}

TEST_F(HtmlDocumentTest, FailedConversionLeavesTheEarlierFile)
{
    const std::string name = (Folder / "doc.html").string();
    WriteFileBytes(name, "earlier");
    // A table in the header whose left edge meets an empty line: the
    // classic output fails there.
    LoadLines(Document, {"a", "b", "c", "d", "e", "f", "\xDA\xC4\xBF", "", "i"});
    Document.SetMarkup(TMarkup::Classic);
    try {
        SaveHtml(name, DefaultPreferencesText, Document);
        ADD_FAILURE() << "no error";
    } catch (const EZtError& error) {
        EXPECT_STREQ(error.what(), "Range check error");
    }
    EXPECT_EQ(ReadFileBytes(name), "earlier");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"doc.html"});
}

// The window shows BuildHtml's error as a failed conversion; the save of such
// a document writes nothing.
TEST_F(HtmlDocumentTest, TooComplexDocumentIsRefusedAndSavesNothing)
{
    LoadLines(Document, ConcentricBoxes(100));
    try {
        BuildHtml(DefaultPreferencesText, Document);
        ADD_FAILURE() << "no error";
    } catch (const EZtError& error) {
        EXPECT_STREQ(error.what(), "Document too complex to convert");
    }
    const std::string name = (Folder / "boxes.html").string();
    EXPECT_THROW(SaveHtml(name, DefaultPreferencesText, Document), ETooComplexError);
    EXPECT_TRUE(FolderEntries().empty());
    WriteFileBytes(name, "earlier");
    EXPECT_THROW(SaveHtml(name, DefaultPreferencesText, Document), ETooComplexError);
    EXPECT_EQ(ReadFileBytes(name), "earlier");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"boxes.html"});
}

TEST(FileAccess, WritesAndReadsBackExactBytes)
{
    std::string pattern = (fs::temp_directory_path() / "quorvex-write-XXXXXX").string();
    const fs::path folder = ::mkdtemp(pattern.data());
    const std::string name = (folder / "bytes.bin").string();
    std::string bytes;
    for (int i = 0; i < 70000; ++i) bytes += static_cast<char>(i * 7);
    WriteWholeFile(name, bytes);
    EXPECT_EQ(ReadWholeFile(name), bytes);
    WriteWholeFile(name, "");
    EXPECT_EQ(ReadWholeFile(name), "");
    fs::remove_all(folder);
}

} // namespace
} // namespace quorvex::testing
