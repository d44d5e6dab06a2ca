#pragma once
// The documents of a run and where each one's HTML goes: the files named on
// in the request, and with Recursive the documents found in the folders named.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "ZtBatchRequest.h"
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
    // Why an entry the walk found cannot be read (a folder that cannot be
    // listed, a name that cannot be looked at): a failure in its place,
    // with its index row, and no output.
    std::optional<std::string> Failure;

    // Refused or unreadable: converted not at all.
    bool WritesNothing() const { return Refusal || Failure; }
};

// A message about a name, worded by each program as it words its others.
struct TZtBatchNote {
    std::string Name;
    std::string Text;
};

struct TZtBatchItems {
    std::vector<TZtBatchItem> Items;
    std::size_t PassedOver = 0; // files of the folders that are no documents
    // What the user is told about files passed over that are named as
    // documents.
    std::vector<TZtBatchNote> Notes;
    // With -r and -d: what the walk read of the tree's files for the next
    // run, unless the cache this run found holds just that.
    std::optional<std::string> NewCache;
};

// Names in their order; the documents of each folder by path. With
// Recursive and OutputDir the folder tree is mirrored below the -d folder.
// Folders are read on up to `jobs` threads.
TZtBatchItems GatherBatchItems(const TZtBatchRequest& request, unsigned jobs);

} // namespace quorvex
