#pragma once
// One document of a run held in memory instead of a file, as a page holds
// what the user chose: converted as a file would be, with its index row.

#include <ctime>
#include <optional>
#include <string>

#include "ZtArchiveIndex.h"
#include "ZtConvertDocument.h"

namespace quorvex {

struct TZtBytesResult {
    std::optional<std::string> Html; // nothing when the conversion failed
    TZtIndexRow Row; // the failure's message in Row.Failure, the text with KeepText
};

// Never throws. `indexPath` is the row's path; `modified` the document's
// time, which bytes do not carry.
TZtBytesResult ConvertBytesItem(
    std::string indexPath, std::string document, std::time_t modified, const TZtConversion& conversion);

} // namespace quorvex
