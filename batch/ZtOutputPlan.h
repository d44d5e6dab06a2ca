#pragma once
// The documents of a run and their HTML files, checked before anything is
// written: no document is written over by HTML, no file is written twice.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ZtBatchItems.h"
#include "ZtFileTarget.h"
#include "ZtFolderCase.h"
#include "ZtFolderLookups.h"

namespace quorvex {

// What the check needs to know of one item's files, found for each item on
// its own (so on any thread) by looking at the file system.
struct TZtOutputKeys {
    // The document as a file HTML could destroy: regular files only.
    std::optional<TFileIdentity> Document;
    TFileIdentity Output; // every way of naming the HTML file gives this one
    std::optional<TFileIdentity> Overwritten; // the file the HTML would replace
    // The file the HTML would replace passes the document check: HTML never
    // takes the place of a document, of this run or not.
    bool OverwrittenLooksLikeDocument = false;
    // The HTML file's modification time in nanoseconds when it is a regular
    // file already, for the up-to-date check.
    std::optional<std::int64_t> OutputTime;
};

// What one thread keeps between the items it looks at: the folder it looks
// in, and the absolute normal name of a folder that does not exist yet.
struct TZtKeyLookups {
    TZtFolderLookups Folders;
    std::string MissingFolder; // as the targets name it
    std::string MissingFolderName; // absolute and normal
};

// A document "-" is standard input, a target "-" standard output. Names are
// looked at as files (device and inode, through symbolic links), so two
// spellings of one file are one file; a document the walk found keeps the
// identity the walk saw.
TZtOutputKeys FindOutputKeys(const TZtBatchItem& item, TZtKeyLookups& lookups);

// A file a run writes besides the HTML of its documents, held to the same
// rules: the index of an archive, the cache beside it.
struct TZtRunFile {
    std::string Name;
    std::string What; // how messages call it: "the index"
};

// Whether names of a folder that differ only in case name one file there
// (FolderFoldsCase); asked at most once per folder, and only of a folder
// where two outputs differ only in case.
using TZtFoldsCase = std::function<bool(const std::string& folder)>;

// An output the rules forbid: the item that would write it (none for the
// run's own files) and what the user is told.
struct TZtConflict {
    std::optional<std::size_t> Item;
    std::string Message;
    // The same document named again: passed over, its HTML is written once.
    bool Repeat = false;
};

// What forbids the run, in document order, the run's other files last,
// names quoted (QuotedName); empty when it can go on. `keys` holds
// FindOutputKeys of each item. Two outputs whose names differ only in case
// are one file where `foldsCase` says so of the folder in which their
// spellings part.
std::vector<TZtConflict> FindConflicts(const std::vector<TZtBatchItem>& items,
    const std::vector<TZtOutputKeys>& keys, const std::vector<TZtRunFile>& runFiles = {},
    const TZtFoldsCase& foldsCase = FolderFoldsCase);
// Their messages alone.
std::vector<std::string> OutputConflicts(const std::vector<TZtBatchItem>& items,
    const std::vector<TZtOutputKeys>& keys, const std::vector<TZtRunFile>& runFiles = {},
    const TZtFoldsCase& foldsCase = FolderFoldsCase);
// The same, the keys found here.
std::vector<std::string> OutputConflicts(const std::vector<TZtBatchItem>& items,
    const std::vector<TZtRunFile>& runFiles = {}, const TZtFoldsCase& foldsCase = FolderFoldsCase);

} // namespace quorvex
