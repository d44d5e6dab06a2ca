// What a list shows of a document: its line count and its first visible
// body line as the title.

#include <gtest/gtest.h>

#include <filesystem>

#include "DamagedDocuments.h"
#include "Fa4Builder.h"
#include "TestFiles.h"
#include "ZtDocumentFacts.h"
#include "ZtErrors.h"

namespace quorvex::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class DocumentFacts : public ::testing::Test {
protected:
    void TearDown() override { fs::remove_all(FDir); }

    // Read from a file, after checking that the bytes alone tell the same.
    TZtDocumentFacts FactsOf(const std::string& bytes) const
    {
        const std::string path = (FDir / "DOC").string();
        WriteFileBytes(path, bytes);
        TZtDocumentFacts facts = ReadDocumentFacts(path);
        ExpectSameAsBytes(facts, bytes);
        return facts;
    }

    static void ExpectSameAsBytes(const TZtDocumentFacts& facts, const std::string& bytes)
    {
        const TZtDocumentFacts fromBytes = DocumentFactsOfBytes(bytes);
        EXPECT_EQ(fromBytes.LooksLikeDocument, facts.LooksLikeDocument);
        EXPECT_EQ(fromBytes.Size, facts.Size);
        EXPECT_EQ(fromBytes.LineCount, facts.LineCount);
        EXPECT_EQ(fromBytes.Title, facts.Title);
        EXPECT_EQ(fromBytes.Excerpt, facts.Excerpt);
        EXPECT_EQ(DescribeDamage(fromBytes.Damage), DescribeDamage(facts.Damage));
        EXPECT_EQ(fromBytes.Damage.Damaged(), facts.Damage.Damaged());
    }

    // Footer and header lines with text, which is never the title.
    static TFa4Builder WithSections()
    {
        TFa4Builder builder;
        builder.Line("Fu\xFF\x80\xE1"
                     "zeile\xFF\x01");
        builder.EmptyParagraphs(5).Line("Kopfzeile").EmptyParagraphs(5);
        return builder;
    }

    const fs::path FDir = MakeTempFolder("quorvex-facts");
};

TEST_F(DocumentFacts, TitleIsTheFirstBodyLineThatShowsAnything)
{
    TFa4Builder builder = WithSections();
    builder.EmptyParagraphs(2).Line("   \t ");
    builder.Line("\xFF\x21\x0A\x00  \xAF\x42"
                 "ericht \xFF\x80\x81"
                 "ber M\x84rz\xFF\x90\xAE  \xFF\x01"s);
    builder.Line("Zweite Zeile");
    const TZtDocumentFacts facts = FactsOf(builder.Bytes());
    EXPECT_EQ(facts.Title, "Bericht über März");
    EXPECT_EQ(facts.LineCount, 17);
}

TEST_F(DocumentFacts, TitleIsTheFirstLineSetApartWithinTwentyBodyLines)
{
    // A letter: the header's bold letterhead is no title, the address is the
    // same on many letters, the bold subject tells them apart.
    TFa4Builder letter;
    letter.EmptyParagraphs(6).Line("\xFF\x80Musterfirma\xFF\x90").EmptyParagraphs(5);
    letter.Line("Herrn").Line("\xFF\x80Max\xFF\x90 M\x81ller").Line("Weg 1").EmptyParagraphs(2);
    letter.Line(" \xFF\x80\xFF\x81Ihre Anfrage vom \xFF\x91").Line("12. Februar\xFF\x90  \xFF\x01");
    letter.Line("Sehr geehrter Herr M\x81ller,");
    EXPECT_EQ(FactsOf(letter.Bytes()).Title, "Ihre Anfrage vom");

    // Larger fonts set a line apart, smaller ones and part of a line do not;
    // a hyphenated heading is made whole.
    const auto titleOf = [&](std::vector<std::string> lines) {
        return FactsOf(WithSections().Lines(lines).Bytes()).Title;
    };
    EXPECT_EQ(titleOf({"Erste",
                  "\xFF\x8C"
                  "Klein\xFF\x9C",
                  "\xFF\x89Gro\xE1"
                  "e \xFF\x99\xFF\x80Ver- ",
                  "bindung\xFF\x90"}),
        "Große Verbindung");
    EXPECT_EQ(
        titleOf({"Erste", "\xFF\x80Halb\xFF\x90 fett", "\xFF\x8AKlein\xFF\x9A  \xFF\x8Dwinzig"}), "Erste");

    // Only within the first twenty body lines.
    std::vector<std::string> lines(19, "Text");
    lines.push_back("\xFF\x80Zwanzig\xFF\x90");
    EXPECT_EQ(titleOf(lines), "Zwanzig");
    lines.insert(lines.begin(), "Erste");
    EXPECT_EQ(titleOf(lines), "Erste");
}

TEST_F(DocumentFacts, TitleIsCutAtEightyCharacters)
{
    TFa4Builder builder = WithSections();
    builder.Line(std::string(79, 'x') + "\x94\x94\x94");
    EXPECT_EQ(FactsOf(builder.Bytes()).Title, std::string(79, 'x') + "ö");
}

