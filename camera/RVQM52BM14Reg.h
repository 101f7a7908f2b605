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
    virtual int GetShortCpuVersion(char* text);        // room for kShortVersionSize
    virtual int GetFpgaVersion(char* text);            // room for kShortVersionSize
    virtual int GetShutterSpeed(std::uint16_t* value); // 11 bits
    virtual int SetShutterSpeed(std::uint16_t value);
    virtual int GetPartialVStart(std::uint16_t* value); // 11 bits
    virtual int SetPartialVStart(std::uint16_t value);
    virtual int GetPartialHeight(std::uint16_t* value); // 11 bits
    virtual int SetPartialHeight(std::uint16_t value);
    virtual int GetWhiteBalanceMode(int* on);
    virtual int SetWhiteBalanceMode(int on); // 0 or 1
    virtual int GetGamma(std::uint8_t* on);
    virtual int SetGamma(std::uint8_t on); // 0 or 1
    virtual int GetMasking(std::uint8_t* on);
    virtual int SetMask(std::uint8_t on); // 0 or 1
    virtual int GetOutputFormat(std::uint8_t* on);
    virtual int SetOutputFormat(std::uint8_t on); // 0 or 1
    virtual int GetRGain(std::uint16_t* value);   // 11 bits
    virtual int SetRGain(std::uint16_t value);
    virtual int GetBGain(std::uint16_t* value); // 11 bits
    virtual int SetBGain(std::uint16_t value);

    int SetOffsetLevel(std::uint8_t value);
    int GetOffsetLevel(std::uint8_t* value);
    int SetGain(std::uint8_t value);
    int GetGain(std::uint8_t* value);
    int SetOutLevelOffset(std::uint8_t value);
    int GetOutLevelOffset(std::uint8_t* value);
    int SetOutLevelGain(std::uint8_t value);
    int GetOutLevelGain(std::uint8_t* value);

    int SetOpwb(std::uint8_t value); // one-push white balance, the pages write 1
    // 30, 37, 40, 45, 55, 65 (hundreds of kelvin), or 255 for the user gains.
    int SetWbColorTemp(std::uint8_t value);
    int GetWbColorTemp(std::uint8_t* value);

    int SetGrOffset(std::uint8_t value);
    int GetGrOffset(std::uint8_t* value);
    int SetGbOffset(std::uint8_t value);
    int GetGbOffset(std::uint8_t* value);
    int SetROffset(std::uint8_t value);
    int GetROffset(std::uint8_t* value);
    int SetBOffset(std::uint8_t value);
    int GetBOffset(std::uint8_t* value);
    // 12 bits each; Gr and Gb share their high register.
    int GetGrGain(std::uint16_t* value);
    int SetGrGain(std::uint16_t value);
    int GetGbGain(std::uint16_t* value);
    int SetGbGain(std::uint16_t value);
    int SetAbb(std::uint8_t value); // auto black balance, written with 1

    // R and B gains per colour temperature, 12 bits each; R and B share their high register.
    int GetRGain3000K(std::uint16_t* value);
    int SetRGain3000K(std::uint16_t value);
    int GetBGain3000K(std::uint16_t* value);
    int SetBGain3000K(std::uint16_t value);
    int GetRGain3700K(std::uint16_t* value);
    int SetRGain3700K(std::uint16_t value);
    int GetBGain3700K(std::uint16_t* value);
    int SetBGain3700K(std::uint16_t value);
    int GetRGain4000K(std::uint16_t* value);
    int SetRGain4000K(std::uint16_t value);
    int GetBGain4000K(std::uint16_t* value);
    int SetBGain4000K(std::uint16_t value);
    int GetRGain4500K(std::uint16_t* value);
    int SetRGain4500K(std::uint16_t value);
    int GetBGain4500K(std::uint16_t* value);
    int SetBGain4500K(std::uint16_t value);
    int GetRGain5500K(std::uint16_t* value);
    int SetRGain5500K(std::uint16_t value);
    int GetBGain5500K(std::uint16_t* value);
    int SetBGain5500K(std::uint16_t value);
    int GetRGain6500K(std::uint16_t* value);
    int SetRGain6500K(std::uint16_t value);
    int GetBGain6500K(std::uint16_t* value);
    int SetBGain6500K(std::uint16_t value);

    // Masking-matrix gains, 12 bits each, bits 11..8 in bits 3..0 of their own high register.
    int GetMaskRGGain(std::uint16_t* value);
    int SetMaskRGGain(std::uint16_t value);
    int GetMaskRBGain(std::uint16_t* value);
    int SetMaskRBGain(std::uint16_t value);
    int GetMaskGBGain(std::uint16_t* value);
    int SetMaskGBGain(std::uint16_t value);
    int GetMaskGRGain(std::uint16_t* value);
    int SetMaskGRGain(std::uint16_t value);
    int GetMaskBRGain(std::uint16_t* value);
    int SetMaskBRGain(std::uint16_t value);
    int GetMaskBGGain(std::uint16_t* value);
    int SetMaskBGGain(std::uint16_t value);
};
