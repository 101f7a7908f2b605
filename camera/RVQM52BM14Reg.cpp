#include "camera/RVQM52BM14Reg.h"

#include "camera/RegisterFields.h"
#include "camera/SequenceLine.h"
#include "camera/ShutterSpeed.h"

#include <cstring>

using regfield::ByteOp;
using regfield::GetByte;
using regfield::SetByte;

namespace {

constexpr int kRegCpuVersion = 0x30;
constexpr int kRegFpgaVersion = 0x38;
constexpr unsigned kShortVersionMax = kShortVersionSize - 1;

constexpr int kRegWhiteBalanceMode = 0x74;
constexpr int kRegGamma = 0x7D;
constexpr int kRegMask = 0x7E;
constexpr int kRegOutputFormat = 0x92;

// 11-bit values: bits 10..8 in bits 2..0 of the high register.
constexpr regfield::SplitField kPartialVStart{0x85, 0x84, 0x07};
constexpr regfield::SplitField kPartialHeight{0x89, 0x88, 0x07};
constexpr regfield::SplitField kRGain{0x79, 0x78, 0x07};
constexpr regfield::SplitField kBGain{0x7B, 0x7A, 0x07};
// 12-bit Gr and Gb gains share 0xD6: Gr in bits 3..0, Gb in bits 7..4.
constexpr regfield::SplitField kGrGain{0xD6, 0xD4, 0x0F, 0};
constexpr regfield::SplitField kGbGain{0xD6, 0xD5, 0xF0, 4};

} // namespace

CRVQM52BM14Reg::CRVQM52BM14Reg(CComIF* comIF) : CRVXReg(comIF) {}

CRVQM52BM14Reg::~CRVQM52BM14Reg() = default;

int CRVQM52BM14Reg::GetModelType()
{
    return MODEL_RVQM52;
}

namespace {

// On this family the CPU text fills 0x30..0x37 and the FPGA text follows at 0x38.
CResult GetShortVersion(CRVXReg& reg, const char* label, int address, char* text)
{
    char buffer[kShortVersionSize] = {};
    if (const CResult result = reg.ReadRegisterString(address, buffer, kShortVersionMax)) {
        CSequenceLine line(reg, label);
        return line.Fail(result);
    }
    std::memcpy(text, buffer, sizeof buffer);
    reg.WriteSequenceLog(FormatLine("%s %s Done.", label, buffer));
    return REG_OK;
}

} // namespace

CResult CRVQM52BM14Reg::GetShortCpuVersion(char* text)
{
    return GetShortVersion(*this, "\tGet CPU Version ", kRegCpuVersion, text);
}

CResult CRVQM52BM14Reg::GetFpgaVersion(char* text)
{
    return GetShortVersion(*this, "\tGet FPGA Version ", kRegFpgaVersion, text);
}

CResult CRVQM52BM14Reg::GetShutterSpeed(std::uint16_t* value)
{
    return shutterspeed::Get(*this, value);
}

CResult CRVQM52BM14Reg::SetShutterSpeed(std::uint16_t value)
{
    return shutterspeed::Set(*this, value);
}

CResult CRVQM52BM14Reg::GetPartialVStart(std::uint16_t* value)
{
    return regfield::GetSplit(*this, kPartialVStart, regfield::NamedGetTexts("Partial V Start"),
                              value);
}

CResult CRVQM52BM14Reg::SetPartialVStart(std::uint16_t value)
{
    return regfield::SetSplit(*this, kPartialVStart, regfield::NamedSetTexts("Partial V Start"),
                              value);
}

CResult CRVQM52BM14Reg::GetPartialHeight(std::uint16_t* value)
{
    return regfield::GetSplit(*this, kPartialHeight, regfield::NamedGetTexts("Partial Height"),
                              value);
}

CResult CRVQM52BM14Reg::SetPartialHeight(std::uint16_t value)
{
    return regfield::SetSplit(*this, kPartialHeight, regfield::NamedSetTexts("Partial Height"),
                              value);
}

CResult CRVQM52BM14Reg::GetWhiteBalanceMode(int* on)
{
    std::uint8_t bit = 0;
    const CResult result =
        regfield::GetSwitch(*this, "\tGet White Balance Mode ", kRegWhiteBalanceMode, &bit);
    if (result == 0)
        *on = bit;
    return result;
}

CResult CRVQM52BM14Reg::SetWhiteBalanceMode(int on)
{
    return regfield::SetSwitch(*this, "\tSet White Balance Mode (%d) ", kRegWhiteBalanceMode, on);
}

CResult CRVQM52BM14Reg::GetGamma(std::uint8_t* on)
{
    return regfield::GetSwitch(*this, "\tGet Gamma ", kRegGamma, on);
}

CResult CRVQM52BM14Reg::SetGamma(std::uint8_t on)
{
    return regfield::SetSwitch(*this, "\tSet Gamma (%d) ", kRegGamma, on);
}

CResult CRVQM52BM14Reg::GetMasking(std::uint8_t* on)
{
    return regfield::GetSwitch(*this, "\tGet Masking ", kRegMask, on);
}

CResult CRVQM52BM14Reg::SetMask(std::uint8_t on)
{
    return regfield::SetSwitch(*this, "\tSet Mask (%d) ", kRegMask, on);
}

