// Check boxes and radio groups over bits of a register byte that the page keeps whole, so that a
// write changes only the bits the page owns.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace pages {

inline int BitOf(std::uint8_t byte, int bit)
{
    return (byte >> bit) & 1;
}

// Sets or clears one bit from a check-box flag (nonzero sets).
inline void MergeBit(std::uint8_t& byte, int bit, int flag)
{
    const auto mask = static_cast<std::uint8_t>(1u << bit);
    byte = static_cast<std::uint8_t>(flag ? (byte | mask) : (byte & ~mask));
}

// One row of a radio group's encoding: the button index and the field value it stands for.
struct RadioCode {
    int index;
    unsigned value;
};

// The index that encodes field; a value the table does not list leaves current as it was.
inline int RadioIndexFor(unsigned field, std::initializer_list<RadioCode> table, int current)
{
    for (const RadioCode& code : table)
        if (code.value == field)
            return code.index;
    return current;
}

// Replaces the bits of mask in byte with the value index stands for; an index the table does not
// list (no button chosen) leaves the byte as it was.
inline void MergeRadio(std::uint8_t& byte, std::uint8_t mask, int index,
                       std::initializer_list<RadioCode> table)
{
    for (const RadioCode& code : table)
        if (code.index == index) {
            byte = static_cast<std::uint8_t>((byte & ~mask) | (code.value & mask));
            return;
        }
}

// Bits 1..0 of the bit-information register: "8bit", "10bit", "12bit" in button order.
inline constexpr std::uint8_t kBitDepthMask = 0x03;
inline constexpr std::initializer_list<RadioCode> kBitDepthCodes = {{0, 2}, {1, 1}, {2, 0}};

} // namespace pages
