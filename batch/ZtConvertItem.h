#pragma once
// One document of a run: converted, or kept when its HTML is up to date;
// and what the index shows of it.

#include <cstdint>
#include <optional>
#include <string>

#include "ZtArchiveIndex.h"
#include "ZtBatchItems.h"
#include "ZtConvertDocument.h"
#include "ZtDamageAccount.h"

namespace quorvex {

struct TZtItemSettings {
    TZtConversion Conversion;
    bool CreateFolders = false; // the target's folder is made when missing
    bool CollectIndexRow = false;
};

enum class TZtItemState { isConverted, isUpToDate, isFailed };

struct TZtItemResult {
    TZtItemState State = TZtItemState::isFailed;
    std::optional<std::string> Message; // why it failed
    // What the conversion saw: standard input may turn out to be no
    // document, and any document may be damaged.
    bool NotADocument = false;
    TZtDamageAccount Damage;
    TZtIndexRow Row; // filled when asked for
};

// Never throws: a failure becomes the result.
TZtItemResult ConvertItem(const TZtBatchItem& item, const TZtItemSettings& settings);
// An item whose HTML is up to date and kept.
TZtItemResult KeepItem(const TZtBatchItem& item, const TZtItemSettings& settings);

} // namespace quorvex
