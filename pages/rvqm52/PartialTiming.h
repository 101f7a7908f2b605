// Vertical timing of an RVQM52 partial-scan window: back and front porch, frame rate, the
// largest height the start allows, and the exposure for a shutter speed.
#pragma once

namespace pages {

struct PartialTiming {
    int backPorch;  // BP
    int active;     // ACT, the window's height
    int frontPorch; // FP; negative when start + height passes the sensor's last line
    double frameRate;
    int maxHeight;
    int exposure; // denominator of the exposure time, 1/n s
};

// From the window's first line, its height and the shutter speed. Start + height beyond the
// sensor is not refused; the porch then goes negative.
PartialTiming ComputePartialTiming(int vStart, int height, int shutterSpeed);

} // namespace pages
