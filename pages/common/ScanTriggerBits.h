// The six bit-mapped registers a shutter page keeps whole (multiple shutter 0x66, trigger
// 0x6A/0x6B, sub-sampling 0x70, window enable 0x81, bit information 0x90) and the flags and
// bit-depth index its controls show. Apply writes back every bit the page does not own.
#pragma once

#include <cstdint>

namespace pages {

struct ScanTriggerBits {
    std::uint8_t md1 = 0;          // 0x66
    std::uint8_t trigger1 = 0;     // 0x6A
    std::uint8_t trigger2 = 0;     // 0x6B
    std::uint8_t subSampling = 0;  // 0x70
    std::uint8_t windowEnable = 0; // 0x81
    std::uint8_t bitInfo = 0;      // 0x90

    int draft = 0;        // 0x70 bit 0
    int partial = 0;      // 0x81 bit 0
    int random = 0;       // 0x6A bit 0
    int posi = 0;         // 0x6A bit 1
    int restartReset = 0; // 0x6A bit 4, on the models that show it
    int pulse = 0;        // 0x6B bit 0
    int multiple = 0;     // 0x66 bit 0
    int shutter = 0;      // 0x66 bit 1
    int bitDepth = -1;    // "8bit", "10bit", "12bit"; -1 none chosen

    // Flags and bit depth from the kept bytes; a bit-depth field of 3 leaves the index alone.
    void TakeFlags();
    // Flags into the kept bytes; bit 4 of 0x6A only where the page owns it.
    void MergeFlags(bool ownsRestartReset);
    // The chosen bit depth into bits 1..0 of 0x90 (nothing when none is chosen).
    void MergeBitDepth();
};

} // namespace pages
