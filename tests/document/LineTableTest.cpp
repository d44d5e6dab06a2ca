// Loading a document, counting its lines, and damaged or missing data.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "DocumentFixture.h"
#include "TestFiles.h"
#include "ZtDocumentFacts.h"
#include "ZtFileAccess.h"

namespace quorvex::testing {
namespace {

namespace fs = std::filesystem;

std::string ErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EZtError& error) {
        return error.what();
    }
    return "(no error)";
}

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "quorvex-doc-XXXXXX").string();
        FPath = ::mkdtemp(pattern.data());
    }
    ~TempFolder() { fs::remove_all(FPath); }
    std::string operator/(const std::string& name) const { return (FPath / name).string(); }
    const fs::path& Path() const { return FPath; }

private:
    fs::path FPath;
};

TEST(LineTable, CountStopsAtTheFirstEmptyEntry)
{
    TClassicDocument document;
    LoadLines(document, {"a", "b", "c", "d", "e", "", "g", "h"});
    EXPECT_EQ(document.LineCount(), 5);
    EXPECT_EQ(document.LineView(document.GetLine(7)), "h");

    LoadLines(document, {"", "b"});
    EXPECT_EQ(document.LineCount(), 0);
}

TEST(LineTable, EntriesAreReadLittleEndianFromTheirPlaces)
{
    std::string file = TFa4Builder().Line("first").Bytes();
    // Entry 9999 sits at file offset 38 + 11 * 9999 = 110027.
    PutEntry(file, 9999, 3, 0x01020304);
    EXPECT_EQ(static_cast<unsigned char>(file[110027 + 4]), 3);
    EXPECT_EQ(static_cast<unsigned char>(file[110027 + 6]), 0x04);
    // Entry 1 points at offset 0: the first byte of the line table itself.
    PutEntry(file, 1, 4, 0);
    TClassicDocument document;
    document.LoadFromMemory("doc.fa4", file);
    EXPECT_EQ(document.GetLine(9999).StoredLength, 3);
    EXPECT_EQ(document.GetLine(9999).Offset, 0x01020304u);
    EXPECT_EQ(document.GetLine(9999).Length, 0); // far past the data
    EXPECT_EQ(document.LineView(document.GetLine(1)), file.substr(38, 4));
    EXPECT_EQ(document.LineCount(), 2);
}

TEST(LineTable, EntriesPastTheCountComeFromTheDocumentNowLoaded)
{
    TClassicDocument document;
    LoadLines(document,
        {"a", "", "old", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "x"});
    const TFa4LineEntry* first = &document.GetLine(0);
    EXPECT_EQ(document.LineView(document.GetLine(21)), "x");
    EXPECT_EQ(&document.GetLine(0), first); // later entries move no earlier one
    EXPECT_EQ(document.LineView(*first), "a");

    LoadLines(document, {"b", "", "new"});
    EXPECT_EQ(document.LineView(document.GetLine(2)), "new");
    EXPECT_EQ(document.GetLine(21).StoredLength, 0);
}

TEST(LineTable, IndexesOutsideTheTableRaiseTheRangeError)
{
    TClassicDocument document;
    LoadLines(document, {"a"});
    EXPECT_EQ(ErrorOf([&] { document.GetLine(10000); }), "Range check error");
    EXPECT_EQ(ErrorOf([&] { document.GetLine(-1); }), "Range check error");
    EXPECT_NO_THROW(document.GetLine(9999));
}

TEST(LineTable, AllTenThousandEntriesInUseIsRefusedButStaysLoaded)
{
    TFa4Builder builder;
    for (int i = 0; i < 10000; ++i) builder.Line("x");
    TClassicDocument document;
    EXPECT_EQ(ErrorOf([&] { document.LoadFromMemory("full.fa4", builder.Bytes()); }), "Range check error");
    EXPECT_EQ(document.LineCount(), 10000);
    EXPECT_TRUE(document.Loaded());
    EXPECT_EQ(document.LineView(document.GetLine(9999)), "x");
}

TEST(LineTable, ClearEmptiesTheDocumentButNotTheConversionState)
{
    TClassicDocument document;
    document.Clear();
    EXPECT_EQ(document.LineCount(), 0);
    EXPECT_FALSE(document.Loaded());

    LoadLines(document, {"a", "b"});
    document.Indent = 9;
    document.ParagraphTag = "<p>";
    document.Clear();
    EXPECT_EQ(document.LineCount(), 0);
    EXPECT_EQ(document.FileSize(), 0);
    EXPECT_EQ(document.FileName(), "");
    EXPECT_FALSE(document.Loaded());
    EXPECT_EQ(document.GetLine(0).Length, 0);
    EXPECT_EQ(document.Indent, 9);
    EXPECT_EQ(document.ParagraphTag, "<p>");
}

