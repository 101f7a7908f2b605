// The RVQM52 colour model's R and B gains per colour temperature and its masking-matrix gains:
// 12-bit values of one pattern each, driven from the tables below.
#include "camera/RVQM52BM14Reg.h"

#include "camera/RegisterFields.h"

#include <string>

namespace {

enum class Colour { R, B };

// R uses bits 3..0 of the shared high register, B bits 7..4.
struct ColourTemperature {
    const char* name;
    int rLow;
    int bLow;
    int high;
};

constexpr ColourTemperature k3000K{"3000K", 0xD7, 0xD8, 0xD9};
constexpr ColourTemperature k3700K{"3700K", 0xDA, 0xDB, 0xDC};
constexpr ColourTemperature k4000K{"4000K", 0xDD, 0xDE, 0xDF};
constexpr ColourTemperature k4500K{"4500K", 0xE0, 0xE1, 0xE2};
constexpr ColourTemperature k5500K{"5500K", 0xE3, 0xE4, 0xE5};
constexpr ColourTemperature k6500K{"6500K", 0xE6, 0xE7, 0xE8};

regfield::SplitField FieldOf(const ColourTemperature& t, Colour colour)
{
    if (colour == Colour::R)
        return {t.high, t.rLow, 0x0F, 0};
    return {t.high, t.bLow, 0xF0, 4};
}

std::string NameOf(const ColourTemperature& t, Colour colour)
{
    return std::string(colour == Colour::R ? "R" : "B") + " Gain(" + t.name + ")";
}

CResult GetTemperatureGain(CRVXReg& reg, const ColourTemperature& t, Colour colour,
                           std::uint16_t* value)
{
    return regfield::GetSplit(reg, FieldOf(t, colour), regfield::NamedGetTexts(NameOf(t, colour)),
                              value);
}

CResult SetTemperatureGain(CRVXReg& reg, const ColourTemperature& t, Colour colour,
                           std::uint16_t value)
{
    return regfield::SetSplit(reg, FieldOf(t, colour), regfield::NamedSetTexts(NameOf(t, colour)),
                              value);
}

// Each masking gain has a high register of its own and uses its bits 3..0.
struct MaskGain {
    const char* pair;
    int low;
};

constexpr MaskGain kMaskRG{"R-G", 0xF0};
constexpr MaskGain kMaskRB{"R-B", 0xF2};
constexpr MaskGain kMaskGB{"G-B", 0xF4};
constexpr MaskGain kMaskGR{"G-R", 0xF6};
constexpr MaskGain kMaskBR{"B-R", 0xF8};
constexpr MaskGain kMaskBG{"B-G", 0xFA};

regfield::SplitField FieldOf(const MaskGain& m)
{
    return {m.low + 1, m.low, 0x0F, 0};
}

std::string NameOf(const MaskGain& m)
{
    return std::string("MASK ") + m.pair + " Gain";
}

CResult GetMaskGain(CRVXReg& reg, const MaskGain& m, std::uint16_t* value)
{
    return regfield::GetSplit(reg, FieldOf(m), regfield::NamedGetTexts(NameOf(m)), value);
}

CResult SetMaskGain(CRVXReg& reg, const MaskGain& m, std::uint16_t value)
{
    return regfield::SetSplit(reg, FieldOf(m), regfield::NamedSetTexts(NameOf(m)), value);
}

} // namespace

