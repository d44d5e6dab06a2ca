// Arbitrary bytes split at LF into the lines of a well-formed F&A 4 document
// and converted whole. Unlike raw file bytes, this reaches the table and line
// rules with every mutation.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Fa4Builder.h"
#include "ZtDefaultPreferences.h"
#include "ZtErrors.h"
#include "ZtFileInfoFa4.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace quorvex;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    testing::TFa4Builder builder;
    while (builder.LineCount() < 9999) {
        const std::size_t lf = text.find('\n');
        builder.Line(text.substr(0, lf));
        if (lf == std::string_view::npos) break;
        text.remove_prefix(lf + 1);
    }
    TZtFileInfoFa4 document;
    document.LoadFromMemory("lines.fa4", builder.Bytes());
    try {
        BuildHtml(DefaultPreferencesText, document);
    } catch (const EZtError&) {
        // Conversion errors are reported to the user; only crashes matter here.
    }
    return 0;
}
