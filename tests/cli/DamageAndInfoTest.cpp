// What fa4tohtml tells of damaged documents (a warning, the summary, the
// index) and the JSON Lines of --info.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "Fa4Builder.h"
#include "RunProgram.h"
#include "TestFiles.h"

namespace quorvex::testing {
namespace {

namespace fs = std::filesystem;

class DamageAndInfo : public ::testing::Test {
protected:
    void TearDown() override { fs::remove_all(FTemp); }

    TProgramRun Run(const std::vector<std::string>& args) const
    {
        return RunProgram(FA4TOHTML_PATH, args, FTemp);
    }
    // A letter whose title line is hyphenated, and a copy of it that lost
    // its last bytes.
    std::string Letter(const fs::path& path) const
    {
        fs::create_directories(path.parent_path());
        const std::string bytes = TFa4Builder()
                                      .EmptyParagraphs(12)
                                      .Line("Herrn Wilhelm Fol- ")
                                      .Line("gender, Gartenstra\xE1"
                                            "e 7")
                                      .Line("Sehr geehrter Herr Folgender, die Lieferung kommt morgen.")
                                      .Bytes();
        WriteFileBytes(path.string(), bytes);
        return bytes;
    }
    void CutLetter(const fs::path& path) const
    {
        const std::string bytes = Letter(path);
        WriteFileBytes(path.string(), bytes.substr(0, bytes.size() - 20));
    }
    static std::vector<nlohmann::json> JsonLines(const std::string& text)
    {
        std::vector<nlohmann::json> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
        return lines;
    }

    const fs::path FTemp = MakeTempFolder("quorvex-damage");
    const fs::path FTree = FTemp / "archive";
    const fs::path FSite = FTemp / "site";
};

TEST_F(DamageAndInfo, DamagedDocumentIsWarnedCountedAndMarkedInTheIndex)
{
    Letter(FTree / "intact.fa4");
    CutLetter(FTree / "cut.fa4");
    const TProgramRun run = Run({"-r", "-d", FSite.string(), FTree.string()});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Err,
        "fa4tohtml: " + (FTree / "cut.fa4").string() +
            ": warning: damaged: 1 of 15 lines cut at the end of the file (20 bytes missing)\n"
            "fa4tohtml: 2 converted (1 damaged), 0 passed over as not documents, 0 up to date, 0 failed\n");
    const std::string index = ReadFileBytes((FSite / "index.html").string());
    EXPECT_NE(index.find("<div class=\"damaged\">Damaged: 1 of 15 lines cut at the end of the file"),
        std::string::npos);
    EXPECT_NE(index.find("2 of 2 documents converted; 1 of them damaged."), std::string::npos);
    // The title joins the hyphenated word; the excerpt goes on past it.
    EXPECT_NE(index.find("<td>Herrn Wilhelm Folgender,</td>"), std::string::npos);
    EXPECT_NE(index.find("<td class=\"excerpt\">Herrn Wilhelm Folgender, Gartenstra\xC3\x9F"
                         "e 7 Sehr geehrter"),
        std::string::npos);

    EXPECT_EQ(Run({(FTree / "intact.fa4").string()}).Err, ""); // an intact document says nothing
}

TEST_F(DamageAndInfo, InfoPrintsOneJsonObjectPerFile)
{
    Letter(FTree / "a.fa4");
    CutLetter(FTree / "b.fa4");
    const std::string odd = std::string("c\xFF\n") + "d.fa4";
    Letter(FTree / odd);
    WriteFileBytes((FTree / "notes.txt").string(), "Notizen\r\n");
    const TProgramRun run = Run({"--info", "-r", FTree.string()});
    EXPECT_EQ(run.Status, 0) << run.Err;
    const std::vector<nlohmann::json> lines = JsonLines(run.Out);
    ASSERT_EQ(lines.size(), 4u) << run.Out;
    EXPECT_EQ(lines[0]["name"], (FTree / "a.fa4").string());
    EXPECT_EQ(lines[0]["document"], true);
    EXPECT_EQ(lines[0]["lines"], 15);
    EXPECT_EQ(lines[0]["title"], "Herrn Wilhelm Folgender,");
    EXPECT_EQ(lines[0]["damaged"], 0);
    EXPECT_TRUE(lines[0]["damage"].is_null());
    EXPECT_EQ(lines[0]["size"], fs::file_size(FTree / "a.fa4"));
    EXPECT_EQ(lines[0]["modified"].get<std::string>().size(), 25u); // 2024-03-01T09:30:00+01:00
    EXPECT_EQ(lines[1]["damaged"], 1);
    EXPECT_EQ(lines[1]["damage"]["lines_cut"], 1);
    EXPECT_EQ(lines[1]["damage"]["bytes_missing"], 20);
    // A name that is no UTF-8 can be recovered from its bytes.
    EXPECT_EQ(
        lines[2]["name_hex"].get<std::string>().substr(lines[2]["name_hex"].get<std::string>().size() - 16),
        "63ff0a642e666134");
    EXPECT_EQ(lines[3]["document"], false);
    EXPECT_TRUE(lines[3]["lines"].is_null());

    const TProgramRun missing = Run({"--info", (FTemp / "nosuch").string()});
    EXPECT_EQ(missing.Status, 1);
    EXPECT_EQ(JsonLines(missing.Out).at(0)["error"],
        "Cannot open file " + (FTemp / "nosuch").string() + ": No such file or directory");
    EXPECT_EQ(Run({"--info", "-d", "x", FTree.string()}).Status, 2);
}

} // namespace
} // namespace quorvex::testing