TEST_F(DocumentFacts, NoTitleWithoutVisibleBodyText)
{
    EXPECT_EQ(FactsOf(WithSections().EmptyParagraphs(3).Bytes()).Title, "");
    EXPECT_EQ(FactsOf(TFa4Builder().Bytes()).LineCount, 0);
}

TEST_F(DocumentFacts, TitleSearchEndsAfterSixtyFourKibibytesOfLineText)
{
    // Lines may share one text of blanks: a small file could name gigabytes.
    const std::string blanks(40000, ' ');
    EXPECT_EQ(FactsOf(WithSections().Line(blanks).Line("Titel").Bytes()).Title, "Titel");
    EXPECT_EQ(FactsOf(WithSections().Line(blanks).Line(blanks).Line("Titel").Bytes()).Title, "");
}

TEST_F(DocumentFacts, LinesAreCountedToTheFirstEmptyEntry)
{
    // More entries than one read of the table holds.
    std::string file = TFa4Builder().EmptyParagraphs(700).Bytes();
    EXPECT_EQ(FactsOf(file).LineCount, 700);
    PutEntry(file, 300, 0, 0);
    EXPECT_EQ(FactsOf(file).LineCount, 300);
    // Entries the file does not hold are empty, and text past its end is not read.
    std::string cut = WithSections().Line("Titel").Bytes();
    PutEntry(cut, 12, 200, static_cast<std::uint32_t>(cut.size() - 38 - 5));
    EXPECT_EQ(FactsOf(cut).Title, "Titel");
    EXPECT_EQ(FactsOf(cut.substr(0, 38 + 11 * 5 + 3)).LineCount, 5);
}

TEST_F(DocumentFacts, BytesInMemoryTellWhatTheFileTells)
{
    TDamagedDocuments documents(23);
    int damaged = 0;
    for (const TDamageKind kind : {TDamageKind::Cut, TDamageKind::EntriesOutside, TDamageKind::SequenceCut})
        for (int i = 0; i < 40; ++i) damaged += FactsOf(documents.Damaged(kind)).Damage.Damaged() ? 1 : 0;
    EXPECT_GT(damaged, 0);
    EXPECT_FALSE(DocumentFactsOfBytes("").LooksLikeDocument);
}

TEST_F(DocumentFacts, MissingFileIsReported)
{
    EXPECT_THROW(ReadDocumentFacts((FDir / "missing").string()), EZtError);
    EXPECT_THROW(ReadDocumentFacts(FDir.string()), EZtError);
}

TEST_F(DocumentFacts, BoxesThatCannotBeReadAsTablesAreDamage)
{
    TFa4Builder builder = WithSections();
    builder.Line("Titel").Line("  \xDA\xC4\xBF").Line("x");
    const TZtDocumentFacts facts = FactsOf(builder.Bytes());
    EXPECT_EQ(facts.Damage.TablesUnread, 1);
    EXPECT_TRUE(facts.Damage.Damaged());
    EXPECT_EQ(FactsOf(WithSections().Line("Titel").Line("\xDA\xC4\xBF").Line("\xC0\xC4\xD9").Bytes())
                  .Damage.TablesUnread,
        0);
}

TEST_F(DocumentFacts, ExcerptAndTitleJoinHyphenatedWords)
{
    // A small letter joins the halves, a capital keeps the hyphen; blanks
    // collapse and lines join with one space.
    TFa4Builder builder = WithSections();
    builder.Line("Die fol- ").Line("  gende Zeile\xFF\x01").EmptyParagraphs(1).Line("aus Baden- ");
    builder.Line("W\x81rttemberg   hat  zwei- ").Line("12 Seiten");
    TZtDocumentFacts facts = FactsOf(builder.Bytes());
    EXPECT_EQ(facts.Title, "Die folgende");
    EXPECT_EQ(facts.Excerpt, "Die folgende Zeile aus Baden-Württemberg hat zwei- 12 Seiten");

    // Before a capital the title keeps its hyphen; a line ending in a hyphen
    // without a blank after it is not hyphenated.
    builder = WithSections();
    builder.Line("Nord- ")
        .Line("Ostsee und S\x81"
              "d-")
        .Line("see");
    facts = FactsOf(builder.Bytes());
    EXPECT_EQ(facts.Title, "Nord-Ostsee");
    EXPECT_EQ(facts.Excerpt, "Nord-Ostsee und Süd- see");

    // Longer text is cut before the word that passes a hundred characters.
    builder = WithSections();
    for (int line = 0; line < 30; ++line) builder.Line("Wort" + std::to_string(line) + " \x84hnlich");
    facts = FactsOf(builder.Bytes());
    EXPECT_EQ(facts.Excerpt,
        "Wort0 ähnlich Wort1 ähnlich Wort2 ähnlich Wort3 ähnlich Wort4 ähnlich Wort5 ähnlich Wort6 ähnlich…");
    builder = WithSections();
    builder.Line(std::string(150, 'x'));
    EXPECT_EQ(FactsOf(builder.Bytes()).Excerpt, std::string(100, 'x') + "…");
}

} // namespace
} // namespace quorvex::testing
