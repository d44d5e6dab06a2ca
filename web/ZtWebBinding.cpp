// The converter as a WebAssembly module: the shared run's parts that touch
// no file, handed bytes and names from JavaScript and handing bytes back:
// recognition and facts of a document's bytes, its conversion with its index
// row, the zip's entry names and the conflicts of a run, the walk's order and
// the index page with its search data. Failures come back as the message the command line would
// show, so that the JavaScript side throws it or lists it.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <exception>
#include <string>
#include <vector>

#include "ZtArchiveIndex.h"
#include "ZtArchiveNames.h"
#include "ZtConvertBytes.h"
#include "ZtDamageAccount.h"
#include "ZtDefaultPreferences.h"
#include "ZtDocumentFacts.h"
#include "ZtIndexFiles.h"
#include "ZtIndexRow.h"
#include "ZtRecognizeDocument.h"
#include "ZtSearchData.h"
#include "ZtTextLines.h"

namespace quorvex {
namespace {

using emscripten::val;

// A copy the module's memory can grow under without taking it along.
val BytesToJs(std::string_view bytes)
{
    return val::global("Uint8Array")
        .new_(emscripten::typed_memory_view(
            bytes.size(), reinterpret_cast<const unsigned char*>(bytes.data())));
}

std::vector<std::string> StringsOf(const val& array)
{
    std::vector<std::string> strings;
    const auto count = array["length"].as<unsigned>();
    strings.reserve(count);
    for (unsigned i = 0; i < count; ++i) strings.push_back(array[i].as<std::string>());
    return strings;
}

template <typename TItems, typename TToJs>
val ArrayOf(const TItems& items, TToJs toJs)
{
    val array = val::array();
    for (const auto& item : items) array.call<void>("push", toJs(item));
    return array;
}

// What `fa4tohtml` with --classic and -p would take.
TZtConversion ConversionFor(bool classic, const val& preferences)
{
    TZtConversion conversion;
    conversion.Preferences = DefaultPreferencesText;
    if (classic) {
        conversion.CharOutput = TCharOutput::Bytes;
        conversion.HyphenJoin = hjLineBreak;
        conversion.Markup = TMarkup::Classic;
        conversion.Preferences = ClassicPreferencesText;
    }
    if (!preferences.isUndefined() && !preferences.isNull())
        conversion.Preferences =
            JoinTextLines(SplitTextLines(preferences.as<std::string>()).Lines, TLineBreak::CrLf);
    return conversion;
}

val RowToJs(const TZtIndexRow& row, bool withText = false)
{
    val result = val::object();
    result.set("path", row.Path);
    if (row.Failure) result.set("failure", *row.Failure);
    result.set("title", row.Title);
    result.set("excerpt", row.Excerpt);
    result.set("damage", row.Damage);
    result.set("lines", row.Lines);
    result.set("size", static_cast<double>(row.Size));
    result.set("modified", static_cast<double>(row.Modified));
    if (withText && !row.Text.empty()) result.set("text", row.Text);
    return result;
}

// The HTML as a Uint8Array, or the message as a string.
val ConvertBytes(std::string document, bool classic, val preferences)
{
    TZtBytesResult result =
        ConvertBytesItem(std::string(), std::move(document), 0, ConversionFor(classic, preferences));
    if (!result.Html) return val(*result.Row.Failure);
    return BytesToJs(*result.Html);
}

// One document of an archive converted, its HTML kept in the module's memory
// until JavaScript deletes the object: read in parts, a large HTML is never
// copied whole.
class TZtWebItem {
public:
    explicit TZtWebItem(TZtBytesResult result)
        : FResult(std::move(result))
    { }

    // With `withText` the text too, where the conversion kept it.
    val Row(bool withText) const { return RowToJs(FResult.Row, withText); }
    // The row, whose text the index's search takes; the HTML goes too, so
    // that the module never holds it beside the search data.
    TZtIndexRow TakeRow()
    {
        FResult.Html.reset();
        return std::move(FResult.Row);
    }
    bool Converted() const { return FResult.Html.has_value(); }
    double HtmlSize() const { return FResult.Html ? static_cast<double>(FResult.Html->size()) : 0; }

    // Up to `size` bytes from `offset` on, as a Uint8Array of its own.
    val HtmlPart(double offset, double size) const
    {
        const std::string_view html = FResult.Html ? std::string_view(*FResult.Html) : std::string_view();
        const auto from = std::min(html.size(), static_cast<std::size_t>(offset));
        return BytesToJs(html.substr(from, static_cast<std::size_t>(size)));
    }

private:
    TZtBytesResult FResult;
};

// `modified` in seconds; with `keepText` the row holds the text for the
// index's search.
TZtWebItem ConvertItem(std::string document, std::string indexPath, double modified, bool classic,
    val preferences, bool keepText)
{
    TZtConversion conversion = ConversionFor(classic, preferences);
    conversion.KeepText = keepText;
    return TZtWebItem(ConvertBytesItem(
        std::move(indexPath), std::move(document), static_cast<std::time_t>(modified), conversion));
}

// The index and its search data of an archive, made as its documents come
// in the index's order: each file of the zip that is whole waits in the
// module until JavaScript takes it, so that the module holds the words of
// every document but the text of a few.
class TZtWebIndex {
public:
    TZtWebIndex()
        : FFiles([this](TZtSearchFile file) {
            file.Name = std::string(SearchFolderName) + '/' + file.Name;
            FReady.push_back(std::move(file));
        })
    { }
    TZtWebIndex(const TZtWebIndex&) = delete;
    TZtWebIndex& operator=(const TZtWebIndex&) = delete;