TEST(LineTable, LoadsFromAFileAndReportsMissingOnes)
{
    TempFolder folder;
    const std::string name = folder / "doc.fa4";
    TFa4Builder().Line("Haus").Line("Dach").WriteTo(name);
    TClassicDocument document;
    document.LoadFromFile(name);
    EXPECT_EQ(document.FileName(), name);
    EXPECT_EQ(document.LineCount(), 2);
    EXPECT_EQ(document.FileSize(), static_cast<std::int32_t>(fs::file_size(name)));

    document.Clear();
    const std::string missing = folder / "missing.fa4";
    EXPECT_EQ(ErrorOf([&] { document.LoadFromFile(missing); }),
        "Cannot open file " + missing + ": No such file or directory");
    EXPECT_EQ(document.FileName(), "");
    EXPECT_FALSE(document.Loaded());
    EXPECT_EQ(ErrorOf([&] { document.LoadFromFile(folder.Path().string()); }),
        "Cannot open file " + folder.Path().string() + ": Is a directory");
}

TEST(LineTable, FileOfTwoGigabytesRaisesTheRangeError)
{
    TempFolder folder;
    const std::string name = folder / "huge.fa4";
    {
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, off_t{1} << 31), 0); // sparse: takes no disk space
        ::close(fd);
    }
    TClassicDocument document;
    EXPECT_EQ(ErrorOf([&] { document.LoadFromFile(name); }),
        "Range check error: 2147483648 bytes; a document holds less than 2 GiB");
    EXPECT_EQ(document.FileName(), name);
    EXPECT_EQ(document.FileSize(), 0);
    EXPECT_FALSE(document.Loaded());
}

TEST(LineTable, ReadDeliveringFewerBytesThanTheSizeIsAnError)
{
    // Kernel attribute files report a size of a page and deliver a few bytes.
    const std::string name = "/sys/kernel/mm/transparent_hugepage/enabled";
    struct stat info { };
    if (::stat(name.c_str(), &info) != 0 || info.st_size < 100) GTEST_SKIP() << "no such file here";
    EXPECT_EQ(ErrorOf([&] { ReadWholeFile(name); }), "Cannot read file " + name);
    TClassicDocument document;
    EXPECT_EQ(ErrorOf([&] { document.LoadFromFile(name); }), "Cannot read file " + name);
    EXPECT_FALSE(document.Loaded());
}

TEST(LineTable, SparseFilesReadWithTheirHolesAsZeros)
{
    TempFolder folder;
    const std::string name = folder / "sparse.fa4";
    std::string expected(300000, '\0');
    expected.replace(0, 4, "head");
    expected.replace(200000, 4, "tail");
    {
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::pwrite(fd, "head", 4, 0), 4);
        ASSERT_EQ(::pwrite(fd, "tail", 4, 200000), 4);
        ASSERT_EQ(::ftruncate(fd, 300000), 0); // ends in a hole
        ::close(fd);
    }
    EXPECT_EQ(ReadWholeFile(name), expected);
}

// Writes `file` and extends it to `size` bytes by a sparse hole.
void WriteSparse(const std::string& name, const std::string& file, off_t size)
{
    WriteFileBytes(name, file);
    ASSERT_EQ(::truncate(name.c_str(), size), 0);
}

