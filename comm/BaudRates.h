// The line speeds a user may choose for the RS-232C port: the setup dialog's speed list, and
// the rates vireoctl accepts.
#pragma once

#include <algorithm>
#include <iterator>

inline constexpr int kOfferedBaudRates[] = {4800, 9600, 19200, 38400, 57600, 115200, 230400};

inline bool IsOfferedBaudRate(int rate)
{
    return std::find(std::begin(kOfferedBaudRates), std::end(kOfferedBaudRates), rate) !=
           std::end(kOfferedBaudRates);
}
