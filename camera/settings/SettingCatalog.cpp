#include "camera/settings/SettingCatalog.h"

#include "camera/RVQM52BM14Reg.h"
#include "camera/RVX1240Reg.h"
#include "camera/RVX1250Reg.h"

#include <cstdint>
#include <cstdio>

namespace {

// A value with a getter and a setter of its own on the model family's register map.
template <class Map, class T>
SettingDef Named(const char* name, int minimum, int maximum, CResult (Map::*get)(T*),
                 CResult (Map::*set)(T), const char* setter, std::vector<int> registers)
{
    SettingDef def;
    def.name = name;
    def.registers = std::move(registers);
    def.minimum = minimum;
    def.maximum = maximum;
    def.setter = setter;
    def.read = [get](CRVXReg& map, int& value) {
        T raw{};
        const CResult result = (static_cast<Map&>(map).*get)(&raw);
        if (result == 0)
            value = static_cast<int>(raw);
        return result;
    };
    def.write = [set](CRVXReg& map, int value) {
        return (static_cast<Map&>(map).*set)(static_cast<T>(value));
    };
    return def;
}

// A byte the page reads and writes through the plain register operations.
SettingDef Register(const char* name, int address)
{
    SettingDef def;
    def.name = name;
    def.registers = {address};
    def.minimum = 0;
    def.maximum = 0xFF;
    char setter[32];
    std::snprintf(setter, sizeof setter, "SetRegister 0x%02X", address);
    def.setter = setter;
    def.read = [address](CRVXReg& map, int& value) {
        std::uint8_t byte = 0;
        const CResult result = map.GetRegister(address, &byte);
        if (result == 0)
            value = byte;
        return result;
    };
    def.write = [address](CRVXReg& map, int value) { return map.SetRegister(address, value); };
    return def;
}

// The six bit-mapped registers of the shutter page, named as the RV1240DLX map names them.
void AddShutterRegisters(std::vector<SettingDef>& defs)
{
    defs.push_back(Register("ShatterMd1", 0x66));
    defs.push_back(Register("Trigger1", 0x6A));
    defs.push_back(Register("Trigger2", 0x6B));
    defs.push_back(Register("SubSampling", 0x70));
    defs.push_back(Register("WindowEnable", 0x81));
    defs.push_back(Register("BitInfo", 0x90));
}

using Q = CRVQM52BM14Reg;

// The RVQM52 shutter and partial pages; the partial page's shutter speed is the same value.
void AddRVQM52Scan(std::vector<SettingDef>& defs)
{
    defs.push_back(Named("ShutterSpeed", 0, 2047, &Q::GetShutterSpeed, &Q::SetShutterSpeed,
                         "SetShutterSpeed", {0x69, 0x68}));
    AddShutterRegisters(defs);
    defs.push_back(Named("PartialVStart", 0, 1186, &Q::GetPartialVStart, &Q::SetPartialVStart,
                         "SetPartialVStart", {0x85, 0x84}));
    defs.push_back(Named("PartialHeight", 50, 1236, &Q::GetPartialHeight, &Q::SetPartialHeight,
                         "SetPartialHeight", {0x89, 0x88}));
}

std::vector<SettingDef> Make1240()
{
    using M = CRVX1240Reg;
    std::vector<SettingDef> defs;
    defs.push_back(Named("OutLevelOffset", -512, 511, &M::GetOutLevelOffset, &M::SetOutLevelOffset,
                         "SetOutLevelOffset", {0x63, 0x62}));
    defs.push_back(Named("OutLevelGain", 0, 255, &M::GetOutLevelGain, &M::SetOutLevelGain,
                         "SetOutLevelGain", {0x64}));
    defs.push_back(
        Named("ShatterMd1", 0, 255, &M::GetShatterMd1, &M::SetShatterMd1, "SetShatterMd1", {0x66}));
    defs.push_back(Named("ShatterSpeed", 0, 255, &M::GetShatterSpeed, &M::SetShatterSpeed,
                         "SetShatterSpeed", {0x68}));
    defs.push_back(
        Named("Trigger1", 0, 255, &M::GetTrigger1, &M::SetTrigger1, "SetTrigger1", {0x6A}));
    defs.push_back(
        Named("Trigger2", 0, 255, &M::GetTrigger2, &M::SetTrigger2, "SetTrigger2", {0x6B}));
    defs.push_back(Named("SubSampling", 0, 255, &M::GetSubSampling, &M::SetSubSampling,
                         "SetSubSampling", {0x70}));
    defs.push_back(Named("WindowEnable", 0, 255, &M::GetWindowEnable, &M::SetWindowEnable,
                         "SetWindowEnable", {0x81}));
    defs.push_back(Named("BitInfo", 0, 255, &M::GetBitInfo, &M::SetBitInfo, "SetBitInfo", {0x90}));
    return defs;
}

std::vector<SettingDef> Make1250()
{
    using M = CRVX1250Reg;
    std::vector<SettingDef> defs;
    defs.push_back(Named("OutLevelOffset", 0, 31, &M::GetOutLevelOffset, &M::SetOutLevelOffset,
                         "SetOutLevelOffset", {0x62}));
    defs.push_back(Named("OutLevelGain", 0, 511, &M::GetOutLevelGain, &M::SetOutLevelGain,
                         "SetOutLevelGain", {0x65, 0x64}));
    defs.push_back(Named("ShutterSpeed", 0, 2047, &M::GetShutterSpeed, &M::SetShutterSpeed,
                         "SetShutterSpeed", {0x69, 0x68}));
    AddShutterRegisters(defs);
    return defs;
}

std::vector<SettingDef> MakeQM52B()
{
    std::vector<SettingDef> defs;
    defs.push_back(Named("OutLevelOffset", 50, 255, &Q::GetOutLevelOffset, &Q::SetOutLevelOffset,
                         "SetOutLevelOffset", {0x62}));
    defs.push_back(Named("OutLevelGain", 0, 150, &Q::GetOutLevelGain, &Q::SetOutLevelGain,
                         "SetOutLevelGain", {0x64}));
    AddRVQM52Scan(defs);
    return defs;
}

std::vector<SettingDef> MakeQM52C()
{
    std::vector<SettingDef> defs;
    defs.push_back(Named("OutLevelOffset", 0, 31, &Q::GetOutLevelOffset, &Q::SetOutLevelOffset,
                         "SetOutLevelOffset", {0x62}));
    defs.push_back(Named("OutLevelGain", 0, 75, &Q::GetOutLevelGain, &Q::SetOutLevelGain,
                         "SetOutLevelGain", {0x64}));
    AddRVQM52Scan(defs);
    // The colour page's order: the mode first; the colour temperature ("USER" is 255) before
    // the R and B gains, which the camera keeps as the user gains.
    defs.push_back(Named("WhiteBalanceMode", 0, 1, &Q::GetWhiteBalanceMode, &Q::SetWhiteBalanceMode,
                         "SetWhiteBalanceMode", {0x74}));
    defs.push_back(Named("Gamma", 0, 1, &Q::GetGamma, &Q::SetGamma, "SetGamma", {0x7D}));
    defs.push_back(Named("Masking", 0, 1, &Q::GetMasking, &Q::SetMask, "SetMask", {0x7E}));
    defs.push_back(Named("OutputFormat", 0, 1, &Q::GetOutputFormat, &Q::SetOutputFormat,
                         "SetOutputFormat", {0x92}));
    SettingDef temp = Named("WbColorTemp", 0, 255, &Q::GetWbColorTemp, &Q::SetWbColorTemp,
                            "SetWbColorTemp", {0x75});
    temp.allowed = {30, 37, 40, 45, 55, 65, 255};
    defs.push_back(std::move(temp));
    defs.push_back(Named("RGain", 0, 1535, &Q::GetRGain, &Q::SetRGain, "SetRGain", {0x79, 0x78}));
    defs.push_back(Named("BGain", 0, 1535, &Q::GetBGain, &Q::SetBGain, "SetBGain", {0x7B, 0x7A}));
    return defs;
}

} // namespace