    // Takes the item's row and lets go of its HTML.
    void AddItem(TZtWebItem& item) { FFiles.Add(item.TakeRow()); }
    void AddFailed(std::string indexPath, std::string failure)
    {
        FFiles.Add(IndexRowOf(std::move(indexPath), std::move(failure), std::nullopt));
    }
    // The rest of the search data, then the index page.
    void Finish(std::string archiveName)
    {
        std::string index = FFiles.Finish(archiveName);
        FReady.push_back({std::string(IndexFileName), std::move(index)});
    }
    // The next file that is whole as {name, bytes} (a Uint8Array), or null;
    // the module lets go of its own bytes.
    val TakeFile()
    {
        if (FReady.empty()) return val::null();
        const TZtSearchFile file = std::move(FReady.front());
        FReady.pop_front();
        val result = val::object();
        result.set("name", file.Name);
        result.set("bytes", BytesToJs(file.Bytes));
        return result;
    }

private:
    std::deque<TZtSearchFile> FReady; // by their path in the zip
    TZtIndexFiles FFiles;
};

// The row of a document that could not even be read.
val FailedRow(std::string indexPath, std::string failure)
{
    return RowToJs(IndexRowOf(std::move(indexPath), std::move(failure), std::nullopt));
}

// The script the page's search of the chosen documents shares with the
// index's: build-web.sh writes it into the page's folder.
std::string SearchTextScriptText()
{
    return std::string(SearchTextScript);
}

bool LooksLikeDocument(std::string head, double fileSize)
{
    return LooksLikeFa4Head(head, static_cast<std::uint64_t>(fileSize));
}

// The facts a folder's list shows of a document.
val DocumentFacts(std::string document)
{
    val result = val::object();
    try {
        const TZtDocumentFacts facts = DocumentFactsOfBytes(document);
        result.set("looksLikeDocument", facts.LooksLikeDocument);
        result.set("lines", facts.LineCount);
        result.set("title", facts.Title);
        result.set("excerpt", facts.Excerpt);
        result.set("damage", DescribeDamage(facts.Damage));
    } catch (const std::exception& error) {
        result.set("error", std::string(error.what()));
    }
    return result;
}

// {entries: [{entry, indexPath}], indexOrder: [position], conflicts:
// [message]} for the documents' paths in walk order; `indexOrder` lists the
// positions of the entries in the order the index and its search list them.
val ArchivePlan(val paths)
{
    const TZtArchivePlan plan = PlanArchiveEntries(StringsOf(paths));
    val result = val::object();
    result.set("entries", ArrayOf(plan.Entries, [](const TZtArchiveEntry& entry) {
        val item = val::object();
        item.set("entry", entry.Entry);
        item.set("indexPath", entry.IndexPath);
        return item;
    }));
    std::vector<TZtIndexRow> rows(plan.Entries.size());
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i].Path = plan.Entries[i].IndexPath;
    result.set("indexOrder",
        ArrayOf(RowsInIndexOrder(rows), [](std::size_t i) { return val(static_cast<double>(i)); }));
    result.set("conflicts", ArrayOf(plan.Conflicts, [](const std::string& text) { return val(text); }));
    return result;
}

val WalkOrderOf(val paths)
{
    return ArrayOf(WalkOrder(StringsOf(paths)), [](std::size_t i) { return val(static_cast<double>(i)); });
}

} // namespace
} // namespace quorvex

EMSCRIPTEN_BINDINGS(fa4tohtml)
{
    emscripten::function("convertBytes", &quorvex::ConvertBytes);
    emscripten::class_<quorvex::TZtWebItem>("ConvertedItem")
        .function("row", &quorvex::TZtWebItem::Row)
        .function("converted", &quorvex::TZtWebItem::Converted)
        .function("htmlSize", &quorvex::TZtWebItem::HtmlSize)
        .function("htmlPart", &quorvex::TZtWebItem::HtmlPart);
    emscripten::function("convertItemBytes", &quorvex::ConvertItem);
    emscripten::function("failedRow", &quorvex::FailedRow);
    emscripten::function("looksLikeDocument", &quorvex::LooksLikeDocument);
    emscripten::function("documentFacts", &quorvex::DocumentFacts);
    emscripten::function("archivePlan", &quorvex::ArchivePlan);
    emscripten::function("walkOrder", &quorvex::WalkOrderOf);
    emscripten::function("searchTextScript", &quorvex::SearchTextScriptText);
    emscripten::class_<quorvex::TZtWebIndex>("ArchiveFiles")
        .constructor<>()
        .function("addItem", &quorvex::TZtWebIndex::AddItem)
        .function("addFailed", &quorvex::TZtWebIndex::AddFailed)
        .function("finish", &quorvex::TZtWebIndex::Finish)
        .function("takeFile", &quorvex::TZtWebIndex::TakeFile);
    emscripten::constant("recognitionHeadSize", static_cast<double>(quorvex::RecognitionHeadSize));
}
