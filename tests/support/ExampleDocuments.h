#pragma once
// The sample documents of examples/, built line by line.

#include <string>
#include <string_view>
#include <vector>

#include "Fa4Builder.h"

namespace quorvex::testing {

struct TExampleDocument {
    std::string Name; // file name, "NAME.fa4"
    TFa4Builder Builder;
};

std::vector<TExampleDocument> ExampleDocuments();

// Text written in UTF-8 with the German letters, signs and box-drawing
// characters of code page 437, turned into the document's bytes.
std::string Cp437(std::string_view utf8);

} // namespace quorvex::testing
