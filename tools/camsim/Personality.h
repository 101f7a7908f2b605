// What makes a simulated camera one model or another: its identity texts, power-on register
// values, and the registers that act when written.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace camsim {

enum class Model { RV1240DLX, RV1250LX, RVQM52BM14, RVQM52CM14 };

const char* ModelName(Model model);
std::optional<Model> ModelFromName(const std::string& name);

// Registers and the memory banks behind them.
struct CameraState {
    std::array<std::uint8_t, 0x301> regs{};
    std::array<std::array<std::uint8_t, 0x301>, 8> banks{};
};

// Fills the registers (and banks) with the model's power-on values.
void PowerOn(Model model, CameraState& state);

// Called after a register write has been stored; lets command registers act.
void AfterWrite(Model model, int address, std::uint8_t value, CameraState& state);

} // namespace camsim
