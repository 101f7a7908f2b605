#include "pages/rvqm52/PartialTiming.h"

#include <cmath>

namespace pages {

namespace {
constexpr int kSensorLines = 1236;
constexpr int kSyncLines = 3;
// One line lasts 1920 clocks of 72 MHz.
constexpr double kClock = 72000000.0;
constexpr int kLineClocks = 1920;
// Clocks the exposure takes beyond its whole lines.
constexpr long long kExposureExtra = 1092;
} // namespace

PartialTiming ComputePartialTiming(int vStart, int height, int shutterSpeed)
{
    PartialTiming t{};
    t.backPorch = static_cast<int>(std::floor((vStart + 15) * 0.125 + 1));
    t.active = height;
    t.frontPorch = static_cast<int>(std::floor(((kSensorLines - (vStart + height)) + 13) * 0.125));
    const int lines = t.backPorch + kSyncLines + height + t.frontPorch;
    // Lines per frame stay positive for every start and height the registers can hold; the
    // guard keeps a division by zero out all the same.
    t.frameRate = lines > 0 ? 1.0 / (lines * kLineClocks / kClock) : 0.0;
    t.maxHeight = kSensorLines - vStart;
    const long long clocks = static_cast<long long>(shutterSpeed) * kLineClocks + kExposureExtra;
    t.exposure = clocks > 0 ? static_cast<int>(static_cast<long long>(kClock) / clocks) : 0;
    return t;
}

} // namespace pages
