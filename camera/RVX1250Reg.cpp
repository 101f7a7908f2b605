#include "camera/RVX1250Reg.h"

#include "camera/RegisterFields.h"
#include "camera/ShutterSpeed.h"

namespace {

// 9-bit values keep bit 8 in bit 0 of their high register.
constexpr regfield::SplitField kGain{0x44, 0x43, 0x01};
constexpr regfield::SplitField kOutLevelGain{0x65, 0x64, 0x01};

constexpr int kRegOutLevelOffset = 0x62;
constexpr std::uint8_t kOutLevelOffsetMask = 0x1F;

} // namespace

CRVX1250Reg::CRVX1250Reg(CComIF* comIF) : CRVXReg(comIF) {}

CRVX1250Reg::~CRVX1250Reg() = default;

int CRVX1250Reg::GetModelType()
{
    return MODEL_RV1250LX;
}

CResult CRVX1250Reg::GetShutterSpeed(std::uint16_t* value)
{
    return shutterspeed::Get(*this, value);
}

CResult CRVX1250Reg::SetShutterSpeed(std::uint16_t value)
{
    return shutterspeed::Set(*this, value);
}

CResult CRVX1250Reg::SetGain(std::uint16_t value)
{
    return regfield::SetSplit(*this, kGain, {"\tSet Gain, ", "", "", "", "Done."}, value);
}

CResult CRVX1250Reg::GetGain(std::uint16_t* value)
{
    return regfield::GetSplit(
        *this, kGain, {"\tGet Gain ", " \tRead  Gain High, ", "\tRead  Gain Low ", "Done."}, value);
}

CResult CRVX1250Reg::SetOutLevelOffset(std::uint8_t value)
{
    return regfield::SetMasked(*this, "\tSet Offset ", kRegOutLevelOffset, kOutLevelOffsetMask,
                               value);
}

CResult CRVX1250Reg::GetOutLevelOffset(std::uint8_t* value)
{
    return regfield::GetMasked(*this, "\tGet Offset ", kRegOutLevelOffset, kOutLevelOffsetMask,
                               value);
}

CResult CRVX1250Reg::SetOutLevelGain(std::uint16_t value)
{
    return regfield::SetSplit(*this, kOutLevelGain,
                              {"\tSet OutLevel Gain ", "\tRead  Gain High, ", "\tSet  Gain High, ",
                               "\tSet  Gain Low ", " Done."},
                              value);
}

CResult CRVX1250Reg::GetOutLevelGain(std::uint16_t* value)
{
    return regfield::GetSplit(
        *this, kOutLevelGain,
        {"\tGet OutLevel Gain ", "\tRead  Gain High, ", "\tRead  Gain Low ", "Done."}, value);
}
