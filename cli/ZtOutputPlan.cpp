// The checks of a run's outputs, made on the names alone before any document
// is read.

#include "ZtOutputPlan.h"

#include <unistd.h>

#include <map>
#include <optional>

#include "ZtConvertDocument.h"
#include "ZtFileTarget.h"

namespace quorvex {
namespace {

// Every way of naming a file gives one key, also for a file that does not
// exist yet: a document given before its name is written by another of the
// run is written over all the same.
std::optional<TFileIdentity> DocumentKey(const std::string& document)
{
    if (document == StandardInputName) return IdentityOfRegularDescriptor(STDIN_FILENO);
    // Only regular files hold documents; a device or a FIFO is no document
    // HTML could destroy.
    if (const auto regular = IdentityOfRegularFile(document)) return regular;
    if (ResolveTarget(document).Kind != TTargetKind::tkNew) return std::nullopt;
    return IdentityOfTarget(document);
}

// Every way of naming the output gives one key, also for a file that does
// not exist yet.
TFileIdentity OutputKey(const std::string& output)
{
    if (output == StandardOutputName) return {0, 0, output};
    return IdentityOfTarget(output);
}

// The file the output would overwrite: standard output only as a regular
// file it appends to.
std::optional<TFileIdentity> OverwrittenKey(const std::string& output, const TFileIdentity& outputKey)
{
    if (output == StandardOutputName) return IdentityOfRegularDescriptor(STDOUT_FILENO);
    return outputKey;
}

std::string OverwriteMessage(const TZtBatchItem& item, const std::string& document)
{
    std::string message = "the HTML of " + item.Document + " would overwrite the document " + document;
    if (item.Target != document) message += " through " + item.Target;
    return message;
}

std::string DuplicateMessage(const TZtBatchItem& first, const TZtBatchItem& second)
{
    const std::string output = first.Target == StandardOutputName ? "standard output" : first.Target;
    return first.Document + " and " + second.Document + " would both be written to " + output;
}

} // namespace

std::vector<std::string> OutputConflicts(const std::vector<TZtBatchItem>& items)
{
    std::map<TFileIdentity, std::string> documents;
    for (const auto& item : items)
        if (const auto identity = DocumentKey(item.Document)) documents.try_emplace(*identity, item.Document);

    std::vector<std::string> conflicts;
    std::map<TFileIdentity, std::size_t> firstWriter;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const TFileIdentity key = OutputKey(items[i].Target);
        if (const auto overwritten = OverwrittenKey(items[i].Target, key)) {
            const auto document = documents.find(*overwritten);
            if (document != documents.end())
                conflicts.push_back(OverwriteMessage(items[i], document->second));
        }
        const auto [first, added] = firstWriter.try_emplace(key, i);
        if (!added) conflicts.push_back(DuplicateMessage(items[first->second], items[i]));
    }
    return conflicts;
}

} // namespace quorvex
