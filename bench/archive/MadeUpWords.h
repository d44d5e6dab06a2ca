#pragma once
// Made-up words for generated archives whose texts a search tells apart: a
// large vocabulary of German-looking words in code page 437, some far more
// frequent than others, as in real letters.

#include <cmath>
#include <cstdint>
#include <string>

namespace quorvex::bench {

inline constexpr const char* Syllables[] = {"an", "be", "ge", "ver", "ung", "lich", "keit", "schr", "au",
    "ben", "der", "zu", "mit", "stra\xE1", "m\x81", "l\x84", "gr\x94", "ka", "to", "ri", "se", "wal", "ten",
    "fer", "ol", "pe", "dun", "hei", "mo", "sta",
    "\x81"
    "ber",
    "ach", "in", "kon", "tor", "bu"};
inline constexpr std::uint32_t SyllableCount = sizeof Syllables / sizeof Syllables[0];

// Word number `k` of the vocabulary: two to four syllables.
inline std::string MadeUpWord(std::uint32_t k)
{
    std::uint32_t h = k * 2654435761u + 12345u;
    std::string word;
    const std::uint32_t syllables = 2 + h % 3;
    for (std::uint32_t i = 0; i < syllables; ++i) {
        h = h * 1103515245u + 12345u;
        word += Syllables[(h >> 16) % SyllableCount];
    }
    if (h % 5 == 0 && word[0] >= 'a' && word[0] <= 'z') word[0] = static_cast<char>(word[0] - 32);
    return word;
}

// A simple generator of its own, so that every archive is the same.
class TMadeUpText {
public:
    explicit TMadeUpText(std::uint32_t seed)
        : FState(seed * 747796405u + 2891336453u)
    { }

    // The next word: few words make most of a text, most words are rare.
    std::string Word(std::uint32_t vocabulary)
    {
        const double u = static_cast<double>(Next() % 1000000) / 1000000.0;
        return MadeUpWord(static_cast<std::uint32_t>(std::pow(static_cast<double>(vocabulary), u)) - 1);
    }

    // A line of about `length` bytes.
    std::string Line(std::uint32_t vocabulary, std::size_t length)
    {
        std::string line;
        while (line.size() < length) line += (line.empty() ? "" : " ") + Word(vocabulary);
        return line;
    }

private:
    std::uint32_t Next()
    {
        FState = FState * 1664525u + 1013904223u;
        return FState >> 8;
    }
    std::uint32_t FState;
};

} // namespace quorvex::bench
