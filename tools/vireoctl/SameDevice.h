// One serial device named twice on the command line (two paths, a by-id link and its device,
// two inventory entries) would only find itself in use: it is refused by the device's identity.
#pragma once

#include <optional>

namespace vireoctl {

struct Options;

// Exit 2 when two targets' ports are one character device.
std::optional<int> RefuseSameDevice(const Options& options);

} // namespace vireoctl
