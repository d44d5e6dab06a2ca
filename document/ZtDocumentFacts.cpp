// Reads a document's facts piece by piece, so that listing a large archive
// whose documents are already converted reads a few kilobytes of each.

#include "ZtDocumentFacts.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string_view>
#include <vector>

#include "ZtByteTables.h"
#include "ZtCodePage437.h"
#include "ZtErrors.h"
#include "ZtFileAccess.h"
#include "ZtFileInfo.h"
#include "ZtRecognizeDocument.h"

namespace quorvex {
namespace {

constexpr std::int32_t FirstBodyLine = 12;
// Entries read from the table at a time.
constexpr std::int32_t EntriesPerRead = 256;
// Line text read in all while looking for the title. Lines may share one
// text of blanks, so a few kilobytes of file can name hundreds of megabytes
// of them; a title stands in the first lines of any real document.
constexpr std::size_t TitleSearchBytes = std::size_t{64} << 10;

std::uint32_t ReadLe(std::string_view bytes, std::size_t at, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

class TDocumentFile {
public:
    explicit TDocumentFile(const std::string& fileName)
        : FFd(OpenRegularFile(fileName, FInfo))
    { }
    TDocumentFile(const TDocumentFile&) = delete;
    TDocumentFile& operator=(const TDocumentFile&) = delete;
    ~TDocumentFile() { ::close(FFd); }

    // Up to `size` bytes from `offset` on; fewer where the file ends.
    std::string Read(std::uint64_t offset, std::size_t size) const
    {
        std::string bytes(size, '\0');
        std::size_t got = 0;
        while (got < size) {
            const ssize_t n = ::pread(FFd, bytes.data() + got, size - got, static_cast<off_t>(offset + got));
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
        bytes.resize(got);
        return bytes;
    }

    const struct stat& Info() const { return FInfo; }

private:
    struct stat FInfo { };
    int FFd;
};

struct TEntry {
    std::uint16_t Length = 0;
    std::uint32_t Offset = 0;
};

std::size_t TableBytes(std::int32_t entries)
{
    return static_cast<std::size_t>(Fa4LineEntrySize) * static_cast<std::size_t>(entries);
}

// The entries of the counted lines, from the table bytes read with the head
// on; an entry the file does not hold whole counts as empty.
std::vector<TEntry> ReadCountedEntries(const TDocumentFile& file, std::string_view head)
{
    std::vector<TEntry> entries;
    std::string table(head.substr(std::min<std::size_t>(head.size(), Fa4HeadSize)));
    for (std::int32_t first = 0; first < Fa4MaxLines; first += EntriesPerRead) {
        if (first > 0) table = file.Read(Fa4HeadSize + TableBytes(first), TableBytes(EntriesPerRead));
        for (std::size_t at = 0; at + Fa4LineEntrySize <= table.size(); at += Fa4LineEntrySize) {
            const TEntry entry{
                static_cast<std::uint16_t>(ReadLe(table, at + 4, 2)), ReadLe(table, at + 6, 4)};
            if (entry.Length == 0 || entries.size() == Fa4MaxLines) return entries;
            entries.push_back(entry);
        }
        if (table.size() < TableBytes(EntriesPerRead)) return entries;
    }
    return entries;
}

// The line's characters: control sequences and the marks that open and close
// blue text are not shown, control bytes show as blanks.
std::string ShownText(std::string_view line)
{
    std::string shown;
    for (std::size_t position = 0; position < line.size(); ++position) {
        const auto byte = static_cast<unsigned char>(line[position]);
        if (byte == 0xFF) {
            if (position + 1 < line.size())
                position += 1 + CodeTable[static_cast<unsigned char>(line[position + 1])].Operands;
        } else if (byte != 0xAE && byte != 0xAF) {
            shown += byte < 0x20 ? ' ' : static_cast<char>(byte);
        }
    }
    const std::size_t first = shown.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return shown.substr(first, shown.find_last_not_of(' ') + 1 - first);
}

std::int64_t Nanoseconds(const struct timespec& time)
{
    return std::int64_t{time.tv_sec} * 1000000000 + time.tv_nsec;
}

void SetFileFacts(TZtDocumentFacts& facts, const struct stat& info)
{
    facts.Size = static_cast<std::uint64_t>(info.st_size);
    facts.Modified = info.st_mtim.tv_sec;
    facts.ModifiedNs = Nanoseconds(info.st_mtim);
    facts.Device = info.st_dev;
    facts.Inode = info.st_ino;
    facts.ChangedNs = Nanoseconds(info.st_ctim);
}

} // namespace

std::optional<TZtDocumentFacts> FileFactsOf(const std::string& fileName)
{
    struct stat info { };
    if (::stat(fileName.c_str(), &info) != 0) return std::nullopt;
    return FileFactsOf(info);
}

std::optional<TZtDocumentFacts> FileFactsOf(const struct stat& info)
{
    if (!S_ISREG(info.st_mode)) return std::nullopt;
    TZtDocumentFacts facts;
    SetFileFacts(facts, info);
    return facts;
}

TZtDocumentFacts ReadDocumentFacts(const std::string& fileName, bool onlyOfDocuments)
{
    const TDocumentFile file(fileName);
    TZtDocumentFacts facts;
    SetFileFacts(facts, file.Info());
    // A document's head and table are never smaller than this.
    const std::string head = file.Read(0, Fa4HeadSize + TableBytes(EntriesPerRead));
    facts.LooksLikeDocument = LooksLikeFa4Head(head, facts.Size);
    if (onlyOfDocuments && !facts.LooksLikeDocument) return facts;
    const std::vector<TEntry> entries = ReadCountedEntries(file, head);
    facts.LineCount = static_cast<std::int32_t>(entries.size());
    std::size_t left = TitleSearchBytes;
    for (std::size_t line = FirstBodyLine; line < entries.size() && left > 0; ++line) {
        const std::size_t length = std::min<std::size_t>(entries[line].Length, left);
        left -= length;
        const std::string shown =
            ShownText(file.Read(std::uint64_t{Fa4HeadSize} + entries[line].Offset, length));
        // One byte is one character of the code page.
        if (!shown.empty()) {
            facts.Title = Cp437ToUtf8(shown.substr(0, DocumentTitleLength));
            break;
        }
    }
    return facts;
}

} // namespace quorvex
