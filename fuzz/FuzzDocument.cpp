// Arbitrary bytes judged as an archive's file, loaded as an F&A 4 document,
// converted whole, and every line shown in the line list.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "ZtDefaultPreferences.h"
#include "ZtErrors.h"
#include "ZtFileInfoFa4.h"
#include "ZtLineCells.h"
#include "ZtRecognizeDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace quorvex;
    LooksLikeFa4Head(std::string_view(reinterpret_cast<const char*>(data), size), size);
    TZtFileInfoFa4 document;
    // Odd sizes also exercise the classic output.
    if (size % 2 == 1) {
        document.SetCharOutput(TCharOutput::Bytes);
        document.SetHyphenJoin(hjLineBreak);
    }
    try {
        document.LoadFromMemory("fuzz.fa4", std::string(reinterpret_cast<const char*>(data), size));
    } catch (const EZtError&) {
        // A refused document (all 10000 entries in use) stays loaded; go on.
    }
    try {
        const std::string html = BuildHtml(DefaultPreferencesText, document);
        if (html.size() < DefaultPreferencesText.size()) __builtin_trap();
    } catch (const EZtError&) {
        // Conversion errors are reported to the user; only crashes matter here.
    }
    // Lines may share their bytes, so the lines of a small file can add up to
    // hundreds of megabytes; the list only ever draws the rows on screen, so
    // the cells are built until a megabyte of line text has been shown.
    std::size_t shown = 0;
    for (std::int32_t row = 0; row < document.LineCount() && shown < (1u << 20); ++row) {
        const TFa4LineEntry& entry = document.GetLine(row);
        ScreenText(document.LineView(entry));
        HexText(document.LineView(entry));
        shown += entry.Length;
    }
    return 0;
}
