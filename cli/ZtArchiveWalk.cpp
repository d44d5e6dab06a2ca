// The folder walk: folders are listed one by one so that a folder which
// cannot be listed is reported and the rest of the tree is still walked.
// Each file is opened once, to tell a document and to read its facts.

#include "ZtArchiveWalk.h"

#include <algorithm>
#include <system_error>

#include "ZtErrors.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

class TWalker {
public:
    TWalker(TZtArchiveWalk& result, const std::optional<fs::path>& skip)
        : FResult(result)
        , FSkip(skip)
    { }

    void WalkFolder(const fs::path& folder)
    {
        std::error_code error;
        std::vector<fs::directory_entry> entries;
        fs::directory_iterator it(folder, error);
        for (; !error && it != fs::directory_iterator(); it.increment(error)) entries.push_back(*it);
        if (error) FResult.Unreadable.push_back({folder, "Cannot read folder: " + error.message()});
        // Each folder by name, so the whole walk is in path order.
        std::sort(
            entries.begin(), entries.end(), [](const fs::directory_entry& a, const fs::directory_entry& b) {
                return a.path().filename().native() < b.path().filename().native();
            });
        for (const auto& entry : entries) Visit(entry);
    }

private:
    void Visit(const fs::directory_entry& entry)
    {
        std::error_code error;
        // The type the folder listing gives: a link is judged by itself,
        // never followed into a folder.
        if (!entry.is_symlink(error) && entry.is_directory(error)) {
            if (!IsSkipped(entry.path())) WalkFolder(entry.path());
            return;
        }
        try {
            TZtDocumentFacts facts = ReadDocumentFacts(entry.path().string(), true);
            if (facts.LooksLikeDocument)
                FResult.Documents.push_back({entry.path(), std::move(facts)});
            else
                ++FResult.PassedOver;
        } catch (const EZtError& failure) {
            // Pipes, devices and links to folders are no documents; a file
            // that cannot be read might be one.
            if (fs::is_regular_file(entry.path(), error))
                FResult.Unreadable.push_back({entry.path(), failure.what()});
            else
                ++FResult.PassedOver;
        }
    }

    bool IsSkipped(const fs::path& folder) const
    {
        std::error_code error;
        return FSkip && fs::equivalent(folder, *FSkip, error);
    }

    TZtArchiveWalk& FResult;
    const std::optional<fs::path>& FSkip;
};

} // namespace

TZtArchiveWalk WalkArchive(const fs::path& root, const std::optional<fs::path>& skip)
{
    TZtArchiveWalk result;
    TWalker(result, skip).WalkFolder(root);

    return result;
}

} // namespace quorvex
