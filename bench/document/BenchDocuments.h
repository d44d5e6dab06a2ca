#pragma once
// Documents shaped to load one part of the conversion each.

#include <string>

namespace quorvex::bench {

// About 10000 lines of letters and reports: paragraphs with umlauts, bold
// words, hyphenated line ends, indented lists, aligned lines and a small
// table every few hundred lines. Each seed gives other text of the same kind.
std::string RealisticDocument(unsigned seed = 7);
// Long lines of words separated by short runs of rule characters.
std::string RuleRunsDocument();
// One table of a few rows and thousands of one-character-wide columns.
std::string WideTableDocument();
// One table of three columns and thousands of rows.
std::string TallTableDocument();
// Many tables, each holding a table in a cell, several levels deep.
std::string NestedTablesDocument();

} // namespace quorvex::bench
