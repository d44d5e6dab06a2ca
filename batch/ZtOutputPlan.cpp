// The checks of a run's outputs, made on the names alone before any document
// is read.

#include "ZtOutputPlan.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <unordered_map>

#include "ZtConvertDocument.h"
#include "ZtFileStatus.h"
#include "ZtQuotedName.h"
#include "ZtRecognizeDocument.h"

namespace quorvex {
namespace {

// Every way of naming a file gives one key, also for a file that does not
// exist yet: a document given before its name is written by another of the
// run is written over all the same.
std::optional<TFileIdentity> DocumentKey(const TZtBatchItem& item)
{
    if (item.Document == StandardInputName) return IdentityOfRegularDescriptor(StandardInputDescriptor);
    // The walk found a regular file and looked at it already.
    if (item.Facts) return TFileIdentity{item.Facts->Device, item.Facts->Inode, {}};
    // Only regular files hold documents; a device or a FIFO is no document
    // HTML could destroy.
    if (const auto regular = IdentityOfRegularFile(item.Document)) return regular;
    if (ResolveTarget(item.Document).Kind != TTargetKind::tkNew) return std::nullopt;
    return IdentityOfTarget(item.Document);
}

// IdentityOfTarget of a name in a folder that does not exist is the name
// made absolute and normal; for the many targets of one new folder that is
// found once. Nothing when it cannot be found so.
std::optional<TFileIdentity> IdentityInMissingFolder(const std::string& output, TZtKeyLookups& lookups)
{
    if (!lookups.Folders.FolderMissing(output)) return std::nullopt;
    const std::size_t slash = output.rfind('/');
    const std::string_view folder = std::string_view(output).substr(0, slash);
    if (folder != lookups.MissingFolder || lookups.MissingFolderName.empty()) {
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(folder, error);
        if (error) return std::nullopt;
        lookups.MissingFolder = folder;
        lookups.MissingFolderName = absolute.lexically_normal().string();
    }
    return TFileIdentity{
        0, 0, (std::filesystem::path(lookups.MissingFolderName) / output.substr(slash + 1)).string()};
}

// One look at an existing output serves the key and the up-to-date check.
void FindOutput(TZtOutputKeys& keys, const std::string& output, TZtKeyLookups& lookups)
{
    if (output == StandardOutputName) {
        keys.Output = {0, 0, output};
        // Standard output only as a regular file it appends to.
        keys.Overwritten = IdentityOfRegularDescriptor(StandardOutputDescriptor);
        return;
    }
    if (const TFileStatus status = lookups.Folders.Status(output); status.Found()) {
        keys.Output = {static_cast<dev_t>(status.Device), static_cast<ino_t>(status.Inode), {}};
        if (status.Kind == TFileKind::fkRegular) {
            keys.OutputTime = status.ModifiedNs;
            // Most HTML files are smaller than any document: only a file of
            // a document's size is opened to look.
            keys.OverwrittenLooksLikeDocument =
                status.Size >= Fa4MinimumDocumentSize && LooksLikeFa4Document(output);
        }
    } else if (auto identity = IdentityInMissingFolder(output, lookups)) {
        keys.Output = std::move(*identity);
    } else {
        keys.Output = IdentityOfTarget(output);
    }
    keys.Overwritten = keys.Output;
}

// Identities are looked up where the keys hold them, not copied.
struct TIdentityHash {
    std::size_t operator()(const TFileIdentity* identity) const
    {
        const std::size_t file =
            std::hash<std::uint64_t>()(identity->Device) * 31 + std::hash<std::uint64_t>()(identity->Inode);
        return file * 31 + std::hash<std::string>()(identity->Name);
    }
};

struct TIdentityEqual {
    bool operator()(const TFileIdentity* a, const TFileIdentity* b) const { return *a == *b; }
};

template <typename TValue>
using TIdentityMap = std::unordered_map<const TFileIdentity*, TValue, TIdentityHash, TIdentityEqual>;

// `writer` is what writes the file: "the HTML of x.fa4", "the index".
std::string OverwriteMessage(
    const std::string& writer, const std::string& target, const std::string& document)
{
    std::string message = writer + " would overwrite the document " + QuotedName(document);
    if (target != document) message += " through " + QuotedName(target);
    return message;
}

std::string LooksLikeDocumentMessage(const std::string& writer, const std::string& target)
{
    return writer + " would overwrite " + QuotedName(target) + ", which looks like an F&A 4 document";
}

std::string HtmlOf(const TZtBatchItem& item)
{
    return "the HTML of " + QuotedName(item.Document);
}

std::string DuplicateMessage(const TZtBatchItem& first, const TZtBatchItem& second)
{
    const std::string output =
        first.Target == StandardOutputName ? "standard output" : QuotedName(first.Target);
    return QuotedName(first.Document) + " and " + QuotedName(second.Document) + " would both be written to " +
        output;
}

// ASCII letters in one case: every file system that folds case folds them.
std::string FoldedCase(std::string_view name)
{
    std::string folded(name);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

// The folder that holds the names where two spellings of one path part:
// "site/A/x" and "site/a/x" part in "site". The paths differ only in case,
// so they are of one length and their slashes stand alike.
std::string FolderWhereTheyPart(const std::string& a, const std::string& b)
{
    std::size_t at = 0;
    while (at < a.size() && a[at] == b[at]) ++at;
    const std::size_t slash = a.rfind('/', at);
    if (slash == std::string::npos) return ".";
    return a.substr(0, slash == 0 ? 1 : slash);
}

// Finds outputs whose names differ only in case, where that is one file.
class TCaseCheck {
public:
    explicit TCaseCheck(const TZtFoldsCase& foldsCase)
        : FFoldsCase(foldsCase)
    { }

    // The target of the writer the output shares a file with by case
    // alone, or nothing; `writer` is remembered for later outputs.
    std::optional<std::pair<std::string, std::string>> Add(
        const std::string& target, const std::string& writer)
    {
        const auto [first, added] = FFirst.try_emplace(FoldedCase(target), target, writer);
        if (added || first->second.first == target) return std::nullopt;
        if (!Folds(FolderWhereTheyPart(first->second.first, target))) return std::nullopt;
        return first->second;
    }

private:
    bool Folds(const std::string& folder)
    {
        const auto [known, added] = FFolds.try_emplace(folder, false);
        if (added) known->second = FFoldsCase(folder);
        return known->second;
    }

    const TZtFoldsCase& FFoldsCase;
    std::unordered_map<std::string, std::pair<std::string, std::string>> FFirst; // target, writer
    std::unordered_map<std::string, bool> FFolds;
};

std::string CaseMessage(const std::string& firstWriter, const std::string& firstTarget,
    const std::string& writer, const std::string& target)
{
    return firstWriter + " and " + writer + " would both be written to one file: " + QuotedName(firstTarget) +
        " and " + QuotedName(target) +
        " differ only in case, which their folder's file system does not tell apart";
}

} // namespace

TZtOutputKeys FindOutputKeys(const TZtBatchItem& item, TZtKeyLookups& lookups)
{
    TZtOutputKeys keys;
    keys.Document = DocumentKey(item);
    FindOutput(keys, item.Target, lookups);
    return keys;
}

std::vector<TZtConflict> FindConflicts(const std::vector<TZtBatchItem>& items,
    const std::vector<TZtOutputKeys>& keys, const std::vector<TZtRunFile>& runFiles,
    const TZtFoldsCase& foldsCase)
{
    TIdentityMap<const std::string*> documents(items.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        if (keys[i].Document) documents.try_emplace(&*keys[i].Document, &items[i].Document);
    // A file is named once: as a document of the run where it is one, else
    // as a file that looks like one.
    const auto overwriteConflict = [&](const TZtOutputKeys& output, const std::string& writer,
                                       const std::string& target) -> std::optional<std::string> {
        if (output.Overwritten) {
            const auto document = documents.find(&*output.Overwritten);
            if (document != documents.end()) return OverwriteMessage(writer, target, *document->second);
        }
        if (output.OverwrittenLooksLikeDocument) return LooksLikeDocumentMessage(writer, target);
        return std::nullopt;
    };

    std::vector<TZtConflict> conflicts;
    TIdentityMap<std::size_t> firstWriter(items.size());
    TCaseCheck caseCheck(foldsCase);
    const auto caseConflict = [&](std::optional<std::size_t> item, const std::string& target,
                                  const std::string& writer) {
        if (target == StandardOutputName) return;
        if (const auto first = caseCheck.Add(target, writer))
            conflicts.push_back({item, CaseMessage(first->second, first->first, writer, target)});
    };
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].WritesNothing()) continue;
        if (auto conflict = overwriteConflict(keys[i], HtmlOf(items[i]), items[i].Target))
            conflicts.push_back({i, std::move(*conflict)});
        const auto [first, added] = firstWriter.try_emplace(&keys[i].Output, i);
        if (!added) {
            const bool repeat = keys[i].Document && keys[i].Document == keys[first->second].Document;
            conflicts.push_back({i, DuplicateMessage(items[first->second], items[i]), repeat});
        } else
            caseConflict(i, items[i].Target, QuotedName(items[i].Document));
    }
    TZtKeyLookups lookups;
    for (const auto& file : runFiles) {
        TZtOutputKeys output;
        FindOutput(output, file.Name, lookups);
        if (auto conflict = overwriteConflict(output, file.What, file.Name))
            conflicts.push_back({std::nullopt, std::move(*conflict)});
        const auto writer = firstWriter.find(&output.Output);
        if (writer != firstWriter.end())
            conflicts.push_back({std::nullopt,
                QuotedName(items[writer->second].Document) + " and " + file.What +
                    " would both be written to " + QuotedName(file.Name)});
        else
            caseConflict(std::nullopt, file.Name, file.What);
    }
    return conflicts;
}

std::vector<std::string> OutputConflicts(const std::vector<TZtBatchItem>& items,
    const std::vector<TZtOutputKeys>& keys, const std::vector<TZtRunFile>& runFiles,
    const TZtFoldsCase& foldsCase)
{
    std::vector<std::string> messages;
    for (auto& conflict : FindConflicts(items, keys, runFiles, foldsCase))
        messages.push_back(std::move(conflict.Message));
    return messages;
}

std::vector<std::string> OutputConflicts(const std::vector<TZtBatchItem>& items,
    const std::vector<TZtRunFile>& runFiles, const TZtFoldsCase& foldsCase)
{
    std::vector<TZtOutputKeys> keys;
    keys.reserve(items.size());
    TZtKeyLookups lookups;
    for (const auto& item : items) keys.push_back(FindOutputKeys(item, lookups));
    return OutputConflicts(items, keys, runFiles, foldsCase);
}

} // namespace quorvex
