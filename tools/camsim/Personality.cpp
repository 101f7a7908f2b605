#include "tools/camsim/Personality.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <utility>

namespace camsim {
namespace {

struct Identity {
    Model model;
    const char* name;
    const char* vendor;
    const char* serial;
    const char* cpuVersion;  // RVQM52 family: 8 characters, the FPGA text follows at 0x38
    const char* fpgaVersion; // RVQM52 family only
};

constexpr Identity kIdentities[] = {
    {Model::RV1240DLX, "RV1240DLX", "KORVALIS", "4010237", "CPU Ver 1.12", nullptr},
    {Model::RV1250LX, "RV1250LX", "KORVALIS", "5020114", "CPU Ver 2.03", nullptr},
    {Model::RVQM52BM14, "RVQM52BM14", "KORVALIS", "5210088", "CPU 3.01", "FPGA1.04"},
    {Model::RVQM52CM14, "RVQM52CM14", "KORVALIS", "5220041", "CPU 3.01", "FPGA1.06"},
};

// Register addresses the personalities act on.
constexpr int kRegSaveBank = 0x51;
constexpr int kRegLoadBank = 0x52;
constexpr int kRegResetBank = 0x53;
constexpr int kRegRegisterUpdate = 0x6E;
constexpr int kRegOnePushWb = 0x77;
constexpr int kRegAutoBlackBalance = 0xE9;
constexpr int kRegWbColorTemp = 0x75;
constexpr int kAllBanks = 255;
constexpr std::uint8_t kWbUserGains = 255;

using Values = std::initializer_list<std::pair<int, std::uint8_t>>;

// Settings every model starts with: no error, normal scan, free-running, 10-bit output.
constexpr Values kCommonDefaults = {
    {0x40, 0x00}, // error mode
    {0x41, 0x00}, // error status
    {0x95, 0x00}, // second error status
    {0x66, 0x00}, // multiple shutter off
    {0x6A, 0x00}, // trigger: normal, positive
    {0x6B, 0x00}, // pulse mode
    {0x70, 0x00}, // no sub-sampling
    {0x81, 0x00}, // no window
    {0x90, 0x01}, // 10-bit
};

// clang-format off
constexpr Values kRV1240Defaults = {
    {0x42, 0x10}, {0x43, 0x00}, // offset level 16
    {0x44, 0x80},               // PLD gain
    {0x45, 0x20}, {0x46, 0x20}, {0x47, 0x20}, {0x48, 0x20}, // PXGA1..4
    {0x49, 0x01},               // power
    {0x4A, 0x08},               // AOS_Acc_Len
    {0x4B, 0x00},               // V_Offset flag
    {0x4C, 0x04},               // Acc_Len Offset
    {0x4D, 0x10},               // DelayCnt
    {0x4E, 0x00},               // OutPutCtrl
    {0x4F, 0x03},               // CCD Control
    {0x62, 0x40}, {0x63, 0x00}, // out-level offset 64
    {0x64, 0x80},               // out-level gain
    {0x68, 149},                // shutter speed, an entry of the shutter page's list
    // Analogue front end: calibration results and controls.
    {0xB0, 0xA2}, {0xB1, 0x01}, {0xB2, 0x9C}, {0xB3, 0x01}, // VOS1, VOS2
    {0xB4, 0xA8}, {0xB5, 0x01}, {0xB6, 0x97}, {0xB7, 0x01}, // VOS3, VOS4
    {0xB8, 0x40}, {0xB9, 0x00},                             // BlkAdj_Data_Debug
    {0xBA, 0x01}, {0xBB, 0x01}, {0xBC, 0x00}, {0xBD, 0x01}, {0xBE, 0x00}, {0xBF, 0x02},
};

constexpr Values kRV1250Defaults = {
    {0x43, 0xC8}, {0x44, 0x00}, // gain 200
    {0x62, 0x10},               // clamp level 16
    {0x64, 0x00}, {0x65, 0x01}, // out-level gain 256
    {0x68, 0x71}, {0x69, 0x02}, // shutter speed 625, an entry of the shutter page's list
};

constexpr Values kRVQM52Defaults = {
    {0x42, 0x10},               // offset
    {0x43, 0x00},               // gain
    {0x62, 0x80},               // out-level offset
    {0x64, 0x20},               // out-level gain
    {0x68, 0x70}, {0x69, 0x02}, // shutter speed 624, an entry of the shutter page's list
    {0x84, 0x00}, {0x85, 0x00}, // partial V start 0
    {0x88, 0xD4}, {0x89, 0x04}, // partial height 1236, the full frame
};

// The colour model: white balance at 5500 K, gamma and masking on, manual gains balanced.
constexpr Values kRVQM52ColourDefaults = {
    {0x62, 0x10},               // out-level offset within the colour page's 0..31
    {0x74, 0x00},               // white balance manual
    {0x75, 55},                 // 5500 K
    {0x78, 0x00}, {0x79, 0x02}, // R gain 0x200
    {0x7A, 0x00}, {0x7B, 0x02}, // B gain 0x200
    {0x7D, 0x01},               // gamma on
    {0x7E, 0x01},               // masking on
    {0x92, 0x00},               // output format
    {0xD0, 0x08}, {0xD1, 0x08}, {0xD2, 0x08}, {0xD3, 0x08}, // pixel offsets
    {0xD4, 0x00}, {0xD5, 0x00}, {0xD6, 0x22},               // Gr and Gb gains 0x200
    // R and B gains per colour temperature: red rises and blue falls as the light gets bluer.
    {0xD7, 0x80}, {0xD8, 0x00}, {0xD9, 0x31}, // 3000K: R 0x180, B 0x300
    {0xDA, 0xC0}, {0xDB, 0xA0}, {0xDC, 0x21}, // 3700K: R 0x1C0, B 0x2A0
    {0xDD, 0xE0}, {0xDE, 0x70}, {0xDF, 0x21}, // 4000K: R 0x1E0, B 0x270
    {0xE0, 0x00}, {0xE1, 0x40}, {0xE2, 0x22}, // 4500K: R 0x200, B 0x240
    {0xE3, 0x40}, {0xE4, 0x00}, {0xE5, 0x22}, // 5500K: R 0x240, B 0x200
    {0xE6, 0x80}, {0xE7, 0xC0}, {0xE8, 0x12}, // 6500K: R 0x280, B 0x1C0
    // Masking matrix gains.
    {0xF0, 0x20}, {0xF1, 0x00}, {0xF2, 0x10}, {0xF3, 0x00}, {0xF4, 0x18}, {0xF5, 0x00},
    {0xF6, 0x20}, {0xF7, 0x00}, {0xF8, 0x10}, {0xF9, 0x00}, {0xFA, 0x18}, {0xFB, 0x00},
};
// clang-format on

// What one-push white balance and auto black balance measure in the simulated scene: a
// slightly warm light, and a sensor whose blue pixels sit a little lower than the others.
// One-push white balance then holds its result as the user gains.
constexpr std::uint16_t kScenePushRGain = 0x1D8;
constexpr std::uint16_t kScenePushBGain = 0x268;
constexpr std::uint8_t kSceneBlack[4] = {0x0A, 0x0B, 0x0C, 0x07}; // Gr, Gb, R, B offsets
constexpr std::uint16_t kSceneGrGain = 0x204;
constexpr std::uint16_t kSceneGbGain = 0x1FC;

const Identity& IdentityOf(Model model)
{
    for (const Identity& identity : kIdentities)
        if (identity.model == model)
            return identity;
    return kIdentities[0];
}

void PutText(CameraState& state, int address, const char* text, std::size_t room)
{
    const std::size_t n = std::min(std::strlen(text), room);
    std::memcpy(&state.regs[static_cast<std::size_t>(address)], text, n);
}

void Put(CameraState& state, Values values)
{
    for (const auto& [address, value] : values)
        state.regs[static_cast<std::size_t>(address)] = value;
}

void PutSplit(CameraState& state, int high, int low, std::uint8_t mask, int shift,
              std::uint16_t value)
{
    auto& h = state.regs[static_cast<std::size_t>(high)];
    h = static_cast<std::uint8_t>((h & ~mask) | (((value >> 8) << shift) & mask));
    state.regs[static_cast<std::size_t>(low)] = static_cast<std::uint8_t>(value & 0xFF);
}

// The settings a memory bank holds: everything from 0x42 to 0xFF except the identification,
// status and command registers, and the front end's calibration results.
bool IsUserRegister(Model model, int address)
{
    if (address < 0x42 || address > 0xFF)
        return false;
    switch (address) {
    case kRegSaveBank:
    case kRegLoadBank:
    case kRegResetBank:
    case kRegRegisterUpdate:
    case kRegOnePushWb:
    case kRegAutoBlackBalance:
    case 0x95:
        return false;
    default:
        break;
    }
    if (model == Model::RV1240DLX && address >= 0xB0 && address <= 0xBD && address != 0xBC)
        return false;
    return true;
}

using Registers = std::array<std::uint8_t, 0x301>;

void CopyUserRegisters(Model model, const Registers& from, Registers& to)
{
    for (int address = 0x42; address <= 0xFF; ++address)
        if (IsUserRegister(model, address))
            to[static_cast<std::size_t>(address)] = from[static_cast<std::size_t>(address)];
}

Registers PowerOnRegisters(Model model)
{
    CameraState fresh;
    PowerOn(model, fresh);
    return fresh.regs;
}

// The camera takes the registers written so far into effect. On the RV1240DLX a calibration
// requested in AFE_Cal_Control (bits 1, 2 or 4) runs now: it is counted, reported done in
// AFE_Cal_Status and its request bits clear.
void RegisterUpdate(Model model, CameraState& state)
{
    state.regs[kRegRegisterUpdate] = 0;
    if (model != Model::RV1240DLX)
        return;
    auto& control = state.regs[0xBC];
    if (control & 0x16) {
        control = static_cast<std::uint8_t>(control & 0xE9);
        state.regs[0xBB] = static_cast<std::uint8_t>(state.regs[0xBB] + 1);
        state.regs[0xBD] = static_cast<std::uint8_t>(state.regs[0xBD] | 0x01);
    }
}

} // namespace

const char* ModelName(Model model)
{
    return IdentityOf(model).name;
}

std::optional<Model> ModelFromName(const std::string& name)
{
    for (const Identity& identity : kIdentities)
        if (name == identity.name)
            return identity.model;
    return std::nullopt;
}

void PowerOn(Model model, CameraState& state)
{
    state.regs.fill(0);
    const Identity& identity = IdentityOf(model);
    PutText(state, 0x00, identity.vendor, 16);
    PutText(state, 0x10, identity.name, 16);
    PutText(state, 0x20, identity.serial, 7);
    if (identity.fpgaVersion) {
        PutText(state, 0x30, identity.cpuVersion, 8);
        PutText(state, 0x38, identity.fpgaVersion, 8);
    } else {
        PutText(state, 0x30, identity.cpuVersion, 16);
    }
    Put(state, kCommonDefaults);
    switch (model) {
    case Model::RV1240DLX:
        Put(state, kRV1240Defaults);
        break;
    case Model::RV1250LX:
        Put(state, kRV1250Defaults);
        break;
    case Model::RVQM52BM14:
        Put(state, kRVQM52Defaults);
        break;
    case Model::RVQM52CM14:
        Put(state, kRVQM52Defaults);
        Put(state, kRVQM52ColourDefaults);
        break;
    }
    for (auto& bank : state.banks)
        bank = state.regs;
}

void AfterWrite(Model model, int address, std::uint8_t value, CameraState& state)
{
    switch (address) {
    case kRegSaveBank:
        if (value < state.banks.size())
            CopyUserRegisters(model, state.regs, state.banks[value]);
        break;
    case kRegLoadBank:
        if (value < state.banks.size())
            CopyUserRegisters(model, state.banks[value], state.regs);
        break;
    case kRegResetBank:
        if (value < state.banks.size() || value == kAllBanks) {
            const Registers factory = PowerOnRegisters(model);
            for (std::size_t bank = 0; bank < state.banks.size(); ++bank)
                if (value == kAllBanks || bank == static_cast<std::size_t>(value))
                    CopyUserRegisters(model, factory, state.banks[bank]);
            CopyUserRegisters(model, factory, state.regs);
        }
        break;
    case kRegRegisterUpdate:
        if (value == 1)
            RegisterUpdate(model, state);
        break;
    case kRegOnePushWb:
        if (value == 1 && model == Model::RVQM52CM14) {
            PutSplit(state, 0x79, 0x78, 0x07, 0, kScenePushRGain);
            PutSplit(state, 0x7B, 0x7A, 0x07, 0, kScenePushBGain);
            state.regs[kRegWbColorTemp] = kWbUserGains;
            state.regs[kRegOnePushWb] = 0;
        }
        break;
    case kRegAutoBlackBalance:
        if (value == 1 && model == Model::RVQM52CM14) {
            std::copy(std::begin(kSceneBlack), std::end(kSceneBlack), &state.regs[0xD0]);
            PutSplit(state, 0xD6, 0xD4, 0x0F, 0, kSceneGrGain);
            PutSplit(state, 0xD6, 0xD5, 0xF0, 4, kSceneGbGain);
            state.regs[kRegAutoBlackBalance] = 0;
        }
        break;
    default:
        break;
    }
}

} // namespace camsim
