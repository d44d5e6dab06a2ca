// The folder walk: folders are listed one by one so that a folder which
// cannot be listed is reported and the rest of the tree is still walked.
// Each file is then opened once, to tell a document and to read its facts.

#include "ZtArchiveWalk.h"

#include <algorithm>
#include <exception>
#include <system_error>

#include "ZtParallelBatch.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

// A file of the tree, by its full path and by its path below the root.
struct TTreeFile {
    fs::path Path;
    std::string Below;
};

// Lists the tree: folders one by one, each by name, so that the files come
// in path order.
class TWalker {
public:
    TWalker(TZtArchiveWalk& result, std::vector<TTreeFile>& files, const std::optional<fs::path>& skip)
        : FResult(result)
        , FFiles(files)
        , FSkip(skip)
    { }

    void WalkFolder(const fs::path& folder, const std::string& below)
    {
        std::error_code error;
        std::vector<fs::directory_entry> entries;
        fs::directory_iterator it(folder, error);
        for (; !error && it != fs::directory_iterator(); it.increment(error)) entries.push_back(*it);
        if (error) FResult.Unreadable.push_back({folder, "Cannot read folder: " + error.message()});
        // By name: the paths differ only there.
        std::sort(
            entries.begin(), entries.end(), [](const fs::directory_entry& a, const fs::directory_entry& b) {
                return a.path().native() < b.path().native();
            });
        for (const auto& entry : entries) {
            const std::string& path = entry.path().native();
            const std::string name = path.substr(path.rfind('/') + 1);
            const std::string entryBelow = below.empty() ? name : below + '/' + name;
            // The type the folder listing gives: a link is judged by itself,
            // never followed into a folder.
            if (!entry.is_symlink(error) && entry.is_directory(error)) {
                if (!IsSkipped(entry.path())) WalkFolder(entry.path(), entryBelow);
            } else {
                FFiles.push_back({entry.path(), entryBelow});
            }
        }
    }

private:
    bool IsSkipped(const fs::path& folder) const
    {
        std::error_code error;
        return FSkip && fs::equivalent(folder, *FSkip, error);
    }

    TZtArchiveWalk& FResult;
    std::vector<TTreeFile>& FFiles;
    const std::optional<fs::path>& FSkip;
};

// What the head of one file of the tree told.
struct TProbe {
    std::optional<TZtDocumentFacts> Facts; // it is a document
    std::optional<std::string> Failure; // a regular file that could not be read
};

TProbe Probe(const fs::path& file)
{
    TProbe probe;
    try {
        TZtDocumentFacts facts = ReadDocumentFacts(file.string(), true);
        if (facts.LooksLikeDocument) probe.Facts = std::move(facts);
    } catch (const std::exception& failure) {
        // Pipes, devices and links to folders are no documents; a file that
        // cannot be read might be one.
        std::error_code error;
        if (fs::is_regular_file(file, error)) probe.Failure = failure.what();
    }
    return probe;
}

} // namespace

TZtArchiveWalk WalkArchive(const fs::path& root, const std::optional<fs::path>& skip, unsigned jobs)
{
    TZtArchiveWalk result;
    std::vector<TTreeFile> files;
    TWalker(result, files, skip).WalkFolder(root, "");

    // Reading the heads is most of the walk's work, and done in parallel, a
    // few files per task so that handing out tasks costs little.
    constexpr std::size_t FilesPerTask = 32;
    std::vector<TProbe> probes(files.size());
    ForEachInParallel(
        files.size(), jobs, FilesPerTask, [&](std::size_t i) { probes[i] = Probe(files[i].Path); });
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (probes[i].Facts)
            result.Documents.push_back(
                {std::move(files[i].Path), std::move(files[i].Below), std::move(*probes[i].Facts)});
        else if (probes[i].Failure)
            result.Unreadable.push_back({files[i].Path, *probes[i].Failure});
        else
            ++result.PassedOver;
    }
    return result;
}

} // namespace quorvex
