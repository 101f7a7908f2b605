#include "camera/RVX1240Reg.h"

#include "camera/RegisterFields.h"
#include "camera/SequenceLine.h"

using regfield::ByteOp;
using regfield::GetByte;
using regfield::SetByte;

namespace {

constexpr int kRegShatterMd1 = 0x66;
constexpr int kRegShatterSpeed = 0x68;
constexpr int kRegAfeCalControl = 0xBC;

constexpr int kBitShutter = 1;
// AFE_Cal_Control keeps all but bits 1, 2 and 4 when they are cleared.
constexpr std::uint8_t kAfeCalKeep = 0xE9;

// Offsets: bits 9..8 in bits 1..0 of the high register; bits 7..2 belong to other settings.
constexpr regfield::SplitField kOffsetLevel{0x43, 0x42, 0x03};
constexpr regfield::SplitField kOutLevelOffset{0x63, 0x62, 0x03};

} // namespace

CRVX1240Reg::CRVX1240Reg(CComIF* comIF) : CRVXReg(comIF) {}

CRVX1240Reg::~CRVX1240Reg() = default;

int CRVX1240Reg::GetModelType()
{
    return MODEL_RV1240DLX;
}

CResult CRVX1240Reg::GetShutterSpeed(std::uint8_t* value)
{
    return GetByte(*this, {"\tGet Shutter Speed ", "", kRegShatterSpeed}, value);
}

CResult CRVX1240Reg::SetShutterSpeed(std::uint8_t value)
{
    return SetByte(*this, {"\tSet Shutter Speed", "", kRegShatterSpeed}, value);
}

CResult CRVX1240Reg::GetShutter(std::uint8_t* on)
{
    CSequenceLine line(*this, "\tGet Shutter ");
    std::uint8_t byte = 0;
    if (const CResult result = line.Read({}, kRegShatterMd1, byte))
        return result;
    line.Done("Done. ");
    *on = static_cast<std::uint8_t>(TestBit(byte, kBitShutter));
    return REG_OK;
}

CResult CRVX1240Reg::SetShutter(std::uint8_t on)
{
    CSequenceLine line(*this, "\tSet Shutter ");
    std::uint8_t byte = 0;
    if (const CResult result = line.Read({}, kRegShatterMd1, byte))
        return result;
    if (on == 1) {
        byte = static_cast<std::uint8_t>(byte | (1u << kBitShutter));
    } else if (on == 0) {
        byte = static_cast<std::uint8_t>(byte & ~(1u << kBitShutter));
    } else {
        line.Text() += "Set parameter invalid.";
        return line.Finish(REG_INVALID_DATA);
    }
    if (const CResult result = line.Write({}, kRegShatterMd1, byte))
        return result;
    return line.Done("Done. ");
}

CResult CRVX1240Reg::ClearAfeCalControlBits()
{
    CSequenceLine line(*this, "\tSet AFE CAL CONTROL ");
    std::uint8_t byte = 0;
    if (const CResult result = line.Read({}, kRegAfeCalControl, byte))
        return result;
    if (const CResult result = line.Write({}, kRegAfeCalControl, byte & kAfeCalKeep))
        return result;
    return line.Done("Done. ");
}

CResult CRVX1240Reg::SetOffsetLevel(std::int16_t value)
{
    return regfield::SetSplit(*this, kOffsetLevel,
                              {"\tSet Offset ", "\tRead  Offset/Gain High, ",
                               "\tSet Offset/Gain High, ", "\t Set Offset/Gain low ", "Done."},
                              ToSigned10(value));
}

CResult CRVX1240Reg::GetOffsetLevel(std::int16_t* value)
{
    std::uint16_t raw = 0;
    const CResult result = regfield::GetSplit(
        *this, kOffsetLevel,
        {"\tGet Offset, ", "\tRead  Offset/Gain High ", "\tRead  Offset/Gain Low ", "Done."}, &raw);
    if (result == 0)
        *value = static_cast<std::int16_t>(FromSigned10(raw));
    return result;
}

