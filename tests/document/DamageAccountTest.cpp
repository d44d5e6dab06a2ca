// What a damaged document lost: counted at load, the same in the facts of an
// archive's index, and nothing for intact documents.

#include <gtest/gtest.h>

#include <filesystem>

#include "DamagedDocuments.h"
#include "Fa4Builder.h"
#include "TestFiles.h"
#include "ZtConvertDocument.h"
#include "ZtDocumentFacts.h"
#include "ZtFileInfoFa4.h"

namespace quorvex::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

std::uint32_t Le(const std::string& file, std::size_t at, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(file[at + i]);
    return value;
}

// The account counted straight from the file's bytes, line by line.
TZtDamageAccount CountFromBytes(const std::string& file)
{
    TZtDamageAccount damage;
    const std::uint64_t size = file.size();
    const auto entryWhole = [&](int i) { return 38 + 11 * std::uint64_t(i) + 11 <= size; };
    int whole = 0;
    while (whole < 10000 && entryWhole(whole)) ++whole;
    damage.EntriesMissing = 10000 - whole;
    int count = 0;
    while (count < whole && Le(file, 38 + 11 * count + 4, 2) != 0) ++count;
    for (int i = 0; i < std::max(count, 12) && i < whole; ++i) {
        const std::uint64_t length = Le(file, 38 + 11 * i + 4, 2);
        const std::uint64_t start = 38 + std::uint64_t{Le(file, 38 + 11 * i + 6, 4)};
        if (length == 0) continue;
        ++damage.Lines;
        if (start >= size) {
            ++damage.LinesOutside;
            damage.BytesMissing += length;
            continue;
        }
        if (start + length > size) {
            ++damage.LinesCut;
            damage.BytesMissing += start + length - size;
        }
        for (std::uint64_t at = start; at < std::min(start + length, size); ++at) {
            if (static_cast<unsigned char>(file[at]) != 0xFF) continue;
            const std::uint64_t code = at + 1;
            const int operands =
                code < size && (file[code] == 0x21 || file[code] == 0x22 || file[code] == 0x24) ? 2 : 0;
            if (code + operands >= size) {
                ++damage.SequencesCut;
                break;
            }
            at = code + operands;
        }
    }
    return damage;
}

class DamageAccount : public ::testing::Test {
protected:
    void TearDown() override { fs::remove_all(FDir); }

    // The account of the loaded document, which the facts must repeat.
    TZtDamageAccount AccountOf(const std::string& bytes)
    {
        const std::string path = (FDir / "DOC").string();
        WriteFileBytes(path, bytes);
        TZtFileInfoFa4 document;
        document.LoadFromFile(path);
        const TZtDocumentFacts facts = ReadDocumentFacts(path);
        if (facts.LooksLikeDocument) {
            EXPECT_EQ(facts.Damage, document.Damage());
        }
        return document.Damage();
    }

    static std::string WithLines(std::initializer_list<std::string> lines)
    {
        TFa4Builder builder;
        for (const std::string& line : lines) builder.Line(line);
        return builder.Bytes();
    }

    const fs::path FDir = MakeTempFolder("quorvex-damage");
};

