// Converts one document of a run and gathers its row of the index.

#include "ZtConvertItem.h"

#include <exception>
#include <filesystem>

#include "ZtDocumentFacts.h"

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
    if (settings.CreateFolders) MakeFolderOf(item.Target);
    ConvertDocument(item.Document, item.Target, settings.Conversion);
    return TZtItemState::isConverted;
}

// Size and date for every document; title and lines only for one that was
// converted.
void FillRow(TZtItemResult& result, const TZtBatchItem& item)
{
    TZtIndexRow& row = result.Row;
    row.Path = item.IndexPath;
    row.Failure = result.Message;
    std::optional<TZtDocumentFacts> facts = item.Facts;
    try {
        if (!facts) facts = ReadDocumentFacts(item.Document);
    } catch (const std::exception&) {
        return; // gone or unreadable: the row stays without them
    }
    row.Size = facts->Size;
    row.Modified = facts->Modified;
    if (result.State == TZtItemState::isFailed) return;
    row.Lines = facts->LineCount;
    row.Title = std::move(facts->Title);
}

} // namespace

TZtItemResult KeepItem(const TZtBatchItem& item, const TZtItemSettings& settings)
{
    TZtItemResult result;
    result.State = TZtItemState::isUpToDate;
    if (settings.CollectIndexRow) FillRow(result, item);
    return result;
}

TZtItemResult ConvertItem(const TZtBatchItem& item, const TZtItemSettings& settings)
{
    TZtItemResult result;
    if (item.Refusal) {
        result.Message = item.Refusal;
        return result;
    }
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