CResult CRVQM52BM14Reg::GetOutputFormat(std::uint8_t* on)
{
    return regfield::GetSwitch(*this, "\tGet Output Format ", kRegOutputFormat, on);
}

CResult CRVQM52BM14Reg::SetOutputFormat(std::uint8_t on)
{
    return regfield::SetSwitch(*this, "\tSet Output Format (%d) ", kRegOutputFormat, on);
}

CResult CRVQM52BM14Reg::GetRGain(std::uint16_t* value)
{
    return regfield::GetSplit(*this, kRGain, regfield::NamedGetTexts("R Gain"), value);
}

CResult CRVQM52BM14Reg::SetRGain(std::uint16_t value)
{
    return regfield::SetSplit(*this, kRGain, regfield::NamedSetTexts("R Gain"), value);
}

CResult CRVQM52BM14Reg::GetBGain(std::uint16_t* value)
{
    return regfield::GetSplit(*this, kBGain, regfield::NamedGetTexts("B Gain"), value);
}

CResult CRVQM52BM14Reg::SetBGain(std::uint16_t value)
{
    return regfield::SetSplit(*this, kBGain, regfield::NamedSetTexts("B Gain"), value);
}

// Whole-byte settings.

CResult CRVQM52BM14Reg::SetOffsetLevel(std::uint8_t v)
{
    return SetByte(*this, {"\tSet Offset ", "", 0x42}, v);
}
CResult CRVQM52BM14Reg::GetOffsetLevel(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet Offset ", "", 0x42}, v);
}
CResult CRVQM52BM14Reg::SetGain(std::uint8_t v)
{
    return SetByte(*this, {"\tSet Gain, ", "", 0x43}, v);
}
CResult CRVQM52BM14Reg::GetGain(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet Gain ", "", 0x43}, v);
}
CResult CRVQM52BM14Reg::SetOutLevelOffset(std::uint8_t v)
{
    return SetByte(*this, {"\tSet Offset ", "", 0x62}, v);
}
CResult CRVQM52BM14Reg::GetOutLevelOffset(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet Offset ", "", 0x62}, v);
}
CResult CRVQM52BM14Reg::SetOutLevelGain(std::uint8_t v)
{
    return SetByte(*this, {"\tSet OutLevelGain ", "", 0x64}, v);
}
CResult CRVQM52BM14Reg::GetOutLevelGain(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet OutLevel Gain ", "", 0x64}, v);
}

CResult CRVQM52BM14Reg::SetOpwb(std::uint8_t v)
{
    return SetByte(*this, {"\tSet OPWB", "", 0x77}, v);
}
CResult CRVQM52BM14Reg::SetWbColorTemp(std::uint8_t v)
{
    return SetByte(*this, {"\tSet WB Color Temp.", "", 0x75}, v);
}
CResult CRVQM52BM14Reg::GetWbColorTemp(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet WB Color Temp. ", "", 0x75}, v);
}

CResult CRVQM52BM14Reg::SetGrOffset(std::uint8_t v)
{
    return SetByte(*this, {"\tSet Gr Offset.", "", 0xD0}, v);
}
CResult CRVQM52BM14Reg::GetGrOffset(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet Gr Offset ", "", 0xD0}, v);
}
CResult CRVQM52BM14Reg::SetGbOffset(std::uint8_t v)
{
    return SetByte(*this, {"\tSet Gb Offset.", "", 0xD1}, v);
}
CResult CRVQM52BM14Reg::GetGbOffset(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet Gb Offset ", "", 0xD1}, v);
}
CResult CRVQM52BM14Reg::SetROffset(std::uint8_t v)
{
    return SetByte(*this, {"\tSet R Offset.", "", 0xD2}, v);
}
CResult CRVQM52BM14Reg::GetROffset(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet R Offset ", "", 0xD2}, v);
}
CResult CRVQM52BM14Reg::SetBOffset(std::uint8_t v)
{
    return SetByte(*this, {"\tSet B Offset.", "", 0xD3}, v);
}
CResult CRVQM52BM14Reg::GetBOffset(std::uint8_t* v)
{
    return GetByte(*this, {"\tGet B Offset ", "", 0xD3}, v);
}

CResult CRVQM52BM14Reg::GetGrGain(std::uint16_t* value)
{
    return regfield::GetSplit(*this, kGrGain, regfield::NamedGetTexts("Gr Gain"), value);
}
CResult CRVQM52BM14Reg::SetGrGain(std::uint16_t value)
{
    return regfield::SetSplit(*this, kGrGain, regfield::NamedSetTexts("Gr Gain"), value);
}
CResult CRVQM52BM14Reg::GetGbGain(std::uint16_t* value)
{
    return regfield::GetSplit(*this, kGbGain, regfield::NamedGetTexts("Gb Gain"), value);
}
CResult CRVQM52BM14Reg::SetGbGain(std::uint16_t value)
{
    return regfield::SetSplit(*this, kGbGain, regfield::NamedSetTexts("Gb Gain"), value);
}

CResult CRVQM52BM14Reg::SetAbb(std::uint8_t v)
{
    return SetByte(*this, {"\tSet ABB", "", 0xE9}, v);
}