CResult CRVX1240Reg::SetOutLevelOffset(std::int16_t value)
{
    return regfield::SetSplit(*this, kOutLevelOffset,
                              {"\tSet OutLevel Offset, ", "\tRead  Offset/Gain High ",
                               "\tSet Offset/Gain High, ", "\tSet Offset/Gain low ", "Done."},
                              ToSigned10(value));
}

CResult CRVX1240Reg::GetOutLevelOffset(std::int16_t* value)
{
    std::uint16_t raw = 0;
    const CResult result =
        regfield::GetSplit(*this, kOutLevelOffset,
                           {"\tGet OutLevel Offset, ", "\tRead  Offset/Gain High, ",
                            "\tRead  Offset/Gain Low ", "Done."},
                           &raw);
    if (result == 0)
        *value = static_cast<std::int16_t>(FromSigned10(raw));
    return result;
}

// Whole-byte settings: the setters have no step text, the getters one read step.

CResult CRVX1240Reg::SetPldGain(std::uint8_t v)
{
    return SetByte(*this, {"\tSet PLD Gain", "", 0x44}, v);
}
CResult CRVX1240Reg::GetPldGain(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet PLD Gain, ", "\tRead PLD Gain ", 0x44}, v);
}

CResult CRVX1240Reg::SetPxga1(std::uint8_t v)
{
    return SetByte(*this, {"\tSet PXGA1", "", 0x45}, v);
}
CResult CRVX1240Reg::SetPxga2(std::uint8_t v)
{
    return SetByte(*this, {"\tSet PXGA2", "", 0x46}, v);
}
CResult CRVX1240Reg::SetPxga3(std::uint8_t v)
{
    return SetByte(*this, {"\tSet PXGA3", "", 0x47}, v);
}
CResult CRVX1240Reg::SetPxga4(std::uint8_t v)
{
    return SetByte(*this, {"\tSet PXGA4", "", 0x48}, v);
}
CResult CRVX1240Reg::GetPxga1(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet PXGA1, ", "\tRead  PXGA1 ", 0x45}, v);
}
CResult CRVX1240Reg::GetPxga2(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet PXGA2, ", "\tRead  PXGA2 ", 0x46}, v);
}
CResult CRVX1240Reg::GetPxga3(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet PXGA3, ", "\tRead  PXGA3 ", 0x47}, v);
}
CResult CRVX1240Reg::GetPxga4(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet PXGA4, ", "\tRead  PXGA4 ", 0x48}, v);
}

CResult CRVX1240Reg::SetVOffsetFlag(std::uint8_t v)
{
    return SetByte(*this, {"\tSet V_Offset flag, ", "", 0x4B}, v);
}
CResult CRVX1240Reg::GetVOffsetFlag(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet V_Offset frag, ", "\tRead  V_Offset frag ", 0x4B}, v);
}

CResult CRVX1240Reg::SetAosAccLen(std::uint8_t v)
{
    return SetByte(*this, {"\tSet AOS_Acc_Len, ", "", 0x4A}, v);
}
CResult CRVX1240Reg::GetAosAccLen(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet AOS_Acc_Len, ", "\tRead VOS_Acc_Len ", 0x4A}, v);
}

CResult CRVX1240Reg::SetAccLenOffset(std::uint8_t v)
{
    return SetByte(*this, {"\tSet Acc_Len Offset, ", "", 0x4C}, v);
}
CResult CRVX1240Reg::GetAccLenOffset(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet Acc_Len Offset, ", "\tRead  Acc_Len Offset ", 0x4C}, v);
}

CResult CRVX1240Reg::SetPower(std::uint8_t v)
{
    return SetByte(*this, {"\tSet Power", "", 0x49}, v);
}
CResult CRVX1240Reg::GetPower(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet Power, ", "\tRead  Power ", 0x49}, v);
}

