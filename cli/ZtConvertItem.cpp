// Converts one document of a run and gathers its row of the index.

#include "ZtConvertItem.h"

#include <sys/stat.h>

#include <exception>
#include <filesystem>

#include "ZtDocumentFacts.h"
#include "ZtUpToDate.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

void MakeFolderOf(const std::string& target)
{
    const fs::path folder = fs::path(target).parent_path();
    std::error_code error;
    if (!folder.empty()) fs::create_directories(folder, error);
    if (error) throw EZtError(FormatFileMessage("Cannot create folder %s", folder.string()));
}

TZtItemState Convert(const TZtBatchItem& item, const TZtItemSettings& settings)
{
    if (settings.Update && HtmlIsUpToDate(item.Document, item.Target, settings.PreferencesFile))
        return TZtItemState::isUpToDate;
    if (settings.CreateFolders) MakeFolderOf(item.Target);
    ConvertDocument(item.Document, item.Target, settings.Conversion);
    return TZtItemState::isConverted;
}

// Size and date as the file has them; the facts only for a converted one.
void FillRow(TZtItemResult& result, const TZtBatchItem& item)
{
    TZtIndexRow& row = result.Row;
    row.Path = item.IndexPath;
    row.Failure = result.Message;
    struct stat info { };
    if (::stat(item.Document.c_str(), &info) == 0) {
        row.Size = static_cast<std::uint64_t>(info.st_size);
        row.Modified = info.st_mtime;
    }
    if (result.State == TZtItemState::isFailed) return;
    try {
        TZtDocumentFacts facts = ReadDocumentFacts(item.Document);
        row.Lines = facts.LineCount;
        row.Title = std::move(facts.Title);
    } catch (const std::exception&) {
        // Gone since it was converted: the row stays without them.
    }
}

} // namespace

TZtItemResult ConvertItem(const TZtBatchItem& item, const TZtItemSettings& settings)
{
    TZtItemResult result;
    try {
        result.State = Convert(item, settings);
    } catch (const std::exception& error) {
        result.Message = error.what();
    } catch (...) {
        result.Message = "unknown error";
    }
    if (settings.CollectIndexRow) FillRow(result, item);
    return result;
}

} // namespace quorvex
