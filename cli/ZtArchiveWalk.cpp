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

// Lists the tree: folders one by one, each by name, so that the files come
// in path order.
class TWalker {
public:
    TWalker(TZtArchiveWalk& result, std::vector<fs::path>& files, const std::optional<fs::path>& skip)
        : FResult(result)
        , FFiles(files)
        , FSkip(skip)
    { }

    void WalkFolder(const fs::path& folder)
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
            // The type the folder listing gives: a link is judged by itself,
            // never followed into a folder.
            if (!entry.is_symlink(error) && entry.is_directory(error)) {
                if (!IsSkipped(entry.path())) WalkFolder(entry.path());
            } else {
                FFiles.push_back(entry.path());
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
    std::vector<fs::path>& FFiles;
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
    std::vector<fs::path> files;
    TWalker(result, files, skip).WalkFolder(root);

    // Reading the heads is most of the walk's work, and done in parallel.
    std::vector<TProbe> probes(files.size());
    RunBatch(
        files.size(), jobs,
        [&](std::size_t i) {
            probes[i] = Probe(files[i]);
            return TZtOutcome();
        },
        [](std::size_t, const TZtOutcome&) {});
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (probes[i].Facts)
            result.Documents.push_back({files[i], std::move(*probes[i].Facts)});
        else if (probes[i].Failure)
            result.Unreadable.push_back({files[i], *probes[i].Failure});
        else
            ++result.PassedOver;
    }
    return result;
}

} // namespace quorvex
