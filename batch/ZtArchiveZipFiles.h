#pragma once
// The files an archive's index needs besides the documents' HTML: the index
// and the data of its search, written by `fa4tohtml -r -d` into the output
// folder and by the page into its zip.

#include <string>
#include <string_view>
#include <vector>

#include "ZtArchiveIndex.h"
#include "ZtSearchData.h"

namespace quorvex {

struct TZtIndexFiles {
    std::vector<TZtSearchFile> Search; // by their names inside SearchFolderName
    std::string Index; // the page IndexFileName
};

// The rows of the documents in any order, each with its text, which is given
// up once the search data holds it.
TZtIndexFiles BuildIndexFiles(std::string_view archiveName, std::vector<TZtIndexRow> rows);

// The same as files by their path in the zip: SearchFolderName/... and
// IndexFileName.
std::vector<TZtSearchFile> ArchiveZipFiles(std::string_view archiveName, std::vector<TZtIndexRow> rows);

} // namespace quorvex
