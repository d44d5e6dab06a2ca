#pragma once
// The entries of one folder, as a walk over a folder tree lists them.

#include <string>
#include <vector>

namespace quorvex {

// The type the listing tells without looking at the entry itself;
// etUnknown where the file system does not tell.
enum class TEntryType { etUnknown, etFile, etFolder, etLink, etOther };

struct TFolderEntry {
    std::string Name;
    TEntryType Type = TEntryType::etUnknown;
};

struct TFolderListing {
    // In the order the folder holds them, without "." and "..". What was
    // listed before a failure is kept.
    std::vector<TFolderEntry> Entries;
    int Error = 0; // the errno value of a failure to open or to list; 0
};

TFolderListing ListFolder(const std::string& folder);

} // namespace quorvex
