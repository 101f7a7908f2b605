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
    virtual int GetShutterSpeed(std::uint8_t* value);
    virtual int SetShutterSpeed(std::uint8_t value);
    virtual int GetShutter(std::uint8_t* on); // bit 1 of ShatterMD1
    virtual int SetShutter(std::uint8_t on);  // 0 or 1
    virtual int ClearAfeCalControlBits();     // clears bits 1, 2 and 4 of AFE_Cal_Control

    // Signed 10-bit offsets (-512..511), bits 9..8 in bits 1..0 of the high register.
    int SetOffsetLevel(std::int16_t value);
    int GetOffsetLevel(std::int16_t* value);
    int SetOutLevelOffset(std::int16_t value);
    int GetOutLevelOffset(std::int16_t* value);

    int SetPldGain(std::uint8_t value);
    int GetPldGain(std::uint8_t* value);
    int SetPxga1(std::uint8_t value);
    int SetPxga2(std::uint8_t value);
    int SetPxga3(std::uint8_t value);
    int SetPxga4(std::uint8_t value);
    int GetPxga1(std::uint8_t* value);
    int GetPxga2(std::uint8_t* value);
    int GetPxga3(std::uint8_t* value);
    int GetPxga4(std::uint8_t* value);
    int SetVOffsetFlag(std::uint8_t value);
    int GetVOffsetFlag(std::uint8_t* value);
    int SetAosAccLen(std::uint8_t value);
    int GetAosAccLen(std::uint8_t* value);
    int SetAccLenOffset(std::uint8_t value);
    int GetAccLenOffset(std::uint8_t* value);
    int SetPower(std::uint8_t value);
    int GetPower(std::uint8_t* value);
    int SetDelayCnt(std::uint8_t value);
    int GetDelayCnt(std::uint8_t* value);
    int SetCcdControl(std::uint8_t value);
    int GetCcdControl(std::uint8_t* value);
    int SetOutPutCtrl(std::uint8_t value);
    int GetOutPutCtrl(std::uint8_t* value);
    int SetShatterMd1(std::uint8_t value);
    int GetShatterMd1(std::uint8_t* value);
    int SetShatterSpeed(std::uint8_t value);
    int GetShatterSpeed(std::uint8_t* value);
    int SetTrigger1(std::uint8_t value);
    int GetTrigger1(std::uint8_t* value);
    int SetTrigger2(std::uint8_t value);
    int GetTrigger2(std::uint8_t* value);
    int SetSubSampling(std::uint8_t value);
    int GetSubSampling(std::uint8_t* value);
    // The main view's "Update" button (value 1), whichever model is shown.
    int SetRegisterUpdate(std::uint8_t value);
    int SetBitInfo(std::uint8_t value);
    int GetBitInfo(std::uint8_t* value);
    int SetWindowEnable(std::uint8_t value);
    int GetWindowEnable(std::uint8_t* value);

    // Analogue front end.
    int GetAfeVos1Hi(std::uint8_t* value);
    int GetAfeVos1Low(std::uint8_t* value);
    int GetAfeVos2Hi(std::uint8_t* value);
    int GetAfeVos2Low(std::uint8_t* value);
    int GetAfeVos3Hi(std::uint8_t* value);
    int GetAfeVos3Low(std::uint8_t* value);
    int GetAfeVos4Hi(std::uint8_t* value);
    int GetAfeVos4Low(std::uint8_t* value);
    int GetAfeBlkAdjDataDebugHi(std::uint8_t* value);
    int GetAfeBlkAdjDataDebugLow(std::uint8_t* value);
    int GetAfeBlkAdjCalcMode(std::uint8_t* value);
    int GetAfeBlkCalibrationCount(std::uint8_t* value);
    int GetAfeCalControl(std::uint8_t* value);
    int GetAfeCalStatus(std::uint8_t* value);
    int GetAfeHiControl(std::uint8_t* value);
    int GetAfeBcalMode(std::uint8_t* value);
    int SetAfeCalControl(std::uint8_t value);
    int SetAfeCalStatus(std::uint8_t value);
    int SetAfeHiControl(std::uint8_t value);
    int SetAfeBcalMode(std::uint8_t value);

    // Output level.
    int SetOutLevelGain(std::uint8_t value);
    int GetOutLevelGain(std::uint8_t* value);
};
