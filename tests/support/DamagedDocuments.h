#pragma once
// Random documents and damaged copies of them: files cut at random places,
// entries pointing outside the file or across its end, and control sequences
// cut off by the end of the file.

#include <cstdint>
#include <random>
#include <string>

namespace quorvex::testing {

enum class TDamageKind { Cut, EntriesOutside, SequenceCut };

class TDamagedDocuments {
public:
    explicit TDamagedDocuments(std::uint32_t seed)
        : FRandom(seed)
    { }

    // An intact document of random lines with control sequences, some lines
    // sharing one text.
    std::string Intact();
    // A damaged copy of a new intact document.
    std::string Damaged(TDamageKind kind);

private:
    int Pick(int first, int last) { return std::uniform_int_distribution<int>(first, last)(FRandom); }
    std::string RandomLine();
    std::string CutSequenceAtEnd(std::string file);

    std::mt19937 FRandom;
};

} // namespace quorvex::testing