TEST_F(DamageAccount, HandMadeDamageIsCounted)
{
    // Fourteen lines, the last one cut by three bytes.
    std::string cut =
        WithLines({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "Titel", "Ende"});
    cut.resize(cut.size() - 3);
    EXPECT_EQ(AccountOf(cut), (TZtDamageAccount{.Lines = 14, .LinesCut = 1, .BytesMissing = 3}));
    EXPECT_EQ(DescribeDamage(AccountOf(cut)), "1 of 14 lines cut at the end of the file (3 bytes missing)");

    // Line 3 starts past the end; line 20 lies outside too but is not read.
    std::string outside = WithLines({"a", "b", "c", "d", "", "", "", "", "", "", "", "", "Text"});
    PutEntry(outside, 3, 7, static_cast<std::uint32_t>(outside.size()));
    PutEntry(outside, 20, 9, 0xFFFFFF00u);
    EXPECT_EQ(AccountOf(outside), (TZtDamageAccount{.Lines = 4, .LinesOutside = 1, .BytesMissing = 7}));

    // A sequence whose operand lies past the end; one whose code byte does,
    // in a line that ends whole before it.
    std::string operand = WithLines({"a", "Einzug\xFF\x21\x05\x00"s});
    operand.pop_back();
    EXPECT_EQ(AccountOf(operand),
        (TZtDamageAccount{.Lines = 2, .LinesCut = 1, .BytesMissing = 1, .SequencesCut = 1}));
    std::string code = WithLines({"a", "fett\xFF"});
    EXPECT_EQ(AccountOf(code), (TZtDamageAccount{.Lines = 2, .SequencesCut = 1}));
    EXPECT_EQ(DescribeDamage(AccountOf(code)), "1 control sequence cut off");

    // A file that ends inside the line table: 100 entries left.
    const std::string table = WithLines({"a"}).substr(0, 38 + 11 * 100 + 5);
    EXPECT_EQ(AccountOf(table),
        (TZtDamageAccount{.Lines = 1, .LinesOutside = 1, .BytesMissing = 1, .EntriesMissing = 9900}));
}

TEST_F(DamageAccount, CutSampleShowsItsLinesCut)
{
    const std::string sample = ReadFileBytes(QUORVEX_EXAMPLES_DIR "/notiz.fa4").substr(0, 110300);
    const TZtDamageAccount damage = AccountOf(sample);
    EXPECT_GT(damage.LinesCut, 0);
    EXPECT_GT(damage.LinesOutside, 0);
    EXPECT_TRUE(ReadDocumentFacts((FDir / "DOC").string()).Damage.Damaged());
    EXPECT_EQ(damage, CountFromBytes(sample));
}

TEST_F(DamageAccount, GeneratedDamageMatchesACountFromTheBytes)
{
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        TDamagedDocuments documents(seed);
        for (const TDamageKind kind :
            {TDamageKind::Cut, TDamageKind::EntriesOutside, TDamageKind::SequenceCut}) {
            const std::string file = documents.Damaged(kind);
            const TZtDamageAccount damage = AccountOf(file);
            ASSERT_EQ(damage, CountFromBytes(file)) << "seed " << seed << " kind " << static_cast<int>(kind);
            if (kind == TDamageKind::SequenceCut) {
                EXPECT_EQ(damage.SequencesCut, 1) << seed;
            }
        }
    }
}

TEST_F(DamageAccount, IntactDocumentsShowNoDamage)
{
    for (const char* name : {"bericht.fa4", "brief.fa4", "notiz.fa4"}) {
        const std::string sample = ReadFileBytes(QUORVEX_EXAMPLES_DIR "/"s + name);
        EXPECT_FALSE(AccountOf(sample).Damaged()) << name;
        EXPECT_GT(AccountOf(sample).Lines, 12) << name;
    }
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        const TZtDamageAccount damage = AccountOf(TDamagedDocuments(seed).Intact());
        EXPECT_FALSE(damage.Damaged()) << seed;
        EXPECT_EQ(DescribeDamage(damage), "");
    }
}

TEST_F(DamageAccount, ConversionReportsWhatItSaw)
{
    // Cut in the body: the footer and header still make it look like a document.
    std::string cut =
        WithLines({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "Zeile eins", "Zeile zwei"});
    cut.resize(cut.size() - 14);
    const std::string path = (FDir / "cut.fa4").string();
    WriteFileBytes(path, cut);
    const TZtConvertedDocument converted = ConvertDocument(path, (FDir / "cut.html").string(), {});
    EXPECT_TRUE(converted.LooksLikeDocument);
    EXPECT_EQ(converted.Damage, CountFromBytes(cut));

    WriteFileBytes(path, "kein Dokument");
    EXPECT_FALSE(ConvertDocument(path, (FDir / "no.html").string(), {}).LooksLikeDocument);
}

} // namespace
} // namespace quorvex::testing
