// Register map of the RV1250LX: a 9-bit gain, a 5-bit out-level offset, a 9-bit out-level gain
// and an 11-bit shutter speed.
#pragma once

#include "camera/RVXReg.h"

#include <cstdint>

class CRVX1250Reg : public CRVXReg {
public:
    explicit CRVX1250Reg(CComIF* comIF = &g_ComIF);
    ~CRVX1250Reg() override;
    int GetModelType() override; // MODEL_RV1250LX

    // Behind the common slots, in this order.
    virtual CResult GetShutterSpeed(std::uint16_t* value); // 0..2047
    virtual CResult SetShutterSpeed(std::uint16_t value);

    CResult SetGain(std::uint16_t value); // 0..511
    CResult GetGain(std::uint16_t* value);
    CResult SetOutLevelOffset(std::uint8_t value); // 0..31
    CResult GetOutLevelOffset(std::uint8_t* value);
    CResult SetOutLevelGain(std::uint16_t value); // 0..511
    CResult GetOutLevelGain(std::uint16_t* value);
};
