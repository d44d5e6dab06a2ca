#pragma once
// The bound on the work of one conversion.
//
// Tables drawn inside the cells of tables are converted once for every
// table whose cell corners they hold, and lines may share their text, so a
// small file can ask for more HTML than any memory holds (concentric boxes
// double it with every ring) or for long scans over gigabytes of line text
// (thousands of corners above one shared text of vertical lines). A
// conversion therefore counts its work: every byte of line text it reads to
// convert a line, to measure a table's frame, to scan a grid for tees and
// cell corners and to convert a cell (five for each byte of a line kept
// scanned for tables: its plain text and raw indexes), and every byte of
// HTML it writes or copies into an enclosing table.
// A conversion whose count passes
//
//     MinWork + WorkPerDocumentByte x (bytes the document holds)
//
// bytes stops with "Document too complex to convert". A document holds its
// head, its line table and the texts its lines reference, each range of the
// file once (TZtFileInfoFa4): for an ordinary document that is nearly the
// whole file, while a file made large by a tail no line references (or by a
// sparse hole) earns no more work than the bytes the conversion can read.
// Running text counts about three bytes per byte held, plain tables about
// eight, and a document filled with tables nested five deep about eighty;
// the worst shapes reach the bound within about a second and a few hundred
// megabytes of memory for 1 MiB held.

#include <cstdint>

#include "ZtErrors.h"

namespace quorvex {

class TWorkBudget {
public:
    static constexpr std::int64_t MinWork = std::int64_t{32} << 20;
    static constexpr std::int64_t WorkPerDocumentByte = 128;

    explicit TWorkBudget(std::int64_t heldBytes)
        : FLeft(MinWork + WorkPerDocumentByte * heldBytes)
    { }

    void Charge(std::int64_t bytes)
    {
        FLeft -= bytes;
        if (FLeft < 0) throw ETooComplexError();
    }

private:
    std::int64_t FLeft;
};

} // namespace quorvex
