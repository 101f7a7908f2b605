#include "pages/Readout.h"

#include <cstdio>

namespace pages {

std::string FormatReadout(const Readout& readout, int value)
{
    char text[64];
    switch (readout.format) {
    case ReadoutFormat::Hex:
        // Negative values show their two's-complement bits, as "%x" of an int does.
        std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(value));
        break;
    case ReadoutFormat::Dec:
        std::snprintf(text, sizeof text, "%d", value);
        break;
    case ReadoutFormat::Real:
        std::snprintf(text, sizeof text, "%f", value * readout.scale);
        break;
    case ReadoutFormat::ScaledDec:
        std::snprintf(text, sizeof text, "%d", static_cast<int>(value * readout.scale));
        break;
    }
    return text;
}

} // namespace pages
