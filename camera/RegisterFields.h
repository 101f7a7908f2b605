// The shapes the model register maps build their operations from: a whole byte, a value split
// over a low register and a field of a high register, a bit-0 switch. Each runs its exchanges
// and writes the operation's one sequence-log line.
#pragma once

#include "camera/RVXReg.h"

#include <cstdint>
#include <string>

namespace regfield {

inline constexpr const char* kDone = "Done.";

// One register read or written whole. An empty step text adds nothing to the line.
struct ByteOp {
    std::string first;
    std::string step;
    int address;
    std::string closing = kDone;
};
CResult GetByte(CRVXReg& reg, const ByteOp& op, std::uint8_t* value);
CResult SetByte(CRVXReg& reg, const ByteOp& op, std::uint8_t value);

// Bits 7..0 in the low register, the upper bits in the mask of the high register starting at
// bit shift. Writes keep the other bits of the high register.
struct SplitField {
    int high;
    int low;
    std::uint8_t mask;
    int shift = 0;
};
struct SplitGetTexts {
    std::string first;
    std::string readHigh;
    std::string readLow;
    std::string closing = kDone;
};
struct SplitSetTexts {
    std::string first;
    std::string readHigh;
    std::string setHigh;
    std::string setLow;
    std::string closing = kDone;
};
CResult GetSplit(CRVXReg& reg, const SplitField& field, const SplitGetTexts& texts,
                 std::uint16_t* value);
CResult SetSplit(CRVXReg& reg, const SplitField& field, const SplitSetTexts& texts,
                 std::uint16_t value);

// The texts of a split value named name: "\tGet name, ", "\tRead name High, " and so on.
SplitGetTexts NamedGetTexts(const std::string& name);
SplitSetTexts NamedSetTexts(const std::string& name);

// The low bits of one register selected by mask; writes keep the other bits.
CResult GetMasked(CRVXReg& reg, const std::string& first, int address, std::uint8_t mask,
                  std::uint8_t* value);
CResult SetMasked(CRVXReg& reg, const std::string& first, int address, std::uint8_t mask,
                  std::uint8_t value);

// Bit 0 of a register as an on/off switch. The setter's label is labelFormat filled with the
// argument; only 0 and 1 are accepted.
CResult GetSwitch(CRVXReg& reg, const char* first, int address, std::uint8_t* on);
CResult SetSwitch(CRVXReg& reg, const char* labelFormat, int address, int on);

} // namespace regfield
