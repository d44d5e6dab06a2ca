#pragma once
// Texts of bytes in fixed sixteen-byte slots. A loop that writes a text per
// byte copies the whole slot and moves its output cursor by the text's size,
// so a byte costs one look-up and one store whatever its text, and no branch
// tells short texts from long ones.

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace quorvex {

struct TTextSlots {
    static constexpr std::size_t SlotSize = 16;
    // The size of a byte the slots do not hold: its text is longer than a
    // slot, or the byte needs more than its text.
    static constexpr std::uint8_t NotHeld = 0xFF;

    std::array<std::array<char, SlotSize>, 256> Text{};
    std::array<std::uint8_t, 256> Size{};

    // Holds `text` for `byte` when it fits, and leaves the byte out otherwise.
    void Set(unsigned char byte, std::string_view text)
    {
        if (text.size() > SlotSize) {
            Size[byte] = NotHeld;
            return;
        }
        std::memcpy(Text[byte].data(), text.data(), text.size());
        Size[byte] = static_cast<std::uint8_t>(text.size());
    }
    void LeaveOut(unsigned char byte) { Size[byte] = NotHeld; }
    bool Holds(unsigned char byte) const { return Size[byte] != NotHeld; }

    // Writes the byte's text at `out`, which must have room for a whole slot,
    // and returns the position after the text.
    char* Write(char* out, unsigned char byte) const
    {
        std::memcpy(out, Text[byte].data(), SlotSize);
        return out + Size[byte];
    }
};

} // namespace quorvex
