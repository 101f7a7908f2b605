#include "camera/ShutterSpeed.h"

#include "camera/RegisterFields.h"

namespace shutterspeed {
namespace {

constexpr regfield::SplitField kShutterSpeed{0x69, 0x68, 0x07};

} // namespace

CResult Get(CRVXReg& reg, std::uint16_t* value)
{
    return regfield::GetSplit(reg, kShutterSpeed,
                              {"\tGet Shutter Speed, ", "\tRead Shutter  Speed High, ",
                               "\tRead  Shutter  Speed Low ", "Done."},
                              value);
}

CResult Set(CRVXReg& reg, std::uint16_t value)
{
    return regfield::SetSplit(reg, kShutterSpeed,
                              {"\tSet Shutter  Speed, ", "\tRead  Shutter  Speed High, ",
                               "\tSet  Shutter  Speed High, ", "\tSet  Shutter  Speed Low ",
                               "Done."},
                              value);
}

} // namespace shutterspeed
