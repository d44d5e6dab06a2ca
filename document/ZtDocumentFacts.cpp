// Reads a document's facts piece by piece, so that listing a large archive
// whose documents are already converted reads a few kilobytes of each.

#include "ZtDocumentFacts.h"

#include <algorithm>
#include <exception>
#include <string_view>

#include "ZtDamageCount.h"
#include "ZtErrors.h"
#include "ZtFileAccess.h"
#include "ZtFileInfo.h"
#include "ZtFileInfoFa4.h"
#include "ZtLineTable.h"
#include "ZtReadableFile.h"
#include "ZtRecognizeDocument.h"

namespace quorvex {
namespace {

constexpr std::int32_t FirstBodyLine = 12;
// Entries read from the table at a time.
constexpr std::int32_t EntriesPerRead = 256;
// Line text read in all for the title and the excerpt. Lines may share one
// text of blanks, so a few kilobytes of file can name hundreds of megabytes
// of them; a title stands in the first lines of any real document.
constexpr std::size_t TitleSearchBytes = std::size_t{64} << 10;

using TDocumentFile = TZtReadableFile;

// A document held in memory, read as its file would be.
class TDocumentBytes {
public:
    explicit TDocumentBytes(std::string_view bytes)
        : FBytes(bytes)
    { }

    std::string Read(std::uint64_t offset, std::size_t size) const
    {
        if (offset >= FBytes.size()) return {};
        return std::string(FBytes.substr(static_cast<std::size_t>(offset), size));
    }

private:
    std::string_view FBytes;
};

std::size_t TableBytes(std::int32_t entries)
{
    return static_cast<std::size_t>(Fa4LineEntrySize) * static_cast<std::size_t>(entries);
}

// The head and the table up to its first empty entry, or as far as the file
// holds it: `head` and further reads of the table.
template <typename TSource>
std::string ReadTableToCount(const TSource& file, std::string head)
{
    for (std::int32_t read = EntriesPerRead; read < Fa4MaxLines; read += EntriesPerRead) {
        const std::int32_t count = CountLines(head);
        if (count < read || head.size() < Fa4HeadSize + TableBytes(read)) return head;
        const std::string more =
            file.Read(head.size(), TableBytes(std::min(EntriesPerRead, Fa4MaxLines - read)));
        head += more;
    }
    return head;
}

bool HoldsTableCorner(const TZtFileInfoFa4& document)
{
    for (std::int32_t line = 0; line < std::max(document.LineCount(), FirstBodyLine); ++line) {
        const std::string_view text = document.LineView(document.GetLine(line));
        if (text.find_first_of("\xC9\xD5\xD6\xDA") != std::string_view::npos) return true;
    }
    return false;
}

// Boxes that cannot be read as tables show only in a conversion: one is run
// for a document that draws a box at all.
template <typename TLoad>
std::int32_t CountUnreadTables(TLoad load)
{
    try {
        TZtFileInfoFa4 document;
        load(document);
        if (!HoldsTableCorner(document)) return 0;
        // Only the default markup reads a broken box as lines and counts it.
        BuildHtml("", document, TZtOutputModes{});
        return document.Damage().TablesUnread;
    } catch (const std::exception&) {
        return 0; // what fails to load or convert shows when it is converted
    }
}

} // namespace

std::optional<TZtDocumentFacts> FileFactsOf(const std::string& fileName)
{
    return FileFactsOf(StatusOf(fileName));
}

std::optional<TZtDocumentFacts> FileFactsOf(const TFileStatus& status)
{
    if (!status.IsRegular()) return std::nullopt;
    TZtDocumentFacts facts;
    facts.Size = status.Size;
    // Whole seconds rounded down, as stat(2) gives them before 1970 too.
    constexpr std::int64_t Second = 1000000000;
    const std::int64_t below = status.ModifiedNs % Second < 0 ? 1 : 0;
    facts.Modified = static_cast<std::time_t>(status.ModifiedNs / Second - below);
    facts.ModifiedNs = status.ModifiedNs;
    facts.Device = status.Device;
    facts.Inode = status.Inode;
    facts.ChangedNs = status.ChangedNs;
    return facts;
}

namespace {

// The bytes the check of LooksLikeFa4Head reads: a document's head and table
// are never smaller than this.
template <typename TSource>
std::string ReadHead(const TSource& file)
{
    return file.Read(0, Fa4HeadSize + TableBytes(EntriesPerRead));
}

// What is read of the document itself; `facts` holds its size.
template <typename TSource>
void ReadFacts(TZtDocumentFacts& facts, const TSource& file, bool onlyOfDocuments)
{
    const std::string head = ReadHead(file);
    facts.LooksLikeDocument = LooksLikeFa4Head(head, facts.Size);
    if (onlyOfDocuments && !facts.LooksLikeDocument) return;
    const std::string table = ReadTableToCount(file, head);
    facts.LineCount = CountLines(table);
    TZtExcerptBuilder excerpt;
    std::size_t left = TitleSearchBytes;
    for (std::int32_t line = FirstBodyLine; line < facts.LineCount && left > 0 && !excerpt.Full(); ++line) {
        const TStoredEntry entry = *StoredEntry(table, static_cast<std::size_t>(line));
        const std::size_t length = std::min<std::size_t>(entry.Length, left);
        left -= length;
        excerpt.AddLine(file.Read(TextStart(entry), length));
    }
    facts.Title = excerpt.Title();
    facts.Excerpt = excerpt.Excerpt();
    if (facts.LooksLikeDocument) {
        std::string tail;
        facts.Damage =
            CountDamage(table, facts.LineCount, facts.Size, [&](std::uint64_t offset) -> std::string_view {
                tail = file.Read(offset, static_cast<std::size_t>(facts.Size - offset));
                return tail;
            });
    }
}

} // namespace

TZtDocumentFacts ReadDocumentFacts(const std::string& fileName, bool onlyOfDocuments)
{
    const TDocumentFile file(fileName);
    // An open regular file always has its facts.
    TZtDocumentFacts facts = *FileFactsOf(file.Status());
    ReadFacts(facts, file, onlyOfDocuments);
    if (facts.LooksLikeDocument)
        facts.Damage.TablesUnread =
            CountUnreadTables([&](TZtFileInfoFa4& document) { document.LoadFromFile(fileName); });
    return facts;
}

TZtDocumentFacts RecognizeDocumentFile(const std::string& fileName)
{
    const TDocumentFile file(fileName);
    TZtDocumentFacts facts = *FileFactsOf(file.Status());
    facts.LooksLikeDocument = LooksLikeFa4Head(ReadHead(file), facts.Size);
    return facts;
}

TZtDocumentFacts DocumentFactsOfBytes(std::string_view bytes)
{
    TZtDocumentFacts facts;
    facts.Size = bytes.size();
    ReadFacts(facts, TDocumentBytes(bytes), false);
    if (facts.LooksLikeDocument)
        facts.Damage.TablesUnread = CountUnreadTables(
            [&](TZtFileInfoFa4& document) { document.LoadFromMemory("DOC", std::string(bytes)); });
    return facts;
}

} // namespace quorvex
