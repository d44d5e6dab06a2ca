// The index and its search data, as the command line and the page write them.

#include "ZtIndexFiles.h"

namespace quorvex {

void TZtIndexFiles::Add(TZtIndexRow row)
{
    FSearch.Add(row.Path, row.Text);
    std::string().swap(row.Text);
    FRows.push_back(std::move(row));
}

std::string TZtIndexFiles::Finish(std::string_view archiveName)
{
    FSearch.Finish();
    return BuildArchiveIndex(archiveName, std::move(FRows), true);
}

} // namespace quorvex
