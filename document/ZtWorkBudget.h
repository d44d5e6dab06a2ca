#pragma once
// The bound on the work of one conversion.
//
// Tables drawn inside the cells of tables are converted once for every
// table whose cell corners they hold, and lines may share their text, so a
// small file can ask for more HTML than any memory holds (concentric boxes
// double it with every ring) or for hours of scanning (thousands of corners
// above one shared text of vertical lines). A conversion therefore counts
// its work: every byte of line text it reads to convert a line, to measure a
// table's frame, to scan a grid for tees and cell corners and to convert a
// cell, and every byte of HTML it writes or copies into an enclosing table.
// A conversion whose count passes
//
//     MinWork + WorkPerDocumentByte x (size of the document file)
//
// bytes stops with "Document too complex to convert". Running text counts
// about three bytes per byte of the file, and tables nested five deep about
// sixty; the bound lies far above both, and on this kind of machine it is
// reached in well under a second and a few hundred megabytes of memory.

#include <cstdint>

#include "ZtErrors.h"

namespace quorvex {

class TWorkBudget {
public:
  static constexpr std::int64_t MinWork = std::int64_t{32} << 20;
  static constexpr std::int64_t WorkPerDocumentByte = 128;

  explicit TWorkBudget(std::int64_t documentSize)
      : Left_(MinWork + WorkPerDocumentByte * documentSize) {}

  void Charge(std::int64_t bytes) {
    Left_ -= bytes;
    if (Left_ < 0) throw ETooComplexError();
  }

private:
  std::int64_t Left_;
};

}  // namespace quorvex
