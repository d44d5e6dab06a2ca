#pragma once
// Documents built from line texts for the conversion tests.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Fa4Builder.h"
#include "ZtFileInfoFa4.h"

namespace quorvex::testing {

// Loads a document whose line n holds lines[n].
inline void LoadLines(TZtFileInfoFa4& document, const std::vector<std::string>& lines) {
  TFa4Builder builder;
  builder.Lines(lines);
  document.Clear();
  document.LoadFromMemory("test.fa4", builder.Bytes());
}

// Lines 0 to 11 filled with one letter each, so that the lines a test
// places from 12 on are counted.
inline std::vector<std::string> WithOuterLines(const std::vector<std::string>& body) {
  std::vector<std::string> lines(12, "x");
  lines.insert(lines.end(), body.begin(), body.end());
  return lines;
}

// Concentric boxes of `size` lines and columns: every ring a table whose
// one cell holds the next ring.
inline std::vector<std::string> ConcentricBoxes(int size) {
  std::vector<std::string> lines;
  for (int i = 0; i < size; ++i) {
    std::string line;
    for (int j = 0; j < size; ++j) {
      const int ring = std::min({i, j, size - 1 - i, size - 1 - j});
      char c = '\xB3';
      if (i == ring) c = j == ring ? '\xDA' : j == size - 1 - ring ? '\xBF' : '\xC4';
      else if (i == size - 1 - ring) c = j == ring ? '\xC0' : j == size - 1 - ring ? '\xD9' : '\xC4';
      line += c;
    }
    lines.push_back(line);
  }
  return lines;
}

inline const std::string TableStart = "<table border=\"1\" cellpadding=\"0\" cellspacing=\"0\">\r";
inline const std::string TableEnd = "</table>\r";

}  // namespace quorvex::testing
