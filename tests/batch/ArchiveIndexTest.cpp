// The index page of a converted archive: its rows, sections and links.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <filesystem>

#include "TestFiles.h"
#include "ZtArchiveIndex.h"

namespace quorvex::testing {
namespace {

namespace fs = std::filesystem;

TZtIndexRow Converted(std::string path, std::string title, std::int32_t lines = 20)
{
    TZtIndexRow row;
    row.Path = std::move(path);
    row.Title = std::move(title);
    row.Lines = lines;
    row.Size = 110100;
    row.Modified = 86400 * 365; // 1971-01-01 00:00 UTC
    return row;
}

class ArchiveIndex : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("TZ", "UTC", 1);
        tzset();
    }
};

TEST_F(ArchiveIndex, OneRowPerDocument)
{
    const std::string html =
        BuildArchiveIndex("archive", {Converted("letters/1994/BRIEF.TXT", "Sehr <geehrte> & Co")});
    EXPECT_NE(html.find("<tr><th scope=\"row\"><a href=\"./letters/1994/BRIEF.TXT.html\">BRIEF.TXT</a></th>"
                        "<td>Sehr &lt;geehrte&gt; &amp; Co</td><td class=\"number\">20</td>"
                        "<td class=\"number\">110100</td>"
                        "<td class=\"date\"><time datetime=\"1971-01-01T00:00:00\">1971-01-01 "
                        "00:00</time></td><td class=\"excerpt\"></td></tr>"),
        std::string::npos)
        << html;
}

TEST_F(ArchiveIndex, FailedDocumentsShowTheirMessageAndNoLink)
{
    TZtIndexRow failed = Converted("KAPUTT", "");
    failed.Failure = "Range check error";
    const std::string html = BuildArchiveIndex("archive", {failed});
    EXPECT_NE(html.find("<tr><th scope=\"row\">KAPUTT</th><td class=\"failed\">Not converted: Range check "
                        "error</td><td></td>"),
        std::string::npos)
        << html;
    EXPECT_EQ(html.find("KAPUTT.html"), std::string::npos);
}

TEST_F(ArchiveIndex, NamesThatAreNotUtf8StillLink)
{
    const std::string html = BuildArchiveIndex("archive",
        {Converted("br\x81"
                   "f 1:#?.txt",
            "")});
    EXPECT_NE(html.find("<a href=\"./br%81f%201%3A%23%3F.txt.html\">br\xEF\xBF\xBD"
                        "f 1:#?.txt</a>"),
        std::string::npos)
        << html;
}

TEST_F(ArchiveIndex, OneSectionPerFolderInTreeOrder)
{
    const std::string html = BuildArchiveIndex("archive",
        {Converted("a-b/X", ""), Converted("a/b/Y", ""), Converted("a/Z", ""), Converted("a/B", ""),
            Converted("TOP", "")});
    std::vector<std::size_t> at;
    for (const char* text : {"Top folder</h2>", "TOP</a>", ">a</h2>", "B</a>", "Z</a>", ">a/b</h2>", "Y</a>",
             ">a-b</h2>", "X</a>"}) {
        at.push_back(html.find(text));
        ASSERT_NE(at.back(), std::string::npos) << text;
    }
    EXPECT_TRUE(std::is_sorted(at.begin(), at.end())) << html;
}

TEST_F(ArchiveIndex, PageIsValidHtml)
{
    TZtIndexRow failed = Converted("sub/BAD", "");
    failed.Failure = "Cannot open file sub/BAD";
    const std::string html = BuildArchiveIndex("<archive>",
        {Converted("sub/GOOD",
             "Gr\xC3\xBC\xC3\x9F"
             "e \x01 \xC2\x85 <b>"),
            failed, Converted("\xFF.TXT", "")});
    const fs::path folder = MakeTempFolder("quorvex-index");
    const fs::path page = folder / "index.html";
    WriteFileBytes(page.string(), html);
    // Both checkers must be silent: tidy, and the parser of the HTML standard
    // in strict mode, which raises on the first parse error.
    const std::string report = (folder / "report.txt").string();
    const std::string tidy = "tidy -q -e '" + page.string() + "' 2>'" + report + "'";
    const std::string html5lib = "/usr/bin/python3 -c 'import html5lib, sys; "
                                 "html5lib.HTMLParser(strict=True).parse(open(sys.argv[1], \"rb\"))' '" +
        page.string() + "' 2>>'" + report + "'";
    const int tidyStatus = std::system(tidy.c_str());
    const int html5libStatus = std::system(html5lib.c_str());
    const std::string messages = ReadFileBytes(report);
    fs::remove_all(folder);
    EXPECT_EQ(tidyStatus, 0) << messages;
    EXPECT_EQ(html5libStatus, 0) << messages;
    EXPECT_EQ(messages, "");
}

} // namespace
} // namespace quorvex::testing
