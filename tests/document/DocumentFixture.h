#pragma once
// Documents built from line texts for the conversion tests.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Fa4Builder.h"
#include "ZtFileInfoFa4.h"

namespace quorvex::testing {

// A document converted with the classic markup: the rules of lines, tables
// and cells byte for byte, lines ended by a lone CR.
class TClassicDocument : public TZtFileInfoFa4 {
public:
    TClassicDocument() { SetMarkup(TMarkup::Classic); }
};

// Loads a document whose line n holds lines[n].
inline void LoadLines(TZtFileInfoFa4& document, const std::vector<std::string>& lines)
{
    TFa4Builder builder;
    builder.Lines(lines);
    document.Clear();
    document.LoadFromMemory("test.fa4", builder.Bytes());
}

// Lines 0 to 11 filled with one letter each, so that the lines a test
// places from 12 on are counted.
inline std::vector<std::string> WithOuterLines(const std::vector<std::string>& body)
{
    std::vector<std::string> lines(12, "x");
    lines.insert(lines.end(), body.begin(), body.end());
    return lines;
}

inline const std::string TableStart = "<table border=\"1\" cellpadding=\"0\" cellspacing=\"0\">\r";
inline const std::string TableEnd = "</table>\r";

} // namespace quorvex::testing