CResult CRVX1240Reg::SetDelayCnt(std::uint8_t v)
{
    return SetByte(*this, {"\tSet DelayCnt", "", 0x4D}, v);
}
CResult CRVX1240Reg::GetDelayCnt(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet DelayCnt, ", "\tRead DelayCnt ", 0x4D}, v);
}

CResult CRVX1240Reg::SetCcdControl(std::uint8_t v)
{
    return SetByte(*this, {"\tSet CCD Control", "", 0x4F}, v);
}
CResult CRVX1240Reg::GetCcdControl(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet CCD Control, ", "\tRead CCD Control ", 0x4F}, v);
}

CResult CRVX1240Reg::SetOutPutCtrl(std::uint8_t v)
{
    return SetByte(*this, {"\tSet OutPutCtrl", "", 0x4E}, v);
}
CResult CRVX1240Reg::GetOutPutCtrl(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet OutPutCtrl, ", "\tRead OutPutCtrl ", 0x4E}, v);
}

CResult CRVX1240Reg::SetShatterMd1(std::uint8_t v)
{
    return SetByte(*this, {"\tSet ShatterMD1", "", kRegShatterMd1}, v);
}
CResult CRVX1240Reg::GetShatterMd1(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet ShatterMD1, ", "\tRead ShatterMD1 ", kRegShatterMd1}, v);
}

CResult CRVX1240Reg::SetShatterSpeed(std::uint8_t v)
{
    return SetByte(*this, {"\tSet ShatterSpeed", "", kRegShatterSpeed}, v);
}
CResult CRVX1240Reg::GetShatterSpeed(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet ShatterSpeed, ", "\tRead ShatterSpeed ", kRegShatterSpeed}, v);
}

CResult CRVX1240Reg::SetTrigger1(std::uint8_t v)
{
    return SetByte(*this, {"\tSet Trigger1", "", 0x6A}, v);
}
CResult CRVX1240Reg::GetTrigger1(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet Trigger1, ", "\tRead Trigger1 ", 0x6A}, v);
}

CResult CRVX1240Reg::SetTrigger2(std::uint8_t v)
{
    return SetByte(*this, {"\tSet Trigger2", "", 0x6B}, v);
}
CResult CRVX1240Reg::GetTrigger2(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet Trigger2, ", "\tRead Trigger2 ", 0x6B}, v);
}

CResult CRVX1240Reg::SetSubSampling(std::uint8_t v)
{
    return SetByte(*this, {"\tSet SubSampling", "", 0x70}, v);
}
CResult CRVX1240Reg::GetSubSampling(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet SubSampling, ", "\tRead SubSampling ", 0x70}, v);
}

CResult CRVX1240Reg::SetRegisterUpdate(std::uint8_t v)
{
    return SetByte(*this, {"\tRegister Update Execute ", "", 0x6E}, v);
}

CResult CRVX1240Reg::SetBitInfo(std::uint8_t v)
{
    return SetByte(*this, {"\tSet BitInfo", "", 0x90}, v);
}
CResult CRVX1240Reg::GetBitInfo(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet BitInfo, ", "\tRead BitInfo ", 0x90}, v);
}

CResult CRVX1240Reg::SetWindowEnable(std::uint8_t v)
{
    return SetByte(*this, {"\tSet Window_Enable", "", 0x81}, v);
}
CResult CRVX1240Reg::GetWindowEnable(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet Window_Enable, ", "\tRead Window_Enable ", 0x81}, v);
}

// Analogue front end.

