// The folder walk: folders are listed one by one so that a folder which
// cannot be listed is reported and the rest of the tree is still walked.
// Each file is then opened once, to tell a document and to read its facts,
// unless the cache of an earlier run knows it as it is.

#include "ZtArchiveWalk.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>

#include "ZtFileStatus.h"
#include "ZtFolderLookups.h"
#include "ZtFolderWalk.h"
#include "ZtParallelBatch.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

// An entry of the tree, by its full path and by its path below the root; a
// folder that could not be listed keeps its place among the files with the
// reason.
struct TTreeFile {
    std::string Path;
    std::string Below;
    std::optional<std::string> Failure;
};

// `name` inside `folder`, spelt as std::filesystem::path's `/` spells it.
std::string InFolder(const std::string& folder, std::string_view name)
{
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path = folder;
    if (!path.empty() && path.back() != '/') path += '/';
    path += name;
    return path;
}

std::string FolderError(int error)
{
    return std::string("Cannot read folder: ") + std::strerror(error);
}

// Lists the tree: folders one by one, each by name, so that the files come
// in path order.
class TWalker {
public:
    TWalker(std::vector<TTreeFile>& files, const std::optional<fs::path>& skip)
        : FFiles(files)
    {
        if (skip) FSkip = StatusOf(skip->native());
    }

    void WalkRoot(const std::string& root)
    {
        FRootIsOutput = IsSkipped(root);
        WalkFolder(root, "");
    }

private:
    void WalkFolder(const std::string& folder, const std::string& below)
    {
        TFolderListing listing = ListFolder(folder);
        // By name: the paths differ only there.
        std::sort(listing.Entries.begin(), listing.Entries.end(),
            [](const TFolderEntry& a, const TFolderEntry& b) { return a.Name < b.Name; });
        // The top folder's row in the index is ".".
        if (listing.Error != 0)
            FFiles.push_back({folder, below.empty() ? "." : below, FolderError(listing.Error)});
        for (const auto& entry : listing.Entries) {
            if (below.empty() && FRootIsOutput && entry.Name == FactsCacheFileName) continue;
            std::string path = InFolder(folder, entry.Name);
            std::string entryBelow = below.empty() ? entry.Name : below + '/' + entry.Name;
            // The type the folder listing gives: a link is judged by itself,
            // never followed into a folder.
            if (IsFolder(path, entry.Type)) {
                if (!IsSkipped(path)) WalkFolder(path, entryBelow);
            } else {
                FFiles.push_back({std::move(path), std::move(entryBelow), std::nullopt});
            }
        }
    }

    // An entry whose type cannot be found is taken for a file: reading it
    // tells why it cannot be read.
    static bool IsFolder(const std::string& path, TEntryType type)
    {
        if (type != TEntryType::etUnknown) return type == TEntryType::etFolder;
        return LinkStatusOf(path).IsFolder();
    }

    bool IsSkipped(const std::string& folder) const { return FSkip && StatusOf(folder).SameFile(*FSkip); }

    std::vector<TTreeFile>& FFiles;
    std::optional<TFileStatus> FSkip; // the output folder
    bool FRootIsOutput = false; // the cache lies in the root folder
};

// What the head of one file of the tree told.
struct TProbe {
    std::optional<TZtDocumentFacts> Facts; // a regular file
    std::optional<std::string> Failure; // an entry that could not be read
    bool FromCache = false;
};

TProbe Probe(const TTreeFile& file, const TZtFactsCache* cache, TZtFolderLookups& lookups, TZtWalkReads reads)
{
    TProbe probe;
    if (file.Failure) {
        probe.Failure = file.Failure;
        return probe;
    }
    // One look at the file instead of reading it, when the cache knows it.
    if (cache && cache->Knows(file.Path))
        if (const auto current = FileFactsOf(lookups.Status(file.Path)))
            if ((probe.Facts = cache->Find(file.Path, *current))) {
                probe.FromCache = true;
                return probe;
            }
    try {
        probe.Facts = reads == TZtWalkReads::isFacts ? ReadDocumentFacts(file.Path, true)
                                                     : RecognizeDocumentFile(file.Path);
    } catch (const std::exception& failure) {
        // Pipes, devices, links to folders and links that lead nowhere are
        // no documents; a name that cannot be looked at, or a file that
        // cannot be read, might be one.
        const TFileStatus status = StatusOf(file.Path);
        if (status.IsRegular() || (!status.Found() && status.Error != ENOENT)) probe.Failure = failure.what();
    }
    return probe;
}

} // namespace

TZtArchiveWalk WalkArchive(const fs::path& root, const std::optional<fs::path>& skip, unsigned jobs,
    const TZtFactsCache* cache, TZtWalkReads reads)
{
    TZtArchiveWalk result;
    std::vector<TTreeFile> files;
    TWalker(files, skip).WalkRoot(root.native());

    // Reading the heads is most of the walk's work, and done in parallel, a
    // few files per task so that handing out tasks costs little.
    constexpr std::size_t FilesPerTask = 32;
    std::vector<TProbe> probes(files.size());
    ForEachRangeInParallel(files.size(), jobs, FilesPerTask, [&](std::size_t begin, std::size_t end) {
        TZtFolderLookups lookups;
        for (std::size_t i = begin; i < end; ++i) probes[i] = Probe(files[i], cache, lookups, reads);
    });
    result.Documents.reserve(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        TProbe& probe = probes[i];
        if (probe.Failure) {
            result.Unreadable.push_back({std::move(files[i].Path), std::move(files[i].Below),
                std::move(*probe.Failure), result.Documents.size()});
            continue;
        }
        const bool isDocument = probe.Facts && probe.Facts->LooksLikeDocument;
        result.FromCache += probe.FromCache ? 1 : 0;
        if (!isDocument) ++result.PassedOver;
        if (probe.Facts)
            (isDocument ? result.Documents : result.OtherFiles)
                .push_back({std::move(files[i].Path), std::move(files[i].Below), std::move(*probe.Facts)});
    }
    return result;
}

} // namespace quorvex
