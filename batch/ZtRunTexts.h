#pragma once
// The texts of a run's documents for the index's search. The search data
// lists them in the index's order, which is not the order they are
// converted in, so they are set aside until the run is over: in a scratch
// file of the output folder, so that a run over many documents holds only
// those being converted, or in memory where no such file can be made or
// written.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ZtScratchFile.h"

namespace quorvex {

class TZtRunTexts {
public:
    // For `items` items; `folder` (a descriptor) is where the scratch file
    // goes, -1 for memory alone.
    TZtRunTexts(std::size_t items, int folder);

    // Takes the text of the item, from any thread, each item once; an
    // empty text needs no place.
    void SetAside(std::size_t item, std::string& text);
    // The text of the item, once; empty when none was set aside.
    std::string Take(std::size_t item);

private:
    struct TPlace {
        std::uint64_t Offset = 0;
        std::size_t Size = 0;
        bool InScratch = false;
    };

    std::unique_ptr<TZtScratchFile> FScratch;
    std::vector<TPlace> FPlaces;
    std::vector<std::string> FInMemory;
};

} // namespace quorvex
