#pragma once
// One document of a run: converted, or kept when its HTML is up to date;
// and what the index shows of it.

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "ZtArchiveIndex.h"
#include "ZtBatchItems.h"
#include "ZtConvertDocument.h"
#include "ZtDamageAccount.h"
#include "ZtOutputFolder.h"

namespace quorvex {

struct TZtItemSettings {
    TZtConversion Conversion;
    // The folder the HTML goes into, made when missing.
    std::optional<std::string> OutputDir;
    // The folders below OutputDir mirror the folders walked; each item gets
    // its row of the index.
    bool Mirrored = false;
    bool TypedOutput = false; // the target is the output file the user named
    // The run's output folders, each cleared of a killed run's leftovers
    // when first opened; may be null.
    TZtOutputFolders* Folders = nullptr;
    // The texts an earlier run's search data holds, by index path, for items
    // whose HTML is kept; may be null.
    const std::map<std::string, std::string, std::less<>>* EarlierTexts = nullptr;
};

enum class TZtItemState { isConverted, isUpToDate, isFailed };

struct TZtItemResult {
    TZtItemState State = TZtItemState::isFailed;
    std::optional<std::string> Message; // why it failed
    bool ConversionFailed = false; // the document was read but did not convert
    bool NotReplaced = false; // what stood under the output's name stays
    // What the conversion saw: standard input may turn out to be no
    // document, and any document may be damaged.
    bool NotADocument = false;
    TZtDamageAccount Damage;
    TZtIndexRow Row; // filled when asked for
};

// Never throws: a failure becomes the result. The HTML of a name the run
// made (beside the document, in the output folder) is written as an entry of
// its folder (see ZtReplaceEntry.h); folders below the output folder, or
// below a folder walked, are entered one at a time without following a link.
TZtItemResult ConvertItem(const TZtBatchItem& item, const TZtItemSettings& settings);
// An item whose HTML is up to date and kept.
TZtItemResult KeepItem(const TZtBatchItem& item, const TZtItemSettings& settings);

} // namespace quorvex
