// The data the index's search reads: words folded as a reader types them,
// sorted into files by their first letters, and the texts for the passages.

#include <gtest/gtest.h>

#include <map>

#include "ZtSearchData.h"

namespace quorvex {
namespace {

TEST(SearchData, WordsAreFoldedForCaseAndMarks)
{
    EXPECT_EQ(FoldWord("M\xC3\xBCller"), "muller");
    EXPECT_EQ(FoldWord("STRA\xC3\x9F"
                       "E"),
        "strasse");
    EXPECT_EQ(FoldWord("\xC3\x80\xC3\x89\xC3\x8E\xC3\x95\xC3\x87\xC3\x91\xC3\xBF"), "aeiocny");
    EXPECT_EQ(FoldWord("\xC3\x86\xC3\x98\xCE\xA9"), "\xC3\xA6\xC3\xB8\xCF\x89"); // Æ Ø Ω made small
    // Words are runs of letters and digits: hyphens, tabs, signs split them.
    EXPECT_EQ(FoldedWords("DIN-Norm\t933 3\xC3\x97"
                          "4 \xE2\x94\x80 \xC2\xB5m, Gr\xC3\xB6\xC3\x9F"
                          "e."),
        (std::vector<std::string>{"din", "norm", "933", "3", "4", "\xC2\xB5m", "grosse"}));
}

TEST(SearchData, WordFilesByFirstLettersAndTextsThatReadBack)
{
    TZtSearchDataBuilder builder;
    const std::string odd = "Zitat: \"a\\b\"\n\tEnde\x01 \xC3\xBC";
    builder.Add("a/eins.fa4", "Apfel Anker apfel");
    builder.Add("a/zwei.fa4", "\xC3\x84pfel");
    builder.Add("b/\"drei\".fa4", odd);
    std::map<std::string, std::string> files;
    for (auto& file : builder.Finish()) files[file.Name] = file.Bytes;
    EXPECT_EQ(builder.TextBytes(), 17 + 6 + odd.size());
    // Documents as differences from the one before, in base 36.
    EXPECT_EQ(files["w-0.js"], "fa4Search.words(0, \"a 2\\n\");\n");
    EXPECT_EQ(files["w-1.js"], "fa4Search.words(1, \"anker 0\\n\");\n");
    EXPECT_EQ(files["w-2.js"], "fa4Search.words(2, \"apfel 0,1\\n\");\n");
    EXPECT_EQ(files["index.js"],
        "fa4Search.manifest({\"documents\": 3, \"keys\": [\"a\",\"an\",\"ap\",\"b\",\"en\",\"u\",\"zi\"], "
        "\"chunks\": "
        "[0]});\n");
    EXPECT_FALSE(files["search.js"].empty());
    std::map<std::string, std::string, std::less<>> texts;
    ReadSearchTexts(files["t-0.js"], texts);
    EXPECT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts["b/\"drei\".fa4"], odd);
    EXPECT_EQ(texts["a/zwei.fa4"], "\xC3\x84pfel");
    // A file cut short gives what it holds whole.
    texts.clear();
    ReadSearchTexts(files["t-0.js"].substr(0, files["t-0.js"].find("zwei")), texts);
    EXPECT_EQ(texts.size(), 1u);
}

TEST(SearchData, LongArchivesSpreadTheirTextsOverFiles)
{
    TZtSearchDataBuilder builder;
    for (int i = 0; i < 100; ++i) builder.Add("d" + std::to_string(i), std::string(1000, 'x'));
    std::map<std::string, std::string> files;
    for (auto& file : builder.Finish()) files[file.Name] = file.Bytes;
    EXPECT_TRUE(files.contains("t-2.js"));
    EXPECT_FALSE(files.contains("t-4.js"));
    EXPECT_NE(files["index.js"].find("\"chunks\": [0,33,66,99]"), std::string::npos) << files["index.js"];
}

TEST(SearchData, ASinkGetsEachTextFileAsSoonAsItIsFull)
{
    TZtSearchDataBuilder whole;
    std::vector<TZtSearchFile> sunk;
    TZtSearchDataBuilder streamed([&](TZtSearchFile file) { sunk.push_back(std::move(file)); });
    for (int i = 0; i < 100; ++i) {
        const std::string text = std::string(1000, 'x') + " w" + std::to_string(i);
        whole.Add("d" + std::to_string(i), text);
        streamed.Add("d" + std::to_string(i), text);
        // 33 texts fill a file.
        EXPECT_EQ(sunk.size(), static_cast<std::size_t>((i + 1) / 33)) << i;
    }
    EXPECT_TRUE(streamed.Finish().empty());
    std::map<std::string, std::string> expected;
    for (auto& file : whole.Finish()) expected[file.Name] = file.Bytes;
    std::map<std::string, std::string> got;
    for (auto& file : sunk) EXPECT_TRUE(got.emplace(file.Name, file.Bytes).second) << file.Name;
    EXPECT_EQ(got, expected);
}

} // namespace
} // namespace quorvex
