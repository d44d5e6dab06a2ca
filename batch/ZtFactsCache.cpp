// The cache file: a header with a version, the length and a checksum of the
// body, then one record per file. It is bytes from a file like any other:
// every length is checked, and anything amiss makes the whole cache unknown,
// which costs only the reading of the documents.

#include "ZtFactsCache.h"

#include <array>

#include "ZtFileInfo.h"

namespace quorvex {
namespace {

constexpr std::string_view Magic = "fa4tohtml cache\n";
// Raised whenever what is read of a document changes (what counts as one,
// its title, its line count, its excerpt, its damage), so that a cache of an
// older program is not used.
constexpr std::uint32_t FormatVersion = 3;
constexpr std::size_t HeaderSize = Magic.size() + 4 + 8 + 8;

std::uint64_t LittleEndian(std::string_view bytes, std::size_t at, std::size_t size)
{
    std::uint64_t value = 0;
    for (std::size_t i = size; i-- > 0;) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// FNV-1a over eight bytes at a time: a torn or garbled file is told from a
// whole one, since every step changes the hash for any change of its bytes.
std::uint64_t Checksum(std::string_view bytes)
{
    constexpr std::uint64_t Prime = 1099511628211ull;
    std::uint64_t hash = 14695981039346656037ull;
    std::size_t at = 0;
    for (; at + 8 <= bytes.size(); at += 8) hash = (hash ^ LittleEndian(bytes, at, 8)) * Prime;
    return (hash ^ LittleEndian(bytes, at, bytes.size() - at)) * Prime;
}

void Put(std::string& out, std::uint64_t value, std::size_t size)
{
    std::array<char, 8> bytes{};
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    out.append(bytes.data(), size);
}

void PutText(std::string& out, std::string_view text)
{
    Put(out, text.size(), 4);
    out += text;
}

// Reads little-endian numbers and counted texts, refusing to pass the end.
class TReader {
public:
    explicit TReader(std::string_view bytes)
        : FBytes(bytes)
    { }

    bool AtEnd() const { return FAt == FBytes.size(); }

    bool Number(std::uint64_t& value, std::size_t size)
    {
        if (FBytes.size() - FAt < size) return false;
        value = LittleEndian(FBytes, FAt, size);
        FAt += size;
        return true;
    }

    bool Text(std::string_view& text)
    {
        std::uint64_t size = 0;
        if (!Number(size, 4) || FBytes.size() - FAt < size) return false;
        text = FBytes.substr(FAt, size);
        FAt += size;
        return true;
    }

private:
    std::string_view FBytes;
    std::size_t FAt = 0;
};

// The account's numbers, each in 4 bytes but the missing bytes in 8.
void PutDamage(std::string& out, const TZtDamageAccount& damage)
{
    for (const std::int32_t count : {damage.Lines, damage.LinesOutside, damage.LinesCut, damage.SequencesCut,
             damage.EntriesMissing, damage.TablesUnread})
        Put(out, static_cast<std::uint32_t>(count), 4);
    Put(out, damage.BytesMissing, 8);
}

bool ReadDamage(TReader& reader, TZtDamageAccount& damage)
{
    for (std::int32_t* count : {&damage.Lines, &damage.LinesOutside, &damage.LinesCut, &damage.SequencesCut,
             &damage.EntriesMissing, &damage.TablesUnread}) {
        std::uint64_t value = 0;
        if (!reader.Number(value, 4) || value > static_cast<std::uint64_t>(Fa4MaxLines) * 65536) return false;
        *count = static_cast<std::int32_t>(value);
    }
    return reader.Number(damage.BytesMissing, 8);
}

} // namespace

TZtFactsCache::TZtFactsCache(std::string bytes)
    : FBytes(std::move(bytes))
{
    if (!Load()) FEntries.clear();
}

bool TZtFactsCache::Load()
{
    const std::string_view all(FBytes);
    if (all.size() < HeaderSize || !all.starts_with(Magic)) return false;
    TReader header(all.substr(Magic.size(), HeaderSize - Magic.size()));
    std::uint64_t version = 0;
    std::uint64_t length = 0;
    std::uint64_t checksum = 0;
    header.Number(version, 4);
    header.Number(length, 8);
    header.Number(checksum, 8);
    const std::string_view body = all.substr(HeaderSize);
    if (version != FormatVersion || length != body.size() || checksum != Checksum(body)) return false;

    // Records take about a hundred bytes.
    FEntries.reserve(body.size() / 64);
    TReader reader(body);
    while (!reader.AtEnd()) {
        std::string_view path;
        TEntry entry;
        std::array<std::uint64_t, 7> numbers{};
        if (!reader.Text(path) || !reader.Number(entry.Device, 8) || !reader.Number(entry.Inode, 8) ||
            !reader.Number(entry.Size, 8) || !reader.Number(numbers[0], 8) || !reader.Number(numbers[1], 8) ||
            !reader.Number(numbers[2], 1) || !reader.Number(numbers[3], 4) || !reader.Text(entry.Title) ||
            !reader.Text(entry.Excerpt) || !ReadDamage(reader, entry.Damage))
            return false;
        if (numbers[2] > 1 || numbers[3] > static_cast<std::uint64_t>(Fa4MaxLines)) return false;
        entry.ModifiedNs = static_cast<std::int64_t>(numbers[0]);
        entry.ChangedNs = static_cast<std::int64_t>(numbers[1]);
        entry.IsDocument = numbers[2] == 1;
        entry.LineCount = static_cast<std::int32_t>(numbers[3]);
        FEntries.insert_or_assign(path, entry);
    }
    return true;
}

std::optional<TZtDocumentFacts> TZtFactsCache::Find(
    std::string_view path, const TZtDocumentFacts& current) const
{
    const auto found = FEntries.find(path);
    if (found == FEntries.end()) return std::nullopt;
    const TEntry& entry = found->second;
    if (entry.Device != current.Device || entry.Inode != current.Inode || entry.Size != current.Size ||
        entry.ModifiedNs != current.ModifiedNs || entry.ChangedNs != current.ChangedNs)
        return std::nullopt;
    TZtDocumentFacts facts = current;
    facts.LooksLikeDocument = entry.IsDocument;
    facts.LineCount = entry.LineCount;
    facts.Title = entry.Title;
    facts.Excerpt = entry.Excerpt;
    facts.Damage = entry.Damage;
    return facts;
}

TZtFactsCacheWriter::TZtFactsCacheWriter(std::int64_t runStartNs)
    : FSettledBefore(runStartNs - SettledAfterNs)
{ }

void TZtFactsCacheWriter::Add(std::string_view path, const TZtDocumentFacts& facts)
{
    if (facts.ModifiedNs >= FSettledBefore) return;
    PutText(FBody, path);
    Put(FBody, facts.Device, 8);
    Put(FBody, facts.Inode, 8);
    Put(FBody, facts.Size, 8);
    Put(FBody, static_cast<std::uint64_t>(facts.ModifiedNs), 8);
    Put(FBody, static_cast<std::uint64_t>(facts.ChangedNs), 8);
    Put(FBody, facts.LooksLikeDocument ? 1 : 0, 1);
    Put(FBody, static_cast<std::uint64_t>(facts.LooksLikeDocument ? facts.LineCount : 0), 4);
    PutText(FBody, facts.LooksLikeDocument ? std::string_view(facts.Title) : std::string_view());
    PutText(FBody, facts.LooksLikeDocument ? std::string_view(facts.Excerpt) : std::string_view());
    PutDamage(FBody, facts.LooksLikeDocument ? facts.Damage : TZtDamageAccount());
}

std::string TZtFactsCacheWriter::Finish() const
{
    std::string bytes(Magic);
    Put(bytes, FormatVersion, 4);
    Put(bytes, FBody.size(), 8);
    Put(bytes, Checksum(FBody), 8);
    return bytes + FBody;
}

} // namespace quorvex
