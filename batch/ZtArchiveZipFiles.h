#pragma once
// The files of an archive written as one zip besides the documents' HTML:
// the index and the data of its search, as `fa4tohtml -r -d` writes them
// beside the HTML.

#include <string>
#include <string_view>
#include <vector>

#include "ZtArchiveIndex.h"
#include "ZtSearchData.h"

namespace quorvex {

// The rows of the documents in any order, each with its text; the files by
// their path in the zip: SearchFolderName/... and IndexFileName.
std::vector<TZtSearchFile> ArchiveZipFiles(std::string_view archiveName, std::vector<TZtIndexRow> rows);

} // namespace quorvex