CResult CRVX1240Reg::GetAfeVos1Hi(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet AFE_VOS1_Hi, ", "\tRead AFE_VOS1_Hi ", 0xB1}, v);
}
CResult CRVX1240Reg::GetAfeVos1Low(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet AFE_VOS1_Low, ", "\tRead AFE_VOS1_Low ", 0xB0}, v);
}
CResult CRVX1240Reg::GetAfeVos2Hi(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet AFE_VOS2_Hi, ", "\tRead AFE_VOS2_Hi ", 0xB3}, v);
}
CResult CRVX1240Reg::GetAfeVos2Low(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet AFE_VOS2_Low, ", "\tRead AFE_VOS2_Low ", 0xB2}, v);
}
CResult CRVX1240Reg::GetAfeVos3Hi(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet AFE_VOS3_Hi, ", "\tRead AFE_VOS3_Hi ", 0xB5}, v);
}
CResult CRVX1240Reg::GetAfeVos3Low(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet AFE_VOS3_Low, ", "\tRead AFE_VOS3_Low ", 0xB4}, v);
}
CResult CRVX1240Reg::GetAfeVos4Hi(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet AFE_VOS4_Hi, ", "\tRead AFE_VOS4_Hi ", 0xB7}, v);
}
CResult CRVX1240Reg::GetAfeVos4Low(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet AFE_VOS4_Low, ", "\tRead AFE_VOS4_Low ", 0xB6}, v);
}
CResult CRVX1240Reg::GetAfeBlkAdjDataDebugHi(std::uint8_t* v)
{
    return GetByte(*this,
                   {"\tGet AFE_BlkAdj_Data_DebugHi, ", "\tRead AFE_BlkAdj_Data_DebugHi ", 0xB9}, v);
}
CResult CRVX1240Reg::GetAfeBlkAdjDataDebugLow(std::uint8_t* v)
{
    return GetByte(
        *this, {"\tGet AFE_BlkAdj_Data_DebugLow, ", "\tRead AFE_BlkAdj_Data_DebugLow ", 0xB8}, v);
}
CResult CRVX1240Reg::GetAfeBlkAdjCalcMode(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet AFE_BlkAdj_calc_Mode, ", "\tRead AFE_BlkAdj_calc_Mode ", 0xBA},
                   v);
}
CResult CRVX1240Reg::GetAfeBlkCalibrationCount(std::uint8_t* v)
{
    return GetByte(
        *this, {"\tGet AFE_Blk_Calibration_count, ", "\tRead AFE_Blk_Calibration_count ", 0xBB}, v);
}
CResult CRVX1240Reg::GetAfeCalControl(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet AFE_Cal_Control, ", "\tRead AFE_Cal_Control ", 0xBC}, v);
}
CResult CRVX1240Reg::GetAfeCalStatus(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet AFE_Cal_Status, ", "\tRead AFE_Cal_Status ", 0xBD}, v);
}
CResult CRVX1240Reg::GetAfeHiControl(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet AFE_HI_Control, ", "\tRead AFE_HI_Control ", 0xBE}, v);
}
CResult CRVX1240Reg::GetAfeBcalMode(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet AFE_BCAL_Mode, ", "\tRead AFE_BCAL_Mode ", 0xBF}, v);
}
CResult CRVX1240Reg::SetAfeCalControl(std::uint8_t v)
{
    return SetByte(*this, {"\tSet AFE_Cal_Control", "", 0xBC}, v);
}
CResult CRVX1240Reg::SetAfeCalStatus(std::uint8_t v)
{
    return SetByte(*this, {"\tSet AFE_Cal_Status", "", 0xBD}, v);
}
CResult CRVX1240Reg::SetAfeHiControl(std::uint8_t v)
{
    return SetByte(*this, {"\tSet AFE_HI_Control", "", 0xBE}, v);
}
CResult CRVX1240Reg::SetAfeBcalMode(std::uint8_t v)
{
    return SetByte(*this, {"\tSet AFE_BCAL_Mode", "", 0xBF}, v);
}

// Output level.

CResult CRVX1240Reg::SetOutLevelGain(std::uint8_t v)
{
    return SetByte(*this, {"\tSet OutLevelGain ", "", 0x64}, v);
}
CResult CRVX1240Reg::GetOutLevelGain(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet OutLevel Gain ", "", 0x64}, v);
}
