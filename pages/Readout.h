// How a setting page shows a value in a read-only box beside its scroll bar.
#pragma once

#include <string>

namespace pages {

enum class ReadoutFormat {
    Hex,      // "%x": lower-case digits, no prefix, no leading zeros
    Dec,      // "%d"
    Real,     // "%f" of value x scale
    ScaledDec // "%d" of value x scale, truncated toward zero
};

struct Readout {
    int id = 0;
    ReadoutFormat format = ReadoutFormat::Hex;
    double scale = 1.0;
};

std::string FormatReadout(const Readout& readout, int value);

// What a read-out shows while its value was not read.
inline constexpr const char* kNotReadText = "-";

} // namespace pages
