// Turns the arguments into the documents to convert and their HTML names.

#include "ZtBatchItems.h"

#include <algorithm>
#include <cerrno>
#include <chrono>

#include <exception>
#include <filesystem>
#include <iterator>
#include <system_error>

#include "ZtArchiveIndex.h"
#include "ZtArchiveWalk.h"
#include "ZtConvertDocument.h"
#include "ZtFactsCache.h"
#include "ZtFileAccess.h"
#include "ZtFileStatus.h"
#include "ZtRecognizeDocument.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

bool IsFolder(const std::string& name)
{
    return StatusOf(name).IsFolder();
}

// A folder is converted only with -r, and a name that is not there is no
// folder to walk: both are reported instead of converted.
std::optional<std::string> Refusal(const TZtBatchRequest& request, const std::string& name)
{
    if (name == StandardInputName) return std::nullopt;
    if (!request.Recursive && IsFolder(name)) return "is a folder; use -r to convert the documents in it";
    // With the system's reason: a name in a folder that cannot be entered
    // is there, but cannot be looked at.
    if (request.Recursive)
        if (const TFileStatus status = LinkStatusOf(name); !status.Found())
            return FormatFileMessage("Cannot open file %s", name, status.Error);
    return std::nullopt;
}

// A named file is converted whatever it holds; only a regular file that
// fails the check earns the warning (a missing one fails on its own).
void AddNamedFile(TZtBatchItems& batch, const TZtBatchRequest& request, const std::string& name)
{
    const bool notADocument =
        name != StandardInputName && StatusOf(name).IsRegular() && !LooksLikeFa4Document(name);
    batch.Items.push_back({name, HtmlFileName(request, name), fs::path(name).filename().generic_string(),
        notADocument, std::nullopt, std::nullopt, std::nullopt});
}

// `below` inside `folder`, spelt as std::filesystem::path's `/` spells it.
std::string InFolder(const std::string& folder, const std::string& below)
{
    if (folder.empty() || folder.back() == '/') return folder + below;
    return folder + '/' + below;
}

// What the walks of a run read, and what they found of it in the cache.
struct TFactsMemory {
    const TZtFactsCache* Cache = nullptr; // nothing without -d
    std::vector<TZtFoundFile> OtherFiles; // regular files that are no documents
    std::size_t Found = 0; // regular files the walks read or looked at
    std::size_t FromCache = 0; // of those, the files the cache knew as they are
};

void AddFolder(TZtBatchItems& batch, const TZtBatchRequest& request, const std::string& folder, unsigned jobs,
    TFactsMemory& memory)
{
    std::optional<fs::path> output;
    if (request.OutputDir) output = fs::path(*request.OutputDir);
    // Only the index shows a document's facts; every other run converts the
    // document whole anyway.
    const TZtWalkReads reads = WritesIndex(request) ? TZtWalkReads::isFacts : TZtWalkReads::isHeads;
    TZtArchiveWalk walk = WalkArchive(folder, output, jobs, memory.Cache, reads);
    memory.Found += walk.Documents.size() + walk.OtherFiles.size();
    memory.FromCache += walk.FromCache;
    batch.PassedOver += walk.PassedOver;
    // A file named as a document that is none may be a damaged one: worth a
    // look before the archive is thrown away.
    std::vector<std::string_view> namedAsDocuments;
    for (const auto& other : walk.OtherFiles)
        if (NamedAsFa4(other.Path)) namedAsDocuments.push_back(other.Path);
    std::sort(namedAsDocuments.begin(), namedAsDocuments.end());
    for (const auto path : namedAsDocuments)
        batch.Notes.push_back(
            {std::string(path), "warning: passed over: does not look like an F&A 4 document"});
    std::move(walk.OtherFiles.begin(), walk.OtherFiles.end(), std::back_inserter(memory.OtherFiles));
    batch.Items.reserve(batch.Items.size() + walk.Documents.size() + walk.Unreadable.size());
    auto unreadable = walk.Unreadable.begin();
    // What could not be read fails in the walk's order, among the documents.
    const auto addUnreadableUpTo = [&](std::size_t documents) {
        for (; unreadable != walk.Unreadable.end() && unreadable->DocumentsBefore <= documents;
             ++unreadable) {
            TZtBatchItem item;
            item.Document = std::move(unreadable->Path);
            item.IndexPath = std::move(unreadable->Below);
            item.Failure = std::move(unreadable->Message);
            batch.Items.push_back(std::move(item));
        }
    };
    for (std::size_t i = 0; i < walk.Documents.size(); ++i) {
        addUnreadableUpTo(i);
        TZtFoundFile& document = walk.Documents[i];
        std::string target = WithOutputExtension(
            request, output ? InFolder(*request.OutputDir, document.Below) : document.Path);
        batch.Items.push_back({std::move(document.Path), std::move(target), std::move(document.Below), false,
            std::move(document.Facts), std::nullopt, std::nullopt});
    }
    addUnreadableUpTo(walk.Documents.size());
}

// Time as the file system counts it: the system's real-time clock.
std::int64_t NowNs()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
}

// A missing or unreadable cache is an empty one.
std::string ReadCacheFile(const std::string& name)
{
    constexpr std::int64_t MaxCacheSize = std::int64_t{1} << 30;
    try {
        return ReadWholeFile(name, MaxCacheSize);
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace

TZtBatchItems GatherBatchItems(const TZtBatchRequest& request, unsigned jobs)
{
    const std::int64_t runStart = NowNs();
    const bool cached = WritesIndex(request);
    const TZtFactsCache cache(cached ? ReadCacheFile(FactsCacheName(request)) : std::string());
    TFactsMemory memory;
    if (cached) memory.Cache = &cache;
    TZtBatchItems batch;
    for (const auto& name : request.Names) {
        if (auto refusal = Refusal(request, name)) {
            TZtBatchItem item;
            item.Document = name;
            item.Refusal = std::move(refusal);
            batch.Items.push_back(std::move(item));
        } else if (request.Recursive && IsFolder(name))
            AddFolder(batch, request, name, jobs, memory);
        else
            AddNamedFile(batch, request, name);
    }
    // The cache knew every file, and no other: it stays as it is.
    if (!cached || (memory.FromCache == memory.Found && memory.Found == cache.Size())) return batch;
    TZtFactsCacheWriter writer(runStart);
    for (const auto& item : batch.Items)
        if (item.Facts) writer.Add(item.Document, *item.Facts);
    for (const auto& file : memory.OtherFiles) writer.Add(file.Path, file.Facts);
    batch.NewCache = writer.Finish();
    return batch;
}

} // namespace quorvex
