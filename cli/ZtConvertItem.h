#pragma once
// One document of a run: skipped when its HTML is up to date, else
// converted; and what the index shows of it.

#include <cstdint>
#include <optional>
#include <string>

#include "ZtArchiveIndex.h"
#include "ZtBatchItems.h"
#include "ZtConvertDocument.h"

namespace quorvex {

struct TZtItemSettings {
    TZtConversion Conversion;
    bool Update = false; // -u: HTML newer than document and preferences is kept
    std::int64_t PreferencesTime = 0; // modification time of the -p file, ns
    bool CreateFolders = false; // the target's folder is made when missing
    bool CollectIndexRow = false;
};

enum class TZtItemState { isConverted, isUpToDate, isFailed };

struct TZtItemResult {
    TZtItemState State = TZtItemState::isFailed;
    std::optional<std::string> Message; // why it failed
    TZtIndexRow Row; // filled when asked for
};

// Never throws: a failure becomes the result. `htmlTime` is the HTML file's
// modification time when it is a regular file already.
TZtItemResult ConvertItem(
    const TZtBatchItem& item, std::optional<std::int64_t> htmlTime, const TZtItemSettings& settings);

} // namespace quorvex
