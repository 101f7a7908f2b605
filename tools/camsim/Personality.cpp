#include "tools/camsim/Personality.h"

#include <algorithm>
#include <cstring>

namespace camsim {
namespace {

struct Identity {
    Model model;
    const char* name;
    const char* vendor;
    const char* serial;
    const char* cpuVersion;
};

constexpr Identity kIdentities[] = {
    {Model::RV1240DLX, "RV1240DLX", "KORVALIS", "4010237", "CPU Ver 1.12"},
    {Model::RV1250LX, "RV1250LX", "KORVALIS", "5020114", "CPU Ver 2.03"},
    {Model::RVQM52BM14, "RVQM52BM14", "KORVALIS", "5210088", "CPU Ver 3.01"},
    {Model::RVQM52CM14, "RVQM52CM14", "KORVALIS", "5220041", "CPU Ver 3.01"},
};

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

} // namespace

const char* ModelName(Model model) { return IdentityOf(model).name; }

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
    PutText(state, 0x30, identity.cpuVersion, 16);
    for (auto& bank : state.banks)
        bank = state.regs;
}

void AfterWrite(Model, int, std::uint8_t, CameraState&) {}

} // namespace camsim
