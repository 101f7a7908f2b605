// Register map of the RV1240DLX: front-end offset and gains, vertical-offset and accumulation
// controls, power, delay, CCD and output control, shutter, trigger and sub-sampling, the
// analogue front end's calibration registers and the output level.
#pragma once

#include "camera/RVXReg.h"

#include <cstdint>

class CRVX1240Reg : public CRVXReg {
public:
    explicit CRVX1240Reg(CComIF* comIF = &g_ComIF);
    ~CRVX1240Reg() override;
    int GetModelType() override; // MODEL_RV1240DLX

    // Behind the common slots, in this order.
    virtual CResult GetShutterSpeed(std::uint8_t* value);
    virtual CResult SetShutterSpeed(std::uint8_t value);
    virtual CResult GetShutter(std::uint8_t* on); // bit 1 of ShatterMD1
    virtual CResult SetShutter(std::uint8_t on);  // 0 or 1
    virtual CResult ClearAfeCalControlBits();     // clears bits 1, 2 and 4 of AFE_Cal_Control

    // Signed 10-bit offsets (-512..511), bits 9..8 in bits 1..0 of the high register.
    CResult SetOffsetLevel(std::int16_t value);
    CResult GetOffsetLevel(std::int16_t* value);
    CResult SetOutLevelOffset(std::int16_t value);
    CResult GetOutLevelOffset(std::int16_t* value);

    CResult SetPldGain(std::uint8_t value);
    CResult GetPldGain(std::uint8_t* value);
    CResult SetPxga1(std::uint8_t value);
    CResult SetPxga2(std::uint8_t value);
    CResult SetPxga3(std::uint8_t value);
    CResult SetPxga4(std::uint8_t value);
    CResult GetPxga1(std::uint8_t* value);
    CResult GetPxga2(std::uint8_t* value);
    CResult GetPxga3(std::uint8_t* value);
    CResult GetPxga4(std::uint8_t* value);
    CResult SetVOffsetFlag(std::uint8_t value);
    CResult GetVOffsetFlag(std::uint8_t* value);
    CResult SetAosAccLen(std::uint8_t value);
    CResult GetAosAccLen(std::uint8_t* value);
    CResult SetAccLenOffset(std::uint8_t value);
    CResult GetAccLenOffset(std::uint8_t* value);
    CResult SetPower(std::uint8_t value);
    CResult GetPower(std::uint8_t* value);
    CResult SetDelayCnt(std::uint8_t value);
    CResult GetDelayCnt(std::uint8_t* value);
    CResult SetCcdControl(std::uint8_t value);
    CResult GetCcdControl(std::uint8_t* value);
    CResult SetOutPutCtrl(std::uint8_t value);
    CResult GetOutPutCtrl(std::uint8_t* value);
    CResult SetShatterMd1(std::uint8_t value);
    CResult GetShatterMd1(std::uint8_t* value);
    CResult SetShatterSpeed(std::uint8_t value);
    CResult GetShatterSpeed(std::uint8_t* value);
    CResult SetTrigger1(std::uint8_t value);
    CResult GetTrigger1(std::uint8_t* value);
    CResult SetTrigger2(std::uint8_t value);
    CResult GetTrigger2(std::uint8_t* value);
    CResult SetSubSampling(std::uint8_t value);
    CResult GetSubSampling(std::uint8_t* value);
    // The main view's "Update" button (value 1), whichever model is shown.
    CResult SetRegisterUpdate(std::uint8_t value);
    CResult SetBitInfo(std::uint8_t value);
    CResult GetBitInfo(std::uint8_t* value);
    CResult SetWindowEnable(std::uint8_t value);
    CResult GetWindowEnable(std::uint8_t* value);

    // Analogue front end.
    CResult GetAfeVos1Hi(std::uint8_t* value);
    CResult GetAfeVos1Low(std::uint8_t* value);
    CResult GetAfeVos2Hi(std::uint8_t* value);
    CResult GetAfeVos2Low(std::uint8_t* value);
    CResult GetAfeVos3Hi(std::uint8_t* value);
    CResult GetAfeVos3Low(std::uint8_t* value);
    CResult GetAfeVos4Hi(std::uint8_t* value);
    CResult GetAfeVos4Low(std::uint8_t* value);
    CResult GetAfeBlkAdjDataDebugHi(std::uint8_t* value);
    CResult GetAfeBlkAdjDataDebugLow(std::uint8_t* value);
    CResult GetAfeBlkAdjCalcMode(std::uint8_t* value);
    CResult GetAfeBlkCalibrationCount(std::uint8_t* value);
    CResult GetAfeCalControl(std::uint8_t* value);
    CResult GetAfeCalStatus(std::uint8_t* value);
    CResult GetAfeHiControl(std::uint8_t* value);
    CResult GetAfeBcalMode(std::uint8_t* value);
    CResult SetAfeCalControl(std::uint8_t value);
    CResult SetAfeCalStatus(std::uint8_t value);
    CResult SetAfeHiControl(std::uint8_t value);
    CResult SetAfeBcalMode(std::uint8_t value);

    // Output level.
    CResult SetOutLevelGain(std::uint8_t value);
    CResult GetOutLevelGain(std::uint8_t* value);
};
