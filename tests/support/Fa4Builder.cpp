// Document files built for tests: head, line table and line texts.

#include "Fa4Builder.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace quorvex::testing {
namespace {

constexpr std::size_t HeadSize = 38;
constexpr std::size_t EntrySize = 11;
constexpr std::size_t MaxLines = 10000;
constexpr std::size_t TableEnd = HeadSize + EntrySize * MaxLines;

void PutLe(std::string& file, std::size_t at, std::uint64_t value, int size)
{
    for (int i = 0; i < size; ++i) file[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace

TFa4Builder& TFa4Builder::Line(std::string_view bytes)
{
    if (FTexts.size() >= MaxLines) throw std::length_error("more than 10000 lines");
    FTexts.emplace_back(bytes);
    return *this;
}

TFa4Builder& TFa4Builder::Lines(const std::vector<std::string>& lines)
{
    for (const auto& line : lines) Line(line);
    return *this;
}

TFa4Builder& TFa4Builder::EmptyParagraphs(int count)
{
    for (int i = 0; i < count; ++i) Line("\xFF\x01");
    return *this;
}

std::string TFa4Builder::Bytes() const
{
    std::string file(TableEnd, '\0');
    file.replace(0, 8, "FA4TEXT\x1A", 8);
    for (std::size_t i = 0; i < FTexts.size(); ++i) {
        if (FTexts[i].size() > 0xFFFF) throw std::length_error("line longer than 65535 bytes");
        PutEntry(file, static_cast<int>(i), static_cast<std::uint16_t>(FTexts[i].size()),
            static_cast<std::uint32_t>(file.size() - HeadSize));
        file += FTexts[i];
    }
    return file;
}

void TFa4Builder::WriteTo(const std::string& fileName) const
{
    const std::string bytes = Bytes();
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + fileName);
}

void PutEntry(std::string& file, int index, std::uint16_t length, std::uint32_t offset)
{
    const std::size_t at = HeadSize + EntrySize * static_cast<std::size_t>(index);
    if (file.size() < at + EntrySize) file.resize(at + EntrySize, '\0');
    PutLe(file, at + 4, length, 2);
    PutLe(file, at + 6, offset, 4);
}

std::vector<std::string> ConcentricBoxes(int size)
{
    std::vector<std::string> lines;
    for (int i = 0; i < size; ++i) {
        std::string line;
        for (int j = 0; j < size; ++j) {
            const int ring = std::min({i, j, size - 1 - i, size - 1 - j});
            char c = '\xB3';
            if (i == ring)
                c = j == ring ? '\xDA' : j == size - 1 - ring ? '\xBF' : '\xC4';
            else if (i == size - 1 - ring)
                c = j == ring ? '\xC0' : j == size - 1 - ring ? '\xD9' : '\xC4';
            line += c;
        }
        lines.push_back(line);
    }
    return lines;
}

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int v : values) bytes += static_cast<char>(v);
    return bytes;
}

} // namespace quorvex::testing