// clang-format off
CResult CRVQM52BM14Reg::GetRGain3000K(std::uint16_t* v) { return GetTemperatureGain(*this, k3000K, Colour::R, v); }
CResult CRVQM52BM14Reg::SetRGain3000K(std::uint16_t v) { return SetTemperatureGain(*this, k3000K, Colour::R, v); }
CResult CRVQM52BM14Reg::GetBGain3000K(std::uint16_t* v) { return GetTemperatureGain(*this, k3000K, Colour::B, v); }
CResult CRVQM52BM14Reg::SetBGain3000K(std::uint16_t v) { return SetTemperatureGain(*this, k3000K, Colour::B, v); }
CResult CRVQM52BM14Reg::GetRGain3700K(std::uint16_t* v) { return GetTemperatureGain(*this, k3700K, Colour::R, v); }
CResult CRVQM52BM14Reg::SetRGain3700K(std::uint16_t v) { return SetTemperatureGain(*this, k3700K, Colour::R, v); }
CResult CRVQM52BM14Reg::GetBGain3700K(std::uint16_t* v) { return GetTemperatureGain(*this, k3700K, Colour::B, v); }
CResult CRVQM52BM14Reg::SetBGain3700K(std::uint16_t v) { return SetTemperatureGain(*this, k3700K, Colour::B, v); }
CResult CRVQM52BM14Reg::GetRGain4000K(std::uint16_t* v) { return GetTemperatureGain(*this, k4000K, Colour::R, v); }
CResult CRVQM52BM14Reg::SetRGain4000K(std::uint16_t v) { return SetTemperatureGain(*this, k4000K, Colour::R, v); }
CResult CRVQM52BM14Reg::GetBGain4000K(std::uint16_t* v) { return GetTemperatureGain(*this, k4000K, Colour::B, v); }
CResult CRVQM52BM14Reg::SetBGain4000K(std::uint16_t v) { return SetTemperatureGain(*this, k4000K, Colour::B, v); }
CResult CRVQM52BM14Reg::GetRGain4500K(std::uint16_t* v) { return GetTemperatureGain(*this, k4500K, Colour::R, v); }
CResult CRVQM52BM14Reg::SetRGain4500K(std::uint16_t v) { return SetTemperatureGain(*this, k4500K, Colour::R, v); }
CResult CRVQM52BM14Reg::GetBGain4500K(std::uint16_t* v) { return GetTemperatureGain(*this, k4500K, Colour::B, v); }
CResult CRVQM52BM14Reg::SetBGain4500K(std::uint16_t v) { return SetTemperatureGain(*this, k4500K, Colour::B, v); }
CResult CRVQM52BM14Reg::GetRGain5500K(std::uint16_t* v) { return GetTemperatureGain(*this, k5500K, Colour::R, v); }
CResult CRVQM52BM14Reg::SetRGain5500K(std::uint16_t v) { return SetTemperatureGain(*this, k5500K, Colour::R, v); }
CResult CRVQM52BM14Reg::GetBGain5500K(std::uint16_t* v) { return GetTemperatureGain(*this, k5500K, Colour::B, v); }
CResult CRVQM52BM14Reg::SetBGain5500K(std::uint16_t v) { return SetTemperatureGain(*this, k5500K, Colour::B, v); }
CResult CRVQM52BM14Reg::GetRGain6500K(std::uint16_t* v) { return GetTemperatureGain(*this, k6500K, Colour::R, v); }
CResult CRVQM52BM14Reg::SetRGain6500K(std::uint16_t v) { return SetTemperatureGain(*this, k6500K, Colour::R, v); }
CResult CRVQM52BM14Reg::GetBGain6500K(std::uint16_t* v) { return GetTemperatureGain(*this, k6500K, Colour::B, v); }
CResult CRVQM52BM14Reg::SetBGain6500K(std::uint16_t v) { return SetTemperatureGain(*this, k6500K, Colour::B, v); }

CResult CRVQM52BM14Reg::GetMaskRGGain(std::uint16_t* v) { return GetMaskGain(*this, kMaskRG, v); }
CResult CRVQM52BM14Reg::SetMaskRGGain(std::uint16_t v) { return SetMaskGain(*this, kMaskRG, v); }
CResult CRVQM52BM14Reg::GetMaskRBGain(std::uint16_t* v) { return GetMaskGain(*this, kMaskRB, v); }
CResult CRVQM52BM14Reg::SetMaskRBGain(std::uint16_t v) { return SetMaskGain(*this, kMaskRB, v); }
CResult CRVQM52BM14Reg::GetMaskGBGain(std::uint16_t* v) { return GetMaskGain(*this, kMaskGB, v); }
CResult CRVQM52BM14Reg::SetMaskGBGain(std::uint16_t v) { return SetMaskGain(*this, kMaskGB, v); }
CResult CRVQM52BM14Reg::GetMaskGRGain(std::uint16_t* v) { return GetMaskGain(*this, kMaskGR, v); }
CResult CRVQM52BM14Reg::SetMaskGRGain(std::uint16_t v) { return SetMaskGain(*this, kMaskGR, v); }
CResult CRVQM52BM14Reg::GetMaskBRGain(std::uint16_t* v) { return GetMaskGain(*this, kMaskBR, v); }
CResult CRVQM52BM14Reg::SetMaskBRGain(std::uint16_t v) { return SetMaskGain(*this, kMaskBR, v); }
CResult CRVQM52BM14Reg::GetMaskBGGain(std::uint16_t* v) { return GetMaskGain(*this, kMaskBG, v); }
CResult CRVQM52BM14Reg::SetMaskBGGain(std::uint16_t v) { return SetMaskGain(*this, kMaskBG, v); }
// clang-format on
