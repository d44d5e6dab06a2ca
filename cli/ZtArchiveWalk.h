#pragma once
// Walking a folder tree of an archive for the F&A 4 documents it holds.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ZtDocumentFacts.h"

namespace quorvex {

// A folder that could not be listed or a file that could not be read, and
// why.
struct TZtUnreadableFolder {
    std::filesystem::path Folder;
    std::string Message;
};

// A document, and what was read of it while telling it from other files.
struct TZtFoundDocument {
    std::filesystem::path Path; // root / Below
    std::string Below; // the path below the root, '/' between folders
    TZtDocumentFacts Facts;
};

struct TZtArchiveWalk {
    std::vector<TZtFoundDocument> Documents; // sorted by path
    // Entries that are no document: other files, pipes, links to folders.
    std::size_t PassedOver = 0;
    std::vector<TZtUnreadableFolder> Unreadable;
};

// Every document below `root`, hidden folders included. Symbolic links to
// folders are not followed, so the walk neither loops nor leaves the tree; a
// link to a file counts as that file. The folder `skip` (where the output
// goes) and everything below it is passed over without counting.
// The files' heads are read on up to `jobs` threads.
TZtArchiveWalk WalkArchive(const std::filesystem::path& root,
    const std::optional<std::filesystem::path>& skip = std::nullopt, unsigned jobs = 1);

} // namespace quorvex
