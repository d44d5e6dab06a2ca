#pragma once
// What a run over folders with -d read of the tree's files, kept beside the
// index for the next run: a file that is still the same file with the same
// size and times need not be opened again to tell whether it is a document
// and what its index row shows.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "ZtDamageAccount.h"
#include "ZtDocumentFacts.h"

namespace quorvex {

// The cache's name inside the output folder.
inline constexpr std::string_view FactsCacheFileName = ".fa4tohtml-cache";

// A file modified this short a time before a run may change again within
// the same time stamp of its file system (FAT counts in steps of 2 s)
// without anything to show it: it is not remembered.
inline constexpr std::int64_t SettledAfterNs = 3'000'000'000;

class TZtFactsCache {
public:
    // The cache as TZtFactsCacheWriter wrote it; empty unless the bytes are
    // all there and unchanged.
    explicit TZtFactsCache(std::string bytes);
    TZtFactsCache(const TZtFactsCache&) = delete;
    TZtFactsCache& operator=(const TZtFactsCache&) = delete;

    bool Knows(std::string_view path) const { return FEntries.contains(path); }
    std::size_t Size() const { return FEntries.size(); } // files known
    // `current` (what the file system tells of the file now) with what was
    // read of the file, when the cache has it for the file as it is now.
    std::optional<TZtDocumentFacts> Find(std::string_view path, const TZtDocumentFacts& current) const;

private:
    struct TEntry {
        std::uint64_t Device = 0;
        std::uint64_t Inode = 0;
        std::uint64_t Size = 0;
        std::int64_t ModifiedNs = 0;
        std::int64_t ChangedNs = 0;
        bool IsDocument = false;
        std::int32_t LineCount = 0;
        std::string_view Title; // in FBytes
        std::string_view Excerpt; // in FBytes
        TZtDamageAccount Damage;
    };
    bool Load();

    std::string FBytes;
    std::unordered_map<std::string_view, TEntry> FEntries;
};

// Collects the files of a run for the next run's cache, in the order added.
class TZtFactsCacheWriter {
public:
    // `runStartNs`: when the run began, as file times count.
    explicit TZtFactsCacheWriter(std::int64_t runStartNs);
    // Files modified shortly before the run or after it began are left out.
    void Add(std::string_view path, const TZtDocumentFacts& facts);
    std::string Finish() const;

private:
    std::int64_t FSettledBefore;
    std::string FBody;
};

} // namespace quorvex
