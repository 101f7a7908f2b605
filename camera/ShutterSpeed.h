// The 11-bit shutter speed the RV1250LX and the RVQM52 family share: bits 7..0 in 0x68, bits
// 10..8 in bits 2..0 of 0x69.
#pragma once

#include "camera/RVXReg.h"

#include <cstdint>

namespace shutterspeed {

CResult Get(CRVXReg& reg, std::uint16_t* value);
CResult Set(CRVXReg& reg, std::uint16_t value);

} // namespace shutterspeed
