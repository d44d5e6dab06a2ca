// Converts one document of a run and gathers its row of the index.

#include "ZtConvertItem.h"

#include "ZtReplaceEntry.h"

#include <exception>
#include <optional>
#include <string_view>
#include <vector>

#include "ZtDocumentFacts.h"
#include "ZtFileAccess.h"
#include "ZtHtmlText.h"
#include "ZtIndexRow.h"
#include "ZtOutputFolder.h"

namespace quorvex {
namespace {

// Where the HTML of an item made by the run goes: a folder as the user
// named it, the folders below it entered one at a time, and the entry.
struct TOutputPlace {
    std::string Folder; // "" for the current folder
    std::vector<std::string> Below;
    std::string Entry;
    bool Create = false; // folders are made when missing
};

// `path` split at '/' into its folders, and the last name of the target
// (the document's name and the extension of the output).
void SplitBelow(std::string_view path, std::string_view target, TOutputPlace& place)
{
    for (std::size_t slash; (slash = path.find('/')) != std::string_view::npos; path.remove_prefix(slash + 1))
        if (slash > 0) place.Below.emplace_back(path.substr(0, slash));
    place.Entry = target.substr(target.rfind('/') + 1);
}

TOutputPlace PlaceOf(const TZtBatchItem& item, const TZtItemSettings& settings)
{
    TOutputPlace place;
    const std::string& path = item.IndexPath;
    if (settings.Mirrored) {
        place.Folder = *settings.OutputDir;
        place.Create = true;
        SplitBelow(path, item.Target, place);
        return place;
    }
    // A document the walk found lies below the folder named, which is
    // opened as named and left only by the folders the walk went through.
    const std::string& document = item.Document;
    if (item.Facts && !path.empty() && document.size() > path.size() && document.ends_with(path) &&
        document[document.size() - path.size() - 1] == '/') {
        place.Folder = document.substr(0, document.size() - path.size());
        SplitBelow(path, item.Target, place);
        return place;
    }
    const std::size_t slash = item.Target.rfind('/');
    if (slash != std::string::npos) place.Folder = item.Target.substr(0, slash + 1);
    place.Entry = item.Target.substr(slash + 1);
    place.Create = settings.OutputDir.has_value();
    return place;
}

void Convert(TZtItemResult& result, const TZtBatchItem& item, const TZtItemSettings& settings)
{
    std::optional<TZtConvertedDocument> converted;
    if (item.Target == StandardOutputName || settings.TypedOutput) {
        converted = ConvertDocument(item.Document, item.Target, settings.Conversion);
    } else {
        const TOutputPlace place = PlaceOf(item, settings);
        TZtOutputFolders ownFolders;
        TZtOutputFolders& folders = settings.Folders ? *settings.Folders : ownFolders;
        const auto folder = folders.Open(place.Folder, place.Below, place.Create);
        converted = ConvertDocument(
            item.Document, TZtHtmlDestination{item.Target, folder.get(), place.Entry}, settings.Conversion);
    }
    result.State = TZtItemState::isConverted;
    // A named file was looked at before the run; only standard input is
    // known once it has been read.
    result.NotADocument = item.Document == StandardInputName && !converted->LooksLikeDocument;
    // What a file that is no document "lost" means nothing.
    if (converted->LooksLikeDocument) result.Damage = converted->Damage;
    result.Row.Text = std::move(converted->Text);
}

// The text of a document whose HTML is kept: as the earlier run's search
// data holds it, else read from the HTML, never from the document.
std::string KeptText(const TZtBatchItem& item, const TZtItemSettings& settings)
{
    if (settings.EarlierTexts) {
        const auto found = settings.EarlierTexts->find(item.IndexPath);
        if (found != settings.EarlierTexts->end()) return found->second;
    }
    try {
        return HtmlToText(ReadWholeFile(item.Target));
    } catch (const std::exception&) {
        return {};
    }
}

void FillRow(TZtItemResult& result, const TZtBatchItem& item)
{
    std::optional<TZtDocumentFacts> facts = item.Facts;
    try {
        if (!facts) facts = ReadDocumentFacts(item.Document);
    } catch (const std::exception&) {
        // gone or unreadable: the row goes without them
    }
    std::string text = std::move(result.Row.Text);
    result.Row = IndexRowOf(item.IndexPath, result.Message, std::move(facts));
    result.Row.Text = std::move(text);
}

} // namespace

TZtItemResult KeepItem(const TZtBatchItem& item, const TZtItemSettings& settings)
{
    TZtItemResult result;
    result.State = TZtItemState::isUpToDate;
    if (settings.Conversion.KeepText) result.Row.Text = KeptText(item, settings);
    if (settings.Mirrored) FillRow(result, item);
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
        if (settings.Mirrored) FillRow(result, item);
        return result;
    }
    try {
        Convert(result, item, settings);
    } catch (const EZtConversionError& error) {
        result.Message = error.what();
        result.ConversionFailed = true;
    } catch (const EZtNotReplacedError& error) {
        result.Message = error.what();
        result.NotReplaced = true;
    } catch (const std::exception& error) {
        result.Message = error.what();
    } catch (...) {
        result.Message = "unknown error";
    }
    if (settings.Mirrored) FillRow(result, item);
    return result;
}

} // namespace quorvex
