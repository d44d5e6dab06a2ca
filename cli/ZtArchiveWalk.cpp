// The folder walk: folders are listed one by one so that a folder which
// cannot be listed is reported and the rest of the tree is still walked.

#include "ZtArchiveWalk.h"

#include <algorithm>
#include <system_error>

#include "ZtRecognizeDocument.h"

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
        fs::directory_iterator it(folder, error);
        for (; !error && it != fs::directory_iterator(); it.increment(error)) Visit(it->path());
        if (error) FResult.Unreadable.push_back({folder, "Cannot read folder: " + error.message()});
    }

private:
    void Visit(const fs::path& entry)
    {
        std::error_code error;
        // A link is judged by itself, never followed into a folder.
        if (fs::is_directory(fs::symlink_status(entry, error))) {
            if (!IsSkipped(entry)) WalkFolder(entry);
        } else if (LooksLikeFa4Document(entry.string())) {
            FResult.Documents.push_back(entry);
        } else {
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
    std::sort(result.Documents.begin(), result.Documents.end());
    return result;
}

} // namespace quorvex
