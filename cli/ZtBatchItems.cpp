// Turns the arguments into the documents to convert and their HTML names.

#include "ZtBatchItems.h"

#include <filesystem>
#include <system_error>

#include "ZtArchiveIndex.h"
#include "ZtArchiveWalk.h"
#include "ZtBatchReport.h"
#include "ZtConvertDocument.h"
#include "ZtRecognizeDocument.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

bool IsFolder(const std::string& name)
{
    std::error_code error;
    return fs::is_directory(name, error);
}

// A named file is converted whatever it holds; only a regular file that
// fails the check earns the warning (a missing one fails on its own).
void AddNamedFile(TZtBatchItems& batch, const TZtCliOptions& options, const std::string& name)
{
    std::error_code error;
    const bool notADocument =
        name != StandardOutputName && fs::is_regular_file(name, error) && !LooksLikeFa4Document(name);
    batch.Items.push_back({name, HtmlFileName(options, name), fs::path(name).filename().generic_string(),
        notADocument, std::nullopt});
}

void AddFolder(TZtBatchItems& batch, const TZtCliOptions& options, const std::string& folder, unsigned jobs)
{
    std::optional<fs::path> output;
    if (options.OutputDir) output = fs::path(*options.OutputDir);
    TZtArchiveWalk walk = WalkArchive(folder, output, jobs);
    for (const auto& unreadable : walk.Unreadable)
        batch.Messages.push_back(ErrorLine(unreadable.Folder.string(), unreadable.Message));
    batch.Unreadable += walk.Unreadable.size();
    batch.PassedOver += walk.PassedOver;
    for (auto& document : walk.Documents) {
        std::string target =
            (output ? (*output / document.Below).string() : document.Path.string()) + ".html";
        batch.Items.push_back({document.Path.string(), std::move(target), std::move(document.Below), false,
            std::move(document.Facts)});
    }
}

} // namespace

std::string NotADocumentLine(const TZtBatchItem& item)
{
    return ErrorLine(item.Document, "warning: does not look like an F&A 4 document");
}

std::optional<std::string> IndexConflict(const TZtBatchItems& batch, const TZtCliOptions& options)
{
    if (!options.Recursive || !options.OutputDir) return std::nullopt;
    const std::string index = (fs::path(*options.OutputDir) / IndexFileName).string();
    for (const auto& item : batch.Items)
        if (item.Target == index) return item.Document + " and the index would both be written to " + index;
    return std::nullopt;
}

TZtBatchItems GatherBatchItems(const TZtCliOptions& options, unsigned jobs)
{
    TZtBatchItems batch;
    for (const auto& name : options.Documents) {
        if (options.Recursive && IsFolder(name))
            AddFolder(batch, options, name, jobs);
        else
            AddNamedFile(batch, options, name);
    }
    return batch;
}

} // namespace quorvex
