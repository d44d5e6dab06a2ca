#pragma once
// The names of an archive written as one zip file rather than into a folder:
// documents known only by the paths a browser gives for them. A zip may be
// unpacked on any system, by any tool: every entry must stay inside the
// folder it is unpacked into, and no two entries may be one file where names
// are told apart without regard to case.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

// Where one document's HTML goes in the zip.
struct TZtArchiveEntry {
    // The document's path as the index shows it, '/' between folders: the
    // entry without its ".html".
    std::string IndexPath;
    std::string Entry; // IndexPath with ".html"
};

struct TZtArchivePlan {
    std::vector<TZtArchiveEntry> Entries; // one per path, in the order given
    // What would make `fa4tohtml -r -d` refuse the run for these paths: two
    // documents writing one file, or a document writing the index. Each is a
    // message, in the order of the paths.
    std::vector<std::string> Conflicts;
};

// `paths` are the documents' paths below the archive, in walk order, '/'
// (or '\') between folders. Empty, "." and ".." segments and a leading
// drive ("C:") are left out; a name already taken by an earlier entry, the
// index or a folder, when compared without regard to case, gets "~2", "~3"
// ... added; paths that are safe as they are get their names first. A
// folder keeps one entry name for all its documents.
TZtArchivePlan PlanArchiveEntries(const std::vector<std::string>& paths);

// The order the folder walk lists paths in: each folder's entries by the
// bytes of their names, a folder's documents where the folder's name sorts.
// The indices of `paths` in that order.
std::vector<std::size_t> WalkOrder(const std::vector<std::string>& paths);

} // namespace quorvex
