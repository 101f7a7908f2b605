// Register map of the RVQM52 family (monochrome RVQM52BM14 and colour RVQM52CM14): version
// texts, offset and gain, output level, shutter speed, partial scan, and the colour model's
// white balance, gamma, masking, output format and colour gains.
#pragma once

#include "camera/RVXReg.h"

#include <cstdint>

// Room the short version texts need: 8 characters and the terminator.
inline constexpr std::size_t kShortVersionSize = 9;

class CRVQM52BM14Reg : public CRVXReg {
public:
    explicit CRVQM52BM14Reg(CComIF* comIF = &g_ComIF);
    ~CRVQM52BM14Reg() override;
    int GetModelType() override; // MODEL_RVQM52

    // Behind the common slots, in this order.
    virtual CResult GetShortCpuVersion(char* text);        // room for kShortVersionSize
    virtual CResult GetFpgaVersion(char* text);            // room for kShortVersionSize
    virtual CResult GetShutterSpeed(std::uint16_t* value); // 11 bits
    virtual CResult SetShutterSpeed(std::uint16_t value);
    virtual CResult GetPartialVStart(std::uint16_t* value); // 11 bits
    virtual CResult SetPartialVStart(std::uint16_t value);
    virtual CResult GetPartialHeight(std::uint16_t* value); // 11 bits
    virtual CResult SetPartialHeight(std::uint16_t value);
    virtual CResult GetWhiteBalanceMode(int* on);
    virtual CResult SetWhiteBalanceMode(int on); // 0 or 1
    virtual CResult GetGamma(std::uint8_t* on);
    virtual CResult SetGamma(std::uint8_t on); // 0 or 1
    virtual CResult GetMasking(std::uint8_t* on);
    virtual CResult SetMask(std::uint8_t on); // 0 or 1
    virtual CResult GetOutputFormat(std::uint8_t* on);
    virtual CResult SetOutputFormat(std::uint8_t on); // 0 or 1
    virtual CResult GetRGain(std::uint16_t* value);   // 11 bits
    virtual CResult SetRGain(std::uint16_t value);
    virtual CResult GetBGain(std::uint16_t* value); // 11 bits
    virtual CResult SetBGain(std::uint16_t value);

    CResult SetOffsetLevel(std::uint8_t value);
    CResult GetOffsetLevel(std::uint8_t* value);
    CResult SetGain(std::uint8_t value);
    CResult GetGain(std::uint8_t* value);
    CResult SetOutLevelOffset(std::uint8_t value);
    CResult GetOutLevelOffset(std::uint8_t* value);
    CResult SetOutLevelGain(std::uint8_t value);
    CResult GetOutLevelGain(std::uint8_t* value);

    CResult SetOpwb(std::uint8_t value); // one-push white balance, the pages write 1
    // 30, 37, 40, 45, 55, 65 (hundreds of kelvin), or 255 for the user gains.
    CResult SetWbColorTemp(std::uint8_t value);
    CResult GetWbColorTemp(std::uint8_t* value);

    CResult SetGrOffset(std::uint8_t value);
    CResult GetGrOffset(std::uint8_t* value);
    CResult SetGbOffset(std::uint8_t value);
    CResult GetGbOffset(std::uint8_t* value);
    CResult SetROffset(std::uint8_t value);
    CResult GetROffset(std::uint8_t* value);
    CResult SetBOffset(std::uint8_t value);
    CResult GetBOffset(std::uint8_t* value);
    // 12 bits each; Gr and Gb share their high register.
    CResult GetGrGain(std::uint16_t* value);
    CResult SetGrGain(std::uint16_t value);
    CResult GetGbGain(std::uint16_t* value);
    CResult SetGbGain(std::uint16_t value);
    CResult SetAbb(std::uint8_t value); // auto black balance, written with 1

    // R and B gains per colour temperature, 12 bits each; R and B share their high register.
    CResult GetRGain3000K(std::uint16_t* value);
    CResult SetRGain3000K(std::uint16_t value);
    CResult GetBGain3000K(std::uint16_t* value);
    CResult SetBGain3000K(std::uint16_t value);
    CResult GetRGain3700K(std::uint16_t* value);
    CResult SetRGain3700K(std::uint16_t value);
    CResult GetBGain3700K(std::uint16_t* value);
    CResult SetBGain3700K(std::uint16_t value);
    CResult GetRGain4000K(std::uint16_t* value);
    CResult SetRGain4000K(std::uint16_t value);
    CResult GetBGain4000K(std::uint16_t* value);
    CResult SetBGain4000K(std::uint16_t value);
    CResult GetRGain4500K(std::uint16_t* value);
    CResult SetRGain4500K(std::uint16_t value);
    CResult GetBGain4500K(std::uint16_t* value);
    CResult SetBGain4500K(std::uint16_t value);
    CResult GetRGain5500K(std::uint16_t* value);
    CResult SetRGain5500K(std::uint16_t value);
    CResult GetBGain5500K(std::uint16_t* value);
    CResult SetBGain5500K(std::uint16_t value);
    CResult GetRGain6500K(std::uint16_t* value);
    CResult SetRGain6500K(std::uint16_t value);
    CResult GetBGain6500K(std::uint16_t* value);
    CResult SetBGain6500K(std::uint16_t value);

    // Masking-matrix gains, 12 bits each, bits 11..8 in bits 3..0 of their own high register.
    CResult GetMaskRGGain(std::uint16_t* value);
    CResult SetMaskRGGain(std::uint16_t value);
    CResult GetMaskRBGain(std::uint16_t* value);
    CResult SetMaskRBGain(std::uint16_t value);
    CResult GetMaskGBGain(std::uint16_t* value);
    CResult SetMaskGBGain(std::uint16_t value);
    CResult GetMaskGRGain(std::uint16_t* value);
    CResult SetMaskGRGain(std::uint16_t value);
    CResult GetMaskBRGain(std::uint16_t* value);
    CResult SetMaskBRGain(std::uint16_t value);
    CResult GetMaskBGGain(std::uint16_t* value);
    CResult SetMaskBGGain(std::uint16_t value);
};
