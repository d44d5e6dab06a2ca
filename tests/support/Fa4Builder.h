#pragma once
// Builds F&A 4 document files for tests and sample documents: a head, the
// full line table and the line texts after it, every integer little-endian.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex::testing {

class TFa4Builder {
public:
    // Appends a line; its text is stored after the table in the order added.
    TFa4Builder& Line(std::string_view bytes);
    TFa4Builder& Lines(const std::vector<std::string>& lines);
    // Appends `count` lines holding only a paragraph end (0xFF 0x01), the way
    // the word processor stores an empty line.
    TFa4Builder& EmptyParagraphs(int count);

    std::size_t LineCount() const { return FTexts.size(); }
    // The whole file.
    std::string Bytes() const;
    void WriteTo(const std::string& fileName) const;

private:
    std::vector<std::string> FTexts;
};

// Writes a raw line-table entry into file bytes: for tests that build
// damaged documents by hand.
void PutEntry(std::string& file, int index, std::uint16_t length, std::uint32_t offset);

// Concentric boxes of `size` lines and columns: every ring a table whose one
// cell holds the next ring, and every inner top-left corner also a cell corner
// of every enclosing ring, so the exact HTML doubles with every ring.
std::vector<std::string> ConcentricBoxes(int size);

// Bytes from a list of byte values, for readable test data.
std::string Bytes(std::initializer_list<int> values);

} // namespace quorvex::testing
