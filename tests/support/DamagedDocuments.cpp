// Damaged documents: intact random ones, then cut or pointed outside.

#include "DamagedDocuments.h"

#include "Fa4Builder.h"

namespace quorvex::testing {
namespace {

constexpr int HeadSize = 38;
constexpr int EntrySize = 11;

// Codes without operands and with two.
constexpr int ShortCodes[] = {0x01, 0x04, 0x80, 0x90, 0x85, 0x82};
constexpr int LongCodes[] = {0x21, 0x22, 0x24};

std::uint16_t StoredLength(const std::string& file, int index)
{
    const std::size_t at = HeadSize + EntrySize * static_cast<std::size_t>(index) + 4;
    return static_cast<std::uint16_t>(
        static_cast<unsigned char>(file[at]) | static_cast<unsigned char>(file[at + 1]) << 8);
}

} // namespace

std::string TDamagedDocuments::RandomLine()
{
    std::string line;
    for (int piece = Pick(0, 12); piece > 0; --piece) {
        switch (Pick(0, 3)) {
        case 0:
            line += '\xFF';
            line += static_cast<char>(ShortCodes[Pick(0, 5)]);
            break;
        case 1:
            line += '\xFF';
            line += static_cast<char>(LongCodes[Pick(0, 2)]);
            line += static_cast<char>(Pick(0, 255));
            line += static_cast<char>(Pick(0, 255));
            break;
        default:
            line += std::string(static_cast<std::size_t>(Pick(1, 8)), static_cast<char>(Pick('a', 'z')));
        }
    }
    return line;
}

std::string TDamagedDocuments::Intact()
{
    TFa4Builder builder;
    for (int count = Pick(1, 40); count > 0; --count) builder.Line(RandomLine() + "x");
    std::string file = builder.Bytes();
    // Some lines share the text of another, as blank lines often do.
    const int lines = static_cast<int>(builder.LineCount());
    for (int shared = Pick(0, 3); shared > 0; --shared) {
        const int from = Pick(0, lines - 1);
        const std::size_t at = HeadSize + EntrySize * static_cast<std::size_t>(from);
        file.replace(HeadSize + EntrySize * static_cast<std::size_t>(Pick(0, lines - 1)), EntrySize,
            file.substr(at, EntrySize));
    }
    return file;
}

// Ends the file on a control sequence, cut after its 0xFF, its code or its
// first operand.
std::string TDamagedDocuments::CutSequenceAtEnd(std::string file)
{
    const bool withOperands = Pick(0, 1) == 1;
    const std::string sequence =
        withOperands ? std::string{'\xFF', '\x21', '\x05', '\x00'} : std::string{'\xFF', '\x80'};
    const int lines = [&] {
        int count = 0;
        while (count < 10000 && StoredLength(file, count) != 0) ++count;
        return count;
    }();
    // The last line gets the sequence at its end, then the file ends inside it.
    const std::string text = "Ende" + sequence;
    PutEntry(file, lines, static_cast<std::uint16_t>(text.size()),
        static_cast<std::uint32_t>(file.size() - HeadSize));
    file += text;
    file.resize(file.size() - static_cast<std::size_t>(Pick(1, static_cast<int>(sequence.size()) - 1)));
    return file;
}

std::string TDamagedDocuments::Damaged(TDamageKind kind)
{
    std::string file = Intact();
    switch (kind) {
    case TDamageKind::Cut:
        file.resize(static_cast<std::size_t>(Pick(0, static_cast<int>(file.size()) - 1)));
        break;
    case TDamageKind::EntriesOutside:
        for (int count = Pick(1, 4); count > 0; --count) {
            const int index = Pick(0, 15);
            // Past the end, across it, or far beyond it.
            const std::uint32_t end = static_cast<std::uint32_t>(file.size() - HeadSize);
            const std::uint32_t offsets[] = {end + static_cast<std::uint32_t>(Pick(0, 50)),
                end - static_cast<std::uint32_t>(Pick(1, 3)), 0xFFFFFFF0u};
            PutEntry(file, index, static_cast<std::uint16_t>(Pick(1, 300)), offsets[Pick(0, 2)]);
        }
        break;
    case TDamageKind::SequenceCut:
        file = CutSequenceAtEnd(std::move(file));
        break;
    }
    return file;
}

} // namespace quorvex::testing
