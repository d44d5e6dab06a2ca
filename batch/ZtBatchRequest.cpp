// The names a run derives from its request.

#include "ZtBatchRequest.h"

#include <filesystem>

#include "ZtArchiveIndex.h"
#include "ZtConvertDocument.h"
#include "ZtFactsCache.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

std::string InOutputFolder(const TZtBatchRequest& request, std::string_view name)
{
    return (fs::path(request.OutputDir.value_or(".")) / name).string();
}

} // namespace

std::string HtmlFileName(const TZtBatchRequest& request, const std::string& document)
{
    if (request.OutputFile) return *request.OutputFile;
    if (document == StandardInputName) return std::string(StandardOutputName);
    if (request.OutputDir)
        return WithOutputExtension(request, InOutputFolder(request, fs::path(document).filename().string()));
    return WithOutputExtension(request, document);
}

std::string WithHtmlExtension(std::string name)
{
    return name += ".html";
}

std::string WithOutputExtension(const TZtBatchRequest& request, std::string name)
{
    return request.Text ? name += ".txt" : WithHtmlExtension(std::move(name));
}

bool WritesIndex(const TZtBatchRequest& request)
{
    return request.Recursive && request.OutputDir && !request.Text;
}

std::string IndexName(const TZtBatchRequest& request)
{
    return InOutputFolder(request, IndexFileName);
}

std::string FactsCacheName(const TZtBatchRequest& request)
{
    return InOutputFolder(request, FactsCacheFileName);
}

} // namespace quorvex
