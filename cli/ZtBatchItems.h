#pragma once
// The documents of a run and where each one's HTML goes: the files named on
// the command line, and with -r the documents found in the folders named.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "ZtCliOptions.h"
#include "ZtDamageAccount.h"
#include "ZtDocumentFacts.h"

namespace quorvex {

struct TZtBatchItem {
    std::string Document; // as named, or the path the walk found
    std::string Target; // the HTML file
    // The document's path below the -d folder, '/' between folders: where
    // the index finds its HTML.
    std::string IndexPath;
    // A named file that does not look like a document: converted all the
    // same, after this warning.
    bool NotADocument = false;
    // What the walk read of a document it found.
    std::optional<TZtDocumentFacts> Facts;
    // Why a name is not converted at all (a folder without -r, a missing
    // name with -r): reported in its place, with no output and no index row.
    std::optional<std::string> Refusal;
};

struct TZtBatchItems {
    std::vector<TZtBatchItem> Items;
    std::size_t PassedOver = 0; // files of the folders that are no documents
    // Lines for standard error about folders that could not be read and
    // files passed over that are named as documents.
    std::vector<std::string> Messages;
    std::size_t Unreadable = 0; // folders that could not be read
    // With -r and -d: what the walk read of the tree's files for the next
    // run, unless the cache this run found holds just that.
    std::optional<std::string> NewCache;
};

// Where a run over folders with -d keeps its cache.
std::string FactsCacheName(const TZtCliOptions& options);

// The warning line for an item that is not a document.
std::string NotADocumentLine(const TZtBatchItem& item);
// The warning line for a damaged document: "fa4tohtml: NAME: warning:
// damaged: 14 of 27 lines cut at the end of the file".
std::string DamageLine(const TZtBatchItem& item, const TZtDamageAccount& damage);

// Where a run over folders with -d writes its index.
std::string IndexName(const TZtCliOptions& options);

// Arguments in their order; the documents of each folder by path. With -r
// and -d the folder tree is mirrored below the -d folder.
// Folders are read on up to `jobs` threads.
TZtBatchItems GatherBatchItems(const TZtCliOptions& options, unsigned jobs);

} // namespace quorvex
