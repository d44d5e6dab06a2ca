#pragma once
// Walking a folder tree of an archive for the F&A 4 documents it holds.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ZtDocumentFacts.h"
#include "ZtFactsCache.h"

namespace quorvex {

// A folder that could not be listed or a name that could not be read, and
// why: the system's reason.
struct TZtUnreadableEntry {
    std::string Path; // root / Below
    std::string Below; // the path below the root, '/' between folders
    std::string Message;
    // How many documents come before it in the walk's order, so that it can
    // be reported in its place.
    std::size_t DocumentsBefore = 0;
};

// A regular file of the tree, and what was read of it while telling
// documents from other files.
struct TZtFoundFile {
    std::string Path; // root / Below
    std::string Below; // the path below the root, '/' between folders
    TZtDocumentFacts Facts;
};

struct TZtArchiveWalk {
    std::vector<TZtFoundFile> Documents; // sorted by path
    // The regular files that are no documents, with what was read of them.
    std::vector<TZtFoundFile> OtherFiles;
    // Entries that are no document: other files, pipes, links to folders,
    // links that lead nowhere.
    std::size_t PassedOver = 0;
    // In the walk's order. A name that cannot be looked at, or a file that
    // cannot be read, might be a document: it is never passed over.
    std::vector<TZtUnreadableEntry> Unreadable;
    // Files whose facts came from the cache, which knew them as they are.
    std::size_t FromCache = 0;
};

// What the walk reads of each file: the facts an index lists (lines, title,
// excerpt, damage), or only its head, enough to tell documents from other
// files, for a run that writes no index.
enum class TZtWalkReads { isFacts, isHeads };

// Every document below `root`, hidden folders included. Symbolic links to
// folders are not followed, so the walk neither loops nor leaves the tree; a
// link to a file counts as that file. The folder `skip` (where the output
// goes) and everything below it is passed over without counting.
// The files' heads are read on up to `jobs` threads, except for a file that
// `cache` knows as it is now. The cache itself, in `skip`, is passed over
// without counting when `skip` is `root`.
TZtArchiveWalk WalkArchive(const std::filesystem::path& root,
    const std::optional<std::filesystem::path>& skip = std::nullopt, unsigned jobs = 1,
    const TZtFactsCache* cache = nullptr, TZtWalkReads reads = TZtWalkReads::isFacts);

} // namespace quorvex
