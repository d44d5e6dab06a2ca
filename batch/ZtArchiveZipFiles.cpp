// The index and its search data for a zip, as the command line writes them.

#include "ZtArchiveZipFiles.h"

namespace quorvex {

std::vector<TZtSearchFile> ArchiveZipFiles(std::string_view archiveName, std::vector<TZtIndexRow> rows)
{
    std::vector<TZtSearchFile> files;
    {
        TZtSearchDataBuilder search;
        for (const std::size_t i : RowsInIndexOrder(rows)) {
            search.Add(rows[i].Path, rows[i].Text);
            std::string().swap(rows[i].Text);
        }
        files = search.Finish();
    }
    for (auto& file : files) file.Name = std::string(SearchFolderName) + '/' + file.Name;
    files.push_back({std::string(IndexFileName), BuildArchiveIndex(archiveName, std::move(rows), true)});
    return files;
}

} // namespace quorvex
