// The index and its search data, as the command line and the page write them.

#include "ZtArchiveZipFiles.h"

namespace quorvex {

TZtIndexFiles BuildIndexFiles(std::string_view archiveName, std::vector<TZtIndexRow> rows)
{
    TZtIndexFiles files;
    TZtSearchDataBuilder search;
    for (const std::size_t i : RowsInIndexOrder(rows)) {
        search.Add(rows[i].Path, rows[i].Text);
        std::string().swap(rows[i].Text);
    }
    files.Search = search.Finish();
    files.Index = BuildArchiveIndex(archiveName, std::move(rows), true);
    return files;
}

std::vector<TZtSearchFile> ArchiveZipFiles(std::string_view archiveName, std::vector<TZtIndexRow> rows)
{
    TZtIndexFiles index = BuildIndexFiles(archiveName, std::move(rows));
    std::vector<TZtSearchFile> files = std::move(index.Search);
    for (auto& file : files) file.Name = std::string(SearchFolderName) + '/' + file.Name;
    files.push_back({std::string(IndexFileName), std::move(index.Index)});
    return files;
}

} // namespace quorvex
