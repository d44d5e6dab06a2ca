// Writes hand-made worst-case documents of at most 1 MiB into a folder:
// the shapes that make a table converter or a rule scanner work hardest.
// Usage: make_hostile FOLDER

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Fa4Builder.h"

namespace {

using quorvex::testing::TFa4Builder;
constexpr std::size_t MaxBytes = 1 << 20;
constexpr std::size_t TableBytes = 38 + 11 * 10000;

// Concentric boxes: every box is a table whose one cell holds the next box,
// and every inner top-left corner is a cell corner of every outer box.
TFa4Builder NestedBoxes(int size) {
  TFa4Builder builder;
  for (int i = 0; i < size; ++i) {
    std::string line;
    for (int j = 0; j < size; ++j) {
      const int ring = std::min({i, j, size - 1 - i, size - 1 - j});
      char c = '\xB3';
      if (i == ring) c = j == ring ? '\xDA' : j == size - 1 - ring ? '\xBF' : '\xC4';
      else if (i == size - 1 - ring) c = j == ring ? '\xC0' : j == size - 1 - ring ? '\xD9' : '\xC4';
      line += c;
    }
    builder.Line(line);
  }
  return builder;
}

// A grid of one-character cells: rows x columns crossings.
TFa4Builder NarrowGrid(int rows, int columns) {
  TFa4Builder builder;
  auto rule = [&](char left, char middle, char right) {
    std::string line(1, left);
    for (int c = 0; c < columns; ++c) line += std::string("\xC4") + (c + 1 < columns ? middle : right);
    return line;
  };
  std::string text("\xB3");
  for (int c = 0; c < columns; ++c) text += std::string("x") + "\xB3";
  builder.Line(rule('\xDA', '\xC2', '\xBF'));
  for (int r = 0; r < rows; ++r) {
    builder.Line(text);
    builder.Line(r + 1 < rows ? rule('\xC3', '\xC5', '\xB4') : rule('\xC0', '\xC1', '\xD9'));
  }
  return builder;
}

// Lines of one repeated byte, as long as a line may be.
TFa4Builder RepeatedLines(const std::string& unit, int lines, std::size_t length) {
  TFa4Builder builder;
  std::string line;
  while (line.size() + unit.size() <= length) line += unit;
  for (int i = 0; i < lines; ++i) builder.Line(line);
  return builder;
}

// Top-left corners that each start a left edge running far down before the
// shape turns out not to be a table.
TFa4Builder FailingCorners(int lines, int width) {
  TFa4Builder builder;
  std::string top;
  for (int i = 0; i < width / 2; ++i) top += "\xDA\xBF";
  builder.Line(top);
  for (int i = 1; i < lines; ++i) builder.Line(std::string(width, '\xB3'));
  return builder;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_hostile FOLDER\n");
    return 2;
  }
  namespace fs = std::filesystem;
  const fs::path folder = argv[1];
  fs::create_directories(folder);
  const int budget = static_cast<int>(MaxBytes - TableBytes);
  const std::vector<std::pair<std::string, std::function<TFa4Builder()>>> documents = {
      {"nested-boxes.fa4", [] { return NestedBoxes(900); }},
      {"nested-boxes-small.fa4", [] { return NestedBoxes(40); }},
      {"narrow-grid.fa4", [] { return NarrowGrid(300, 600); }},
      {"rules-65535.fa4", [&] { return RepeatedLines("\xC4", budget / 65535, 65535); }},
      {"rule-runs.fa4", [&] { return RepeatedLines("\xC4 ", budget / 65535, 65535); }},
      {"ff-bytes.fa4", [&] { return RepeatedLines("\xFF", budget / 65535, 65535); }},
      {"indent-codes.fa4", [&] { return RepeatedLines("\xFF\x21\x05", budget / 60000, 60000); }},
      {"failing-corners.fa4", [] { return FailingCorners(900, 900); }},
  };
  for (const auto& [name, make] : documents) {
    const TFa4Builder builder = make();
    const std::string bytes = builder.Bytes();
    if (bytes.size() > MaxBytes) {
      std::fprintf(stderr, "make_hostile: %s is %zu bytes, more than 1 MiB\n", name.c_str(), bytes.size());
      return 1;
    }
    builder.WriteTo((folder / name).string());
    std::printf("%s %zu\n", name.c_str(), bytes.size());
  }
  return 0;
}