TEST(HeldBytes, ALargeFileHoldsOnlyWhatItsLinesReference)
{
    TempFolder folder;
    const std::string name = folder / "sparse.fa4";
    const std::string small = TFa4Builder().Line("Haus").Line("Dach\xFF\x80").Line("Ende").Bytes();
    WriteSparse(name, small, off_t{1} << 26);
    TZtFileInfoFa4 whole;
    whole.LoadFromMemory("small.fa4", small);
    TZtFileInfoFa4 sparse;
    sparse.LoadFromFile(name);
    EXPECT_EQ(sparse.FileSize(), 1 << 26);
    EXPECT_LT(sparse.HeldSize(), static_cast<std::int64_t>(small.size()) + 16);
    EXPECT_EQ(BuildHtml("", sparse), BuildHtml("", whole));
    // Standard input keeps the same bytes as they pass.
    const int fd = ::open(name.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    TZtFileInfoFa4 streamed;
    streamed.LoadFromStream("-", fd);
    ::close(fd);
    EXPECT_EQ(streamed.FileSize(), 1 << 26);
    EXPECT_EQ(streamed.HeldSize(), sparse.HeldSize());
    EXPECT_EQ(BuildHtml("", streamed), BuildHtml("", whole));
}

TEST(HeldBytes, EveryEntryReadsTheTextTheWholeFileHolds)
{
    // A table's cells reach below the line count and the section they start
    // in, so entries past the count keep their texts; one runs past the end.
    std::string file = TFa4Builder().Lines({"a", "b", "", "c"}).Bytes() + std::string(50000, 'g') + "tail";
    PutEntry(file, 40, 7, static_cast<std::uint32_t>(file.size() - Fa4HeadSize - 4));
    PutEntry(file, 9999, 3, 100);
    TClassicDocument document;
    document.LoadFromMemory("past.fa4", file);
    for (std::int32_t i = 0; i < Fa4MaxLines; ++i) {
        const TFa4LineEntry& entry = document.GetLine(i);
        const std::uint64_t start = std::uint64_t{Fa4HeadSize} + entry.Offset;
        const std::string whole = start < file.size() ? file.substr(start, entry.StoredLength) : "";
        ASSERT_EQ(document.LineView(entry), whole) << i;
    }
}

TEST(HeldBytes, ControlSequencesPastALineEndReadTheFileAsAWholeFileWould)
{
    // Line 0 ends in 0xFF whose code byte stands only after it in the file;
    // line 1 ends in 0xFF at the very end of the file, its code byte missing.
    std::string file = TFa4Builder().Line("a").Line("b").Bytes();
    const auto first = static_cast<std::uint32_t>(file.size() - Fa4HeadSize);
    file += "x\xFF\x80yz" + std::string(100000, 'f') + "q\xFF";
    PutEntry(file, 0, 2, first);
    PutEntry(file, 1, 2, static_cast<std::uint32_t>(file.size() - Fa4HeadSize - 2));
    TClassicDocument document;
    document.LoadFromMemory("gap.fa4", file);
    EXPECT_LT(document.HeldSize(), static_cast<std::int64_t>(file.size()) - 90000);
    EXPECT_EQ(document.ConvertLines(0, 1), "<!-- LINE 0 -->x<b>\r<!-- LINE 1 -->q");
}

TEST(HeldBytes, ASparseTailEarnsNoWorkForLinesSharingOneText)
{
    // 1000 lines of one 65535-byte text: 65 MB of line text to convert from
    // 175 KB of bytes, however large the file.
    std::string file(Fa4HeadSize + Fa4LineEntrySize * Fa4MaxLines, '\0');
    for (int line = 0; line < 1000; ++line) PutEntry(file, line, 65535, 110000);
    file += std::string(65535, '\xB0');
    TempFolder folder;
    const std::string name = folder / "shared.fa4";
    WriteSparse(name, file, off_t{1} << 28);
    TClassicDocument document;
    document.LoadFromFile(name);
    EXPECT_EQ(ErrorOf([&] { BuildHtml("", document); }), "Document too complex to convert");
}

TEST(ReadFailures, MessagesGiveTheSystemsReason)
{
    TempFolder folder;
    const std::string missing = folder / "missing.fa4";
    EXPECT_EQ(ErrorOf([&] { ReadDocumentFacts(missing); }),
        "Cannot open file " + missing + ": No such file or directory");
    const std::string longName = folder / std::string(300, 'n');
    EXPECT_EQ(ErrorOf([&] { ReadFileHead(longName, 10); }),
        "Cannot open file " + longName + ": File name too long");
    const std::string pipe = folder / "pipe.fa4";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    EXPECT_EQ(ErrorOf([&] { ReadDocumentFacts(pipe); }), "Cannot open file " + pipe + ": Not a regular file");
    const std::string self = folder.Path().string();
    EXPECT_EQ(ErrorOf([&] { ReadWholeFile(self); }), "Cannot open file " + self + ": Is a directory");
    // Reading fails on a descriptor open only for writing.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    TClassicDocument document;
    EXPECT_EQ(
        ErrorOf([&] { document.LoadFromStream("-", ends[1]); }), "Cannot read file -: Bad file descriptor");
    ::close(ends[0]);
    ::close(ends[1]);
}

TEST(DamagedData, EmptyAndShortFilesLoadWithNoLines)
{
    TClassicDocument document;
    for (std::size_t size : {0, 20, 38, 38 + 5}) {
        document.Clear();
        document.LoadFromMemory("short.fa4", std::string(size, '\x07'));
        EXPECT_EQ(document.LineCount(), 0) << size;
        EXPECT_EQ(document.GetLine(0).Length, 0) << size;
        EXPECT_EQ(document.ConvertLines(0, 1), "<!-- LINE 0 -->\r<!-- LINE 1 -->") << size;
    }
}

TEST(DamagedData, TableCutInsideAnEntryCountsItAsEmpty)
{
    const std::string whole = TFa4Builder().Line("a").Line("b").Line("c").Bytes();
    // Keep entries 0 and 1 whole and the first 6 bytes of entry 2.
    std::string file = whole.substr(0, 38 + 11 * 2 + 6);
    TClassicDocument document;
    document.LoadFromMemory("cut.fa4", file);
    EXPECT_EQ(document.LineCount(), 2);
    EXPECT_EQ(document.GetLine(2).Length, 0);
    EXPECT_EQ(document.GetLine(2).StoredLength, 0);
    // The texts lie past the end: the lines are there but empty.
    EXPECT_EQ(document.GetLine(0).StoredLength, 1);
    EXPECT_EQ(document.GetLine(0).Length, 0);
    EXPECT_EQ(document.ConvertLines(0, 2), "<!-- LINE 0 -->\r<!-- LINE 1 -->\r<!-- LINE 2 -->");
}

TEST(DamagedData, LineTextIsCutAtTheEndOfTheData)
{
    const std::string whole = TFa4Builder().Line("Haus").Line("Dachziegel").Bytes();
    TClassicDocument document;
    document.LoadFromMemory("cut.fa4", whole.substr(0, whole.size() - 6));
    EXPECT_EQ(document.LineCount(), 2);
    EXPECT_EQ(document.GetLine(1).StoredLength, 10);
    EXPECT_EQ(document.GetLine(1).Length, 4);
    EXPECT_EQ(document.LinePlainText(1, 2147483647), "Dach");
    // Every rule uses the cut length: the hyphen is now before the last byte.
    document.Clear();
    const std::string hyphen = TFa4Builder().Line("Wort- xyz").Line("teil").Bytes();
    std::string file = hyphen.substr(0, hyphen.size() - 4 - 3); // line 1 gone, line 0 cut to "Wort- "
    document.LoadFromMemory("cut.fa4", file);
    EXPECT_EQ(document.GetLine(0).Length, 6);
    EXPECT_EQ(document.ConvertLines(0, 0), "<!-- LINE 0 -->Wort");
}

TEST(DamagedData, TableRunningToTheEndOfTheDataConvertsAsFarAsItGoes)
{
    // The bottom line of the grid is cut after its first byte.
    const std::string whole = TFa4Builder()
                                  .Line("\xDA\xC4\xBF")
                                  .Line("\xB3"
                                        "a\xB3")
                                  .Line("\xC0\xC4\xD9")
                                  .Bytes();
    TClassicDocument document;
    document.LoadFromMemory("cut.fa4", whole.substr(0, whole.size() - 2));
    EXPECT_EQ(
        document.ConvertLines(0, 2), "<!-- LINE 2 -->" + TableStart + "<tr><td>a</td></tr>\r" + TableEnd);
}

TEST(EmptyState, ConvertsAsADocumentOfEmptyLines)
{
    TClassicDocument document;
    EXPECT_EQ(document.GetLine(6).Length, 0);
    EXPECT_EQ(document.LineView(document.GetLine(6)), "");
    EXPECT_EQ(BuildHtml("", document),
        "<body>\r<!-- LINE 6 -->\r<!-- LINE 7 -->\r<!-- LINE 8 -->\r<!-- LINE 9 -->\r"
        "<!-- LINE 10 -->\r<!-- LINE 11 --><hr><hr><!-- LINE 0 -->\r<!-- LINE 1 -->\r"
        "<!-- LINE 2 -->\r<!-- LINE 3 -->\r<!-- LINE 4 -->\r<!-- LINE 5 --></body>");
}

} // namespace
} // namespace quorvex::testing