std::string SettingDef::CheckValue(long long value) const
{
    if (!allowed.empty()) {
        for (int candidate : allowed)
            if (value == candidate)
                return {};
        std::string reason = "not one of ";
        for (std::size_t i = 0; i < allowed.size(); ++i)
            reason += (i ? ", " : "") + std::to_string(allowed[i]);
        return reason;
    }
    if (value < minimum || value > maximum)
        return "outside " + std::to_string(minimum) + ".." + std::to_string(maximum);
    return {};
}

std::string SettingDef::WriteText(int value) const
{
    return setter + " " + std::to_string(value);
}

const std::vector<SettingDef>& SettingsOf(CameraModel model)
{
    static const std::vector<SettingDef> k1240 = Make1240();
    static const std::vector<SettingDef> k1250 = Make1250();
    static const std::vector<SettingDef> kQM52B = MakeQM52B();
    static const std::vector<SettingDef> kQM52C = MakeQM52C();
    switch (model) {
    case CameraModel::RV1240DLX:
        return k1240;
    case CameraModel::RV1250LX:
        return k1250;
    case CameraModel::RVQM52BM14:
        return kQM52B;
    case CameraModel::RVQM52CM14:
        break;
    }
    return kQM52C;
}

const SettingDef* FindSetting(CameraModel model, const std::string& name)
{
    for (const SettingDef& def : SettingsOf(model))
        if (def.name == name)
            return &def;
    return nullptr;
}

const SettingDef* SettingOfRegister(CameraModel model, int address)
{
    for (const SettingDef& def : SettingsOf(model))
        for (int written : def.registers)
            if (written == address)
                return &def;
    return nullptr;
}
