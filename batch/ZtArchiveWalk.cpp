// The folder walk: folders are listed one by one so that a folder which
// cannot be listed is reported and the rest of the tree is still walked.
// Each file is then opened once, to tell a document and to read its facts,
// unless the cache of an earlier run knows it as it is.

#include "ZtArchiveWalk.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <exception>
#include <memory>
#include <system_error>

#include "ZtFolderLookups.h"
#include "ZtParallelBatch.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

// A file of the tree, by its full path and by its path below the root.
struct TTreeFile {
    std::string Path;
    std::string Below;
};

// An entry of a folder, with the type the listing gives.
struct TFolderEntry {
    std::string Name;
    unsigned char Type = DT_UNKNOWN;
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
    return "Cannot read folder: " + std::generic_category().message(error);
}

struct TDirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// Lists the tree: folders one by one, each by name, so that the files come
// in path order.
class TWalker {
public:
    TWalker(TZtArchiveWalk& result, std::vector<TTreeFile>& files, const std::optional<fs::path>& skip)
        : FResult(result)
        , FFiles(files)
    {
        struct stat info { };
        if (skip && ::stat(skip->c_str(), &info) == 0) FSkip = std::make_pair(info.st_dev, info.st_ino);
    }

    void WalkRoot(const std::string& root)
    {
        FRootIsOutput = IsSkipped(root);
        WalkFolder(root, "");
    }

private:
    void WalkFolder(const std::string& folder, const std::string& below)
    {
        for (const auto& entry : ListFolder(folder)) {
            if (below.empty() && FRootIsOutput && entry.Name == FactsCacheFileName) continue;
            std::string path = InFolder(folder, entry.Name);
            std::string entryBelow = below.empty() ? entry.Name : below + '/' + entry.Name;
            // The type the folder listing gives: a link is judged by itself,
            // never followed into a folder.
            if (IsFolder(path, entry.Type)) {
                if (!IsSkipped(path)) WalkFolder(path, entryBelow);
            } else {
                FFiles.push_back({std::move(path), std::move(entryBelow)});
            }
        }
    }

    // By name: the paths differ only there. What was listed before a
    // failure is kept.
    std::vector<TFolderEntry> ListFolder(const std::string& folder)
    {
        std::vector<TFolderEntry> entries;
        const std::unique_ptr<DIR, TDirCloser> dir(::opendir(folder.c_str()));
        if (!dir) {
            FResult.Unreadable.push_back({folder, FolderError(errno)});
            return entries;
        }
        for (;;) {
            errno = 0;
            const dirent* entry = ::readdir(dir.get());
            if (!entry) break;
            const std::string_view name(entry->d_name);
            if (name != "." && name != "..") entries.push_back({std::string(name), entry->d_type});
        }
        if (errno != 0) FResult.Unreadable.push_back({folder, FolderError(errno)});
        std::sort(entries.begin(), entries.end(),
            [](const TFolderEntry& a, const TFolderEntry& b) { return a.Name < b.Name; });
        return entries;
    }

    static bool IsFolder(const std::string& path, unsigned char type)
    {
        if (type != DT_UNKNOWN) return type == DT_DIR;
        struct stat info { };
        return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    }

    bool IsSkipped(const std::string& folder) const
    {
        struct stat info { };
        return FSkip && ::stat(folder.c_str(), &info) == 0 &&
            std::make_pair(info.st_dev, info.st_ino) == *FSkip;
    }

    TZtArchiveWalk& FResult;
    std::vector<TTreeFile>& FFiles;
    std::optional<std::pair<dev_t, ino_t>> FSkip; // the output folder
    bool FRootIsOutput = false; // the cache lies in the root folder
};

// What the head of one file of the tree told.
struct TProbe {
    std::optional<TZtDocumentFacts> Facts; // a regular file
    std::optional<std::string> Failure; // a regular file that could not be read
    bool FromCache = false;
};

TProbe Probe(const std::string& file, const TZtFactsCache* cache, TZtFolderLookups& lookups)
{
    TProbe probe;
    // One look at the file instead of reading it, when the cache knows it.
    struct stat info { };
    if (cache && cache->Knows(file) && lookups.Stat(file, info) == 0)
        if (const auto current = FileFactsOf(info))
            if ((probe.Facts = cache->Find(file, *current))) {
                probe.FromCache = true;
                return probe;
            }
    try {
        probe.Facts = ReadDocumentFacts(file, true);
    } catch (const std::exception& failure) {
        // Pipes, devices and links to folders are no documents; a file that
        // cannot be read might be one.
        std::error_code error;
        if (fs::is_regular_file(file, error)) probe.Failure = failure.what();
    }
    return probe;
}

} // namespace

TZtArchiveWalk WalkArchive(
    const fs::path& root, const std::optional<fs::path>& skip, unsigned jobs, const TZtFactsCache* cache)
{
    TZtArchiveWalk result;
    std::vector<TTreeFile> files;
    TWalker(result, files, skip).WalkRoot(root.native());

    // Reading the heads is most of the walk's work, and done in parallel, a
    // few files per task so that handing out tasks costs little.
    constexpr std::size_t FilesPerTask = 32;
    std::vector<TProbe> probes(files.size());
    ForEachRangeInParallel(files.size(), jobs, FilesPerTask, [&](std::size_t begin, std::size_t end) {
        TZtFolderLookups lookups;
        for (std::size_t i = begin; i < end; ++i) probes[i] = Probe(files[i].Path, cache, lookups);
    });
    result.Documents.reserve(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        TProbe& probe = probes[i];
        if (probe.Failure) {
            result.Unreadable.push_back({files[i].Path, *probe.Failure});
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
