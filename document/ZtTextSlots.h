#pragma once
// Texts in fixed sixteen-byte slots. A loop that writes a text per byte
// copies the whole slot and moves its output cursor by the text's size, so a
// byte costs one look-up and one store whatever its text, and no branch
// tells short texts from long ones.

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace quorvex {

template <std::size_t Count>
struct TTextSlotsOf {
    static constexpr std::size_t SlotSize = 16;
    // The size of an entry the slots do not hold: its text is longer than a
    // slot, or it needs more than its text.
    static constexpr std::uint8_t NotHeld = 0xFF;

    std::array<std::array<char, SlotSize>, Count> Text{};
    std::array<std::uint8_t, Count> Size{};

    // Holds `text` for `index` when it fits, and leaves it out otherwise.
    void Set(std::size_t index, std::string_view text)
    {
        if (text.size() > SlotSize) {
            Size[index] = NotHeld;
            return;
        }
        std::memcpy(Text[index].data(), text.data(), text.size());
        Size[index] = static_cast<std::uint8_t>(text.size());
    }
    void LeaveOut(std::size_t index) { Size[index] = NotHeld; }
    bool Holds(std::size_t index) const { return Size[index] != NotHeld; }

    // Writes the entry's text at `out`, which must have room for a whole
    // slot, and returns the position after the text.
    char* Write(char* out, std::size_t index) const
    {
        std::memcpy(out, Text[index].data(), SlotSize);
        return out + Size[index];
    }
};

// A text for each byte value.
using TTextSlots = TTextSlotsOf<256>;
// A text for each byte value, then one for each control code: the byte
// after a 0xFF, looked up at 256 + code.
using TCodedTextSlots = TTextSlotsOf<512>;
inline constexpr std::size_t CodeSlot = 256;

} // namespace quorvex
