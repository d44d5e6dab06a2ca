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

void Convert(TZtItemResult& result, const TZtBatchItem& item, const TZtItemSettings& settings)
{
    if (settings.CreateFolders) MakeFolderOf(item.Target);
    const TZtConvertedDocument converted = ConvertDocument(item.Document, item.Target, settings.Conversion);
    result.State = TZtItemState::isConverted;
    // A named file was looked at before the run; only standard input is
    // known once it has been read.
    result.NotADocument = item.Document == StandardInputName && !converted.LooksLikeDocument;
    // What a file that is no document "lost" means nothing.
    if (converted.LooksLikeDocument) result.Damage = converted.Damage;
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
    row.Excerpt = std::move(facts->Excerpt);
    row.Damage = DescribeDamage(facts->Damage);
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
    if (item.Failure) {
        result.Message = item.Failure;
        if (settings.CollectIndexRow) FillRow(result, item);
        return result;
    }
    try {
        Convert(result, item, settings);
    } catch (const std::exception& error) {
        result.Message = error.what();
    } catch (...) {
        result.Message = "unknown error";
    }
    if (settings.CollectIndexRow) FillRow(result, item);
    return result;
}

} // namespace quorvex
